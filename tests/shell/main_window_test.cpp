// The main window driven as a user does: menus, tree, Window menu, separator,
// view toggles, the model and language dialogs. Editors are small stand-ins with
// a caption and somewhere for the focus, so the rules of the frame are tested on
// their own.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "app/standard_parts.h"
#include "core/model_band.h"
#include "shell/help_window.h"
#include "shell/mdi_form_main.h"
#include "shell_test_support.h"
#include "storage/data_store.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

using namespace baldo7;
using shelltest::binFolder;
using shelltest::onModal;

namespace {

struct Counters {
    int created = 0;
    int redrawn = 0;  // told of a change of the whole document
    int committed = 0;
};

class StubEditor : public QWidget {
public:
    StubEditor(Document& doc, const QString& caption, int& redrawn)
        : observation_(doc, [&redrawn](const DocumentChange& c) {
              if (c.first == 0 && c.end == kSnapshotSize) ++redrawn;
          }) {
        setWindowTitle(caption);
        new QLineEdit(this);  // somewhere for the focus to be
        resize(300, 200);
    }

private:
    DocumentObservation observation_;
};

EditorType stub(Counters& c, const char* caption) {
    return EditorType{[&c, caption](Document& doc, EditorHost&, QWidget*) -> QWidget* {
                          ++c.created;
                          return new StubEditor(doc, QString::fromUtf8(caption), c.redrawn);
                      },
                      [&c](QWidget*) { ++c.committed; }};
}

}  // namespace

class MainWindowTest : public QObject, public shelltest::MainWindowRig {
    Q_OBJECT
    QTemporaryDir tmp;
    Counters grid, option, key, tune, scan, message;
    int transfers = 0;
    TransferRequest requested;  // what the last transfer was asked for
    int batches = 0;
    QStringList prints;  // what each print tool found in the grid's cell when it ran

    // Every window the service configuration can show is there (but the batch edit
    // when `withBatch` is false): the everyday configuration must still hide them.
    void start(bool english, const QString& serviceSetting = QString(), bool serviceFlag = false,
               bool withBatch = true) {
        grid = option = key = tune = scan = message = Counters();
        transfers = batches = 0;
        prints.clear();
        ShellParts parts;
        parts.editors[EditorWindow::ChannelInformation] = stub(grid, "Channel Information");
        parts.editors[EditorWindow::Option] = stub(option, "Function Setup");
        parts.editors[EditorWindow::KeySetting] = stub(key, "Key Setting");
        parts.editors[EditorWindow::ScanInformation] = stub(scan, "Scan Information");
        parts.editors[EditorWindow::EmbedMessage] = stub(message, "Embedded Message");
        parts.editors[EditorWindow::Tune] = stub(tune, "Tune");
        // The program's commands, with stand-ins for the tools and none of the service
        // tools' dialogs.
        parts.commands = StandardCommands();
        for (Command& c : parts.commands) {
            const QString name = c.name;
            if (name == "MenuBank")
                c.run = withBatch ? [this](MDIFormMain&) { ++batches; }
                                  : std::function<void(MDIFormMain&)>();
            else if (name == "MenuPrint" || name == "MenuPrintView")
                c.run = [this, tool = "Form" + name.mid(4)](MDIFormMain&) {
                    prints << QString("%1 after %2 commits").arg(tool).arg(grid.committed);
                };
            else if (QStringList{"MenuLocalMessage", "MenuStun", "TreeSpecial", "MenuPassword"}
                         .contains(name))
                c.run = nullptr;
        }
        parts.showProcess = [this](MDIFormMain&, Document&, const TransferRequest& r) {
            ++transfers;
            requested = r;
            return TransferReport{};
        };
        MainWindowRig::start(tmp.filePath("baldo7.ini"), english, "4", std::move(parts),
                             serviceSetting, serviceFlag);
    }
    QStringList treeNodes() {
        QTreeWidgetItem* root = win->findChild<QTreeWidget*>("TreeView1")->topLevelItem(0);
        QStringList children;
        for (int i = 0; i < root->childCount(); ++i) children << root->child(i)->text(0);
        return children;
    }

