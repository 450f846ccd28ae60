#include "shell/form_backups.h"

#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/dialog_layout.h"
#include "shell/ui_support.h"

namespace baldo7 {

namespace {
constexpr BiText kTitle{"Backups", "备份"};
constexpr BiText kDate{"Date", "日期"};
constexpr BiText kKind{"Kind", "类型"};
constexpr BiText kModel{"Model", "型号"};
constexpr BiText kFile{"File", "文件"};
constexpr BiText kRead{"Read from radio", "从对讲机读取"};
constexpr BiText kBeforeWrite{"Before write", "写入前"};
constexpr BiText kOpen{"&Open", "打开(&O)"};
constexpr BiText kCancel{"&Cancel", "取消(&C)"};
}  // namespace

FormBackups::FormBackups(const QList<BackupEntry>& backups, bool en, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FormBackups"));
    setWindowTitle(uiText(kTitle, en));
    ListBackups = new QTreeWidget;
    ListBackups->setObjectName(QStringLiteral("ListBackups"));
    ListBackups->setRootIsDecorated(false);
    ListBackups->setHeaderLabels(
        {uiText(kDate, en), uiText(kKind, en), uiText(kModel, en), uiText(kFile, en)});
    for (const BackupEntry& b : backups) {
        auto* row = new QTreeWidgetItem(
            ListBackups, {b.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                          uiText(b.kind == BackupKind::Read ? kRead : kBeforeWrite, en), b.model,
                          QDir::toNativeSeparators(b.path)});
        row->setData(0, Qt::UserRole, b.path);
    }
    ListBackups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (ListBackups->topLevelItemCount() > 0)
        ListBackups->setCurrentItem(ListBackups->topLevelItem(0));
    CommandOpen = makeButton(uiText(kOpen, en), "CommandOpen", true);
    CommandOpen->setEnabled(!backups.isEmpty());
    CommandCancel = makeButton(uiText(kCancel, en), "CommandCancel");
    auto* body = new QVBoxLayout;
    body->addWidget(ListBackups);
    layOutDialog(this, body, {CommandOpen, CommandCancel});
    resize(twips(9000), twips(5000));
    connect(CommandOpen, &QPushButton::clicked, this, &FormBackups::openSelected);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBackups, &QTreeWidget::itemDoubleClicked, this, &FormBackups::openSelected);
}

void FormBackups::openSelected() {
    const QTreeWidgetItem* row = ListBackups->currentItem();
    if (!row) return;
    chosen_ = row->data(0, Qt::UserRole).toString();
    accept();
}

}  // namespace baldo7
