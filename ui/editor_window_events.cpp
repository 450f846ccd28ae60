#include "ui/editor_window_events.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QWidget>

#include "ui/ui_support.h"

namespace baldo7 {

int childWindowStateCode(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized) return 1;
    if (states & Qt::WindowMaximized) return 2;
    return 0;
}

EditorWindowEvents::EditorWindowEvents(QWidget* form, AppState& state)
    : QObject(form), form_(form), state_(state) {
    form_->installEventFilter(this);
    attach();
}

EditorWindowEvents::EditorWindowEvents(QWidget* form, AppState& state, bool AppState::*openFlag)
    : EditorWindowEvents(form, state) {
    openFlag_ = openFlag;
    state_.*openFlag_ = true;
}

QWidget* EditorWindowEvents::hostWindow() const {
    return sub_ ? static_cast<QWidget*>(sub_.data()) : form_;
}

void EditorWindowEvents::closeHostWindow() {
    hostWindow()->close();
}

void EditorWindowEvents::closeButtonClicked() {
    if (openFlag_) state_.*openFlag_ = false;
    closeHostWindow();
}

void EditorWindowEvents::unload() {
    // The sub-window's close, the system close box and Close All all come here.
    if (unloaded_ || !openFlag_) return;
    unloaded_ = true;
    state_.*openFlag_ = false;
}

void EditorWindowEvents::attach() {
    auto* sub = qobject_cast<QMdiSubWindow*>(form_->parentWidget());
    if (sub == sub_) return;
    if (sub_) {
        disconnect(subConnection_);
        sub_->removeEventFilter(this);
    }
    sub_ = sub;
    if (!sub_) return;
    sub_->installEventFilter(this);
    subConnection_ =
        connect(sub_, &QMdiSubWindow::windowStateChanged, this, [this] { storeState(); });
}

void EditorWindowEvents::storeState() {
    state_.ChildWindowState = childWindowStateCode(hostWindow()->windowState());
}

bool EditorWindowEvents::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ParentChange:
            if (watched == form_) attach();
            break;
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            if (watched == hostWindow()) storeState();
            break;
        case QEvent::Close:
            if (watched == form_) unload();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

QHBoxLayout* closeHelpButtonRow(QPushButton* close, QPushButton* help) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close);
    row->addSpacing(twips(600));
    row->addWidget(help);
    row->addStretch(1);
    return row;
}

}  // namespace baldo7
