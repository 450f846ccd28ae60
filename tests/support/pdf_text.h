// Reads a PDF back as text with pdftotext (poppler-utils).
#pragma once

#include <QProcess>
#include <QStringList>

namespace baldo7 {

// pdftotext's output for `pdf` with `options` ("" when it did not run).
inline QString pdfToText(const QString& pdf, const QStringList& options, QString* error = nullptr) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
    const bool ran =
        p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (error)
        *error = ran ? QString()
                     : QStringLiteral("pdftotext (poppler-utils) did not run: ") + p.errorString() +
                           QString::fromLocal8Bit(p.readAllStandardError());
    return ran ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// Why the PDFs' text cannot be read here; "" where it can. Linux builds need pdftotext.
// The Windows suites run under wine, where a Windows program can neither wait for the
// Linux pdftotext nor read its output: scripts/windows-app-check compares the PDFs'
// text on the Linux side instead.
inline QString whyPdfTextUnreadable() {
#ifdef Q_OS_WIN
    static const bool runs = [] {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-v")});
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit;
    }();
    if (!runs) return QStringLiteral("no pdftotext to read the PDFs with");
#endif
    return QString();
}

}  // namespace baldo7
