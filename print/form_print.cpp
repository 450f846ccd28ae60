#include "print/form_print.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "print/print_report.h"
#include "print/report_document.h"
#include "ui/dialog_layout.h"
#include "ui/editor_host.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {

namespace t {
constexpr BiText kCaption{"Print", "打印"};
constexpr BiText kPrinterSetting{"P&rint Setup", "打印设置(&R)"};
constexpr BiText kClearAll{"C&lear All", "全部清除(&L)"};
constexpr BiText kSelectAll{"Select &All", "全部选定(&A)"};
constexpr BiText kOk{"&OK", "确定(&O)"};
constexpr BiText kCancel{"&Cancel", "取消(&C)"};
constexpr BiText kPreview{"Print Preview", "打印预览"};
constexpr BiText kNothingTicked{"Tick at least one section to print.",
                                "请至少选定一项要打印的内容。"};
constexpr BiText kPrintFailed{"The report could not be printed:\n%1", "报告无法打印：\n%1"};
constexpr BiText kPdfFilter{"PDF file(*.pdf)", "PDF文件(*.pdf)"};
}  // namespace t

constexpr char kHelpTopic[] = "Print.htm";

std::string today() {
    return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

// While it lives, every system print dialog that opens (ours, or the preview's own
// print button) offers `file` for a print to a file instead of the toolkit's
// "print.pdf" in the working folder.
class OfferedPrintFile : public QObject {
public:
    explicit OfferedPrintFile(QString file) : file_(std::move(file)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* dialog = qobject_cast<QPrintDialog*>(watched))
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
                    name->setText(file_);
        return false;
    }

private:
    QString file_;
};

}  // namespace

