// The password fields of the programming window and their 17-byte carrier.
#pragma once

#include "core/document.h"

namespace baldo7 {

constexpr std::uint8_t kChangePasswordTicked = 85;
// The programming password: as many characters as the radio keeps.
constexpr std::size_t kPasswordLength = addr::kRadioPassword.size();

// softwareData -> ProgramPassword, NewPassword, ChangePasswordFlag.
void AnalyseSoftwareData(Document& doc);
// The three fields -> softwareData bytes 0..15; byte 16 is never written.
void SaveSoftwareData(Document& doc);
// The password the program keeps, into its field and its bytes at once, so that a
// new password is a change of the document (the caller's DocumentEdit records it).
void SetProgramPassword(Document& doc, const std::string& password);

}  // namespace baldo7
