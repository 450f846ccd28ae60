// The window events every editor reacts to, whether it stands alone or sits in a
// sub-window of the main window's MDI area: activation and state changes (remembered
// in ChildWindowState for the next editor). An editor listed in the Window menu also
// leaves its open flag and its menu entry to these events, from load to unload.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "core/document.h"

class QHBoxLayout;
class QMdiSubWindow;
class QPushButton;
class QWidget;

namespace baldo7 {

class EditorHost;

// 0 normal, 1 minimised, 2 maximised: the values ChildWindowState holds.
int childWindowStateCode(Qt::WindowStates states);

class EditorWindowEvents : public QObject {
    Q_OBJECT
public:
    EditorWindowEvents(QWidget* form, Document& doc, std::function<void()> onActivate);
    // A Window-menu editor: sets its open flag now; activation checks entry `menuId`;
    // the form's unload (any close) clears the flag and removes the entry, once.
    EditorWindowEvents(QWidget* form, Document& doc, EditorHost& host, bool Document::*openFlag,
                       int menuId);

    // The end of the load: the Window-menu entry with the form's caption.
    void addWindowMenuEntry();
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
    Document& doc_;
    std::function<void()> onActivate_;
    EditorHost* host_ = nullptr;
    bool Document::*openFlag_ = nullptr;
    int menuId_ = 0;
    bool unloaded_ = false;
    QPointer<QMdiSubWindow> sub_;
    QMetaObject::Connection subConnection_;
};

// The Close and Help buttons of an editor, centred side by side.
QHBoxLayout* closeHelpButtonRow(QPushButton* close, QPushButton* help);

}  // namespace baldo7
