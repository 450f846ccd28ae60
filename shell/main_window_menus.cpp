#include "shell/mdi_form_main.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

#include "shell/main_window_tables.h"

namespace baldo7 {

using namespace mainwindow;

void MDIFormMain::buildMenus() {
    QMenuBar* bar = menuBar();
    auto menu = [&](QMenu*& m, const char* name, QMenu* parentMenu = nullptr) {
        m = parentMenu ? parentMenu->addMenu(QString()) : bar->addMenu(QString());
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto item = [&](QAction*& a, const char* name, QMenu* m, const QKeySequence& key, bool shown,
                    void (MDIFormMain::*slot)()) {
        a = m->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
        a->setVisible(shown);
        if (slot) connect(a, &QAction::triggered, this, slot);
        return a;
    };
    const QKeySequence none;

    menu(MenuFile, "MenuFile");
    item(MenuNew, "MenuNew", MenuFile, QKeySequence(Qt::CTRL | Qt::Key_N), true,
         &MDIFormMain::MenuNew_Click);
    item(MenuOpen, "MenuOpen", MenuFile, QKeySequence(Qt::CTRL | Qt::Key_O), true,
         &MDIFormMain::MenuOpen_Click);
    item(MenuSave, "MenuSave", MenuFile, QKeySequence(Qt::CTRL | Qt::Key_S), true,
         &MDIFormMain::MenuSave_Click);
    item(MenuSaveAs, "MenuSaveAs", MenuFile, none, true, &MDIFormMain::MenuSaveAs_Click);
    menu(MenuRecent, "MenuRecent", MenuFile);
    connect(MenuRecent, &QMenu::aboutToShow, this, &MDIFormMain::fillRecentMenu);
    item(MenuBackups, "MenuBackups", MenuFile, none, true, &MDIFormMain::MenuBackups_Click);
    MenuFile->addSeparator();
    QAction* csvItem = nullptr;
    item(csvItem, "MenuImportChannels", MenuFile, none, true, nullptr);
    connect(csvItem, &QAction::triggered, this, [this] {
        if (parts_.importChannels) parts_.importChannels(*this);
    });
    item(csvItem, "MenuExportChannels", MenuFile, none, true, nullptr);
    connect(csvItem, &QAction::triggered, this, [this] {
        if (parts_.exportChannels) parts_.exportChannels(*this);
    });
    MenuFile->addSeparator();
    // The print items are shown only in the service configuration.
    item(MenuPrint, "MenuPrint", MenuFile, QKeySequence(Qt::CTRL | Qt::Key_P), false, nullptr);
    // A cell being typed in the grid goes on paper too.
    connect(MenuPrint, &QAction::triggered, this, [this] {
        commitGrid();
        runTool(QStringLiteral("FormPrint"));
    });
    item(MenuPrintView, "MenuPrintView", MenuFile, none, false, nullptr);
    connect(MenuPrintView, &QAction::triggered, this, [this] {
        commitGrid();
        runTool(QStringLiteral("FormPrintView"));
    });
    MenuFile->addSeparator();
    item(MenuExit, "MenuExit", MenuFile, none, true, nullptr);
    connect(MenuExit, &QAction::triggered, this, &QWidget::close);

    menu(MenuMachine, "MenuMachine");
    item(MenuModelInformation, "MenuModelInformation", MenuMachine, none, true,
         &MDIFormMain::MenuModelInformation_Click);

    menu(MenuEdit, "MenuEdit");
    item(MenuUndo, "MenuUndo", MenuEdit, QKeySequence(Qt::CTRL | Qt::Key_Z), true,
         &MDIFormMain::MenuUndo_Click);
    item(MenuRedo, "MenuRedo", MenuEdit, QKeySequence(Qt::CTRL | Qt::Key_Y), true,
         &MDIFormMain::MenuRedo_Click);
    MenuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    MenuUndo->setEnabled(false);
    MenuRedo->setEnabled(false);
    connect(undoStack_, &QUndoStack::canUndoChanged, MenuUndo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, MenuRedo, &QAction::setEnabled);
    MenuEdit->addSeparator();
    item(MenuChannel, "MenuChannel", MenuEdit, none, true, nullptr);
    connect(MenuChannel, &QAction::triggered, this,
            [this] { openEditorWindow(EditorWindow::ChannelInformation); });
    item(MenuOption, "MenuOption", MenuEdit, none, true, nullptr);
    connect(MenuOption, &QAction::triggered, this,
            [this] { openEditorWindow(EditorWindow::Option); });
    item(MenuKey, "MenuKey", MenuEdit, none, true, nullptr);
    connect(MenuKey, &QAction::triggered, this,
            [this] { openEditorWindow(EditorWindow::KeySetting); });
    item(MenuScan, "MenuScan", MenuEdit, none, false, nullptr);
    connect(MenuScan, &QAction::triggered, this,
            [this] { TreeView1_NodeClick(QStringLiteral("TreeScan")); });
    item(MenuMessage, "MenuMessage", MenuEdit, none, false, nullptr);
    connect(MenuMessage, &QAction::triggered, this,
            [this] { TreeView1_NodeClick(QStringLiteral("TreeMessage")); });
    item(MenuLocalMessage, "MenuLocalMessage", MenuEdit, none, false, nullptr);
    connect(MenuLocalMessage, &QAction::triggered, this, [this] {
        serviceRead(&Document::LocalMessageMode, QStringLiteral("FormLocalMessage"));
    });
    item(MenuStun, "MenuStun", MenuEdit, none, false, nullptr);
    connect(MenuStun, &QAction::triggered, this,
            [this] { serviceRead(&Document::StunDieMode, QStringLiteral("FormDtmf")); });
    item(MenuBank, "MenuBank", MenuEdit, none, false, nullptr);
    connect(MenuBank, &QAction::triggered, this,
            [this] { runTool(QStringLiteral("FormBatchChannelEdit")); });

    menu(MenuProgram, "MenuProgram");
    item(MenuRead, "MenuRead", MenuProgram, QKeySequence(Qt::CTRL | Qt::Key_R), true,
         &MDIFormMain::MenuRead_Click);
    item(MenuWrite, "MenuWrite", MenuProgram, QKeySequence(Qt::CTRL | Qt::Key_W), true,
         &MDIFormMain::MenuWrite_Click);
    item(MenuPassword, "MenuPassword", MenuProgram, none, false, nullptr);
    connect(MenuPassword, &QAction::triggered, this,
            [this] { runTool(QStringLiteral("FormPassword")); });

    menu(MenuTool, "MenuTool");
    MenuTool->menuAction()->setVisible(false);
    item(MenuRadioInformation, "MenuRadioInformation", MenuTool, none, false, nullptr);

    menu(MenuSetting, "MenuSetting");
    item(MenuCom, "MenuCom", MenuSetting, none, true, &MDIFormMain::MenuCom_Click);
    item(MenuLanguage, "MenuLanguage", MenuSetting, none, true, &MDIFormMain::MenuLanguage_Click);

    menu(MenuView, "MenuView");
    item(MenuTree, "MenuTree", MenuView, none, true, nullptr);
    item(MenuToolBar, "MenuToolBar", MenuView, none, true, nullptr);
    item(MenuStatus, "MenuStatus", MenuView, none, true, nullptr);
    for (QAction* a : {MenuTree, MenuToolBar, MenuStatus}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    connect(MenuTree, &QAction::toggled, this, [this](bool on) { PictureTree->setVisible(on); });
    connect(MenuToolBar, &QAction::toggled, this, [this](bool on) { Toolbar1->setVisible(on); });
    connect(MenuStatus, &QAction::toggled, this, [this](bool on) { StatusBar1->setVisible(on); });

    menu(MenuWindow, "MenuWindow");
    item(MenuCeng, "MenuCeng", MenuWindow, none, true, &MDIFormMain::MenuCeng_Click);
    item(MenuCloseAll, "MenuCloseAll", MenuWindow, none, true, &MDIFormMain::MenuCloseAll_Click);
    windowEntriesSeparator_ = MenuWindow->addSeparator();
    windowEntriesSeparator_->setVisible(false);

    menu(MenuHelp, "MenuHelp");
    item(MenuHelpPage, "MenuHelpPage", MenuHelp, none, false, nullptr);
    connect(MenuHelpPage, &QAction::triggered, this,
            [this] { showHelpTopic(QStringLiteral("general.htm")); });
    item(MenuSupportBundle, "MenuSupportBundle", MenuHelp, none, true,
         &MDIFormMain::MenuSupportBundle_Click);
    item(MenuAbout, "MenuAbout", MenuHelp, none, true, &MDIFormMain::MenuAbout_Click);

    // F1 anywhere in the program opens the help file at its first page.
    helpKey_ = new QAction(this);
    helpKey_->setObjectName(QStringLiteral("HelpKey"));
    helpKey_->setShortcut(QKeySequence(Qt::Key_F1));
    helpKey_->setShortcutContext(Qt::ApplicationShortcut);
    connect(helpKey_, &QAction::triggered, this,
            [this] { showHelpTopic(QStringLiteral("general.htm")); });
    addAction(helpKey_);
}

void MDIFormMain::buildToolbar() {
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(32, 32));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->toggleViewAction()->setEnabled(false);  // the View menu is the one switch
    for (const ToolButton& b : kToolButtons) {
        QAction* a = Toolbar1->addAction(toolbarIcon(b.icon), QString::fromUtf8(b.caption));
        const QString key = QString::fromUtf8(b.key);
        a->setObjectName(key);
        a->setData(key);
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        toolButtons_[key] = a;
        if (key == QStringLiteral("保存") || key == QStringLiteral("写频"))
            Toolbar1->addSeparator();
    }
}
}  // namespace baldo7
