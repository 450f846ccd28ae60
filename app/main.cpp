// baldo7: the programming software's window. The welcome window comes first and
// hands over to the main window; --no-splash starts with the main window at once.
// --exit-when-ready prints "ready" once the main window is shown and the event
// loop is idle, then quits (the start-up benchmark). --service shows the dealers'
// and technicians' items for this run (the ServiceMode setting does it for good).
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "core/document.h"
#include "shell/form_welcome.h"
#include "shell/mdi_form_main.h"
#include "shell/settings.h"
#include "shell/standard_parts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BALDO-7"));
    QApplication::setOrganizationName(QStringLiteral("Olvis"));
    QApplication::setApplicationVersion(QStringLiteral(BALDO7_VERSION));
    const QStringList args = QApplication::arguments();
    const bool splash = !args.contains(QStringLiteral("--no-splash"));
    const bool exitWhenReady = args.contains(QStringLiteral("--exit-when-ready"));
    const bool service = args.contains(QStringLiteral("--service"));

    baldo7::Document doc;
    std::unique_ptr<QSettings> settings = baldo7::OpenSettings();
    std::unique_ptr<baldo7::MDIFormMain> mainWindow;

    // Returns false when start-up had to stop (the user has been told why).
    auto loadMain = [&]() -> bool {
        baldo7::ShellServices services;
        services.settings = settings.get();
        services.serviceMode = service;
        mainWindow =
            std::make_unique<baldo7::MDIFormMain>(doc, services, baldo7::StandardShellParts());
        if (!mainWindow->startUp()) return false;
        mainWindow->show();
        if (exitWhenReady) {
            QTimer::singleShot(0, &app, [] {
                std::fputs("ready\n", stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return true;
    };

    std::unique_ptr<baldo7::FormWelcome> welcome;
    if (splash) {
        welcome = std::make_unique<baldo7::FormWelcome>([&] {
            if (!loadMain()) QCoreApplication::exit(2);
        });
        welcome->show();
    } else if (!loadMain()) {
        return 2;
    }
    const int rc = app.exec();
    mainWindow.reset();
    return rc;
}
