// The real editor windows, transfer window and port chooser for the main window.
#pragma once

#include "shell/shell_parts.h"

namespace baldo7 {

class BuiltInRadio;

ShellParts StandardShellParts();

// The transfer window for the document's port; the built-in radio stands in for
// the simulated-radio setting. The open editors take up a read only into the main
// window's own document.
void ShowTransferWindow(MDIFormMain& main, BuiltInRadio& radio, Document& doc);

}  // namespace baldo7
