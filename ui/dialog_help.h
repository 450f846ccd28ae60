// The help of a dialog the main window opens: a Help button and F1 that open the
// dialog's page through the window hosting the editors, which puts the help beside
// a modal dialog.
#pragma once

#include <functional>

class QPushButton;
class QString;
class QWidget;

namespace baldo7 {

class EditorHost;

// The editor host `widget` belongs to: the nearest of it and its parents that is
// one (the main window), or null for a window standing on its own.
EditorHost* HostOf(QWidget* widget);

// F1 anywhere in `window` calls `open`.
void BindHelpKey(QWidget* window, std::function<void()> open);

// "Help" under the name CommandHelp: it and F1 in `dialog` open `topic`
// ("dealer.htm#log"). Hidden when the dialog has no host to open it.
QPushButton* makeHelpButton(QWidget* dialog, const QString& topic, bool isEnglish);

}  // namespace baldo7
