#pragma once
// A window program on Windows has no console: started from one (cmd, PowerShell),
// its --help, --version, usage errors and "ready" would go nowhere. It writes to
// the console it was started from, when there is one and its output is not already
// redirected to a file or a pipe. Elsewhere the terminal is simply there.

namespace baldo7 {

void useParentConsole();

}  // namespace baldo7
