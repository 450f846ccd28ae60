// Undo and redo through the Edit menu and its keys, with the real editors open:
// every user action is one step, and an undo redraws the editors from the bytes.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <QCheckBox>

#include "app/standard_parts.h"
#include "channels/form_batch_channel_edit.h"
#include "channels/form_channel_edit.h"
#include "channels/form_channel_information.h"
#include "channels/form_copy_tools.h"
#include "functions/form_embed_message.h"
#include "functions/form_option.h"
#include "functions/form_scan_information.h"
#include "service/form_password.h"
#include "shell/mdi_form_main.h"
#include "shell_test_support.h"
#include "storage/data_store.h"
#include "tests/support/combo_pick.h"

using namespace baldo7;
using shelltest::onModal;
using Grid = FormChannelInformation;

class HistoryTest : public QObject, public shelltest::MainWindowRig {
    Q_OBJECT
    QTemporaryDir tmp;

    void start(bool english = true) {
        MainWindowRig::start(tmp.filePath("baldo7.ini"), english, "4", StandardShellParts());
    }
    Grid* grid() { return static_cast<Grid*>(win->editorWidget(EditorWindow::ChannelInformation)); }
    QAction* action(const char* name) { return win->findChild<QAction*>(name); }

    void clickCell(int row, int column) {
        QTableWidget* table = grid()->MSHFlexGridChannel;
        const QRect rect = table->visualItemRect(table->item(row - 1, column));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void enterRx(int row, const QString& text) {
        clickCell(row, Grid::kColRx);
        QVERIFY(grid()->Text1->isVisible());
        QTest::keyClick(grid()->Text1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(grid()->Text1, text);
        QTest::keyClick(grid()->Text1, Qt::Key_Return);
    }
    // The keys go to the focused grid, as a user's would.
    void key(int k, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QTest::keyClick(grid()->MSHFlexGridChannel, Qt::Key(k), mods);
    }
    QString rx(int row) { return grid()->cellText(row, Grid::kColRx); }

private slots:
    void editMenuStartsWithUndoAndRedo_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("undo");
        QTest::addColumn<QString>("redo");
        QTest::newRow("English") << true << "&Undo"
                                 << "&Redo";
        QTest::newRow("Chinese") << false << "撤销(&U)"
                                 << "重做(&R)";
    }
    void editMenuStartsWithUndoAndRedo() {
        QFETCH(bool, english);
        start(english);
        const QList<QAction*> items = win->findChild<QMenu*>("MenuEdit")->actions();
        QCOMPARE(items.at(0), action("MenuUndo"));
        QCOMPARE(items.at(1), action("MenuRedo"));
        QFETCH(QString, undo);
        QFETCH(QString, redo);
        QCOMPARE(action("MenuUndo")->text(), undo);
        QCOMPARE(action("MenuRedo")->text(), redo);
        QCOMPARE(action("MenuUndo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(action("MenuRedo")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
        // Nothing to take back after start-up.
        QVERIFY(!action("MenuUndo")->isEnabled());
        QVERIFY(!action("MenuRedo")->isEnabled());
    }

    // The file named on the command line is the document's start: nothing to undo,
    // nothing unsaved, and the grid shows it.
    void startFileOpensWithAFreshHistory() {
        start();
        enterRx(1, "430");
        Document other = *doc;
        const RadioImage edited = doc->radioImage;
        const QString path = tmp.filePath("start.rdat");
        QVERIFY(SaveDataFile(other, path));
        start();
        QVERIFY(win->openStartFile(path));
        QVERIFY(doc->radioImage == edited);
        QVERIFY(!rx(1).isEmpty());
        QVERIFY(!action("MenuUndo")->isEnabled());
        QVERIFY(!doc->isModified());
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(win->windowTitle().contains("start.rdat"));
    }

    void gridEditsAreUndoneAndRedoneOneCellAtATime() {
        start();
        const RadioImage fresh = doc->radioImage;
        enterRx(1, "145");
        const RadioImage one = doc->radioImage;
        enterRx(2, "146");
        const RadioImage two = doc->radioImage;
        QCOMPARE(win->undoStack().count(), 2);
        QVERIFY(action("MenuUndo")->isEnabled());

        key(Qt::Key_Z);
        QVERIFY(doc->radioImage == one);
        QVERIFY(rx(2).isEmpty());  // the grid drew the restored bytes
        QVERIFY(!rx(1).isEmpty());
        key(Qt::Key_Z);
        QVERIFY(doc->radioImage == fresh);
        QVERIFY(rx(1).isEmpty());
        QVERIFY(!action("MenuUndo")->isEnabled());
        QVERIFY(!doc->isModified());

        key(Qt::Key_Y);
        QVERIFY(doc->radioImage == one);
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(doc->radioImage == two);
        QCOMPARE(rx(2), grid()->cellText(2, Grid::kColRx));
        QVERIFY(!rx(2).isEmpty());
        QVERIFY(!action("MenuRedo")->isEnabled());

        // A new edit after an undo drops what could have been redone.
        key(Qt::Key_Z);
        enterRx(3, "147");
        QVERIFY(!action("MenuRedo")->isEnabled());
        QCOMPARE(win->undoStack().count(), 2);
    }

    void deleteAndCopyToolAreOneStepEach() {
        start();
        enterRx(1, "145");
        enterRx(2, "146");
        const RadioImage before = doc->radioImage;

        clickCell(1, Grid::kColPower);
        key(Qt::Key_Escape, Qt::NoModifier);
        key(Qt::Key_D);  // delete channel 1: channel 2 moves up
        QVERIFY(doc->radioImage != before);
        QVERIFY(rx(2).isEmpty());
        action("MenuUndo")->trigger();
        QVERIFY(doc->radioImage == before);
        QVERIFY(!rx(2).isEmpty());

        // The channel copy dialog: two copies are two steps.
        onModal([](QWidget* w) {
            auto* copy = qobject_cast<FormChannelCopy*>(w);
            QVERIFY(copy);
            copy->ComboChannelTo->setCurrentIndex(4);
            QTest::mouseClick(copy->CommandCopy, Qt::LeftButton);
            copy->ComboChannelTo->setCurrentIndex(5);
            QTest::mouseClick(copy->CommandCopy, Qt::LeftButton);
            copy->reject();
        });
        clickCell(1, Grid::kColPower);
        key(Qt::Key_Escape, Qt::NoModifier);
        key(Qt::Key_E);
        QCOMPARE(rx(5), rx(1));
        QCOMPARE(rx(6), rx(1));
        action("MenuUndo")->trigger();
        QVERIFY(rx(6).isEmpty());
        QCOMPARE(rx(5), rx(1));
        action("MenuUndo")->trigger();
        QVERIFY(rx(5).isEmpty());
        QVERIFY(doc->radioImage == before);
    }

    void channelEditDialogChangesAreStepsAndItRedraws() {
        start();
        enterRx(1, "145");
        clickCell(1, Grid::kColRx);
        key(Qt::Key_Escape, Qt::NoModifier);
        win->openEditorWindow(EditorWindow::ChannelEdit);
        auto* edit = static_cast<FormChannelEdit*>(win->editorWidget(EditorWindow::ChannelEdit));
        QVERIFY(edit);
        const int steps = win->undoStack().count();
        const RadioImage before = doc->radioImage;
        const bool ticked = edit->CheckScanAdd->isChecked();
        QTest::mouseClick(edit->CheckScanAdd, Qt::LeftButton);
        QCOMPARE(edit->CheckScanAdd->isChecked(), !ticked);
        QCOMPARE(win->undoStack().count(), steps + 1);
        QVERIFY(doc->radioImage != before);

        action("MenuUndo")->trigger();
        QVERIFY(doc->radioImage == before);
        QCOMPARE(edit->CheckScanAdd->isChecked(), ticked);
        // The redraw's own writes are no new step: redo is still there.
        QVERIFY(action("MenuRedo")->isEnabled());
    }

    void functionSetupPickIsUndoneInTheOpenForm() {
        start();
        win->openEditorWindow(EditorWindow::Option);
        auto* option = static_cast<FormOption*>(win->editorWidget(EditorWindow::Option));
        QVERIFY(option);
        const std::uint8_t tot = doc->radioImage[addr::kTot];
        const QString shown = option->ComboTOT->currentText();
        const int pick = (option->ComboTOT->currentIndex() + 3) % option->ComboTOT->count();
        option->ComboTOT->setCurrentIndex(pick);
        emit option->ComboTOT->activated(pick);
        QVERIFY(doc->radioImage[addr::kTot] != tot);
        QVERIFY(doc->isModified());

        QTest::keyClick(option->ComboTOT, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(doc->radioImage[addr::kTot], tot);
        QCOMPARE(option->ComboTOT->currentText(), shown);
        action("MenuRedo")->trigger();
        QCOMPARE(option->ComboTOT->currentIndex(), pick);
    }

    void batchApplyIsOneStepAndTheGridRedraws() {
        start();
        const RadioImage fresh = doc->radioImage;
        onModal([](QWidget* w) {
            auto* batch = qobject_cast<FormBatchChannelEdit*>(w);
            QVERIFY(batch);
            QTest::mouseClick(batch->OptionArea[1], Qt::LeftButton, {}, QPoint(8, 8));
            for (auto [box, text] :
                 {std::pair{batch->TextStartChannel, "1"}, std::pair{batch->TextEndChannel, "4"},
                  std::pair{batch->TextRxStep, "12.5"}}) {
                box->setFocus();
                box->selectAll();
                QTest::keyClicks(box, text);
                QTest::keyClick(box, Qt::Key_Return);
            }
            QTest::mouseClick(batch->CommandApply, Qt::LeftButton);
            batch->accept();
        });
        action("MenuBank")->trigger();
        QCOMPARE(win->undoStack().count(), 1);
        const RadioImage applied = doc->radioImage;
        QVERIFY(applied != fresh);
        QTRY_VERIFY(!rx(4).isEmpty());  // the grid's tick picks the change up
        const QString fourth = rx(4);
        QVERIFY(rx(5).isEmpty());

        action("MenuUndo")->trigger();
        QVERIFY(doc->radioImage == fresh);
        for (int row = 1; row <= 4; ++row) QVERIFY(rx(row).isEmpty());
        action("MenuRedo")->trigger();
        QVERIFY(doc->radioImage == applied);
        QCOMPARE(rx(4), fourth);
    }

    void scanPickIsUndoneInTheOpenWindow() {
        start();
        win->openEditorWindow(EditorWindow::ScanInformation);
        auto* scan =
            static_cast<FormScanInformation*>(win->editorWidget(EditorWindow::ScanInformation));
        QVERIFY(scan);
        const int steps = win->undoStack().count();
        const RadioImage before = doc->radioImage;
        QComboBox* delay = scan->ComboScanDelay[1];
        const QString shown = delay->currentText();
        pick(delay, (delay->currentIndex() + 2) % delay->count());
        QCOMPARE(win->undoStack().count(), steps + 1);
        QVERIFY(doc->radioImage != before);

        action("MenuUndo")->trigger();
        QVERIFY(doc->radioImage == before);
        QCOMPARE(delay->currentText(), shown);
        QVERIFY(action("MenuRedo")->isEnabled());
    }

    // Enter stores the message as one step; a line typed but not yet left is stored
    // by Undo before it takes the step back, as the grid's open cell is.
    void messageEditIsUndoneInTheOpenWindow() {
        start();
        win->openEditorWindow(EditorWindow::EmbedMessage);
        auto* message =
            static_cast<FormEmbedMessage*>(win->editorWidget(EditorWindow::EmbedMessage));
        QVERIFY(message);
        QLineEdit* line = message->TextEmbedMessage[0];
        const auto type = [line](const char* text) {
            line->setFocus();
            line->selectAll();
            QTest::keyClicks(line, text);
        };
        const RadioImage before = doc->radioImage;
        const QString shown = line->text();
        type("HELLO");
        QTest::keyClick(line, Qt::Key_Return);
        QCOMPARE(win->undoStack().count(), 1);
        const RadioImage hello = doc->radioImage;
        QVERIFY(hello != before);

        type("WORLD");  // not left yet
        action("MenuUndo")->trigger();
        QVERIFY(doc->radioImage == hello);
        QCOMPARE(line->text(), QString("HELLO"));
        action("MenuUndo")->trigger();
        QVERIFY(doc->radioImage == before);
        QCOMPARE(line->text(), shown);
        action("MenuRedo")->trigger();
        QVERIFY(doc->radioImage == hello);
        QCOMPARE(line->text(), QString("HELLO"));
    }

    // A password set in Program → PassWord is a change like any edit: the mark, one
    // undo step, the question on Exit; undo takes it back out of the file too.
    void programPasswordIsOneStepAndMarksTheDocument() {
        MainWindowRig::start(tmp.filePath("baldo7.ini"), true, "4", StandardShellParts(), QString(),
                             true);
        const std::string before = doc->ProgramPassword;
        const auto setPassword = [this](const QString& text) {
            onModal([text](QWidget* w) {
                auto* form = qobject_cast<FormPassword*>(w);
                QVERIFY(form);
                form->TextPassword->setText(text);
                QTest::mouseClick(form->CommandOK, Qt::LeftButton);
            });
            action("MenuPassword")->trigger();
        };
        setPassword("a1b2");
        QCOMPARE(doc->ProgramPassword, std::string("a1b2"));
        QCOMPARE(win->undoStack().count(), 1);
        QVERIFY(shelltest::shownTitle(*win).endsWith("new.rdat*]"));
        messages.setAnswerer([](const Message& m) {
            return m.buttons == MsgButtons::SaveDiscardCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
        });
        QVERIFY(!win->close());
        QCOMPARE(messages.shown.size(), 1);
        setPassword("a1b2");  // the same again changes nothing
        QCOMPARE(win->undoStack().count(), 1);

        action("MenuUndo")->trigger();
        QCOMPARE(doc->ProgramPassword, before);
        QVERIFY(!doc->isModified());
        action("MenuRedo")->trigger();
        const QString path = tmp.filePath("password.rdat");
        chooser.answerWith(path);
        action("MenuSave")->trigger();
        Document saved;
        QVERIFY(LoadDataFile(saved, path).ok());
        QCOMPARE(saved.ProgramPassword, std::string("a1b2"));
        action("MenuUndo")->trigger();
        action("MenuSave")->trigger();
        QVERIFY(LoadDataFile(saved, path).ok());
        QCOMPARE(saved.ProgramPassword, before);
        messages.setAnswerer(nullptr);
    }

    void saveKeepsTheHistoryNewAndOpenStartAFreshOne() {
        start();
        enterRx(1, "145");
        const QString path = tmp.filePath("one.rdat");
        chooser.answerWith(path);
        action("MenuSaveAs")->trigger();
        QVERIFY(!doc->isModified());
        QVERIFY(action("MenuUndo")->isEnabled());  // saving keeps the history

        action("MenuUndo")->trigger();
        QVERIFY(doc->isModified());  // differs from the file again
        action("MenuRedo")->trigger();
        QVERIFY(!doc->isModified());

        enterRx(2, "146");
        messages.setAnswerer([](const Message& m) {
            return m.buttons == MsgButtons::SaveDiscardCancel ? MsgAnswer::Discard : MsgAnswer::Ok;
        });
        action("MenuOpen")->trigger();
        QVERIFY(rx(2).isEmpty());
        QVERIFY(!action("MenuUndo")->isEnabled());
        QVERIFY(!doc->isModified());

        enterRx(2, "146");
        action("MenuNew")->trigger();
        QVERIFY(!action("MenuUndo")->isEnabled());
        QVERIFY(!doc->isModified());
    }
};

QTEST_MAIN(HistoryTest)
#include "history_test.moc"