    QAction* action(const char* name) { return win->findChild<QAction*>(name); }
    QString panel(int n) { return win->findChild<QLabel*>(QString("Panel%1").arg(n))->text(); }
    QMdiArea* area() { return win->findChild<QMdiArea*>(); }
    // The Window menu's entries as it shows them when opened.
    QList<QAction*> windowEntries() {
        QMenu* menu = win->findChild<QMenu*>("MenuWindow");
        emit menu->aboutToShow();
        QList<QAction*> entries;
        for (QAction* a : menu->actions())
            if (a->objectName().startsWith("WindowEntry")) entries << a;
        return entries;
    }
    QStringList windowMenu() {
        QStringList captions;
        for (QAction* a : windowEntries()) captions << a->text();
        return captions;
    }
    QString checkedWindow() {
        for (QAction* a : windowEntries())
            if (a->isChecked()) return a->text();
        return QString();
    }
    QAction* windowEntry(const QString& caption) {
        for (QAction* a : windowEntries())
            if (a->text() == caption) return a;
        return nullptr;
    }
    void clickTree(const QString& text) {
        QTreeWidget* tree = win->findChild<QTreeWidget*>("TreeView1");
        const auto items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(items.size(), 1);
        const QRect r = tree->visualItemRect(items[0]);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    }

private slots:
    void startUpShowsTheGridAndTheCaption_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("fileNameWord");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QStringList>("tree");
        QTest::newRow("Chinese") << false << "[文件名:"
                                 << "通信端口4"
                                 << QStringList{"信道信息(C)", "功能设定(F)", "键设置(K)"};
        QTest::newRow("English") << true << "[FileName:"
                                 << "COM4"
                                 << QStringList{"Channel Information", "Function Setup",
                                                "Key Setting"};
    }
    void startUpShowsTheGridAndTheCaption() {
        QFETCH(bool, english);
        start(english);
        Document tmpl;
        QVERIFY(LoadTemplate(tmpl, binFolder()).ok());
        const QString band = QString("%1: %2 - %3 MHz] ")
                                 .arg(QString::fromStdString(tmpl.ModelType))
                                 .arg(tmpl.BandLowMHz)
                                 .arg(tmpl.BandTxHighMHz);
        QFETCH(QString, fileNameWord);
        QCOMPARE(shelltest::shownTitle(*win), "BALDO-7[" + band + fileNameWord + "new.rdat]");
        QCOMPARE(panel(1), QString("%1[%2-%3 MHz]")
                               .arg(QString::fromStdString(tmpl.ModelType))
                               .arg(tmpl.BandLowMHz)
                               .arg(tmpl.BandTxHighMHz));
        QTEST(panel(2), "port");
        QVERIFY(!panel(3).isEmpty() && !panel(4).isEmpty());
        QCOMPARE(grid.created, 1);
        QCOMPARE(area()->subWindowList().size(), 1);
        QCOMPARE(windowMenu(), QStringList{"Channel Information"});
        QCOMPARE(checkedWindow(), QString("Channel Information"));

        QTreeWidget* tree = win->findChild<QTreeWidget*>("TreeView1");
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QString("BALDO-7"));
        QVERIFY(root->isExpanded());
        QStringList children;
        for (int i = 0; i < root->childCount(); ++i) children << root->child(i)->text(0);
        QTEST(children, "tree");

        QStringList shownMenus;
        for (QAction* a : win->menuBar()->actions())
            if (a->isVisible()) shownMenus << a->objectName();
        QCOMPARE(shownMenus, QStringList({"MenuFile", "MenuMachine", "MenuEdit", "MenuProgram",
                                          "MenuSetting", "MenuView", "MenuWindow", "MenuHelp"}));
        for (const char* hidden :
             {"MenuPrint", "MenuPrintView", "MenuScan", "MenuMessage", "MenuLocalMessage",
              "MenuStun", "MenuBank", "MenuPassword", "MenuRadioInformation", "MenuHelpPage"})
            QVERIFY2(!action(hidden)->isVisible(), hidden);
        QCOMPARE(action("MenuRead")->shortcut(), QKeySequence("Ctrl+R"));
        QCOMPARE(action("MenuWrite")->shortcut(), QKeySequence("Ctrl+W"));
        QCOMPARE(action("MenuSave")->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(win->findChild<QToolBar*>("Toolbar1")->actions().size() - 2, 7);  // two separators
    }

    void serviceConfigurationShowsItsRows_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<bool>("withBatch");
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QStringList>("menus");
        // The rig's parts have a tune window but none of the service tools' dialogs.
        const QStringList en{"Channel Information", "Function Setup",   "Key Setting",
                             "Scan Information",    "Embedded Message", "Tune Data"};
        const QStringList zh{"信道信息(C)", "功能设定(F)", "键设置(K)",
                             "扫描信息(S)", "嵌入信息(M)", "调谐数据"};
        const QStringList all{"MenuPrint",   "MenuPrintView", "MenuScan",
                              "MenuMessage", "MenuBank",      "MenuHelpPage"};
        QTest::newRow("setting, English") << true << "true" << false << true << en << all;
        QTest::newRow("setting in capitals, Chinese")
            << false << "TRUE" << false << true << zh << all;
        QTest::newRow("--service") << true << "false" << true << true << en << all;
        QTest::newRow("a window still to come stays hidden")
            << true << "1" << false << false << en
            << QStringList{"MenuPrint", "MenuPrintView", "MenuScan", "MenuMessage", "MenuHelpPage"};
        QTest::newRow("false") << true << "false" << false << true << en.mid(0, 3) << QStringList{};
        QTest::newRow("not a yes")
            << false << "yes" << false << true << zh.mid(0, 3) << QStringList{};
    }
    void serviceConfigurationShowsItsRows() {
        QFETCH(bool, english);
        QFETCH(QString, setting);
        QFETCH(bool, flag);
        QFETCH(bool, withBatch);
        start(english, setting, flag, withBatch);
        QTEST(treeNodes(), "tree");
        QStringList shown;
        for (const char* name :
             {"MenuPrint", "MenuPrintView", "MenuScan", "MenuMessage", "MenuLocalMessage",
              "MenuStun", "MenuBank", "MenuPassword", "MenuRadioInformation", "MenuHelpPage"})
            if (action(name)->isVisible()) shown << name;
        QTEST(shown, "menus");
        QVERIFY(!win->findChild<QMenu*>("MenuTool")->menuAction()->isVisible());
        QCOMPARE(win->serviceMode(),
                 setting == "true" || setting == "TRUE" || setting == "1" || flag);
    }

    void serviceRowsOpenTheirWindows() {
        start(true, "true");
        clickTree("Scan Information");
        QCOMPARE(scan.created, 1);
        QCOMPARE(area()->activeSubWindow(), win->editorSubWindow(EditorWindow::ScanInformation));
        action("MenuMessage")->trigger();
        QCOMPARE(message.created, 1);
        QCOMPARE(windowMenu(),
                 QStringList({"Channel Information", "Scan Information", "Embedded Message"}));
        // Open already: to the front, no second window.
        clickTree("Scan Information");
        QCOMPARE(scan.created, 1);
        QCOMPARE(checkedWindow(), QString("Scan Information"));
        action("MenuBank")->trigger();
        QCOMPARE(batches, 1);
        // Print and its preview take the grid's typing along.
        action("MenuPrint")->trigger();
        action("MenuPrintView")->trigger();
        QCOMPARE(prints,
                 QStringList({"FormPrint after 1 commits", "FormPrintView after 2 commits"}));
        // A read from the radio: both decode the new image.
        win->editorsDecodeNewImage();
        QCOMPARE(scan.redrawn, 1);
        QCOMPARE(message.redrawn, 1);
        // The tree keeps its rows through a language switch.
        onModal([](QWidget* dialog) {
            dialog->findChild<QComboBox*>("ComboLanguage")->setCurrentIndex(1);
            QTest::mouseClick(dialog->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        });
        action("MenuLanguage")->trigger();
        QCOMPARE(treeNodes().mid(3), QStringList({"扫描信息(S)", "嵌入信息(M)", "调谐数据"}));
    }

    void captionFollowsModelAndFile() {
        start(true);
        doc->radioImage[441] = 0x33;
        doc->radioImage[445] = 0x93;
        AnalyseModel(*doc);
        doc->CurrentFileName = "radio1.rdat";
        doc->startHistory();  // as read from a radio
        // The caption follows the document's announcements, at once.
        QCOMPARE(shelltest::shownTitle(*win),
                 QString("BALDO-7[UHF: 400 - 480 MHz] [FileName:radio1.rdat]"));
        QCOMPARE(panel(1), QString("UHF[400-480 MHz]"));
        // Unsaved changes: the usual mark beside the name.
        doc->radioImage[16] ^= 1;
        doc->commitChange();
        QCOMPARE(shelltest::shownTitle(*win),
                 QString("BALDO-7[UHF: 400 - 480 MHz] [FileName:radio1.rdat*]"));
    }

    void aForeignFileIsRefusedAndTheEditorsStay() {
        start(false);
        const QString path = tmp.filePath("foreign.rdat");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(1057, 'x'));
        }
        const RadioImage before = doc->radioImage;
        messages.setAnswerer([](const Message&) { return MsgAnswer::Ok; });
        chooser.answerWith(path);
        action("MenuOpen")->trigger();
        QCOMPARE(messages.shown.last().text.section(QLatin1Char('\n'), 0, 0),
                 QString("错误的文件！"));
        QVERIFY(doc->radioImage == before);
        QCOMPARE(grid.created, 1);  // no editor reset
        QCOMPARE(shelltest::shownTitle(*win).endsWith("new.rdat]"), true);
    }

    void saveCommitsTheGridAndNamesTheWindow() {
        start(true);
        chooser.answerWith(tmp.filePath("saved.rdat"));
        QTest::keyClick(win.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(grid.committed, 1);
        QVERIFY(QFile::exists(tmp.filePath("saved.rdat")));
        QVERIFY(shelltest::shownTitle(*win).endsWith("[FileName:saved.rdat]"));
    }

    void modelChangeAcceptedRebuildsFromTheTemplate() {
        start(true);
        doc->radioImage[16] = 0x12;  // a channel byte the template does not hold
        doc->startHistory();         // as opened: no unsaved changes to ask about
        messages.setAnswerer([](const Message&) { return MsgAnswer::Ok; });
        onModal([](QWidget* dialog) {
            auto* model = dialog->findChild<QComboBox*>("ComboModel");
            model->setCurrentIndex(1);
            emit model->activated(1);
            auto* area = dialog->findChild<QComboBox*>("ComboArea");
            QCOMPARE(area->count(), 8);
            QCOMPARE(area->currentIndex(), 0);
            area->setCurrentIndex(7);  // 400-480MHz
            QTest::mouseClick(dialog->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        });
        action("MenuModelInformation")->trigger();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QString("Frequency data will be cleared"));
        QCOMPARE(messages.shown[0].icon, MsgIcon::Error);
        Document tmpl;
        QVERIFY(LoadTemplate(tmpl, binFolder()).ok());
        QCOMPARE(doc->radioImage[16], tmpl.radioImage[16]);
        QCOMPARE(doc->radioImage[441], std::uint8_t(0x33));
        QCOMPARE(doc->radioImage[445], std::uint8_t(0x93));
        QCOMPARE(doc->ModelType, std::string("UHF"));
        QCOMPARE(doc->BandLowMHz, 400);
        QCOMPARE(doc->BandTxHighMHz, 480);
        QVERIFY(!doc->ReloadTemplate);
        QCOMPARE(grid.created, 2);
        QVERIFY(shelltest::shownTitle(*win).startsWith("BALDO-7[UHF: 400 - 480 MHz]"));
    }

    void modelChangeDeclinedOrUnchangedKeepsEverything_data() {
        QTest::addColumn<bool>("change");
        QTest::addColumn<bool>("spoilFixedByte");
        QTest::addColumn<int>("warnings");
        QTest::newRow("warning declined") << true << false << 1;
        QTest::newRow("same model and band") << false << false << 0;
        QTest::newRow("fixed byte 442 differs, declined") << false << true << 1;
    }
    void modelChangeDeclinedOrUnchangedKeepsEverything() {
        QFETCH(bool, change);
        QFETCH(bool, spoilFixedByte);
        start(true);
        doc->radioImage[16] = 0x12;
        if (spoilFixedByte) doc->radioImage[442] = 0x00;
        const Document before = *doc;
        messages.setAnswerer([](const Message&) { return MsgAnswer::Cancel; });
        onModal([change](QWidget* dialog) {
            if (change) dialog->findChild<QComboBox*>("ComboArea")->setCurrentIndex(2);
            QTest::mouseClick(dialog->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        });
        action("MenuModelInformation")->trigger();
        QTEST(int(messages.shown.size()), "warnings");
        QVERIFY(doc->radioImage == before.radioImage);
        QCOMPARE(doc->BandLowMHz, before.BandLowMHz);
        QCOMPARE(doc->BandHighMHz, before.BandHighMHz);
        QCOMPARE(doc->ModelType, before.ModelType);
        QCOMPARE(grid.created, 1);
    }

    void languageSwitchClosesEditorsAndRecaptions() {
        start(false);
        clickTree("功能设定(F)");
        QCOMPARE(area()->subWindowList().size(), 2);
        onModal([](QWidget* dialog) {
            dialog->findChild<QComboBox*>("ComboLanguage")->setCurrentIndex(0);
            QTest::mouseClick(dialog->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        });
        action("MenuLanguage")->trigger();
        QVERIFY(doc->IsEnglish);
        QCOMPARE(settings->value("Language").toString(), QString("True"));
        QCOMPARE(area()->subWindowList().size(), 1);
        QCOMPARE(grid.created, 2);
        QCOMPARE(windowMenu(), QStringList{"Channel Information"});
        QCOMPARE(win->findChild<QMenu*>("MenuFile")->title(), QString("&File"));
        QCOMPARE(panel(2), QString("COM4"));
        QVERIFY(shelltest::shownTitle(*win).contains("[FileName:"));
        QCOMPARE(win->findChild<QToolBar*>("Toolbar1")->actions().first()->toolTip(),
                 QString("New"));
        QCOMPARE(win->findChild<QTreeWidget*>("TreeView1")->topLevelItem(0)->child(1)->text(0),
                 QString("Function Setup"));

        // The language already in use: nothing written, nothing closed.
        clickTree("Function Setup");
        settings->remove("Language");
        onModal([](QWidget* dialog) {
            QCOMPARE(dialog->findChild<QComboBox*>("ComboLanguage")->currentIndex(), 0);
            QTest::mouseClick(dialog->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        });
        action("MenuLanguage")->trigger();
        QVERIFY(!settings->contains("Language"));
        QCOMPARE(area()->subWindowList().size(), 2);
    }

    void windowMenuFollowsTheOpenEditors() {
        start(true);
        clickTree("Function Setup");
        clickTree("Key Setting");
        QCOMPARE(windowMenu(),
                 QStringList({"Channel Information", "Function Setup", "Key Setting"}));
        QCOMPARE(checkedWindow(), QString("Key Setting"));

        // Already open: brought to the front, no second copy, one entry.
        clickTree("Function Setup");
        QCOMPARE(option.created, 1);
        QCOMPARE(windowMenu(),
                 QStringList({"Channel Information", "Function Setup", "Key Setting"}));
        QCOMPARE(area()->activeSubWindow(), win->editorSubWindow(EditorWindow::Option));
        QCOMPARE(checkedWindow(), QString("Function Setup"));

        // The Window menu entry of a window behind the others.
        windowEntry("Channel Information")->trigger();
        QCOMPARE(area()->activeSubWindow(), win->editorSubWindow(EditorWindow::ChannelInformation));
        QCOMPARE(checkedWindow(), QString("Channel Information"));

        win->editorSubWindow(EditorWindow::Option)->close();
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(windowMenu(), QStringList({"Channel Information", "Key Setting"}));
        QVERIFY(!win->state().FormOptionOpen);

        action("MenuCeng")->trigger();
        action("MenuCloseAll")->trigger();
        QVERIFY(windowMenu().isEmpty());
        QVERIFY(area()->subWindowList().isEmpty());
        action("MenuChannel")->trigger();
        QCOMPARE(windowMenu(), QStringList{"Channel Information"});
    }

    // The Window menu and the tune window's own node only bring to the front; other
    // menus and nodes close the tune window.
    void onlyTheWindowMenuLeavesTheTuneWindowOpen() {
        start(true);
        win->TreeView1_NodeClick("TreeTuneData");
        QVERIFY(win->state().FormTuneOpen);
        windowEntry("Channel Information")->trigger();
        QCOMPARE(area()->activeSubWindow(), win->editorSubWindow(EditorWindow::ChannelInformation));
        QVERIFY(win->state().FormTuneOpen);
        win->TreeView1_NodeClick("TreeTuneData");
        QCOMPARE(tune.created, 1);
        QCOMPARE(area()->activeSubWindow(), win->editorSubWindow(EditorWindow::Tune));
        action("MenuChannel")->trigger();
        QVERIFY(!win->state().FormTuneOpen);
        QCOMPARE(windowMenu(), QStringList{"Channel Information"});
    }

    // The menu keys work while an editor holds the focus, as it does nearly always.
    void menuKeysWorkFromInsideAnEditor_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("transfers");
        QTest::addColumn<int>("fileDialogs");
        QTest::addColumn<int>("gridsMade");
        QTest::newRow("Ctrl+R") << int(Qt::Key_R) << 1 << 0 << 1;
        QTest::newRow("Ctrl+W") << int(Qt::Key_W) << 1 << 0 << 1;
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << 0 << 1 << 1;
        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << 0 << 1 << 1;
        QTest::newRow("Ctrl+N") << int(Qt::Key_N) << 0 << 0 << 2;
    }
    void menuKeysWorkFromInsideAnEditor() {
        QFETCH(int, key);
        start(true);
        chooser.answerWith(QString());
        win->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(win.get()));
        auto* field = win->editorWidget(EditorWindow::ChannelInformation)->findChild<QLineEdit*>();
        field->setFocus();
        QCOMPARE(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key(key), Qt::ControlModifier);
        QTEST(transfers, "transfers");
        QTEST(int(chooser.requests.size()), "fileDialogs");
        QTEST(grid.created, "gridsMade");
        if (transfers) QCOMPARE(requested.reading(), key == Qt::Key_R);
    }

    void editorsOpenInTheRememberedState_data() {
        QTest::addColumn<int>("remembered");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("normal") << 0 << false;
        QTest::newRow("minimised opens normal") << 1 << false;
        QTest::newRow("maximised") << 2 << true;
    }
    void editorsOpenInTheRememberedState() {
        QFETCH(int, remembered);
        QFETCH(bool, maximised);
        start(true);
        win->state().ChildWindowState = remembered;
        action("MenuKey")->trigger();
        QMdiSubWindow* sub = win->editorSubWindow(EditorWindow::KeySetting);
        QVERIFY(sub);
        QCOMPARE(sub->isMaximized(), maximised);
        QVERIFY(!sub->isMinimized());
        sub->showMinimized();
        QCOMPARE(win->state().ChildWindowState, 1);
    }

    void separatorDragStopsAtItsLimits() {
        start(true);
        QWidget* sep = win->findChild<QWidget*>("PictureSeparator");
        QCOMPARE(win->separatorLeftTwips(), 2500);
        QTest::mousePress(sep, Qt::LeftButton, {}, QPoint(1, 10));
        QTest::mouseMove(sep, sep->mapFrom(win.get(), QPoint(-50, 50)));
        QCOMPARE(win->separatorLeftTwips(), 120);
        QTest::mouseMove(sep, sep->mapFrom(win.get(), QPoint(win->width() - 5, 50)));
        QCOMPARE(win->separatorLeftTwips(), win->width() * 15 / 2);
        QTest::mouseMove(sep, sep->mapFrom(win.get(), QPoint(200, 50)));
        QCOMPARE(win->separatorLeftTwips(), 3000);
        QCOMPARE(win->findChild<QWidget*>("PictureTree")->width(), (3000 + 100 + 7) / 15);
        QTest::mouseRelease(sep, Qt::LeftButton, {}, QPoint(1, 10));
        QTest::mouseMove(sep, sep->mapFrom(win.get(), QPoint(400, 50)));
        QCOMPARE(win->separatorLeftTwips(), 3000);  // not dragging any more
    }

    void viewTogglesHideAndShowTheirPanels_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("panel");
        QTest::newRow("tree") << "MenuTree"
                              << "PictureTree";
        QTest::newRow("toolbar") << "MenuToolBar"
                                 << "Toolbar1";
        QTest::newRow("status bar") << "MenuStatus"
                                    << "StatusBar1";
    }
    void viewTogglesHideAndShowTheirPanels() {
        QFETCH(QString, item);
        QFETCH(QString, panel);
        start(true);
        QAction* a = win->findChild<QAction*>(item);
        QWidget* w = win->findChild<QWidget*>(panel);
        QVERIFY(a->isChecked() && w->isVisible());
        a->trigger();
        QVERIFY(!a->isChecked() && !w->isVisible());
        a->trigger();
        QVERIFY(a->isChecked() && w->isVisible());
    }

    void statusBarGestureTogglesStunEnable() {
        start(true);
        QStatusBar* bar = win->findChild<QStatusBar*>("StatusBar1");
        const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
        QTest::mouseClick(bar, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
        QTest::mouseClick(bar, Qt::LeftButton, all);
        QVERIFY(!win->state().StunEnableVisible);
        QTest::mouseClick(bar, Qt::RightButton, all);
        QVERIFY(win->state().StunEnableVisible);
        // A click on a panel counts as a click on the bar.
        QTest::mouseClick(win->findChild<QLabel*>("Panel1"), Qt::RightButton, all);
        QVERIFY(!win->state().StunEnableVisible);
    }

    void helpOpensThePageOfTheCurrentLanguage() {
        start(true);
        // The toolbar's Help button acts as F1: the first page of the help.
        win->findChild<QToolBar*>("Toolbar1")->actions().last()->trigger();
        HelpWindow* help = win->helpWindow();
        QVERIFY(help && help->isVisible());
        QVERIFY(help->browser()->source().toLocalFile().endsWith("/help/en/HTML/general.htm"));
        QVERIFY(!help->browser()->toPlainText().isEmpty());

        win->showHelpTopic("Scan/Scan.htm");
        QVERIFY(help->browser()->source().toLocalFile().endsWith("/help/en/HTML/Scan/Scan.htm"));
        win->showHelpTopic("nothing-here.htm");
        QVERIFY(help->browser()->toPlainText().contains("nothing-here.htm"));

        onModal([](QWidget* dialog) {
            dialog->findChild<QComboBox*>("ComboLanguage")->setCurrentIndex(1);
            QTest::mouseClick(dialog->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        });
        action("MenuLanguage")->trigger();
        win->showHelpTopic("chinfo.htm");
        QVERIFY(help->browser()->source().toLocalFile().endsWith("/help/zh/HTML/chinfo.htm"));
    }

    // The help window opens over the main window and wholly on the screen.
    void helpOpensWhollyOnTheScreen() {
        start(true);
        const QRect screen = win->screen()->availableGeometry();
        win->setGeometry(screen.right() - 400, screen.top() + 100, 400, 300);
        win->showHelpTopic("general.htm");
        HelpWindow* help = win->helpWindow();
        QVERIFY(help && help->isVisible());
        QVERIFY(screen.contains(help->frameGeometry()));
        const int middle = help->frameGeometry().center().x();
        QVERIFY(middle >= win->frameGeometry().left() && middle <= win->frameGeometry().right());
        help->close();
    }

    void placeWindowKeepsTheFrameOnTheScreen() {
        const QRect screen(0, 0, 1000, 700);
        const QMargins frame(4, 30, 4, 4);
        struct Case {
            QSize wanted;
            QPoint center;
            QRect placed;
        } cases[] = {
            {{400, 300}, {499, 349}, {300, 200, 400, 300}},  // centred
            {{400, 300}, {950, 680}, {596, 396, 400, 300}},  // pushed in from the corner
            {{400, 300}, {10, 10}, {4, 30, 400, 300}},       // and from the other
            {{1200, 900}, {500, 350}, {4, 30, 992, 666}},    // shrunk to the room
        };
        for (const Case& c : cases) {
            const QRect r = PlaceWindow(c.wanted, c.center, screen, frame);
            QCOMPARE(r, c.placed);
            QVERIFY(screen.contains(r.marginsAdded(frame)));
        }
    }

    // Help asked for from a dialog goes beside it: on the side with room, else the
    // wider side, overlapping only as much as the least usable width needs.
    void helpGoesBesideTheDialog() {
        const QRect screen(0, 0, 1600, 1000);
        const QMargins frame(4, 30, 4, 4);
        const struct {
            QRect dialog;
            bool right;
            bool clear;
        } cases[] = {
            {{200, 200, 400, 300}, true, true},
            {{1000, 200, 500, 300}, false, true},
            {{300, 100, 1000, 800}, true, false},
        };
        for (const auto& c : cases) {
            const QRect r =
                PlaceBeside({600, 700}, c.dialog, screen, frame, 333).marginsAdded(frame);
            QVERIFY(screen.contains(r));
            QCOMPARE(r.center().x() > c.dialog.center().x(), c.right);
            QCOMPARE(!r.intersects(c.dialog), c.clear);
            QVERIFY(r.width() >= 333 + 8);
            if (c.clear) QCOMPARE(r.size(), QSize(608, 734));
        }
    }

    // A geometry saved at scale 2 or on a bigger screen comes back inside this screen
    // with room for the title bar; one that fits comes back as it was.
    void restoredGeometryIsFittedToTheScreen() {
        QMainWindow probe;
        const QRect room = probe.screen()->availableGeometry();
        const QRect fits(room.left() + 40, room.top() + 60, room.width() / 2, room.height() / 2);
        const struct {
            QRect saved;
            bool unchanged;
        } cases[] = {
            {fits, true},
            {QRect(room.topLeft(), room.size() * 2), false},
            {QRect(room.right() - 50, room.bottom() - 50, 400, 300), false},
        };
        for (const auto& c : cases) {
            QMainWindow saved;
            saved.setGeometry(c.saved);
            QMainWindow restored;
            QVERIFY(RestoreFittedGeometry(&restored, saved.saveGeometry()));
            QVERIFY(room.contains(restored.geometry()));
            QVERIFY(restored.geometry().top() > room.top() || c.unchanged);
            if (c.unchanged) QCOMPARE(restored.geometry(), c.saved);
        }
        QMainWindow untouched;
        QVERIFY(!RestoreFittedGeometry(&untouched, QByteArray("not a geometry")));
        // A first size larger than the screen (scale 2) is fitted as well.
        QMainWindow first;
        first.resize(room.size() * 2);
        FitToScreen(&first);
        QVERIFY(room.contains(first.geometry()));
    }

    // Every command is one action with texts in both languages: its menu item is
    // that action, its toolbar button shows it, its tree node triggers it. Nothing
    // reaches the menus around the table but the Window menu's entries.
    void everyCommandIsOneActionEverywhere_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("English") << true;
        QTest::newRow("Chinese") << false;
    }
    void everyCommandIsOneActionEverywhere() {
        QFETCH(bool, english);
        start(english, "true");  // the service configuration: every node shown
        QMap<QString, QAction*> menuItems;
        for (QAction* top : win->menuBar()->actions())
            for (QAction* item : top->menu()->actions())
                if (!item->isSeparator() && !item->objectName().startsWith("WindowEntry")) {
                    QVERIFY2(!menuItems.contains(item->objectName()),
                             qPrintable(item->objectName()));
                    menuItems[item->objectName()] = item;
                }
        QToolBar* toolbar = win->findChild<QToolBar*>("Toolbar1");
        QStringList commandNames, buttons, nodes;
        for (const MDIFormMain::CommandEntry& entry : win->commands()) {
            const Command& c = entry.command;
            QAction* action = entry.action;
            const QString name = c.name;
            commandNames << name;
            const QString en = QString::fromUtf8(c.text.en), zh = QString::fromUtf8(c.text.zh);
            QVERIFY2(!en.isEmpty() && !zh.isEmpty() && en != zh, qPrintable(name));
            QCOMPARE(action->objectName(), name);
            QCOMPARE(action->text(), english ? en : zh);
            QCOMPARE(menuItems.value(name), c.menu == CommandMenu::None ? nullptr : action);
            if (c.buttonPosition) {
                buttons << name;
                auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action));
                QVERIFY2(button && button->defaultAction() == action, qPrintable(name));
                QVERIFY(!button->icon().isNull());
                QVERIFY(QString::fromUtf8(c.buttonTip.en) != QString::fromUtf8(c.buttonTip.zh));
                QCOMPARE(button->toolTip(), uiText(c.buttonTip, english));
            }
            if (c.tree && action->isVisible()) {
                nodes << action->text().remove('&');
                QSignalSpy ran(action, &QAction::triggered);
                clickTree(nodes.last());
                QCOMPARE(ran.count(), 1);
            }
        }
        QCOMPARE(commandNames.size(),
                 QSet<QString>(commandNames.begin(), commandNames.end()).size());
        for (const QString& item : menuItems.keys())
            QVERIFY2(commandNames.contains(item), qPrintable(item));
        QStringList shownButtons;
        for (QAction* a : toolbar->actions())
            if (!a->isSeparator()) shownButtons << a->objectName();
        QCOMPARE(shownButtons.size(), buttons.size());
        QCOMPARE(treeNodes(), nodes);
    }

    // A right click on the menu bar or the toolbar opens no menu of toolbars.
    void noToolbarMenuOnARightClick() {
        start(true);
        for (QWidget* w : {static_cast<QWidget*>(win->menuBar()),
                           static_cast<QWidget*>(win->findChild<QToolBar*>("Toolbar1"))}) {
            auto popped = std::make_shared<bool>(false);
            QTimer::singleShot(0, [popped] {
                if (QWidget* menu = QApplication::activePopupWidget()) {
                    *popped = true;
                    menu->close();
                }
            });
            const QPoint at(w->width() - 5, 5);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
            QApplication::sendEvent(w, &event);
            QCoreApplication::processEvents();
            QVERIFY2(!*popped, w->metaObject()->className());
        }
    }

    // A box with a short text is still wide enough for its whole title.
    void messageBoxTitlesShowWhole() {
        DialogMessageService service;
        const QString title = QStringLiteral("BALDO-7 programming software, a long title");
        int width = 0;
        QTimer::singleShot(0, [&width] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                width = box->width();
                box->accept();
            }
        });
        service.show(MsgIcon::Information, title, QStringLiteral("OK"));
        QVERIFY(width >= MessageBoxWidthForTitle(title));
    }

    void cleanupTestCase() { win.reset(); }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
