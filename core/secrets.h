// Where the radio and the program keep secrets: the programming password, the local
// record's password and the stun/die codes, by radio address, and the password fields
// of the software data. Whatever is written for someone else to read (serial traces,
// support bundles) shows these bytes masked; nothing else needs to know where they are.
#pragma once

#include <cstdint>

#include "core/document.h"

namespace baldo7 {

struct SecretRange {
    int first = 0;  // radio address
    int size = 0;
    const char* what = "";  // as a trace names it
};

constexpr SecretRange SecretBytes(AddressRange bytes, const char* what) {
    return {static_cast<int>(bytes.first), static_cast<int>(bytes.size()), what};
}
// Each lies inside one 16-byte block, so one data frame carries all of it.
inline constexpr SecretRange kRadioSecrets[] = {
    SecretBytes(addr::kRadioPassword, "programming password"),
    SecretBytes(addr::kLocalPassword, "local record password"),
    SecretBytes(addr::kStunCode, "stun code"),
    SecretBytes(addr::kDieCode, "die code"),
    SecretBytes(Span(addr::kDtmfCodeLengths), "stun/die code lengths"),
};

// Software data bytes 0..11: ProgramPassword and NewPassword.
constexpr std::size_t kSoftwareDataSecretEnd = 12;

// What a masked byte becomes: a visible '*', never a value that means "unset".
constexpr std::uint8_t kMaskedByte = '*';

// The secret the radio address lies in, or nullptr.
const SecretRange* SecretAt(int address);

// Every secret of the document replaced by kMaskedByte, set or not (so neither its
// value nor its length shows): the image and service bytes of kRadioSecrets, and
// both password fields as six '*' (the software data follows them on save).
void MaskSecrets(Document& doc);

}  // namespace baldo7
