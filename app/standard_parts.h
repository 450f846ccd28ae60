// The real editor windows, their commands, the transfer window and the port
// chooser for the main window.
#pragma once

#include "shell/shell_parts.h"

namespace baldo7 {

class BuiltInRadio;

ShellParts StandardShellParts();
// The features' commands: menu items, tree nodes and what they run.
std::vector<Command> StandardCommands();

// The transfer window for the document's port; the built-in radio stands in for
// the simulated-radio setting. The open editors take up a read only into the main
// window's own document.
TransferReport ShowTransferWindow(MDIFormMain& main, BuiltInRadio& radio, Document& doc,
                                  const TransferRequest& request);

}  // namespace baldo7
