// The radio's programming password: six one-byte characters at 0x02F0..0x02F5 of
// the image, padded with 0xFF.
#pragma once

#include <string>

#include "core/radio_image.h"
#include "core/software_data.h"  // kPasswordLength

namespace baldo7 {

// Every character of a password box is one byte in the radio; a character outside
// Latin-1 (a wide one) is refused.
bool PasswordCharacterAllowed(char32_t character);

// The password block as the change writes it: 0xFF, then the characters (Latin-1
// bytes) of `password` from 0x02F0 on, at most six.
void WritePasswordBlock(RadioImage& image, const std::string& password);

}  // namespace baldo7
