// The service tools in the service configuration of the main window, each driven
// with real widgets and its transfers run by the transfer window against the
// simulator over a pseudo-terminal.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <functional>

#include "app/standard_parts.h"
#include "core/model_band.h"
#include "service/form_dtmf.h"
#include "service/form_local_message.h"
#include "service/form_password.h"
#include "service/form_special.h"
#include "service/form_tune.h"
#include "service/service_memory.h"
#include "shell/help_window.h"
#include "sim/pty_simulator.h"
#include "sim/sample_memory.h"
#include "storage/backups.h"
#include "storage/data_store.h"
#include "tests/shell/shell_test_support.h"

using namespace baldo7;
using shelltest::binFolder;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Runs `f` on the modal window `name` once it is the active one. Commands open
// their windows in turn, so a handler is set up before the command that opens it.
void whenModal(const QString& name, std::function<void(QWidget*)> f) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QDeadlineTimer deadline(20000);
    QObject::connect(timer, &QTimer::timeout, [timer, name, f, deadline] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w->objectName() == name) {
            timer->deleteLater();
            timer->stop();
            QPointer<QWidget> window = w;
            f(w);
            // A failed check leaves the window open: close it, or the test would hang.
            if (QTest::currentTestFailed() && window && window->isVisible())
                static_cast<QDialog*>(window.data())->reject();
        } else if (deadline.hasExpired()) {
            timer->deleteLater();
            timer->stop();
            qWarning("%s never came up", qPrintable(name));
            if (w) static_cast<QDialog*>(w)->reject();
        }
    });
    timer->start();
}

void click(QWidget* window, const char* button) {
    auto* b = window->findChild<QPushButton*>(button);
    QVERIFY2(b && b->isVisible() && b->isEnabled(), button);
    QTest::mouseClick(b, Qt::LeftButton);
}

// The transfer window: press Read or Write; it closes itself when done.
void transfer(const char* button) {
    whenModal("FormProcess", [button](QWidget* w) { click(w, button); });
}

// A service write not right after a read of its range: the transfer window reads
// what the radio holds first, then the write's own window comes up.
void transferAfterARead(const char* button) {
    whenModal("FormProcess", [button](QWidget* w) {
        QObject::connect(static_cast<QDialog*>(w), &QDialog::finished,
                         [button] { transfer(button); });
        click(w, "CommandRead");
    });
}

void clickCell(QTableWidget* grid, int row, int column) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(row, column)).center());
}

Bytes slice(const sim::Memory& m, int from, int to) {
    return Bytes(m.begin() + from, m.begin() + to);
}
Bytes slice(const ServiceMemory& m, int from, int to) {
    return Bytes(ServiceBytes(m, from), ServiceBytes(m, to));
}

QStringList messageTexts(const ScriptedMessageService& messages) {
    QStringList texts;
    for (const Message& m : messages.shown) texts << m.text;
    return texts;
}

}  // namespace

class ServiceFormsTest : public QObject, public shelltest::MainWindowRig {
    Q_OBJECT
    QTemporaryDir tmp;
    std::unique_ptr<sim::PtySimulator> radio;
    sim::Memory memory{};

    // A radio holding the template image over 0xEE, then the service configuration's
    // main window on its line. Questions are answered OK, retries Cancel.
    void startRadio() {
        Document radioDoc;
        QVERIFY(LoadTemplate(radioDoc, binFolder()).ok());
        memory.fill(0xEE);
        std::copy(radioDoc.radioImage.begin(), radioDoc.radioImage.end(), memory.begin());
    }
    void startWindow(bool english = true) {
        radio = std::make_unique<sim::PtySimulator>();
        radio->setMemory(memory);
        std::string error;
        QVERIFY2(radio->start(&error), error.c_str());
        start(tmp.filePath("baldo7.ini"), english, QString::fromStdString(radio->devicePath()),
              StandardShellParts(), QString(), true);
        messages.setAnswerer([](const Message& m) {
            return m.buttons == MsgButtons::RetryCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
        });
    }
    void trigger(const char* menuItem) {
        auto* a = win->findChild<QAction*>(menuItem);
        QVERIFY2(a && a->isVisible(), menuItem);
        a->trigger();
    }
    FormTune* tune() { return static_cast<FormTune*>(win->editorWidget(EditorWindow::Tune)); }

private slots:
    void cleanup() {
        win.reset();
        if (radio) radio->stop();
        radio.reset();
    }

