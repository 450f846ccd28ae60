// The print selection dialog: which sections of the document to print, the printer
// setting dialog, and the print run itself (the system's print dialog, then the
// report on the chosen printer or into a PDF file). Also the print preview.
#pragma once

#include <QDialog>
#include <memory>

#include "core/document.h"
#include "print/form_printer_setting.h"
#include "ui/file_dialog.h"

class QCheckBox;
class QPrinter;
class QPushButton;

namespace baldo7 {

class EditorHost;

// How a print run into a PDF file (no printer installed, or a file set) asks for the
// file. Qt's own print dialog has a print-to-file choice; Windows' dialog drives
// printers only and refuses such a run, so there a save dialog asks instead.
enum class PdfRoute { PrintDialog, SaveDialog };
#ifdef Q_OS_WIN
constexpr PdfRoute kSystemPdfRoute = PdfRoute::SaveDialog;
#else
constexpr PdfRoute kSystemPdfRoute = PdfRoute::PrintDialog;
#endif

class FormPrint : public QDialog {
    Q_OBJECT
public:
    FormPrint(const Document& doc, EditorHost& host, QWidget* parent = nullptr);

    QCheckBox *CheckOption, *CheckKeySetting, *CheckEmbedMessage, *CheckChannelInfo;
    QPushButton *CommandPrinterSetting, *CommandClearAll, *CommandSelectAll;
    QPushButton *CommandOK, *CommandCancel, *CommandHelp;

    void Form_Load();
    void CommandSelectAll_Click();
    void CommandClearAll_Click();
    void CommandPrinterSetting_Click();
    void CommandOK_Click();

    // The ticked sections (ReportSection bits).
    unsigned selectedSections() const;
    // This session's printer, paper and orientation (and a PDF file to write instead).
    PrintSetup& printSetup() { return setup_; }
    PdfRoute pdfRoute = kSystemPdfRoute;
    // The save dialog of the PdfRoute::SaveDialog run (by default the system's).
    void setFileChooser(FileChooser& chooser) { chooser_ = &chooser; }

private:
    // The system's print dialog, or the save dialog for a PDF file; false: cancelled.
    bool askWhereToPrint(QPrinter& printer);

    const Document& doc_;
    EditorHost& host_;
    PrintSetup setup_;
    std::unique_ptr<DialogFileChooser> systemChooser_;
    FileChooser* chooser_;
};

// The print run's printer as the setup asks for it.
void ApplyPrintSetup(const PrintSetup& setup, QPrinter& printer);

// The report of the ticked sections, dated today, in the document's language. False
// with the printer or the file and the reason in `error` when it failed.
bool PrintDocumentReport(const Document& doc, unsigned sections, QPrinter& printer,
                         QString* error = nullptr);

// The whole report in a print preview window (modal), with its own print button.
// `folder`: as PrintSetup::folder.
void ShowPrintPreview(const Document& doc, QWidget* parent = nullptr,
                      const QString& folder = QString());

// The PDF a print to a file offers: the data file's name ("customerA.pdf") in
// `folder`, else beside the data file, else in the home folder.
QString SuggestedReportFile(const Document& doc, const QString& folder);

}  // namespace baldo7
