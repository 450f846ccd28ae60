// The print selection and printer setting dialogs driven as a user drives them, a
// print run into a PDF file (through the system's print dialog, or the save dialog
// where that dialog drives printers only), and the preview.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <functional>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include "print/form_print.h"
#include "print/form_printer_setting.h"
#include "print/print_report.h"
#include "print/report_document.h"
#include "tests/print/hand_made_document.h"
#include "tests/support/click_check.h"
#include "tests/support/fake_editor_host.h"
#include "tests/support/pdf_text.h"
#include "ui/file_dialog.h"

using namespace baldo7;

namespace {

// Runs `answer` on the next modal dialog of type D once it is shown.
template <typename D>
void whenShown(std::function<void(D*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(d);
        }
    });
    timer->start();
}

// Answers the question a print run into a PDF file asks, whichever way the form asks
// it: accepts the file offered, or cancels. `offered`: the file offered ("" when the
// question never came).
void answerPdfRun(FormPrint& form, ScriptedFileChooser& chooser, bool accept,
                  QString* offered = nullptr) {
    if (offered) offered->clear();
    form.setFileChooser(chooser);
    chooser.setAnswerer([=](const FileDialogRequest& r) {
        const QString file = QDir(r.folder).filePath(r.defaultName);
        if (offered) *offered = file;
        return accept ? FileDialogAnswer{FileDialogAnswer::Chosen, file} : FileDialogAnswer{};
    });
    if (form.pdfRoute == PdfRoute::SaveDialog) return;
    whenShown<QPrintDialog>([=](QPrintDialog* d) {
        if (offered) {
            auto* name = d->findChild<QLineEdit*>("filename");
            *offered = name ? name->text() : "no file name box";
        }
        accept ? d->accept() : d->reject();
    });
}

QString pdfText(const QString& pdf) {
    return pdfToText(pdf, {"-layout", "-enc", "UTF-8"});
}

// The boxes of every word pdftotext finds on the pages, in points.
QList<QRectF> wordBoxes(const QString& pdf) {
    const QString html = pdfToText(pdf, {"-bbox"});
    static const QRegularExpression word(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\"");
    QList<QRectF> boxes;
    for (auto m = word.globalMatch(html); m.hasNext();) {
        const auto w = m.next();
        boxes << QRectF(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()),
                        QPointF(w.captured(3).toDouble(), w.captured(4).toDouble()));
    }
    return boxes;
}

}  // namespace

class PrintFormsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        doc = Document{};
        doc.IsEnglish = true;
        doc.radioImage.fill(0xFF);
        doc.ModelType = "VHF";
        doc.BandLowMHz = 136;
        doc.BandHighMHz = doc.BandTxHighMHz = 174;
        doc.CurrentFileName = "hand.rdat";
        MakeHandMade(doc);
        host = std::make_unique<FakeEditorHost>();
        chooser.requests.clear();
    }

    void boxesAndOk() {
        FormPrint form(doc, *host);
        QCheckBox* boxes[] = {form.CheckOption, form.CheckKeySetting, form.CheckEmbedMessage,
                              form.CheckChannelInfo};
        auto ticked = [&] {
            QList<bool> t;
            for (QCheckBox* b : boxes) t << b->isChecked();
            return t;
        };
        const QList<bool> none{false, false, false, false}, all{true, true, true, true};
        QCOMPARE(ticked(), none);
        QVERIFY(!form.CommandOK->isEnabled());

        // Ticking one box by hand does not enable OK.
        form.show();
        clickCheck(form.CheckKeySetting);
        QVERIFY(form.CheckKeySetting->isChecked());
        QVERIFY(!form.CommandOK->isEnabled());

        QTest::mouseClick(form.CommandSelectAll, Qt::LeftButton);
        QCOMPARE(ticked(), all);
        QVERIFY(form.CommandOK->isEnabled());
        QCOMPARE(form.selectedSections(), kAllSections);
        // ...nor does unticking one disable it.
        clickCheck(form.CheckOption);
        QVERIFY(form.CommandOK->isEnabled());
        QCOMPARE(form.selectedSections(), kSectionKeys | kSectionMessage | kSectionChannels);

        QTest::mouseClick(form.CommandClearAll, Qt::LeftButton);
        QCOMPARE(ticked(), none);
        QVERIFY(!form.CommandOK->isEnabled());

        QTest::mouseClick(form.CommandHelp, Qt::LeftButton);
        QCOMPARE(host->helpTopics, QStringList{"Print.htm"});
    }

    void textsInBothLanguages() {
        const struct {
            bool english;
            QStringList texts;
        } cases[] = {
            {true,
             {"Print", "Optional Features", "Key Assignment", "Embedded Message",
              "Channel Information", "P&rint Setup", "C&lear All", "Select &All", "&OK", "&Cancel",
              "&Help"}},
            {false,
             {"打印", "可选功能", "键设定", "嵌入信息", "信道信息", "打印设置(&R)", "全部清除(&L)",
              "全部选定(&A)", "确定(&O)", "取消(&C)", "帮助(&H)"}},
        };
        for (const auto& c : cases) {
            doc.IsEnglish = c.english;
            FormPrint form(doc, *host);
            const QStringList shown{form.windowTitle(),
                                    form.CheckOption->text(),
                                    form.CheckKeySetting->text(),
                                    form.CheckEmbedMessage->text(),
                                    form.CheckChannelInfo->text(),
                                    form.CommandPrinterSetting->text(),
                                    form.CommandClearAll->text(),
                                    form.CommandSelectAll->text(),
                                    form.CommandOK->text(),
                                    form.CommandCancel->text(),
                                    form.CommandHelp->text()};
            QCOMPARE(shown, c.texts);
        }
    }

    void printerSettingWithNoPrinter() {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this machine has printers installed");
        PrintSetup setup;
        FormPrinterSetting dialog(doc, setup);
        QCOMPARE(dialog.ComboPrinter->count(), 0);
        QCOMPARE(dialog.ComboPrinter->currentIndex(), -1);
        for (QLabel* value : {dialog.LabelStatusValue, dialog.LabelTypeValue,
                              dialog.LabelLocationValue, dialog.LabelCommentValue})
            QVERIFY(value->text().isEmpty());
        QVERIFY(!dialog.CommandPrinter->isEnabled());
        // Chinese captions in an English session.
        QCOMPARE(dialog.windowTitle(), QStringLiteral("打印设置"));
        QCOMPARE(dialog.findChild<QGroupBox*>("FramePrinter")->title(), QStringLiteral("打印机"));
        QCOMPARE(dialog.OptionLandscape->text(), QStringLiteral("横向(&O)"));
        QCOMPARE(dialog.CommandOK->text(), QStringLiteral("确定(&O)"));
        // The run then writes a PDF file; its paper sizes are offered.
        QCOMPARE(dialog.ComboPaperSize->currentText(), QPageSize(QPageSize::A4).name());
    }

    void printerSettingOkKeepsChoicesCancelDoesNot() {
        PrintSetup setup;
        {
            FormPrinterSetting dialog(doc, setup);
            QVERIFY(dialog.OptionLandscape->isChecked());
            dialog.OptionPortrait->setChecked(true);
            dialog.ComboPaperSize->setCurrentText(QPageSize(QPageSize::Letter).name());
            QTest::mouseClick(dialog.CommandCancel, Qt::LeftButton);
        }
        QCOMPARE(setup.orientation, QPageLayout::Landscape);
        QVERIFY(setup.pageSize.isEquivalentTo(QPageSize(QPageSize::A4)));
        {
            FormPrinterSetting dialog(doc, setup);
            dialog.OptionPortrait->setChecked(true);
            dialog.ComboPaperSize->setCurrentText(QPageSize(QPageSize::Letter).name());
            QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(setup.orientation, QPageLayout::Portrait);
        QVERIFY(setup.pageSize.isEquivalentTo(QPageSize(QPageSize::Letter)));
        QCOMPARE(PrinterListEntry("Office", "Generic PCL", "USB001"),
                 QStringLiteral("Office,Generic PCL,USB001"));
    }

    void printRunThroughTheSystemDialogIntoPdf() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("report.pdf");
        FormPrint form(doc, *host);
        form.printSetup().outputFileName = pdf;
        form.show();
        QTest::mouseClick(form.CommandSelectAll, Qt::LeftButton);
        clickCheck(form.CheckChannelInfo);
        QString offered;
        answerPdfRun(form, chooser, true, &offered);
        QTest::mouseClick(form.CommandOK, Qt::LeftButton);
        QCOMPARE(offered, pdf);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        if (const QString why = whyPdfTextUnreadable(); !why.isEmpty()) QSKIP(qPrintable(why));
        const QString text = pdfText(pdf);
        for (const char* s : {"Optional Features", "Key Assignment", "Embedded Message", "Monitor",
                              "HELLO WORLD", "Freq Hopping"})
            QVERIFY2(text.contains(QString::fromUtf8(s)), s);
        QVERIFY(!text.contains("Channel Information"));
        QVERIFY(!text.contains("145.12500"));
    }

    void windowAndCommandLinePdfShareOnePageSetUp() {
        QTemporaryDir dir;
        const QString window = dir.filePath("window.pdf"), direct = dir.filePath("direct.pdf");
        FormPrint form(doc, *host);
        form.printSetup().outputFileName = window;
        form.show();
        QTest::mouseClick(form.CommandSelectAll, Qt::LeftButton);
        answerPdfRun(form, chooser, true);
        QTest::mouseClick(form.CommandOK, Qt::LeftButton);
        const std::string today = QDate::currentDate().toString(Qt::ISODate).toStdString();
        QVERIFY(WriteReportPdf(BuildReport(doc, kAllSections, today), direct));
        if (const QString why = whyPdfTextUnreadable(); !why.isEmpty()) QSKIP(qPrintable(why));
        // The same words in the same places, all of them 15 mm inside the A4 sheet.
        const QList<QRectF> a = wordBoxes(window), b = wordBoxes(direct);
        QVERIFY(a.size() > 100);
        QCOMPARE(a, b);
        const double margin = 15 / 25.4 * 72 - 0.5;
        const QRectF printable(margin, margin, 842 - 2 * margin, 595 - 2 * margin);
        for (const QRectF& box : a)
            QVERIFY2(printable.contains(box), qPrintable(QString::number(box.right())));
    }

    void printToAFileOffersTheDataFilesNameInTheFolderLastUsed() {
        QTemporaryDir dir;
        doc.CurrentFileName = "customerA.rdat";
        FormPrint form(doc, *host);
        form.printSetup().folder = dir.path();
        form.show();
        QTest::mouseClick(form.CommandSelectAll, Qt::LeftButton);
        QString offered;
        answerPdfRun(form, chooser, false, &offered);
        QTest::mouseClick(form.CommandOK, Qt::LeftButton);
        QCOMPARE(offered, dir.filePath("customerA.pdf"));

        // Without a usable folder: beside the data file, else at home.
        doc.CurrentFilePath = dir.filePath("sub/customerA.rdat").toStdString();
        QCOMPARE(SuggestedReportFile(doc, dir.filePath("gone")), dir.filePath("sub/customerA.pdf"));
        doc.CurrentFilePath.clear();
        doc.CurrentFileName = "new.rdat";
        QCOMPARE(SuggestedReportFile(doc, QString()), QDir::home().filePath("new.pdf"));
    }

    void portraitChannelTableShrinksToFitTheWidth() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("portrait.pdf");
        FormPrint form(doc, *host);
        form.printSetup().outputFileName = pdf;
        form.printSetup().orientation = QPageLayout::Portrait;
        form.show();
        QTest::mouseClick(form.CommandSelectAll, Qt::LeftButton);
        answerPdfRun(form, chooser, true);
        QTest::mouseClick(form.CommandOK, Qt::LeftButton);
        if (const QString why = whyPdfTextUnreadable(); !why.isEmpty()) QSKIP(qPrintable(why));
        const QString text = pdfText(pdf);
        // The last column is on the page, on the channel's own line.
        const QRegularExpression row2("^ *2 +146\\.52000 .*Special Code *$",
                                      QRegularExpression::MultilineOption);
        QVERIFY2(row2.match(text).hasMatch(), qPrintable(text));
    }