    void theServiceConfigurationOffersTheTools() {
        startRadio();
        for (const bool service : {false, true}) {
            start(tmp.filePath("baldo7.ini"), true, "1", StandardShellParts(), QString(), service);
            QStringList keys;
            QTreeWidgetItem* root = win->findChild<QTreeWidget*>("TreeView1")->topLevelItem(0);
            for (int i = 0; i < root->childCount(); ++i)
                keys << root->child(i)->data(0, Qt::UserRole).toString();
            for (const char* key : {"TreeLocalMessage", "TreeDtmf", "TreeTuneData", "TreeSpecial"})
                QCOMPARE(keys.contains(key), service);
            for (const char* item : {"MenuLocalMessage", "MenuStun", "MenuPassword"})
                QCOMPARE(win->findChild<QAction*>(item)->isVisible(), service);
        }
        // The tune node opens the tune window, listed as 1005 in the Window menu.
        QTreeWidget* tree = win->findChild<QTreeWidget*>("TreeView1");
        QTreeWidgetItem* root = tree->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->data(0, Qt::UserRole) == "TreeTuneData") {
                QCOMPARE(root->child(i)->text(0), QString("Tune Data"));
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                                  tree->visualItemRect(root->child(i)).center());
            }
        QVERIFY(tune());
        QVERIFY(win->state().FormTuneOpen);
        QMenu* windowMenu = win->findChild<QMenu*>("MenuWindow");
        emit windowMenu->aboutToShow();
        QStringList entries;
        for (QAction* a : windowMenu->actions())
            if (a->objectName().startsWith("WindowEntry")) entries << a->text();
        QVERIFY(entries.contains(win->editorWidget(EditorWindow::Tune)->windowTitle()));
        // Opening the function setup closes it.
        win->openEditorWindow(EditorWindow::Option);
        QTRY_VERIFY(!tune());
        QVERIFY(!win->state().FormTuneOpen);
    }

    void passwordChangeWritesTheNewBlock_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<Bytes>("block");  // empty: refused
        QTest::newRow("six") << "Ab3$z9"
                             << "Ab3$z9" << Bytes{'A', 'b', '3', '$', 'z', '9'};
        QTest::newRow("four") << "1234"
                              << "1234" << Bytes{'1', '2', '3', '4', 0xFF, 0xFF};
        QTest::newRow("empty") << ""
                               << "" << Bytes(6, 0xFF);
        QTest::newRow("case") << "abcd"
                              << "ABCD" << Bytes{};
    }
    void passwordChangeWritesTheNewBlock() {
        QFETCH(QString, first);
        QFETCH(QString, repeated);
        QFETCH(Bytes, block);
        startRadio();
        startWindow();
        const RadioImage before = doc->radioImage;
        bool passwordChecked = false;
        whenModal("FormPassword", [&](QWidget* w) {
            auto* form = static_cast<FormPassword*>(w);
            whenModal("FormPasswordChange", [&](QWidget* w) {
                auto* change = static_cast<FormPasswordChange*>(w);
                QTest::keyClicks(change->TextOldPassword, "old1");
                QTest::keyClicks(change->TextNewPassword[0], first);
                QTest::keyClicks(change->TextNewPassword[1], repeated);
                QCOMPARE(change->TextNewPassword[0]->displayText(), QString(first.size(), '*'));
                if (!block.empty()) transferAfterARead("CommandWrite");
                click(change, "CommandOK");
                if (block.empty()) {
                    QVERIFY(change->isVisible());
                    click(change, "CommandCancel");
                }
            });
            click(form, "CommandChange");
            QCOMPARE(form->TextPassword->text(), block.empty() ? QString() : first);
            passwordChecked = true;
            click(form, "CommandOK");
        });
        trigger("MenuPassword");
        QVERIFY(passwordChecked);
        const sim::Memory after = radio->memory();
        if (block.empty()) {
            QCOMPARE(messageTexts(messages), QStringList{"Different between two new passowrds"});
            QVERIFY(doc->radioImage == before);
            QCOMPARE(slice(after, 0x2F0, 0x2F6), slice(memory, 0x2F0, 0x2F6));
            return;
        }
        QCOMPARE(messageTexts(messages),
                 (QStringList{"Change password?", "Change password successful"}));
        QCOMPARE(slice(after, 0x2F0, 0x2F6), block);
        QCOMPARE(Bytes(doc->radioImage.begin() + 0x2F0, doc->radioImage.begin() + 0x2F6), block);
        QCOMPARE(doc->ProgramPassword, first.toStdString());
    }

    // A change whose backup fails and is not gone on with writes nothing and is no
    // success, whatever an earlier exchange left behind.
    void passwordChangeStoppedAtTheBackupIsNoSuccess() {
        startRadio();
        startWindow();
        transfer("CommandRead");
        trigger("MenuRead");
        QVERIFY(win->lastTransfer().wentThrough());
        // A file where the backups folder should be: no backup can be saved.
        const QString folder = backups.filePath("backups");
        QDir(folder).removeRecursively();
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        // The folder is the rig's for every test: it comes back whatever happens here.
        const std::unique_ptr<QFile, void (*)(QFile*)> unblock(&blocker,
                                                               [](QFile* f) { f->remove(); });
        messages.setAnswerer([](const Message& m) {
            return m.text.startsWith("The backup could not be saved") ? MsgAnswer::Cancel
                                                                      : MsgAnswer::Ok;
        });
        messages.shown.clear();
        const sim::Memory before = radio->memory();
        whenModal("FormPassword", [&](QWidget* w) {
            whenModal("FormPasswordChange", [&](QWidget* w) {
                auto* change = static_cast<FormPasswordChange*>(w);
                QTest::keyClicks(change->TextOldPassword, "old1");
                QTest::keyClicks(change->TextNewPassword[0], "9876");
                QTest::keyClicks(change->TextNewPassword[1], "9876");
                click(change, "CommandOK");
                QVERIFY(change->isVisible());
                click(change, "CommandCancel");
            });
            click(w, "CommandChange");
            click(w, "CommandCancel");
        });
        trigger("MenuPassword");
        const QStringList texts = messageTexts(messages);
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts.front(), QString("Change password?"));
        QVERIFY(texts.back().startsWith("The backup could not be saved"));
        QCOMPARE(doc->ProgramPassword, std::string("old1"));
        QCOMPARE(slice(radio->memory(), 0x2F0, 0x2F6), slice(before, 0x2F0, 0x2F6));
    }

    void passwordBoxesRefuseWideCharacters() {
        startRadio();
        startWindow();
        doc->ProgramPassword = "pw";
        whenModal("FormPassword", [](QWidget* w) {
            auto* form = static_cast<FormPassword*>(w);
            QCOMPARE(form->TextPassword->text(), QString("pw"));
            // Typed as an input method would: key events carrying the text.
            for (const QChar c : QString::fromUtf8("中x文yz12345")) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(form->TextPassword, &press);
            }
            QCOMPARE(form->TextPassword->text(), QString("pwxyz1"));
            click(form, "CommandOK");
        });
        trigger("MenuPassword");
        QCOMPARE(doc->ProgramPassword, std::string("pwxyz1"));
    }

    // One F1 per window: the active editor's page. A dialog's F1 opens the help beside
    // it, usable while the dialog is open; the help stays open after the dialog.
    void f1OpensTheWindowsPageAndTheHelpIsUsableBesideADialog() {
        startRadio();
        startWindow();
        win->TreeView1_NodeClick("TreeTuneData");
        FormTune* form = tune();
        QVERIFY(form && form->CommandHelp->isVisible());
        QTest::keyClick(form->MSHFlexGridTuneData, Qt::Key_F1);
        HelpWindow* help = win->helpWindow();
        QVERIFY(help && help->isVisible());
        QVERIFY(help->browser()->source().path().endsWith("/tune.htm"));
        help->close();

        bool usable = false;
        transfer("CommandRead");
        whenModal("FormLocalMessage", [&](QWidget* w) {
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
            QTest::keyClick(w, Qt::Key_F1);
            HelpWindow* h = win->helpWindow();
            QVERIFY(h && h->isVisible());
            QVERIFY(h->browser()->source().path().endsWith("/Local/Local.htm"));
            // The dialog does not block it: a click on Home goes through.
            QTest::mouseClick(h->findChild<QToolButton*>("CommandHome"), Qt::LeftButton);
            usable = h->browser()->source().path().endsWith("/general.htm");
            click(w, "CommandClose");
        });
        trigger("MenuLocalMessage");
        QVERIFY(usable);
        QVERIFY(win->helpWindow()->isVisible());
        QVERIFY(!win->helpWindow()->parentWidget());
    }

    void localMessageShowsTheRecord_data() {
        QTest::addColumn<Bytes>("record");
        QTest::addColumn<QString>("userCode");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<int>("radioType");
        QTest::addColumn<int>("area");
        // Never programmed: empty boxes, not runs of "ÿ".
        QTest::newRow("all FF") << Bytes(256, 0xFF) << ""
                                << "" << 7 << 0;
        QTest::newRow("all 00") << Bytes(256, 0x00) << ""
                                << "" << 7 << 0;
        Bytes r(256, 0x00);
        const std::string text("DEK\0\0\0\x02", 7);
        std::copy(text.begin(), text.end(), r.begin());
        const std::string codes = "U123pw99";  // user code, then the record password
        std::copy(codes.begin(), codes.end(), r.begin() + 0x38);
        QTest::newRow("user code and password") << r << "U123"
                                                << "" << 6 << 2;
    }
    void localMessageShowsTheRecord() {
        QFETCH(Bytes, record);
        QFETCH(QString, userCode);
        QFETCH(QString, serial);
        QFETCH(int, radioType);
        QFETCH(int, area);
        startRadio();
        std::copy(record.begin(), record.end(), memory.begin() + 0x0A80);
        const char version[] = "1023";
        std::copy(version, version + 4, memory.begin() + 448);
        startWindow();
        bool shown = false;
        transfer("CommandRead");
        whenModal("FormLocalMessage", [&](QWidget* w) {
            auto* form = static_cast<FormLocalMessage*>(w);
            QCOMPARE(form->TextUserCode->text(), userCode);
            QCOMPARE(form->TextSerialNumber->text(), serial);
            QCOMPARE(form->ComboRadioType->currentIndex(), radioType);
            QCOMPARE(form->ComboFrequencyArea->currentIndex(), area);
            // The version comes from the image the radio had before: the template's,
            // never programmed (0xFF): empty rather than "ÿÿ.ÿÿ".
            QCOMPARE(form->TextVersion->text(), QString());
            // Read-only, not disabled: a field can be selected and copied, not edited.
            for (QLineEdit* field :
                 {form->TextUserCode, form->TextSeller, form->TextSerialNumber}) {
                QVERIFY(field->isEnabled() && field->isReadOnly());
                field->selectAll();
                QCOMPARE(field->selectedText(), field->text());
            }
            QVERIFY(form->TextMaintainedDescription->isReadOnly());
            const QString before = form->TextUserCode->text();
            form->TextUserCode->setFocus();
            QTest::keyClicks(form->TextUserCode, "9");
            QCOMPARE(form->TextUserCode->text(), before);
            QCOMPARE(form->ComboRadioType->focusPolicy(), Qt::NoFocus);
            QVERIFY(form->ComboRadioType->testAttribute(Qt::WA_TransparentForMouseEvents));
            QVERIFY(!form->CommandWrite->isVisible());
            QVERIFY(!form->TextPassword->isVisible());
            QVERIFY(form->CommandClose->isVisible());
            shown = true;
            click(form, "CommandClose");
        });
        trigger("MenuLocalMessage");
        QVERIFY(shown);
        QCOMPARE(slice(doc->serviceMemory, 0x0A80, 0x0B80), record);
        // Viewing what the radio holds is no change of the document.
        QVERIFY(!doc->isModified());
        QCOMPARE(win->undoStack().count(), 0);
        QVERIFY(!win->isWindowModified());
    }

    void aCancelledServiceReadShowsNoWindowAndChangesNothing() {
        startRadio();
        startWindow();
        const ServiceMemory before = doc->serviceMemory;
        whenModal("FormProcess", [](QWidget* w) { click(w, "CommandCancel"); });
        trigger("MenuStun");
        QTest::qWait(50);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(doc->serviceMemory == before);
    }

    void stunDieCodesAreTypedCheckedAndWritten() {
        startRadio();
        sim::fillSampleServiceData(memory);  // enabled; die code 98765432 (length 8)
        startWindow();
        win->state().StunEnableVisible = true;
        bool shown = false;
        transfer("CommandRead");
        whenModal("FormDtmf", [&](QWidget* w) {
            auto* form = static_cast<FormDtmf*>(w);
            QVERIFY(QTest::qWaitForWindowActive(form));
            QVERIFY(form->CheckStunEnable->isVisible());
            QVERIFY(form->CheckStunEnable->isChecked());
            QVERIFY(form->TextStun->isEnabled());
            QCOMPARE(form->TextKill->text(), QString("98765432"));
            form->TextStun->setFocus();
            form->TextStun->selectAll();
            QTest::keyClicks(form->TextStun, "12ab#9");
            QCOMPARE(form->TextStun->text(), QString("12AB9"));
            QTest::keyClick(form->TextStun, Qt::Key_Return);
            QCOMPARE(slice(doc->serviceMemory, 0x0B80, 0x0B88), (Bytes{1, 2, 10, 11, 9, 0, 0, 0}));
            QCOMPARE(*ServiceBytes(doc->serviceMemory, 0x0B90), std::uint8_t(0x85));

            // Five digits while enabled: refused, nothing sent.
            click(form, "CommandWrite");
            QCOMPARE(messageTexts(messages), QStringList{"Code must longer than 5"});
            QTRY_VERIFY(form->TextStun->hasFocus());
            QCOMPARE(radio->stats().blocksWritten, 0);

            QTest::keyClick(form->TextStun, Qt::Key_End);
            QTest::keyClicks(form->TextStun, "6");
            form->ComboStatus->setFocus();
            QTest::keyClick(form->ComboStatus, Qt::Key_Down);  // Stun
            transfer("CommandWrite");
            click(form, "CommandWrite");
            shown = true;
            click(form, "CommandClose");
        });
        trigger("MenuStun");
        QVERIFY(shown);
        QCOMPARE(messageTexts(messages), (QStringList{"Code must longer than 5",
                                                      "Write Data into Raido.Do you wish continue?",
                                                      "Write data successful"}));
        const sim::Memory after = radio->memory();
        QCOMPARE(slice(after, 0x0B80, 0x0BA0), slice(doc->serviceMemory, 0x0B80, 0x0BA0));
        QCOMPARE(slice(after, 0x0B80, 0x0B88), (Bytes{1, 2, 10, 11, 9, 6, 0, 0}));
        QCOMPARE(after[0x0B90], std::uint8_t(0x86));
        QCOMPARE(after[0x0B91], std::uint8_t(0x55));
        QCOMPARE(radio->stats().blocksWritten, 2);
    }

    // Write sends the codes as the radio gave them unless a box was edited: an F
    // digit, a length nibble the box cannot show, the digit bytes past a code. The
    // length rule counts the digits that would be stored.
    void stunDieWriteKeepsWhatNobodyEdited() {
        Document d;
        d.IsEnglish = true;
        std::uint8_t* block = ServiceBytes(d.serviceMemory, 0x0B80);
        const Bytes record{1, 2, 3, 4, 5,    15,   7,    7,    9,    9,    9,    9,
                           0, 0, 0, 3, 0x96, 0xFF, 0xFF, 0xFF, 0xEE, 0xEE, 0xEE, 0xEE};
        std::copy(record.begin(), record.end(), block);
        const Bytes before = slice(d.serviceMemory, 0x0B80, 0x0BA0);
        ScriptedMessageService answers([](const Message&) { return MsgAnswer::Ok; });
        std::vector<Bytes> sent;
        const ServiceContext context{d, answers,
                                     [&](const TransferRequest& r) {
                                         // Only the stun/die range is ever written.
                                         if (r.reading() || r.area != TransferArea::StunDie)
                                             return false;
                                         sent.push_back(slice(d.serviceMemory, 0x0B80, 0x0BA0));
                                         return true;
                                     },
                                     nullptr};
        FormDtmf form(context, false);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.TextStun->text(), QString("12345F"));
        QCOMPARE(form.TextKill->text(), QString());  // a length of 9 shows nothing
        QVERIFY(!form.TextStun->isEnabled());
        click(&form, "CommandWrite");
        QCOMPARE(sent.size(), std::size_t(1));
        QCOMPARE(sent[0], before);

        form.CheckStunEnable->click();  // six digits: no complaint
        click(&form, "CommandWrite");
        QCOMPARE(sent.size(), std::size_t(2));
        Bytes enabled = before;
        enabled[0x13] = 0x55;
        QCOMPARE(sent[1], enabled);

        form.TextStun->setFocus();
        QTest::keyClick(form.TextStun, Qt::Key_End);
        QTest::keyClick(form.TextStun, Qt::Key_Backspace);  // five digits left
        click(&form, "CommandWrite");
        QCOMPARE(sent.size(), std::size_t(2));
        QCOMPARE(answers.shown.last().text, QString("Code must longer than 5"));
    }

    void tunePointsLimitsAndCaps_data() {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<QStringList>("points");  // columns 1, 2, 9, 16
        QTest::addColumn<int>("rxLimit");
        QTest::addColumn<int>("base");
        QTest::newRow("136-174") << 136 << 174 << QStringList{"136", "140", "175", "210≥"} << 9
                                 << 0x300;
        QTest::newRow("400-480") << 400 << 480 << QStringList{"400", "410", "480", "550≥"} << 10
                                 << 0x310;
        QTest::newRow("200-260") << 200 << 260 << QStringList{"200", "205", "240", "275≥"} << 14
                                 << 0x320;
    }
    void tunePointsLimitsAndCaps() {
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(QStringList, points);
        QFETCH(int, rxLimit);
        QFETCH(int, base);
        startRadio();
        startWindow();
        if (low == 400) {
            doc->radioImage[441] = 0x33;
            doc->radioImage[445] = 0x93;
        }
        AnalyseModel(*doc);
        // No model byte gives a 200 MHz band: that window is opened on the limits alone.
        doc->BandLowMHz = low;
        doc->BandHighMHz = doc->BandTxHighMHz = high;
        doc->radioImage[static_cast<std::size_t>(base + 0x90)] = 0x40;
        doc->radioImage[static_cast<std::size_t>(base + 0x91)] = 0x85;
        doc->radioImage[static_cast<std::size_t>(base + 0x30)] = 100;
        doc->commitChange();
        win->TreeView1_NodeClick("TreeTuneData");
        FormTune* form = tune();
        QVERIFY(form);
        QTableWidget* grid = form->MSHFlexGridTuneData;
        QTableWidget* sq = form->MSHFlexGridSqlTune;
        const int columns[] = {1, 2, 9, 16};
        for (int i = 0; i < 4; ++i) QCOMPARE(grid->item(0, columns[i])->text(), points[i]);
        QCOMPARE(sq->item(1, 1)->text(), QString("129"));
        QCOMPARE(sq->item(2, 1)->text(), QString("5"));
        const QColor editable = grid->item(1, rxLimit - 1)->background().color();
        QVERIFY(grid->item(1, rxLimit)->background().color() != editable);

        // Beyond the receive limit no editor opens.
        clickCell(grid, 1, rxLimit);
        QVERIFY(!form->Text1->isVisible());
        // Row 2 caps at 255, row 1 at 127; Enter walks on along the row.
        clickCell(grid, 2, 1);
        QVERIFY(form->Text1->isVisible());
        QTest::keyClicks(form->Text1, "3000");  // the fourth digit is refused
        QTest::keyClick(form->Text1, Qt::Key_Return);
        QCOMPARE(doc->radioImage[static_cast<std::size_t>(base + 0x30)], std::uint8_t(255));
        QCOMPARE(grid->item(2, 1)->text(), QString("255"));
        QVERIFY(form->Text1->isVisible());
        QCOMPARE(form->Text1->geometry(), grid->visualItemRect(grid->item(2, 2)));
        // One cell is one undo step; the window shows what Undo restored (Undo decodes
        // the model again, so not for the made-up 200 MHz band).
        if (low != 200) {
            win->findChild<QAction*>("MenuUndo")->trigger();
            QCOMPARE(doc->radioImage[static_cast<std::size_t>(base + 0x30)], std::uint8_t(100));
            QCOMPARE(grid->item(2, 1)->text(), QString("100"));
        }
        clickCell(grid, 1, rxLimit - 1);
        QTest::keyClicks(form->Text1, "200");
        QTest::keyClick(form->Text1, Qt::Key_Return);
        // 127 in the seven bits the cell shows; the top bit stays as it was.
        QCOMPARE(doc->radioImage[static_cast<std::size_t>(base + rxLimit - 2)], std::uint8_t(0xFF));
        QCOMPARE(grid->item(1, rxLimit - 1)->text(), QString("127"));
        // From the last editable column of row 1 to row 2, column 1.
        QCOMPARE(form->Text1->geometry(), grid->visualItemRect(grid->item(2, 1)));
        // Leaving a cell unchanged stores nothing.
        doc->radioImage[static_cast<std::size_t>(base + 0x30)] = 0xC5;
        QTest::keyClick(form->Text1, Qt::Key_Escape);
        clickCell(grid, 3, 1);
        QCOMPARE(doc->radioImage[static_cast<std::size_t>(base + 0x30)], std::uint8_t(0xC5));
        // The threshold grid: high 101 keeps the low threshold's bits.
        clickCell(sq, 1, 1);
        QVERIFY(form->Text2->isVisible());
        QTest::keyClicks(form->Text2, "101");
        QTest::keyClick(form->Text2, Qt::Key_Return);
        QCOMPARE(doc->radioImage[static_cast<std::size_t>(base + 0x90)], std::uint8_t(50));
        QCOMPARE(doc->radioImage[static_cast<std::size_t>(base + 0x91)], std::uint8_t(0x85));
        QCOMPARE(form->Text2->geometry(), sq->visualItemRect(sq->item(2, 1)));
        // An emptied deviation stores 0.
        form->TextPkValue->setFocus();
        form->TextPkValue->selectAll();
        QTest::keyClick(form->TextPkValue, Qt::Key_Backspace);
        QTest::keyClick(form->TextPkValue, Qt::Key_Return);
        QCOMPARE(doc->radioImage[0x3C0], std::uint8_t(0));
    }

    // Undo with a tune cell still being typed stores it first, then takes it back.
    void undoCommitsTheOpenTuneCell() {
        startRadio();
        startWindow();
        win->TreeView1_NodeClick("TreeTuneData");
        FormTune* form = tune();
        QVERIFY(form);
        QTableWidget* grid = form->MSHFlexGridTuneData;
        const QString first = grid->item(2, 1)->text() == "77" ? "78" : "77";
        clickCell(grid, 2, 1);
        QTest::keyClicks(form->Text1, first);
        QTest::keyClick(form->Text1, Qt::Key_Return);
        clickCell(grid, 3, 1);
        QCOMPARE(grid->item(2, 1)->text(), first);
        const RadioImage stored = doc->radioImage;
        const QString shown = grid->item(3, 1)->text();
        QVERIFY(form->Text1->isVisible());
        QTest::keyClicks(form->Text1, shown == "66" ? "65" : "66");
        const QString typed = form->Text1->text();

        trigger("MenuUndo");
        QVERIFY(!form->Text1->isVisible());
        QVERIFY(doc->radioImage == stored);
        QCOMPARE(grid->item(3, 1)->text(), shown);
        trigger("MenuRedo");
        QVERIFY(doc->radioImage != stored);
        QCOMPARE(grid->item(3, 1)->text(), typed);
    }

    void tuneWriteSendsTheBandsTableOnly() {
        startRadio();
        for (int a = 0x300; a < 0x400; ++a) memory[std::size_t(a)] = std::uint8_t(a);
        memory[441] = 0x33;  // a UHF radio: no band question
        startWindow();
        doc->radioImage[441] = 0x33;
        doc->radioImage[445] = 0x93;  // UHF 400-480: the table at 0x0310
        AnalyseModel(*doc);
        QCOMPARE(doc->BandLowMHz, 400);
        for (int a = 0x300; a < 0x400; ++a) doc->radioImage[std::size_t(a)] = 0x11;
        QDir(backups.filePath("backups")).removeRecursively();
        win->TreeView1_NodeClick("TreeTuneData");
        QVERIFY(tune());
        transferAfterARead("CommandWrite");
        click(tune(), "CommandWrite");
        // Nothing was read yet, so the message bytes in the table are not known to be
        // the radio's: the warning comes before the transfer.
        QCOMPARE(messages.shown.size(), 3);
        QCOMPARE(messages.shown[0].text,
                 QString("Write tune data into radio.Do you wish continue?"));
        QVERIFY(messages.shown[1].text.startsWith(
            "The tune rows \"SQ\" are stored in the same bytes as the embedded message (line 1)"));
        QCOMPARE(messages.shown[2].text, QString("Write data successful"));
        const sim::Memory after = radio->memory();
        for (int block = 0x300; block < 0x400; block += 0x10) {
            const bool sent = block >= 0x3C0 || (block - 0x310) % 0x30 == 0;
            for (int a = block; a < block + 0x10; ++a)
                QCOMPARE(after[std::size_t(a)], sent ? std::uint8_t(0x11) : std::uint8_t(a));
        }
        // What the radio held and what was sent are in the backups.
        const QList<BackupEntry> kept = ListBackups(backups.filePath("backups"));
        QCOMPARE(kept.size(), 2);
        for (const BackupEntry& e : kept) {
            QCOMPARE(e.range, BackupRange::Tune);
            Bytes bytes;
            QVERIFY(ReadFileBytes(e.path, bytes).ok());
            QCOMPARE(bytes, e.kind == BackupKind::Read ? slice(memory, 0x300, 0x1000)
                                                       : Bytes(0x100, 0x11));
        }

        // After a tune read the same write needs no warning.
        messages.shown.clear();
        transfer("CommandRead");
        click(tune(), "CommandRead");
        QCOMPARE(messageTexts(messages),
                 (QStringList{"Read tune data from radio.Do you wish continue?",
                              "Read data successful"}));
        QCOMPARE(tune()->MSHFlexGridTuneData->item(2, 1)->text(), QString::number(0x11));
        messages.shown.clear();
        transfer("CommandWrite");
        click(tune(), "CommandWrite");
        QCOMPARE(messages.shown.size(), 2);
    }

    void specialOptionShowsFifteenForFFAndStoresFourteen() {
        startRadio();
        memory[0x0E10] = 0x42;
        memory[0x0E11] = 0xFF;
        memory[0x0E12] = 0x43;
        startWindow();
        bool shown = false;
        transfer("CommandRead");
        whenModal("FormSpecial", [&](QWidget* w) {
            auto* form = static_cast<FormSpecial*>(w);
            QCOMPARE(form->ComboRxVoice->currentText(), QString("15"));
            transfer("CommandWrite");
            click(form, "CommandWrite");
            shown = true;
            click(form, "CommandClose");
        });
        win->TreeView1_NodeClick("TreeSpecial");
        QVERIFY(shown);
        const sim::Memory after = radio->memory();
        QCOMPARE(after[0x0E11], std::uint8_t(14));
        QCOMPARE(after[0x0E10], std::uint8_t(0x42));
        QCOMPARE(after[0x0E12], std::uint8_t(0x43));
        QCOMPARE(radio->stats().blocksWritten, 1);
    }
};

QTEST_MAIN(ServiceFormsTest)
#include "service_forms_test.moc"
