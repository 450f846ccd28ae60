#include "shell/mdi_form_main.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <algorithm>

#include "shell/shell_pictures.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {

struct MenuTitle {
    CommandMenu menu;
    const char* name;
    BiText text;
};
constexpr MenuTitle kMenus[] = {
    {CommandMenu::File, "MenuFile", {"&File", "文件(&F)"}},
    {CommandMenu::Model, "MenuMachine", {"&Model", "机型(&M)"}},
    {CommandMenu::Edit, "MenuEdit", {"&Edit", "编辑(&E)"}},
    {CommandMenu::Program, "MenuProgram", {"&Program", "编程(&P)"}},
    {CommandMenu::Tool, "MenuTool", {"&Tool", "工具(&T)"}},
    {CommandMenu::Setting, "MenuSetting", {"&Setting", "设置(&S)"}},
    {CommandMenu::View, "MenuView", {"&View", "视图(&V)"}},
    {CommandMenu::Window, "MenuWindow", {"&Window", "窗口(&W)"}},
    {CommandMenu::Help, "MenuHelp", {"&Help", "帮助(&H)"}},
};

constexpr int kFileExit = 3;

}  // namespace

std::vector<Command> MDIFormMain::ownCommands() {
    using M = CommandMenu;
    const auto help = [](MDIFormMain& m) { m.showHelpTopic(QStringLiteral("general.htm")); };
    return {
        Command("MenuNew", {"&New", "新建(&N)"})
            .in(M::File)
            .key(Qt::CTRL | Qt::Key_N)
            .button(1, "新建", {"New", "新建"}, ToolIcon::New)
            .runs(&MDIFormMain::MenuNew_Click),
        Command("MenuOpen", {"&Open", "打开(&O)"})
            .in(M::File)
            .key(Qt::CTRL | Qt::Key_O)
            .button(2, "打开", {"Open", "打开"}, ToolIcon::Open)
            .runs(&MDIFormMain::MenuOpen_Click),
        Command("MenuSave", {"&Save", "保存(&S)"})
            .in(M::File)
            .key(Qt::CTRL | Qt::Key_S)
            .button(3, "保存", {"Save", "保存"}, ToolIcon::Save, true)
            .runs(&MDIFormMain::MenuSave_Click),
        Command("MenuSaveAs", {"Save &As", "另存为(&A)"})
            .in(M::File)
            .runs(&MDIFormMain::MenuSaveAs_Click),
        Command("MenuRecent", {"Recent &Files", "最近的文件(&R)"})
            .in(M::File)
            .submenu()
            .setUp([](MDIFormMain& m, QAction& a) {
                m.MenuRecent = a.menu<QMenu*>();
                connect(m.MenuRecent, &QMenu::aboutToShow, &m, &MDIFormMain::fillRecentMenu);
            }),
        Command("MenuBackups", {"&Backups…", "备份(&K)…"})
            .in(M::File)
            .runs(&MDIFormMain::MenuBackups_Click),
        Command("MenuExit", {"&Exit", "退出(&E)"}).in(M::File, kFileExit).runs([](MDIFormMain& m) {
            m.close();
        }),
        Command("MenuModelInformation", {"&Model Information", "机型信息(&M)"})
            .in(M::Model)
            .runs(&MDIFormMain::MenuModelInformation_Click),
        Command("MenuUndo", {"&Undo", "撤销(&U)"})
            .in(M::Edit)
            .key(Qt::CTRL | Qt::Key_Z)
            .runs(&MDIFormMain::MenuUndo_Click)
            .setUp([](MDIFormMain& m, QAction& a) {
                a.setEnabled(false);
                connect(m.undoStack_, &QUndoStack::canUndoChanged, &a, &QAction::setEnabled);
            }),
        Command("MenuRedo", {"&Redo", "重做(&R)"})
            .in(M::Edit)
            .key(Qt::CTRL | Qt::Key_Y)
            .key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)
            .runs(&MDIFormMain::MenuRedo_Click)
            .setUp([](MDIFormMain& m, QAction& a) {
                a.setEnabled(false);
                connect(m.undoStack_, &QUndoStack::canRedoChanged, &a, &QAction::setEnabled);
            }),
        Command("MenuRead", {"&Read From Radio", "从对讲机读出数据(&R)"})
            .in(M::Program)
            .key(Qt::CTRL | Qt::Key_R)
            .button(4, "读频", {"Read", "读频"}, ToolIcon::Read)
            .runs(&MDIFormMain::MenuRead_Click),
        Command("MenuWrite", {"&Write To Radio", "向对讲机写入数据(&W)"})
            .in(M::Program)
            .key(Qt::CTRL | Qt::Key_W)
            .button(6, "写频", {"Write", "写频"}, ToolIcon::Write, true)
            .runs(&MDIFormMain::MenuWrite_Click),
        // A place kept for a tool still to come: hidden, and its menu with it.
        Command("MenuRadioInformation", {"&Radio Information", "对讲机信息(&R)"}).in(M::Tool),
        Command("MenuCom", {"Set &Com", "串口设置(&C)"})
            .in(M::Setting)
            .button(5, "串口设置", {"Set Com", "串口设置"}, ToolIcon::Com)
            .runs(&MDIFormMain::MenuCom_Click),
        Command("MenuLanguage", {"Set &Language", "语言设置(&L)"})
            .in(M::Setting)
            .runs(&MDIFormMain::MenuLanguage_Click),
        Command("MenuTree", {"Tree &View", "树视图(&V)"})
            .in(M::View)
            .toggles([](MDIFormMain& m, bool on) { m.PictureTree->setVisible(on); }),
        Command("MenuToolBar", {"&Toolbar", "工具栏(&T)"})
            .in(M::View)
            .toggles([](MDIFormMain& m, bool on) { m.Toolbar1->setVisible(on); }),
        Command("MenuStatus", {"&Statusbar", "状态栏(&S)"})
            .in(M::View)
            .toggles([](MDIFormMain& m, bool on) { m.StatusBar1->setVisible(on); }),
        Command("MenuCeng", {"&Cascade", "层叠(&C)"})
            .in(M::Window)
            .runs(&MDIFormMain::MenuCeng_Click),
        Command("MenuCloseAll", {"Close All &Windows", "关闭所有窗口(&W)"})
            .in(M::Window)
            .runs(&MDIFormMain::MenuCloseAll_Click),
        Command("MenuHelpPage", {"&Help Topics", "帮助主题(&H)"})
            .in(M::Help)
            .serviceOnly()
            .runs(help),
        Command("MenuSupportBundle", {"Save Support &Bundle…", "保存支持包(&B)…"})
            .in(M::Help)
            .runs(&MDIFormMain::MenuSupportBundle_Click),
        Command("MenuAbout", {"&About", "关于BALDO-7(&A)"})
            .in(M::Help)
            .runs(&MDIFormMain::MenuAbout_Click),
        // The one F1 of the main window and its editors: the active editor's page, or
        // the first page. A dialog's own F1 opens the dialog's page.
        Command("HelpKey", {"Help", "帮助"})
            .key(Qt::Key_F1)
            .button(7, "帮助", {"Help", "帮助"}, ToolIcon::Help)
            .runs([](MDIFormMain& m) { m.showHelpTopic(m.activeHelpTopic()); })
            .setUp([](MDIFormMain&, QAction& a) { a.setShortcutContext(Qt::ApplicationShortcut); }),
    };
}