#ifdef Q_OS_UNIX
    // Printing into a PDF file on a full disk (a file-size limit here): the error
    // names the file and the reason, and the file that was there is untouched.
    void pdfOnAFullDiskLeavesTheOldFile() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("report.pdf");
        {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
        }
        FormPrint form(doc, *host);
        form.printSetup().outputFileName = pdf;
        form.show();
        QTest::mouseClick(form.CommandSelectAll, Qt::LeftButton);
        answerPdfRun(form, chooser, true);
        host->messageService.shown.clear();
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{128, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        QTest::mouseClick(form.CommandOK, Qt::LeftButton);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(host->messageService.shown.size(), 1);
        QCOMPARE(host->messageService.shown[0].text,
                 "The report could not be printed:\n" + pdf + ": File too large");
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.pdf"});
        QVERIFY(form.isVisible());
    }
#endif

    void cancelledSystemDialogPrintsNothing() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("report.pdf");
        FormPrint form(doc, *host);
        form.printSetup().outputFileName = pdf;
        form.show();
        QTest::mouseClick(form.CommandSelectAll, Qt::LeftButton);
        answerPdfRun(form, chooser, false);
        QTest::mouseClick(form.CommandOK, Qt::LeftButton);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(form.isVisible());
    }

    // Where the system's print dialog drives printers only: the save dialog offers
    // the data file's name and writes the file chosen; a cancel or a failed dialog
    // prints nothing (the failure says so).
    void pdfThroughTheSaveDialog() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("elsewhere"));
        const QString chosen = dir.filePath("elsewhere/chosen.pdf");
        doc.IsEnglish = false;
        doc.CurrentFileName = "customerA.rdat";
        const struct {
            FileDialogAnswer answer;
            bool printed;
            int messages;
        } cases[] = {
            {{FileDialogAnswer::Chosen, chosen}, true, 0},
            {{FileDialogAnswer::Cancelled, QString()}, false, 0},
            {{FileDialogAnswer::Failed, QString()}, false, 1},
        };
        for (const auto& c : cases) {
            QFile::remove(chosen);
            host->messageService.shown.clear();
            FormPrint form(doc, *host);
            form.pdfRoute = PdfRoute::SaveDialog;
            form.setFileChooser(chooser);
            form.printSetup().outputFileName = dir.filePath("report.pdf");
            chooser.requests.clear();
            chooser.setAnswerer([&](const FileDialogRequest&) { return c.answer; });
            form.show();
            QTest::mouseClick(form.CommandSelectAll, Qt::LeftButton);
            QTest::mouseClick(form.CommandOK, Qt::LeftButton);

            QCOMPARE(chooser.requests.size(), 1);
            const FileDialogRequest& r = chooser.requests[0];
            QVERIFY(!r.open);
            QCOMPARE(QDir(r.folder).filePath(r.defaultName), dir.filePath("report.pdf"));
            QCOMPARE(r.filters.value(0), QStringLiteral("PDF文件(*.pdf)"));
            QCOMPARE(r.defaultSuffix, QStringLiteral("pdf"));
            QFile written(chosen);
            QCOMPARE(written.open(QIODevice::ReadOnly) && written.read(5) == "%PDF-", c.printed);
            QVERIFY(!QFile::exists(dir.filePath("report.pdf")));
            QCOMPARE(form.isVisible(), !c.printed);
            QCOMPARE(host->messageService.shown.size(), c.messages);
        }
    }

    void nothingTickedSaysSoInsteadOfPrinting() {
        FormPrint form(doc, *host);
        form.show();
        QTest::mouseClick(form.CommandSelectAll, Qt::LeftButton);
        for (QCheckBox* b : {form.CheckOption, form.CheckKeySetting, form.CheckEmbedMessage,
                             form.CheckChannelInfo})
            clickCheck(b);
        QVERIFY(form.CommandOK->isEnabled());
        QTest::mouseClick(form.CommandOK, Qt::LeftButton);
        QCOMPARE(host->messageService.shown.size(), 1);
        QCOMPARE(host->messageService.shown[0].icon, MsgIcon::Information);
        QVERIFY(form.isVisible());
    }

    void previewShowsTheReport() {
        int pages = 0;
        whenShown<QPrintPreviewDialog>([&](QPrintPreviewDialog* d) {
            auto* view = d->findChild<QPrintPreviewWidget*>();
            pages = view ? view->pageCount() : -1;
            d->reject();
        });
        ShowPrintPreview(doc);
        QCOMPARE(pages, 1);
    }

private:
    Document doc;
    std::unique_ptr<FakeEditorHost> host;
    ScriptedFileChooser chooser;
};

QTEST_MAIN(PrintFormsTest)
#include "print_forms_test.moc"
