// Channel rows in and out of the program: the File menu's Import Channels and
// Export Channels, and copy and paste of grid rows, on the real main window.
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>
#include <algorithm>

#include "app/standard_parts.h"
#include "channels/channel_csv.h"
#include "channels/channel_record.h"
#include "channels/form_channel_information.h"
#include "channels/form_csv_preview.h"
#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"
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
    // A column of a preview table, top to bottom.
    static QStringList column(const QTableWidget* table, int c) {
        QStringList out;
        for (int r = 0; r < table->rowCount(); ++r) out << table->item(r, c)->text();
        return out;
    }
    // The grid's cells of a channel as shown, "|"-joined.
    QString shownRow(int row) {
        QStringList cells;
        for (int c = FormChannelInformation::kColRx; c <= FormChannelInformation::kColSpacing; ++c)
            cells << grid()->cellText(row, c);
        return cells.join('|');
    }
    // Clicks the row's number, as a user chooses the row a paste starts at.
    void clickRowNumber(int row, Qt::KeyboardModifiers keys = {}) {
        QTableWidget* table = grid()->MSHFlexGridChannel;
        const QRect cell = table->visualItemRect(table->item(row - 1, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, keys, cell.center());
    }
    // Runs `f` on the preview the next command opens; `seen` tells it did.
    template <typename F>
    void onPreview(bool& seen, F f) {
        seen = false;
        shelltest::onModal([&seen, f](QWidget* w) {
            auto* preview = qobject_cast<FormCsvPreview*>(w);
            QVERIFY(preview);
            seen = true;
            f(preview);
        });
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
        bool seen = false;
        onPreview(seen, [&](FormCsvPreview* preview) {
            // Nothing has changed while the preview is up.
            QCOMPARE(channels(), before);
            QVERIFY(preview->OptionKeepLocations->isChecked());
            QCOMPARE(column(preview->GridRows, 0), (QStringList{"1", "3"}));
            QCOMPARE(column(preview->GridRows, 2), (QStringList{"145.12500", "146.50000"}));
            QCOMPARE(column(preview->GridRows, 5), (QStringList{"88.5", "None"}));
            QCOMPARE(column(preview->GridSkipped, 0), QStringList{"3"});
            QCOMPARE(
                column(preview->GridSkipped, 1),
                QStringList{"receive frequency 200.000000 MHz is outside the band 136-174 MHz"});
            preview->CommandOK->click();
        });
        action("MenuImportChannels")->trigger();
        QVERIFY(seen);
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
        // The preview was the report.
        QVERIFY(rig.messages.shown.isEmpty());

        // A file without a usable header changes nothing and says so.
        const auto imported = channels();
        rig.chooser.answerWith(writeFile("notes.txt", "just some notes\n"));
        action("MenuImportChannels")->trigger();
        QCOMPARE(channels(), imported);
        QCOMPARE(rig.messages.shown.size(), 1);
        QCOMPARE(rig.messages.shown[0].icon, MsgIcon::Error);
        QVERIFY(rig.messages.shown[0].text.contains("Frequency"));
        QCOMPARE(rig.win->undoStack().count(), steps + 1);

        // One Undo takes the whole import back; the grid follows.
        action("MenuUndo")->trigger();
        QCOMPARE(channels(), before);
        QVERIFY(grid()->cellText(1, FormChannelInformation::kColRx).isEmpty());
    }

    // A list numbered from 0, dropped on the window: the preview offers it in order
    // from channel 1; each choice is planned anew; Cancel changes nothing, OK lands
    // every shown row as one step.
    void importPreviewPlacement() {
        CommitRxFrequency(doc(), 9, "150");
        doc().commitChange();
        const auto before = channels();
        const int steps = rig.win->undoStack().count();
        const QString csv = writeFile("zero.csv",
                                      "Location,Frequency,Power\r\n"
                                      "0,145.1,4.0W\r\n"
                                      "1,145.2,\r\n"
                                      "2,145.3,\r\n");
        auto drop = [&] {
            QMimeData mime;
            // A list saved as .txt (the import dialog offers both) is taken alike.
            mime.setUrls({QUrl::fromLocalFile(QString(csv).replace(".csv", ".TXT"))});
            QDragEnterEvent text(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(rig.win.get(), &text);
            QVERIFY(text.isAccepted());
            mime.setUrls({QUrl::fromLocalFile(csv)});
            QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(rig.win.get(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent event(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(rig.win.get(), &event);
        };
        bool seen = false;
        drop();
        onPreview(seen, [&](FormCsvPreview* preview) {
            QVERIFY(preview->OptionInOrder->isChecked());
            QCOMPARE(preview->SpinFirstChannel->value(), 1);
            QCOMPARE(column(preview->GridRows, 0), (QStringList{"1", "2", "3"}));
            QCOMPARE(column(preview->GridRows, 6), (QStringList{"High (4.0W)", "High", "High"}));
            QVERIFY(preview->LabelPower->text().contains("4.0W → High"));
            preview->SpinFirstChannel->setValue(8);
            // Channel 9 is taken by the file's second row: it is replaced, not skipped.
            QCOMPARE(column(preview->GridRows, 0), (QStringList{"8", "9", "10"}));
            preview->SpinFirstChannel->setValue(15);
            QCOMPARE(column(preview->GridRows, 0), (QStringList{"15", "16"}));
            QCOMPARE(column(preview->GridSkipped, 1), QStringList{"no channel left"});
            preview->OptionKeepLocations->click();
            QCOMPARE(column(preview->GridRows, 0), (QStringList{"1", "2"}));
            QCOMPARE(column(preview->GridSkipped, 0), QStringList{"2"});
            preview->CommandCancel->click();
        });
        QTRY_VERIFY(seen);
        QCOMPARE(channels(), before);
        QCOMPARE(rig.win->undoStack().count(), steps);

        drop();
        onPreview(seen, [&](FormCsvPreview* preview) {
            preview->SpinFirstChannel->setValue(8);
            preview->CommandOK->click();
        });
        QTRY_VERIFY(seen);
        QCOMPARE(shownRow(8), QStringLiteral("145.10000|145.10000|None|None|High|Add|25K(Wide)"));
        QCOMPARE(grid()->cellText(9, FormChannelInformation::kColRx), QStringLiteral("145.20000"));
        QCOMPARE(grid()->cellText(10, FormChannelInformation::kColRx), QStringLiteral("145.30000"));
        QCOMPARE(rig.win->undoStack().count(), steps + 1);
        action("MenuUndo")->trigger();
        QCOMPARE(channels(), before);
        QCOMPARE(grid()->cellText(9, FormChannelInformation::kColRx), QStringLiteral("150.00000"));
    }

    void previewInChinese() {
        rig.start(dir.filePath("settings.ini"), false, "1", StandardShellParts());
        rig.chooser.answerWith(writeFile("zh.csv", "Location,Frequency\n1,145.5\n17,146\n"));
        bool seen = false;
        onPreview(seen, [&](FormCsvPreview* preview) {
            QCOMPARE(preview->windowTitle(), QStringLiteral("导入信道"));
            QCOMPARE(preview->OptionKeepLocations->text(), QStringLiteral("保留位置(&K)"));
            QCOMPARE(preview->CommandOK->text(), QStringLiteral("确定(&O)"));
            QCOMPARE(column(preview->GridRows, 4), QStringList{"无"});
            QCOMPARE(column(preview->GridSkipped, 1), QStringList{"位置“17”不是1-16的信道"});
            preview->CommandOK->click();
        });
        action("MenuImportChannels")->trigger();
        QVERIFY(seen);
        QCOMPARE(grid()->cellText(1, FormChannelInformation::kColRx), QStringLiteral("145.50000"));
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
        // The cells as shown for any program, the whole channels for this one.
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(copied->text(), shownRow(2).replace('|', '\t') + "\n\t\t\t\t\t\t\n" +
                                     shownRow(4).replace('|', '\t') + "\n");
        QCOMPARE(copied->data(FormChannelInformation::kChannelRowsMime).toStdString(),
                 ExportChannelRows(doc().radioImage, 2, 4, '\t'));
    }

    // Rows copied out of the grid as a spreadsheet holds them (the text alone, in the
    // grid's order) come back the same at the row whose number was clicked; copied
    // whole, with what the grid does not show too.
    void headerlessPasteInTheGridsOrder() {
        CommitRxFrequency(doc(), 2, "145.5");
        CommitTxFrequency(doc(), 2, "");
        SetRxTone(doc().radioImage, 2, ToneFromText("D023I", '.').code);
        SetTxPower(doc().radioImage, 2, 0);
        CommitRxFrequency(doc(), 4, "146.5");
        CommitTxFrequency(doc(), 4, "147.1");
        SetTxTone(doc().radioImage, 4, ToneFromText("88.5", '.').code);
        SetSpacing(doc().radioImage, 4, 0);
        SetScanAddBit(doc().radioImage, 4, false);
        SetScrambleOn(doc().radioImage, 4, true);
        SetBusyLock(doc().radioImage, 4, 2);
        CommitRxFrequency(doc(), 11, "150");
        doc().commitChange();
        grid()->AnalyseChannelInformation();
        goToRow(2);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_C, Qt::ControlModifier);
        const QString text = QGuiApplication::clipboard()->text();
        QGuiApplication::clipboard()->setText(text);

        const int steps = rig.win->undoStack().count();
        clickRowNumber(10);
        QCOMPARE(grid()->MSHFlexGridChannel->currentRow(), 9);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_V, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i) QCOMPARE(shownRow(10 + i), shownRow(2 + i));
        QVERIFY(!ChannelInUse(doc().radioImage, 11));
        QCOMPARE(rig.win->undoStack().count(), steps + 1);
        QVERIFY(rig.messages.shown.isEmpty());

        // Copied whole: the channel's bytes, scrambler and busy lock among them.
        clickRowNumber(4);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_C, Qt::ControlModifier);
        clickRowNumber(16);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_V, Qt::ControlModifier);
        const auto& image = doc().radioImage;
        QVERIFY(std::equal(image.begin() + ChannelStart(4), image.begin() + ChannelStart(4) + 16,
                           image.begin() + ChannelStart(16)));
        QCOMPARE(GetScanAddBit(image, 16), false);

        // Shift+click on a row number copies every row from the current one to it.
        clickRowNumber(12);
        clickRowNumber(10, Qt::ShiftModifier);
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().trimmed().split('\n').size(), 3);
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
        // A row that cannot be taken: the preview first, and Cancel changes nothing.
        bool seen = false;
        onPreview(seen, [&](FormCsvPreview* preview) {
            QVERIFY(!preview->OptionKeepLocations->isVisible());
            QCOMPARE(column(preview->GridRows, 0), (QStringList{"5", "7"}));
            QCOMPARE(column(preview->GridSkipped, 0), QStringList{"3"});
            preview->CommandCancel->click();
        });
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(seen);
        QCOMPARE(channels(), before);
        QCOMPARE(rig.win->undoStack().count(), steps);
        onPreview(seen, [](FormCsvPreview* preview) { preview->CommandOK->click(); });
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(seen);
        QCOMPARE(grid()->cellText(5, FormChannelInformation::kColRx), QStringLiteral("145.12500"));
        QCOMPARE(grid()->cellText(5, FormChannelInformation::kColDecode), QStringLiteral("100.0"));
        QCOMPARE(grid()->cellText(5, FormChannelInformation::kColSpacing),
                 QStringLiteral("12.5K(Narrow)"));
        QCOMPARE(grid()->cellText(7, FormChannelInformation::kColRx), QStringLiteral("146.50000"));
        QCOMPARE(grid()->cellText(6, FormChannelInformation::kColRx), QString());
        QVERIFY(rig.messages.shown.isEmpty());
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
