// baldo7: the programming software's window. The welcome window comes first and
// hands over to the main window; the command line is in app_arguments.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/app_arguments.h"
#include "app/font_warm_up.h"
#include "app/parent_console.h"
#include "app/standard_parts.h"
#include "baldo7_version.h"
#include "core/document.h"
#include "shell/app_style.h"
#include "shell/form_welcome.h"
#include "shell/mdi_form_main.h"
#include "shell/settings.h"

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitStart = 2;

// Help, version and usage errors; returns -1 when the program should go on.
int answerWithoutWindow(const baldo7::ParsedAppArguments& parsed) {
    switch (parsed.action) {
        case baldo7::AppAction::Help:
            std::fputs(baldo7::appHelpText().toLocal8Bit().constData(), stdout);
            return 0;
        case baldo7::AppAction::Version:
            std::fputs("baldo7 " BALDO7_VERSION_TEXT "\n", stdout);
            return 0;
        case baldo7::AppAction::Error:
            std::fprintf(stderr, "baldo7: %s\n", parsed.error.toLocal8Bit().constData());
            return kExitUsage;
        case baldo7::AppAction::Run:
            break;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    baldo7::useParentConsole();
    // --help, --version and mistakes must be answered where no display is (a
    // terminal, a package check), so before QApplication connects to one.
    QStringList raw;
    for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    if (const int rc = answerWithoutWindow(baldo7::parseAppArguments(raw, true)); rc >= 0)
        return rc;

    // Read while QApplication connects to the display; done before the first word.
    baldo7::FontWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BALDO-7"));
    QApplication::setOrganizationName(QStringLiteral("Olvis"));
    QApplication::setApplicationVersion(QStringLiteral(BALDO7_VERSION_TEXT));
    // Links the windows to com.olvis.baldo7.desktop: docks and task switchers show its
    // icon and name (Wayland app id, X11 class).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.olvis.baldo7"));
    QApplication::setStyle(new baldo7::AppStyle(QApplication::style()->name()));
    const baldo7::ParsedAppArguments parsed =
        baldo7::parseAppArguments(QApplication::arguments().mid(1));
    if (const int rc = answerWithoutWindow(parsed); rc >= 0) return rc;
    const baldo7::AppArguments& args = parsed.args;

    baldo7::Document doc;
    std::unique_ptr<QSettings> settings = baldo7::OpenSettings();
    std::unique_ptr<baldo7::MDIFormMain> mainWindow;
    fonts.wait();

    // Returns false when start-up had to stop (the user has been told why).
    auto loadMain = [&]() -> bool {
        baldo7::ShellServices services;
        services.settings = settings.get();
        services.serviceMode = args.service;
        services.unattended = args.exitWhenReady;
        mainWindow =
            std::make_unique<baldo7::MDIFormMain>(doc, services, baldo7::StandardShellParts());
        if (!mainWindow->startUp()) return false;
        mainWindow->show();
        // A file that cannot be opened has been reported; the template stays.
        if (!args.file.isEmpty()) mainWindow->openStartFile(args.file);
        if (args.exitWhenReady) {
            QTimer::singleShot(0, &app, [] {
                std::fputs("ready\n", stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return true;
    };

    std::unique_ptr<baldo7::FormWelcome> welcome;
    if (args.splash) {
        welcome = std::make_unique<baldo7::FormWelcome>([&] {
            if (!loadMain()) QCoreApplication::exit(kExitStart);
        });
        welcome->show();
    } else if (!loadMain()) {
        return kExitStart;
    }
    const int rc = app.exec();
    mainWindow.reset();
    return rc;
}
