// Runs baldo7ctl (path in the BALDO7CTL definition of the test) as a user would.
#pragma once

#include <QProcess>
#include <QStringList>

#include "storage/data_store.h"

namespace baldo7 {

struct CtlRun {
    int exitCode;  // -1 when the program crashed or hung
    QByteArray out;
    QByteArray err;
};

inline CtlRun runProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    const bool finished = p.waitForFinished(60000);
    CtlRun run{finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
               p.readAllStandardOutput(), p.readAllStandardError()};
#ifdef Q_OS_WIN
    // A console program's text lines end in CR LF there; the lines are what is compared.
    run.out.replace("\r\n", "\n");
    run.err.replace("\r\n", "\n");
#endif
    return run;
}

inline CtlRun ctl(const QStringList& args) {
    return runProgram(BALDO7CTL, args);
}

inline void writeBytes(const QString& path, const Bytes& bytes) {
    QString error;
    if (!WriteFileAtomically(path, bytes, &error)) qFatal("cannot write %s", qPrintable(path));
}

}  // namespace baldo7
