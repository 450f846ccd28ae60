// Whether standard error is a terminal (progress is drawn in place only there).
#pragma once

namespace baldo7::cli {

bool stderrIsTerminal();

}  // namespace baldo7::cli
