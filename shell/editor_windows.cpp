#include "shell/mdi_form_main.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <algorithm>

#include "shell/main_window_tables.h"
#include "ui/ui_support.h"

namespace baldo7 {

using namespace mainwindow;

// ---- editors ------------------------------------------------------------------

QWidget* MDIFormMain::editorWidget(EditorWindow kind) const {
    auto it = open_.find(kind);
    return it != open_.end() && it->sub ? it->widget.data() : nullptr;
}

QMdiSubWindow* MDIFormMain::editorSubWindow(EditorWindow kind) const {
    auto it = open_.find(kind);
    return it != open_.end() ? it->sub.data() : nullptr;
}

void MDIFormMain::setOpenFlag(EditorWindow kind, bool open) {
    state_.*slotOf(kind).openFlag = open;
}

void MDIFormMain::openEditorWindow(EditorWindow kind) {
    // Every editor but the channel edit dialog (the grid's own) closes the tune window.
    if (kind != EditorWindow::ChannelEdit && kind != EditorWindow::Tune) closeTune();
    if (QMdiSubWindow* sub = editorSubWindow(kind)) {
        bringToFront(sub);
        return;
    }
    auto type = parts_.editors.find(kind);
    if (type == parts_.editors.end() || !type->second.create) return;

    QWidget* widget = type->second.create(doc_, *this, nullptr);
    if (!widget) return;
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWidget(widget);
    freeMainShortcuts(sub);
    area_->addSubWindow(sub);
    widget->installEventFilter(this);
    open_[kind] = OpenEditor{sub, widget};
    setOpenFlag(kind, true);

    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates, Qt::WindowStates now) {
                if (now & Qt::WindowMinimized)
                    state_.ChildWindowState = 1;
                else if (now & Qt::WindowMaximized)
                    state_.ChildWindowState = 2;
                else
                    state_.ChildWindowState = 0;
            });
    connect(sub, &QObject::destroyed, this, [this, kind, sub] { forgetEditor(kind, sub); });
    connect(widget, &QObject::destroyed, sub, [sub] { sub->close(); });

    // A remembered minimised state opens the window normal.
    const int state = state_.ChildWindowState == 1 ? 0 : state_.ChildWindowState;
    if (state == 2)
        sub->showMaximized();
    else
        sub->show();
    area_->setActiveSubWindow(sub);
}

QString MDIFormMain::activeHelpTopic() const {
    const QMdiSubWindow* active = area_->activeSubWindow();
    for (auto it = open_.begin(); active && it != open_.end(); ++it) {
        if (it->sub != active) continue;
        const auto topic = parts_.helpTopics.find(it.key());
        if (topic != parts_.helpTopics.end()) return topic->second;
    }
    return QStringLiteral("general.htm");
}

void MDIFormMain::bringToFront(QMdiSubWindow* sub) {
    if (sub->isMinimized()) sub->showNormal();
    area_->setActiveSubWindow(sub);
    sub->raise();
}

void MDIFormMain::freeMainShortcuts(QMdiSubWindow* sub) {
    // A sub-window's Close key is Ctrl+W on some desktops; it would make Write To
    // Radio ambiguous (and dead) whenever an editor has the focus. Ctrl+F4 stays.
    QMenu* system = sub->systemMenu();
    if (!system) return;
    QList<QKeySequence> mine;
    for (const CommandEntry& e : commands_) mine << e.command.keys;
    for (QAction* a : system->actions()) {
        QList<QKeySequence> keys = a->shortcuts();
        const auto taken = [&mine](const QKeySequence& k) { return mine.contains(k); };
        if (std::any_of(keys.begin(), keys.end(), taken)) {
            keys.erase(std::remove_if(keys.begin(), keys.end(), taken), keys.end());
            a->setShortcuts(keys);
        }
    }
}

void MDIFormMain::forgetEditor(EditorWindow kind, QMdiSubWindow* sub) {
    auto it = open_.find(kind);
    if (it == open_.end() || (it->sub && it->sub != sub)) return;
    open_.erase(it);
    setOpenFlag(kind, false);
}

void MDIFormMain::closeAllEditors() {
    // Synchronously: an editor reset opens new windows straight after.
    for (int guard = 0; guard < 32; ++guard) {
        const QList<QMdiSubWindow*> subs = area_->subWindowList();
        if (subs.isEmpty()) break;
        QPointer<QMdiSubWindow> sub = subs.front();
        sub->close();
        delete sub.data();
    }
}

void MDIFormMain::showEditor(EditorWindow kind, bool cascadeWhenNew) {
    closeTune();
    const bool wasOpen = editorSubWindow(kind) != nullptr;
    openEditorWindow(kind);
    if (cascadeWhenNew && !wasOpen && editorSubWindow(kind)) MenuCeng_Click();
}

void MDIFormMain::editorReset() {
    closeAllEditors();
    openEditorWindow(EditorWindow::ChannelInformation);
}

void MDIFormMain::commitGrid() {
    QWidget* grid = editorWidget(EditorWindow::ChannelInformation);
    auto type = parts_.editors.find(EditorWindow::ChannelInformation);
    if (grid && type != parts_.editors.end() && type->second.commit) type->second.commit(grid);
}

void MDIFormMain::closeTune() {
    if (QMdiSubWindow* tune = editorSubWindow(EditorWindow::Tune)) {
        tune->close();
        delete tune;
    }
}

void MDIFormMain::editorsDecodeNewImage() {
    // The open editors and the panels hear of it as of any change.
    doc_.announce(DocumentChange::everything());
}

void MDIFormMain::openEditor(EditorKind kind) {
    switch (kind) {
        case EditorKind::ChannelInformation:
            openEditorWindow(EditorWindow::ChannelInformation);
            break;
        case EditorKind::ChannelEdit:
            openEditorWindow(EditorWindow::ChannelEdit);
            break;
        case EditorKind::Option:
            openEditorWindow(EditorWindow::Option);
            break;
        case EditorKind::KeySetting:
            openEditorWindow(EditorWindow::KeySetting);
            break;
    }
}

// ---- Window menu --------------------------------------------------------------

void MDIFormMain::fillWindowMenu() {
    for (QAction* a : windowEntries_) {
        MenuWindow->removeAction(a);
        delete a;
    }
    windowEntries_.clear();
    QMdiSubWindow* current = area_->currentSubWindow();
    for (QMdiSubWindow* sub : area_->subWindowList(QMdiArea::CreationOrder)) {
        const auto editor = std::find_if(open_.begin(), open_.end(),
                                         [sub](const OpenEditor& e) { return e.sub == sub; });
        if (editor == open_.end() || !editor->widget || !slotOf(editor.key()).inWindowMenu)
            continue;
        QAction* a = MenuWindow->addAction(editor->widget->windowTitle());
        a->setObjectName(QStringLiteral("WindowEntry%1").arg(windowEntries_.size() + 1));
        a->setCheckable(true);
        a->setChecked(sub == current);
        // Only to the front: unlike the menus and the tree, this leaves the tune window.
        connect(a, &QAction::triggered, this, [this, target = QPointer<QMdiSubWindow>(sub)] {
            if (target) bringToFront(target);
        });
        windowEntries_ << a;
    }
    windowEntriesSeparator_->setVisible(!windowEntries_.isEmpty());
}

void MDIFormMain::MenuCeng_Click() {
    area_->cascadeSubWindows();
}

void MDIFormMain::MenuCloseAll_Click() {
    closeAllEditors();
}
}  // namespace baldo7
