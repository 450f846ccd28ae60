#include "dealer/form_job_log.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "print/report_document.h"
#include "storage/data_store.h"
#include "ui/dialog_help.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {

constexpr int kOutcomeColumn = 3;
constexpr int kDataFileColumn = 7;
constexpr int kVerifyColumn = 9;
constexpr int kBackupColumn = 10;

struct OutcomeWords {
    const char* key;
    BiText text;
};
constexpr OutcomeWords kOutcomes[] = {
    {"written", {"Written", "已写入"}},
    {"verify differs", {"Verify found differences", "校验发现不同"}},
    {"not verified", {"Written, not verified", "已写入，未校验"}},
    {"no answer", {"No answer", "无应答"}},
    {"link failed", {"Link failed", "通信中断"}},
    {"port failed", {"Port failed", "端口无法打开"}},
    {"wrong model", {"Wrong model", "型号不符"}},
    {"cancelled", {"Cancelled", "已取消"}},
};
constexpr BiText kHeader[] = {
    {"Date", "日期"},
    {"Time", "时间"},
    {"Port", "端口"},
    {"Outcome", "结果"},
    {"Model", "型号"},
    {"Band", "频段"},
    {"Serial Number", "序列号"},
    {"Data File", "数据文件"},
    {"CRC-32", "CRC-32"},
    {"Verify", "校验"},
    {"Backup", "备份"},
};

QString shownOutcome(const QString& key, bool en) {
    for (const OutcomeWords& o : kOutcomes)
        if (key == QLatin1String(o.key)) return uiText(o.text, en);
    return key;
}

QString shownVerify(const QString& cell, bool en) {
    if (cell == QLatin1String("yes")) return uiText(BiText{"yes", "是"}, en);
    if (cell == QLatin1String("no")) return uiText(BiText{"no", "否"}, en);
    if (cell == QLatin1String("not read back"))
        return uiText(BiText{"not read back", "未回读"}, en);
    return cell;
}

int writtenCount(const QList<QStringList>& rows) {
    int n = 0;
    for (const QStringList& r : rows)
        n += r.size() > kOutcomeColumn && r[kOutcomeColumn] == QLatin1String("written") ? 1 : 0;
    return n;
}

}  // namespace

QStringList JobLogShownHeader(bool en) {
    QStringList out;
    for (const BiText& t : kHeader) out << uiText(t, en);
    return out;
}

QStringList JobLogShownCells(const QStringList& cells, bool en) {
    QStringList out = cells;
    if (out.size() > kOutcomeColumn) out[kOutcomeColumn] = shownOutcome(out[kOutcomeColumn], en);
    if (out.size() > kVerifyColumn) out[kVerifyColumn] = shownVerify(out[kVerifyColumn], en);
    return out;
}

bool WriteJobLogPdf(const QDate& day, const QList<QStringList>& rows, bool en, const QString& path,
                    QString* error) {
    Report report;
    report.isEnglish = en;
    report.title = uiText(joblog_texts::kReportTitle, en)
                       .arg(day.toString(QStringLiteral("yyyy-MM-dd")))
                       .toStdString();
    ReportTable table;
    table.title =
        uiText(joblog_texts::kRadios, en).arg(rows.size()).arg(writtenCount(rows)).toStdString();
    for (const QString& h : JobLogShownHeader(en)) table.headers.push_back(h.toStdString());
    // The long texts wrap; a date, a band or a serial number is never split.
    table.wrapping = {kDataFileColumn, kVerifyColumn, kBackupColumn};
    const int columns = static_cast<int>(std::size(kHeader));
    for (const QStringList& row : rows) {
        QStringList cells = JobLogShownCells(row, en);
        while (cells.size() < columns) cells << QString();
        // The backup's folder is the dealer's, not the customer's: its name is enough.
        cells[kBackupColumn] = QDir::fromNativeSeparators(cells[kBackupColumn]).section('/', -1);
        std::vector<std::string>& out = table.rows.emplace_back();
        for (int c = 0; c < columns; ++c) out.push_back(cells[c].toStdString());
    }
    report.channels = std::move(table);

    // Drawn in memory first: the PDF writer does not report failed writes.
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&bytes);
        pdf.setPageLayout(ReportPageLayout());
        pdf.setTitle(QString::fromStdString(report.title));
        pdf.setCreator(appTitle());
        PrintReport(report, pdf);
    }
    return WriteFileAtomically(path, bytes.data(), error);
}

