// Channel rows in and out of the program: the File menu's Import Channels and
// Export Channels, and copy and paste of grid rows, on the real main window.
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>
#include <algorithm>

#include "app/standard_parts.h"
#include "channels/channel_csv.h"
#include "channels/channel_record.h"
#include "channels/form_channel_information.h"
#include "channels/frequency_entry.h"
#include "storage/data_store.h"
#include "tests/shell/shell_test_support.h"

using namespace baldo7;

class CsvFormsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    shelltest::MainWindowRig rig;

    Document& doc() { return *rig.doc; }
    QAction* action(const char* name) { return rig.win->findChild<QAction*>(name); }
    FormChannelInformation* grid() {
        return qobject_cast<FormChannelInformation*>(
            rig.win->editorWidget(EditorWindow::ChannelInformation));
    }
    // Makes `row` the grid's current row with the keyboard's focus on the grid.
    void goToRow(int row) {
        QTableWidget* table = grid()->MSHFlexGridChannel;
        table->setFocus();
        table->setCurrentCell(row - 1, FormChannelInformation::kColRx);
    }
    std::vector<std::uint8_t> channels() const {
        const RadioImage& image = rig.doc->radioImage;
        // Sized once: GCC 12 at -O2 (MinGW) takes a growing insert for an overflow.
        std::vector<std::uint8_t> out(256 + 2);
        std::copy(image.begin() + 16, image.begin() + 272, out.begin());
        std::copy(image.begin() + addr::kScanAddBitmap, image.begin() + addr::kScanAddBitmap + 2,
                  out.begin() + 256);
        return out;
    }
    QString writeFile(const QString& name, const QByteArray& text) {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
        f.write(text);
        return path;
    }

