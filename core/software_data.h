// The password fields of the programming window and their 17-byte carrier.
#pragma once

#include "core/document.h"

namespace baldo7 {

constexpr std::uint8_t kChangePasswordTicked = 85;
constexpr std::size_t kPasswordLength = 6;

// softwareData -> ProgramPassword, NewPassword, ChangePasswordFlag.
void AnalyseSoftwareData(Document& doc);
// The three fields -> softwareData bytes 0..15; byte 16 is never written.
void SaveSoftwareData(Document& doc);

}  // namespace baldo7