void MDIFormMain::buildMenus() {
    QMenuBar* bar = menuBar();
    for (const MenuTitle& t : kMenus) {
        QMenu* m = bar->addMenu(QString());
        m->setObjectName(QString::fromLatin1(t.name));
        m->menuAction()->setObjectName(QString::fromLatin1(t.name));
        menus_[t.menu] = m;
    }
    std::vector<Command> all = ownCommands();
    all.insert(all.end(), parts_.commands.begin(), parts_.commands.end());
    commands_.reserve(all.size());
    for (Command& c : all) {
        const QString name = QString::fromLatin1(c.name);
        QAction* a = nullptr;
        if (c.isSubmenu) {
            auto* sub = new QMenu(this);
            sub->setObjectName(name);
            a = sub->menuAction();
        } else {
            a = new QAction(this);
        }
        a->setObjectName(name);
        if (!c.keys.isEmpty()) a->setShortcuts(c.keys);
        if (c.buttonPosition) a->setIconText(QString::fromUtf8(c.buttonCaption));
        const std::size_t index = commands_.size();
        if (c.toggle) {
            a->setCheckable(true);
            a->setChecked(true);
            connect(a, &QAction::toggled, this,
                    [this, index](bool on) { commands_[index].command.toggle(*this, on); });
        } else if (!c.isSubmenu) {
            connect(a, &QAction::triggered, this,
                    [this, index] { runCommand(commands_[index].command); });
        }
        commands_.push_back(CommandEntry{std::move(c), a});
    }
    for (const MenuTitle& t : kMenus) {
        std::vector<const CommandEntry*> items;
        for (const CommandEntry& e : commands_)
            if (e.command.menu == t.menu) items.push_back(&e);
        std::stable_sort(items.begin(), items.end(),
                         [](const CommandEntry* a, const CommandEntry* b) {
                             return a->command.group < b->command.group;
                         });
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i > 0 && items[i]->command.group != items[i - 1]->command.group)
                menus_[t.menu]->addSeparator();
            menus_[t.menu]->addAction(items[i]->action);
        }
    }
    for (const CommandEntry& e : commands_) {
        // Keys of a command in no menu work through the window.
        if (e.command.menu == CommandMenu::None && !e.command.keys.isEmpty()) addAction(e.action);
        if (e.command.prepare) e.command.prepare(*this, *e.action);
    }
    MenuWindow = menus_[CommandMenu::Window];
    windowEntriesSeparator_ = MenuWindow->addSeparator();
    windowEntriesSeparator_->setVisible(false);
    connect(MenuWindow, &QMenu::aboutToShow, this, &MDIFormMain::fillWindowMenu);
    showCommands();
}

