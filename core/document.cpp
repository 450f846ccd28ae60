#include "core/document.h"

namespace baldo7 {

void Document::resetModuleState() {
    Document fresh;
    fresh.radioImage = radioImage;
    fresh.softwareData = softwareData;
    fresh.serviceMemory = serviceMemory;
    fresh.IsEnglish = IsEnglish;
    fresh.DecimalSeparator = DecimalSeparator;
    fresh.ComPortNumber = ComPortNumber;
    fresh.ComPortName = ComPortName;
    *this = std::move(fresh);
}

}  // namespace baldo7
