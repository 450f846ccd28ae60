// Systems whose fonts come from the platform itself: nothing to read ahead.
#include "app/font_warm_up.h"

namespace baldo7 {

FontWarmUp::FontWarmUp() = default;

}  // namespace baldo7
