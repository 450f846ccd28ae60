// The verbs of baldo7ctl. Each takes the arguments after the verb and returns the
// process exit code.
#pragma once

#include <QStringList>
#include <optional>

#include "core/document.h"

namespace baldo7::cli {

// Exit codes shared by every verb.
enum ExitCode {
    kExitOk = 0,
    kExitUsage = 1,
    kExitFile = 2,          // unreadable or refused file (template included)
    kExitPort = 3,          // the port cannot be opened
    kExitLink = 4,          // the exchange failed or was cancelled
    kExitBandDeclined = 5,  // the band question was answered Cancel
    kExitVerify = 6,        // write --verify: the radio holds other bytes than were sent
    kExitRowsSkipped = 7    // import: some rows could not be taken (the rest were)
};

int runNew(const QStringList& args);
int runShow(const QStringList& args);
int runRead(const QStringList& args);
int runWrite(const QStringList& args);
int runExport(const QStringList& args);
int runImport(const QStringList& args);
int runPrint(const QStringList& args);
int runPorts(const QStringList& args);
int runDiff(const QStringList& args);

// One clear line on stderr.
void printError(const QString& message);

// The template into `doc`; on failure says why (prefixed with the verb) and
// returns false.
bool loadTemplateInto(Document& doc, const QString& verb);
// A data file into `doc` (model and band decoded); on failure says why (a short
// file with its size) and returns false.
bool loadDataFileInto(Document& doc, const QString& path, const QString& verb);
// What the radio on `port` holds, read into `doc` (the template first, as `read`
// does) and kept in memory only. The exit code of a failure, its message printed.
std::optional<int> readRadioInto(Document& doc, const QString& port, bool quiet, bool dtr, bool rts,
                                 const QString& verb);

}  // namespace baldo7::cli
