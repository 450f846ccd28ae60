#include <cstdio>

#include "cli/terminal.h"

#ifdef _WIN32
#include <io.h>
#endif

namespace baldo7::cli {

bool stderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    // A portable build on another system draws plain progress lines.
    return false;
#endif
}

}  // namespace baldo7::cli
