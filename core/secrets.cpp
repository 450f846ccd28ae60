#include "core/secrets.h"

#include "core/software_data.h"

namespace baldo7 {

static_assert(kSoftwareDataSecretEnd == 2 * kPasswordLength);

const SecretRange* SecretAt(int address) {
    for (const SecretRange& s : kRadioSecrets)
        if (address >= s.first && address < s.first + s.size) return &s;
    return nullptr;
}

void MaskSecrets(Document& doc) {
    for (const SecretRange& s : kRadioSecrets)
        for (int a = s.first; a < s.first + s.size; ++a) {
            if (a < int(kImageSize))
                doc.radioImage[std::size_t(a)] = kMaskedByte;
            else
                doc.serviceMemory[std::size_t(a) - kServiceBase] = kMaskedByte;
        }
    const std::string masked(kPasswordLength, char(kMaskedByte));
    doc.ProgramPassword = doc.NewPassword = masked;
    SaveSoftwareData(doc);
}

}  // namespace baldo7