private slots:
    void init() {
        rig.start(dir.filePath("settings.ini"), true, "1", StandardShellParts());
        QVERIFY(grid());
    }

    void menuCaptionsInBothLanguages() {
        QCOMPARE(action("MenuImportChannels")->text(), QStringLiteral("&Import Channels…"));
        QCOMPARE(action("MenuExportChannels")->text(), QStringLiteral("E&xport Channels…"));
        rig.start(dir.filePath("settings.ini"), false, "1", StandardShellParts());
        QCOMPARE(action("MenuImportChannels")->text(), QStringLiteral("导入信道(&I)…"));
        QCOMPARE(action("MenuExportChannels")->text(), QStringLiteral("导出信道(&X)…"));
    }

    void importFromTheFileMenu() {
        CommitRxFrequency(doc(), 9, "150");
        doc().commitChange();
        const auto before = channels();
        const int steps = rig.win->undoStack().count();
        const QString csv = writeFile("plan.csv",
                                      "\xEF\xBB\xBFLocation,Frequency,Tone,rToneFreq,Power\r\n"
                                      "1,145.125,Tone,88.5,Low\r\n"
                                      "2,200,,,\r\n"
                                      "3,\"146,5\",,,High\r\n");
        rig.chooser.answerWith(csv);
        action("MenuImportChannels")->trigger();
        QCOMPARE(rig.chooser.requests.size(), 1);
        QVERIFY(rig.chooser.requests[0].open);
        // The grid shows the rows at once; channel 9 was not in the file.
        QCOMPARE(grid()->cellText(1, FormChannelInformation::kColRx), QStringLiteral("145.12500"));
        QCOMPARE(grid()->cellText(1, FormChannelInformation::kColEncode), QStringLiteral("88.5"));
        QCOMPARE(grid()->cellText(1, FormChannelInformation::kColPower), QStringLiteral("Low"));
        QCOMPARE(grid()->cellText(3, FormChannelInformation::kColRx), QStringLiteral("146.50000"));
        QVERIFY(grid()->cellText(2, FormChannelInformation::kColRx).isEmpty());
        QVERIFY(ChannelInUse(doc().radioImage, 9));
        QCOMPARE(rig.win->undoStack().count(), steps + 1);
        // One report for the skipped row.
        QCOMPARE(rig.messages.shown.size(), 1);
        QVERIFY(rig.messages.shown[0].text.contains(
            "Line 3: receive frequency 200.000000 MHz is outside the band 136-174 MHz"));

        // A file without a usable header changes nothing and says so.
        const auto imported = channels();
        rig.chooser.answerWith(writeFile("notes.txt", "just some notes\n"));
        action("MenuImportChannels")->trigger();
        QCOMPARE(channels(), imported);
        QCOMPARE(rig.messages.shown.size(), 2);
        QCOMPARE(rig.messages.shown[1].icon, MsgIcon::Error);
        QVERIFY(rig.messages.shown[1].text.contains("Frequency"));
        QCOMPARE(rig.win->undoStack().count(), steps + 1);

        // One Undo takes the whole import back; the grid follows.
        action("MenuUndo")->trigger();
        QCOMPARE(channels(), before);
        QVERIFY(grid()->cellText(1, FormChannelInformation::kColRx).isEmpty());
    }

    void exportFromTheFileMenu() {
        CommitRxFrequency(doc(), 2, "145.5");
        CommitRxFrequency(doc(), 7, "150.0125");
        const QString path = dir.filePath("out.csv");
        rig.chooser.answerWith(path);
        action("MenuExportChannels")->trigger();
        QCOMPARE(rig.chooser.requests.size(), 1);
        QVERIFY(!rig.chooser.requests[0].open);
        QCOMPARE(rig.chooser.requests[0].defaultName, QStringLiteral("new.csv"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().toStdString(), ExportChannelsCsv(doc().radioImage));
        // It says where the file went, and the next list starts in that folder.
        QCOMPARE(rig.messages.shown.size(), 1);
        QCOMPARE(rig.messages.shown[0].icon, MsgIcon::Information);
        QVERIFY(rig.messages.shown[0].text.endsWith(QDir::toNativeSeparators(path)));
        rig.chooser.answerWith(QString());
        action("MenuExportChannels")->trigger();
        QCOMPARE(rig.chooser.requests.size(), 2);
        QCOMPARE(QDir(rig.chooser.requests[1].folder), QDir(dir.path()));
    }

    void copyRowsAsTabSeparatedText() {
        CommitRxFrequency(doc(), 2, "145.5");
        CommitRxFrequency(doc(), 4, "146.5");
        grid()->AnalyseChannelInformation();
        goToRow(2);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().toStdString(),
                 ExportChannelRows(doc().radioImage, 2, 4, '\t'));
    }

    void pasteSpreadsheetRows() {
        CommitRxFrequency(doc(), 7, "150");
        doc().commitChange();
        grid()->AnalyseChannelInformation();
        // Rows as a spreadsheet gives them: its own column order, comma decimals, a
        // row that cannot be taken.
        QGuiApplication::clipboard()->setText(
            "Frequency\tLocation\tTone\tcToneFreq\tMode\r\n"
            "145,125\t1\tTSQL\t100,0\tNFM\r\n"
            "999\t2\t\t\t\r\n"
            "146,5\t3\t\t\t\r\n");
        const auto before = channels();
        const int steps = rig.win->undoStack().count();
        goToRow(5);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(grid()->cellText(5, FormChannelInformation::kColRx), QStringLiteral("145.12500"));
        QCOMPARE(grid()->cellText(5, FormChannelInformation::kColDecode), QStringLiteral("100.0"));
        QCOMPARE(grid()->cellText(5, FormChannelInformation::kColSpacing),
                 QStringLiteral("12.5K(Narrow)"));
        QCOMPARE(grid()->cellText(7, FormChannelInformation::kColRx), QStringLiteral("146.50000"));
        QCOMPARE(grid()->cellText(6, FormChannelInformation::kColRx), QString());
        QCOMPARE(rig.messages.shown.size(), 1);
        QVERIFY(rig.messages.shown[0].text.contains("Line 3:"));
        QVERIFY(channels() != before);

        // The whole paste is one step: one Undo brings every row back, Redo again.
        const auto pasted = channels();
        QCOMPARE(rig.win->undoStack().count(), steps + 1);
        action("MenuUndo")->trigger();
        QCOMPARE(channels(), before);
        QCOMPARE(grid()->cellText(5, FormChannelInformation::kColRx), QString());
        QCOMPARE(grid()->cellText(7, FormChannelInformation::kColRx), QStringLiteral("150.00000"));
        action("MenuRedo")->trigger();
        QCOMPARE(channels(), pasted);
        QCOMPARE(grid()->cellText(5, FormChannelInformation::kColRx), QStringLiteral("145.12500"));
    }

    void pasteInsideACellEditorIsTheEditors() {
        const auto before = channels();
        QGuiApplication::clipboard()->setText("146.5");
        grid()->openCellEditor(3, FormChannelInformation::kColRx);
        QLineEdit* editor = grid()->Text1;
        QVERIFY(editor->isVisible());
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor->text(), QStringLiteral("146.5"));
        QCOMPARE(channels(), before);
    }
};

QTEST_MAIN(CsvFormsTest)
#include "csv_forms_test.moc"
