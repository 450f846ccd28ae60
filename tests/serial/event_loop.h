// Event-loop helpers for GoogleTest suites that drive Qt objects.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

namespace baldo7::testing {

inline QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* instance = QCoreApplication::instance()
                                            ? QCoreApplication::instance()
                                            : new QCoreApplication(argc, argv);
    return *instance;
}

// Runs the event loop until `done` holds or `timeoutMs` passes; returns `done()`.
template <typename F>
bool pumpUntil(F done, int timeoutMs = 5000) {
    app();
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return done();
}

}  // namespace baldo7::testing
