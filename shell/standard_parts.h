// The real editor windows, transfer window and port chooser for the main window.
#pragma once

#include "shell/shell_parts.h"

namespace baldo7 {

class BuiltInRadio;

ShellParts StandardShellParts();

// The transfer window for the document's port; the built-in radio stands in for
// the simulated-radio setting.
void ShowTransferWindow(MDIFormMain& main, BuiltInRadio& radio);

}  // namespace baldo7
