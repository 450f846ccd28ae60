// The window events every editor reacts to, whether it stands alone or sits in a
// sub-window of the main window's MDI area: state changes (remembered in
// ChildWindowState for the next editor) and its unload. An editor with an open flag also leaves
// that flag to these events, from load to unload.
#pragma once

#include <QObject>
#include <QPointer>

#include "ui/app_state.h"

class QHBoxLayout;
class QMdiSubWindow;
class QPushButton;
class QWidget;

namespace baldo7 {

// 0 normal, 1 minimised, 2 maximised: the values ChildWindowState holds.
int childWindowStateCode(Qt::WindowStates states);

class EditorWindowEvents : public QObject {
    Q_OBJECT
public:
    EditorWindowEvents(QWidget* form, AppState& state);
    // Sets the open flag now; the form's unload (any close) clears it, once.
    EditorWindowEvents(QWidget* form, AppState& state, bool AppState::*openFlag);

    // The window the form lives in: its MDI sub-window, or the form itself.
    QWidget* hostWindow() const;
    // Closes the host window (which closes the form with it).
    void closeHostWindow();
    // The Close button: the open flag is cleared first, then the window closes.
    void closeButtonClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attach();
    void storeState();
    void unload();

    QWidget* form_;
    AppState& state_;
    bool AppState::*openFlag_ = nullptr;
    bool unloaded_ = false;
    QPointer<QMdiSubWindow> sub_;
    QMetaObject::Connection subConnection_;
};

// The Close and Help buttons of an editor, centred side by side.
QHBoxLayout* closeHelpButtonRow(QPushButton* close, QPushButton* help);

}  // namespace baldo7