void MDIFormMain::buildToolbar() {
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(32, 32));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->toggleViewAction()->setEnabled(false);  // the View menu is the one switch
    std::vector<const CommandEntry*> buttons;
    for (const CommandEntry& e : commands_)
        if (e.command.buttonPosition) buttons.push_back(&e);
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](const CommandEntry* a, const CommandEntry* b) {
                         return a->command.buttonPosition < b->command.buttonPosition;
                     });
    for (const CommandEntry* e : buttons) {
        Toolbar1->addAction(e->action);
        // The picture is the button's own: on the action it would widen every menu
        // holding it by a column for pictures that menus never show. The button
        // takes the action's (empty) picture again whenever the action changes.
        auto* button = qobject_cast<QToolButton*>(Toolbar1->widgetForAction(e->action));
        const auto dress = [button, icon = toolbarIcon(e->command.buttonIcon)] {
            button->setIcon(icon);
        };
        dress();
        connect(e->action, &QAction::changed, button, dress);
        if (e->command.buttonGroupEnd) Toolbar1->addSeparator();
    }
}

bool MDIFormMain::commandShown(const Command& c) const {
    if (c.service && !serviceMode_) return false;
    if (c.editor) {
        auto type = parts_.editors.find(*c.editor);
        return type != parts_.editors.end() && type->second.create;
    }
    return c.run || c.toggle || c.isSubmenu;
}

void MDIFormMain::showCommands() {
    for (const CommandEntry& e : commands_) e.action->setVisible(commandShown(e.command));
    // A menu with nothing to show is not shown.
    for (const auto& [menu, m] : menus_) {
        const QList<QAction*> items = m->actions();
        m->menuAction()->setVisible(std::any_of(items.begin(), items.end(), [](QAction* a) {
            return !a->isSeparator() && a->isVisible();
        }));
    }
}

void MDIFormMain::applyCommandTexts(bool en) {
    for (const MenuTitle& t : kMenus) menus_[t.menu]->setTitle(uiText(t.text, en));
    for (const CommandEntry& e : commands_) {
        e.action->setText(uiText(e.command.text, en));
        if (e.command.buttonPosition) e.action->setToolTip(uiText(e.command.buttonTip, en));
    }
}

void MDIFormMain::runCommand(const Command& c) {
    if (c.editor) {
        showEditor(*c.editor, c.cascadeWhenNew);
        return;
    }
    if (!c.run) return;
    if (c.commitsGrid) commitGrid();
    if (c.oneStep) {
        runTool([this, &c] { c.run(*this); });
        return;
    }
    c.run(*this);
}

}  // namespace baldo7
