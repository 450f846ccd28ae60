// The real editor windows, transfer window and port chooser for the main window.
#pragma once

#include "shell/shell_parts.h"

namespace baldo7 {

ShellParts StandardShellParts();

}  // namespace baldo7
