// Systems whose Qt finds fonts through fontconfig.
#include <fontconfig/fontconfig.h>

#include "app/font_warm_up.h"

namespace baldo7 {

FontWarmUp::FontWarmUp() : thread_([] { FcInit(); }) {}

}  // namespace baldo7
