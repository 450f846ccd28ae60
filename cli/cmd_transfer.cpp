// Placeholder until the transfer verbs land.
#include "cli/commands.h"

namespace baldo7::cli {

int runRead(const QStringList&) {
    printError("read: not available in this build");
    return kExitUsage;
}

int runWrite(const QStringList&) {
    printError("write: not available in this build");
    return kExitUsage;
}

}  // namespace baldo7::cli