FormJobLog::FormJobLog(const QString& folder, bool isEnglish, FileChooser& files,
                       MessageService& messages, QWidget* parent)
    : QDialog(parent), folder_(folder), en_(isEnglish), files_(files), messages_(messages) {
    setObjectName(QStringLiteral("FormJobLog"));
    using namespace joblog_texts;
    setWindowTitle(uiText(kTitle, en_));
    openFolder = [](const QString& f) {
        QDir().mkpath(f);
        return QDesktopServices::openUrl(QUrl::fromLocalFile(f));
    };

    ListDays = new QListWidget;
    ListDays->setObjectName(QStringLiteral("ListDays"));
    days_ = ListJobLogDays(folder_);
    for (const JobLogDay& d : days_)
        ListDays->addItem(d.day.toString(QStringLiteral("yyyy-MM-dd")));
    ListDays->setMaximumWidth(140);

    TableRows = new QTableWidget(0, static_cast<int>(std::size(kHeader)));
    TableRows->setObjectName(QStringLiteral("TableRows"));
    TableRows->setHorizontalHeaderLabels(JobLogShownHeader(en_));
    TableRows->verticalHeader()->hide();
    TableRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableRows->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableRows->horizontalHeader()->setStretchLastSection(true);

    LabelSummary = new QLabel(days_.isEmpty() ? uiText(kEmpty, en_) : QString());
    LabelSummary->setObjectName(QStringLiteral("LabelSummary"));
    LabelFolder = new QLabel(uiText(kFolder, en_).arg(QDir::toNativeSeparators(folder_)));
    LabelFolder->setObjectName(QStringLiteral("LabelFolder"));
    LabelFolder->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    LabelFolder->setWordWrap(true);

    CommandOpenFolder = makeButton(uiText(kOpenFolder, en_), "CommandOpenFolder");
    CommandSavePdf = makeButton(uiText(kSavePdf, en_), "CommandSavePdf");
    CommandClose = makeButton(uiText(texts::kClose, en_), "CommandClose", true);
    CommandHelp = makeHelpButton(this, QStringLiteral("dealer.htm#log"), en_);
    connect(CommandOpenFolder, &QPushButton::clicked, this, &FormJobLog::CommandOpenFolder_Click);
    connect(CommandSavePdf, &QPushButton::clicked, this, &FormJobLog::CommandSavePdf_Click);
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListDays, &QListWidget::currentRowChanged, this, &FormJobLog::showDay);

    auto* lists = new QHBoxLayout;
    lists->addWidget(ListDays);
    lists->addWidget(TableRows, 1);
    auto* body = new QVBoxLayout;
    body->addLayout(lists, 1);
    body->addWidget(LabelSummary);
    body->addWidget(LabelFolder);
    layOutDialog(this, body, {CommandOpenFolder, CommandSavePdf, CommandClose, CommandHelp});
    resize(900, 440);
    FitToScreen(this);
    CommandSavePdf->setEnabled(false);
    if (!days_.isEmpty()) ListDays->setCurrentRow(0);
}

void FormJobLog::showDay(int index) {
    rows_.clear();
    TableRows->setRowCount(0);
    CommandSavePdf->setEnabled(index >= 0 && index < days_.size());
    if (index < 0 || index >= days_.size()) return;
    QString error;
    rows_ = ReadJobLog(days_[index].path, &error);
    TableRows->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < rows_.size(); ++r) {
        const QStringList cells = JobLogShownCells(rows_[r], en_);
        for (int c = 0; c < cells.size() && c < TableRows->columnCount(); ++c)
            TableRows->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    TableRows->resizeColumnsToContents();
    LabelSummary->setText(
        error.isEmpty()
            ? uiText(joblog_texts::kRadios, en_).arg(rows_.size()).arg(writtenCount(rows_))
            : QDir::toNativeSeparators(days_[index].path) + QStringLiteral(": ") + error);
}

void FormJobLog::CommandOpenFolder_Click() {
    if (!openFolder(folder_))
        messages_.show(
            MsgIcon::Information, appTitle(),
            uiText(joblog_texts::kFolderNotOpened, en_).arg(QDir::toNativeSeparators(folder_)));
}

void FormJobLog::CommandSavePdf_Click() {
    const int index = ListDays->currentRow();
    if (index < 0 || index >= days_.size()) return;
    const QDate day = days_[index].day;
    FileDialogRequest request;
    request.open = false;
    request.title = uiText(joblog_texts::kSavePdf, en_).remove(QLatin1Char('&'));
    request.defaultName =
        QStringLiteral("job-log-%1.pdf").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
    request.filters = {uiText(joblog_texts::kPdfFilter, en_)};
    request.defaultSuffix = QStringLiteral("pdf");
    const FileDialogAnswer answer = files_.choose(request);
    if (answer.status != FileDialogAnswer::Chosen || answer.path.isEmpty()) return;
    QString error;
    if (!WriteJobLogPdf(day, rows_, en_, answer.path, &error))
        messages_.show(MsgIcon::Error, appTitle(),
                       uiText(joblog_texts::kPdfFailed, en_)
                           .arg(QDir::toNativeSeparators(answer.path), error));
}

}  // namespace baldo7
