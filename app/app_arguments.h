// The command line of baldo7. Parsed twice: once on the raw arguments, so that
// --help, --version and mistakes are answered before any window system is touched,
// and once on what QApplication leaves after taking its own options.
#pragma once

#include <QString>
#include <QStringList>

namespace baldo7 {

struct AppArguments {
    bool splash = true;          // the welcome picture before the main window
    bool exitWhenReady = false;  // print "ready" and quit once the window is up
    bool service = false;        // the dealers' and technicians' items, for this run
    QString file;                // data file to open at start; empty: none
};

enum class AppAction { Run, Help, Version, Error };

struct ParsedAppArguments {
    AppAction action = AppAction::Run;
    AppArguments args;
    QString error;  // for Error: what was wrong, one line
};

// `arguments` without the program name. With `skipQtOptions`, the options that
// QApplication takes for itself (-platform NAME, -style NAME, -reverse...) are
// passed over, as they are on the raw command line.
ParsedAppArguments parseAppArguments(const QStringList& arguments, bool skipQtOptions = false);
QString appHelpText();

}  // namespace baldo7
