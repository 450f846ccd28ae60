#include "shell/form_backups.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/model_band.h"
#include "storage/data_store.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr BiText kTitle{"Backups", "备份"};
constexpr int kFileColumn = 5;
constexpr BiText kDate{"Date", "日期"};
constexpr BiText kKind{"Kind", "类型"};
constexpr BiText kModel{"Model", "型号"};
constexpr BiText kBand{"Band", "频段"};
constexpr BiText kChannels{"Channels in use", "已用信道"};
constexpr BiText kBandUnknown{"band unknown", "频段未知"};
constexpr BiText kFile{"File", "文件"};
constexpr BiText kRead{"Read from radio", "从对讲机读取"};
constexpr BiText kBeforeWrite{"Before write", "写入前"};
constexpr BiText kOpen{"&Open", "打开(&O)"};
constexpr BiText kCancel{"&Cancel", "取消(&C)"};
constexpr BiText kRangeKind{"%1: %2", "%1：%2"};
constexpr BiText kTune{"Tune data", "调谐数据"};
constexpr BiText kStunDie{"Stun/die", "遥晕遥毙"};
constexpr BiText kSpecial{"Special option", "特殊选项"};
constexpr BiText kLocal{"Local message", "本机信息"};
constexpr BiText kOpensAsDocument{
    "A data file: Open loads it into the program, and Write To Radio then puts it back.",
    "数据文件：按打开把它载入软件，再用写频把它写回对讲机。"};
constexpr BiText kPutBack{
    "A copy of the radio's %1, not a data file: it does not open here. To put it back "
    "into a radio:\n%2",
    "对讲机%1的副本，不是数据文件，不能在这里打开。写回对讲机的方法：\n%2"};
constexpr BiText kReadOnly{
    "A copy of the radio's %1, not a data file: it does not open here, and the local "
    "message cannot be written to a radio.",
    "对讲机%1的副本，不是数据文件，不能在这里打开；本机信息不能写入对讲机。"};

BiText rangeText(BackupRange range) {
    switch (range) {
        case BackupRange::Tune:
            return kTune;
        case BackupRange::StunDie:
            return kStunDie;
        case BackupRange::Special:
            return kSpecial;
        case BackupRange::Local:
            return kLocal;
        case BackupRange::Data:
            break;
    }
    return {"", ""};
}
}  // namespace

QString BackupKindText(const BackupEntry& entry, bool en) {
    const QString kind = uiText(entry.kind == BackupKind::Read ? kRead : kBeforeWrite, en);
    if (entry.range == BackupRange::Data) return kind;
    return uiText(kRangeKind, en).arg(uiText(rangeText(entry.range), en), kind);
}

QString BackupRestoreText(const BackupEntry& entry, bool en) {
    if (entry.range == BackupRange::Data) return uiText(kOpensAsDocument, en);
    QString what = uiText(rangeText(entry.range), en);
    if (en) what = what.toLower();
    if (entry.range == BackupRange::Local) return uiText(kReadOnly, en).arg(what);
    const QString command =
        QStringLiteral("baldo7ctl write --port PORT --range %1 \"%2\"")
            .arg(BackupRangeName(entry.range), QDir::toNativeSeparators(entry.path));
    return uiText(kPutBack, en).arg(what, command);
}

FormBackups::FormBackups(const QList<BackupEntry>& backups, bool en, QWidget* parent,
                         const std::function<int(const RadioImage&)>& channelsInUse)
    : QDialog(parent), backups_(backups), en_(en) {
    setObjectName(QStringLiteral("FormBackups"));
    setWindowTitle(uiText(kTitle, en));
    ListBackups = new QTreeWidget;
    ListBackups->setObjectName(QStringLiteral("ListBackups"));
    ListBackups->setRootIsDecorated(false);
    ListBackups->setHeaderLabels({uiText(kDate, en), uiText(kKind, en), uiText(kModel, en),
                                  uiText(kBand, en), uiText(kChannels, en), uiText(kFile, en)});
    for (int i = 0; i < backups.size(); ++i) {
        const BackupEntry& b = backups[i];
        QString band, channels;
        Document data;
        if (b.range == BackupRange::Data && LoadDataFile(data, b.path).ok()) {
            const std::optional<BandRow> row = BandOfImage(data.radioImage);
            band = row ? QString::fromLatin1(row->text) : uiText(kBandUnknown, en);
            if (channelsInUse) channels = QString::number(channelsInUse(data.radioImage));
        }
        const QFileInfo file(b.path);
        auto* row = new QTreeWidgetItem(
            ListBackups, {b.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                          BackupKindText(b, en), b.model, band, channels, file.fileName()});
        row->setToolTip(kFileColumn, QDir::toNativeSeparators(file.absolutePath()));
        row->setData(0, Qt::UserRole, i);
    }
    ListBackups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    LabelRestore = new QLabel;
    LabelRestore->setObjectName(QStringLiteral("LabelRestore"));
    LabelRestore->setWordWrap(true);
    LabelRestore->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CommandOpen = makeButton(uiText(kOpen, en), "CommandOpen", true);
    CommandOpen->setEnabled(false);
    CommandCancel = makeButton(uiText(kCancel, en), "CommandCancel");
    auto* body = new QVBoxLayout;
    body->addWidget(ListBackups);
    body->addWidget(LabelRestore);
    layOutDialog(this, body, {CommandOpen, CommandCancel});
    resize(twips(9000), twips(5000));
    connect(ListBackups, &QTreeWidget::currentItemChanged, this, &FormBackups::showRestore);
    if (ListBackups->topLevelItemCount() > 0)
        ListBackups->setCurrentItem(ListBackups->topLevelItem(0));
    connect(CommandOpen, &QPushButton::clicked, this, &FormBackups::openSelected);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBackups, &QTreeWidget::itemDoubleClicked, this, &FormBackups::openSelected);
}

void FormBackups::showRestore() {
    const QTreeWidgetItem* row = ListBackups->currentItem();
    const BackupEntry* entry = row ? &backups_[row->data(0, Qt::UserRole).toInt()] : nullptr;
    LabelRestore->setText(entry ? BackupRestoreText(*entry, en_) : QString());
    CommandOpen->setEnabled(entry && entry->range == BackupRange::Data);
}

void FormBackups::openSelected() {
    // Only a data file opens as a document.
    if (!CommandOpen->isEnabled()) return;
    const QTreeWidgetItem* row = ListBackups->currentItem();
    if (!row) return;
    chosen_ = backups_[row->data(0, Qt::UserRole).toInt()].path;
    accept();
}

}  // namespace baldo7