FormPrint::FormPrint(const Document& doc, EditorHost& host, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      host_(host),
      systemChooser_(std::make_unique<DialogFileChooser>(this)),
      chooser_(systemChooser_.get()) {
    setObjectName(QStringLiteral("FormPrint"));
    auto check = [](const char* name) {
        auto* box = new QCheckBox;
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    CheckOption = check("CheckOption");
    CheckKeySetting = check("CheckKeySetting");
    CheckEmbedMessage = check("CheckEmbedMessage");
    CheckChannelInfo = check("CheckChannelInfo");
    CommandPrinterSetting = makeButton(QString(), "CommandPrinterSetting");
    CommandClearAll = makeButton(QString(), "CommandClearAll");
    CommandSelectAll = makeButton(QString(), "CommandSelectAll");
    CommandOK = makeButton(QString(), "CommandOK", true);
    CommandCancel = makeButton(QString(), "CommandCancel");
    CommandHelp = makeButton(QString(), "CommandHelp");

    // The sections on the left, the selection buttons beside them.
    auto* body = new QGridLayout;
    QCheckBox* const boxes[] = {CheckOption, CheckKeySetting, CheckEmbedMessage, CheckChannelInfo};
    for (int i = 0; i < 4; ++i) body->addWidget(boxes[i], i, 0);
    body->addWidget(CommandSelectAll, 0, 1);
    body->addWidget(CommandClearAll, 1, 1);
    body->addWidget(CommandPrinterSetting, 3, 1);
    body->setColumnStretch(0, 1);
    body->setHorizontalSpacing(24);
    layOutDialog(this, body, {CommandOK, CommandCancel, CommandHelp});

    connect(CommandSelectAll, &QPushButton::clicked, this, &FormPrint::CommandSelectAll_Click);
    connect(CommandClearAll, &QPushButton::clicked, this, &FormPrint::CommandClearAll_Click);
    connect(CommandPrinterSetting, &QPushButton::clicked, this,
            &FormPrint::CommandPrinterSetting_Click);
    connect(CommandOK, &QPushButton::clicked, this, &FormPrint::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(CommandHelp, &QPushButton::clicked, this,
            [this] { host_.showHelpTopic(QString::fromLatin1(kHelpTopic)); });
    Form_Load();
}

void FormPrint::Form_Load() {
    namespace pt = print_texts;
    const bool en = doc_.IsEnglish;
    setWindowTitle(uiText(t::kCaption, en));
    CheckOption->setText(uiText(pt::kOptions, en));
    CheckKeySetting->setText(uiText(pt::kKeys, en));
    CheckEmbedMessage->setText(uiText(pt::kMessage, en));
    CheckChannelInfo->setText(uiText(pt::kChannels, en));
    CommandPrinterSetting->setText(uiText(t::kPrinterSetting, en));
    CommandClearAll->setText(uiText(t::kClearAll, en));
    CommandSelectAll->setText(uiText(t::kSelectAll, en));
    CommandOK->setText(uiText(t::kOk, en));
    CommandCancel->setText(uiText(t::kCancel, en));
    CommandHelp->setText(uiText(texts::kHelp, en));
    for (QCheckBox* box : {CheckOption, CheckKeySetting, CheckEmbedMessage, CheckChannelInfo})
        box->setChecked(false);
    CommandOK->setEnabled(false);
}

void FormPrint::CommandSelectAll_Click() {
    for (QCheckBox* box : {CheckOption, CheckKeySetting, CheckEmbedMessage, CheckChannelInfo})
        box->setChecked(true);
    CommandOK->setEnabled(true);
}

void FormPrint::CommandClearAll_Click() {
    for (QCheckBox* box : {CheckOption, CheckKeySetting, CheckEmbedMessage, CheckChannelInfo})
        box->setChecked(false);
    CommandOK->setEnabled(false);
}

void FormPrint::CommandPrinterSetting_Click() {
    FormPrinterSetting dialog(doc_, setup_, this);
    dialog.exec();
}

unsigned FormPrint::selectedSections() const {
    unsigned s = 0;
    if (CheckOption->isChecked()) s |= kSectionOptions;
    if (CheckKeySetting->isChecked()) s |= kSectionKeys;
    if (CheckEmbedMessage->isChecked()) s |= kSectionMessage;
    if (CheckChannelInfo->isChecked()) s |= kSectionChannels;
    return s;
}

void FormPrint::CommandOK_Click() {
    const bool en = doc_.IsEnglish;
    const unsigned sections = selectedSections();
    // Select All enables OK; unticking every box by hand afterwards leaves nothing.
    if (!sections) {
        host_.messages().show(MsgIcon::Information, appTitle(), uiText(t::kNothingTicked, en));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSetup(setup_, printer);
    if (!askWhereToPrint(printer)) return;
    QString error;
    if (!PrintDocumentReport(doc_, sections, printer, &error)) {
        host_.messages().show(MsgIcon::Error, appTitle(), uiText(t::kPrintFailed, en).arg(error));
        return;
    }
    accept();
}

bool FormPrint::askWhereToPrint(QPrinter& printer) {
    const QString offered = setup_.outputFileName.isEmpty()
                                ? SuggestedReportFile(doc_, setup_.folder)
                                : setup_.outputFileName;
    if (printer.outputFormat() == QPrinter::PdfFormat && pdfRoute == PdfRoute::SaveDialog) {
        const bool en = doc_.IsEnglish;
        FileDialogRequest request;
        request.open = false;
        request.title = uiText(t::kCaption, en);
        request.defaultName = QFileInfo(offered).fileName();
        request.folder = QFileInfo(offered).absolutePath();
        request.filters = {uiText(t::kPdfFilter, en), uiText(filetexts::kAllFilesFilter, en)};
        request.defaultSuffix = QStringLiteral("pdf");
        const QString file = AskFile(doc_, *chooser_, host_.messages(), request);
        if (file.isEmpty()) return false;
        printer.setOutputFileName(file);
        return true;
    }
    std::optional<OfferedPrintFile> offer;
    if (setup_.outputFileName.isEmpty()) offer.emplace(offered);
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

void ApplyPrintSetup(const PrintSetup& setup, QPrinter& printer) {
    if (!setup.outputFileName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(setup.outputFileName);
    } else if (!setup.printerName.isEmpty()) {
        printer.setPrinterName(setup.printerName);
    }
    // A printer that refuses the whole layout (an odd paper) still takes its parts.
    const QPageLayout layout = ReportPageLayout(setup.pageSize, setup.orientation);
    if (!printer.setPageLayout(layout)) {
        printer.setPageSize(setup.pageSize);
        printer.setPageOrientation(setup.orientation);
        printer.setPageMargins(layout.margins(), QPageLayout::Millimeter);
    }
    printer.setDocName(QStringLiteral("BALDO-7"));
}

bool PrintDocumentReport(const Document& doc, unsigned sections, QPrinter& printer,
                         QString* error) {
    const Report report = BuildReport(doc, sections, today());
    // A PDF file goes through the file writer, which leaves an old file whole when
    // the disk is full; the printer's own PDF output would not say.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return WriteReportPdf(report, printer.outputFileName(), printer.pageLayout(), error);
    PrintReport(report, printer);
    if (printer.printerState() != QPrinter::Error) return true;
    if (error) *error = printer.printerName();
    return false;
}

QString SuggestedReportFile(const Document& doc, const QString& folder) {
    QString where = folder;
    if (where.isEmpty() || !QFileInfo(where).isDir())
        where = doc.CurrentFilePath.empty()
                    ? QDir::homePath()
                    : QFileInfo(QString::fromStdString(doc.CurrentFilePath)).absolutePath();
    return QDir(where).filePath(
        QFileInfo(QString::fromStdString(doc.CurrentFileName)).completeBaseName() +
        QStringLiteral(".pdf"));
}

void ShowPrintPreview(const Document& doc, QWidget* parent, const QString& folder) {
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSetup(PrintSetup{}, printer);
    const OfferedPrintFile offer(SuggestedReportFile(doc, folder));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("FormPrintView"));
    preview.setWindowTitle(uiText(t::kPreview, doc.IsEnglish));
    const Report report = BuildReport(doc, kAllSections, today());
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&report](QPrinter* p) { PrintReport(report, *p); });
    preview.resize(twips(15000), twips(11000));
    preview.exec();
}

}  // namespace baldo7
