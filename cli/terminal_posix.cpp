#include <unistd.h>

#include <cstdio>

#include "cli/terminal.h"

namespace baldo7::cli {

bool stderrIsTerminal() {
    return ::isatty(::fileno(stderr)) != 0;
}

}  // namespace baldo7::cli
