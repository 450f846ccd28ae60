#include "service/program_password.h"

#include <algorithm>

namespace baldo7 {

bool PasswordCharacterAllowed(char32_t character) {
    return character >= 0x20 && character <= 0xFF && character != 0x7F;
}

void WritePasswordBlock(RadioImage& image, const std::string& password) {
    const auto block = image.begin() + addr::kRadioPassword.first;
    std::fill(block, block + kPasswordLength, std::uint8_t{0xFF});
    const std::size_t n = std::min<std::size_t>(password.size(), kPasswordLength);
    std::copy(password.begin(), password.begin() + static_cast<std::ptrdiff_t>(n), block);
}

}  // namespace baldo7
