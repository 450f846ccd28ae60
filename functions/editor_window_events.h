// The window events every editor reacts to, whether it stands alone or sits in a
// sub-window of the main window's MDI area: activation (to check its Window menu
// entry) and state changes (remembered in ChildWindowState for the next editor).
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;
class QMdiSubWindow;

namespace baldo7 {

struct Document;

// 0 normal, 1 minimised, 2 maximised: the values ChildWindowState holds.
int childWindowStateCode(Qt::WindowStates states);

class EditorWindowEvents : public QObject {
    Q_OBJECT
public:
    EditorWindowEvents(QWidget* form, Document& doc, std::function<void()> onActivate);

    // The window the form lives in: its MDI sub-window, or the form itself.
    QWidget* hostWindow() const;
    // Closes the host window (which closes the form with it).
    void closeHostWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attach();
    void storeState();

    QWidget* form_;
    Document& doc_;
    std::function<void()> onActivate_;
    QPointer<QMdiSubWindow> sub_;
    QMetaObject::Connection subConnection_;
};

}  // namespace baldo7
