// The printer setting dialog: the installed printers and what the system knows about
// the one selected, its paper and the orientation. Its captions exist only in Chinese
// and are shown in both languages; the printer's status follows the language.
#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include "core/document.h"

class QComboBox;
class QLabel;
class QPrinterInfo;
class QPushButton;
class QRadioButton;

namespace baldo7 {

// What a print run takes from this dialog; kept by the print selection dialog for
// its own session only (nothing here is stored).
struct PrintSetup {
    QString printerName;  // empty: the system's default, or none
    QPageSize pageSize{QPageSize::A4};
    // Across, the channel table has room for every column.
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QString outputFileName;  // set: the run writes this PDF file instead
    QString folder;          // where a print to a file is offered first: the folder last used
};

// "device name,driver name,port".
QString PrinterListEntry(const QString& device, const QString& driver, const QString& port);

class FormPrinterSetting : public QDialog {
    Q_OBJECT
public:
    FormPrinterSetting(const Document& doc, PrintSetup& setup, QWidget* parent = nullptr);

    QComboBox* ComboPrinter;
    QLabel *LabelStatusValue, *LabelTypeValue, *LabelLocationValue, *LabelCommentValue;
    QPushButton* CommandPrinter;
    QComboBox *ComboPaperSize, *ComboPaperSource;
    QRadioButton *OptionLandscape, *OptionPortrait;
    QPushButton *CommandOK, *CommandCancel;

    void Form_Load();
    void ComboPrinter_Click(int index);
    void CommandPrinter_Click();
    void CommandOK_Click();

private:
    QPrinterInfo selectedPrinter() const;
    void fillPaper(const QPrinterInfo& printer, const QPageSize& wanted);

    const Document& doc_;
    PrintSetup& setup_;
    QStringList printerNames_;  // in ComboPrinter's order
};

}  // namespace baldo7
