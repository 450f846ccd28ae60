#include "app/parent_console.h"

namespace baldo7 {

void useParentConsole() {}

}  // namespace baldo7
