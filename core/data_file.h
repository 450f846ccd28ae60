// Byte layouts of the radio data file (.rdat) and the template (Init.dat).
//   .rdat:    16-byte header, 1024-byte image, 17-byte software data = 1057 bytes
//   Init.dat: 1024-byte image, 17-byte software data                 = 1041 bytes
#pragma once

#include <cstdint>
#include <vector>

#include "core/document.h"

namespace baldo7 {

constexpr const char kDataFileHeader[] = "BALDO-7 Ver1.0.2";
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kHeaderComparedBytes = 8;  // "BALDO-7 "; the version part may differ
constexpr std::size_t kDataFileSize = kHeaderSize + kImageSize + kSoftwareDataSize;
constexpr std::size_t kTemplateFileSize = kImageSize + kSoftwareDataSize;

using Bytes = std::vector<std::uint8_t>;

Bytes EncodeDataFile(const RadioImage& image, const SoftwareData& software);

// Refuses (false, outputs untouched) a file shorter than 1057 bytes or whose first
// eight bytes are not the product's. Bytes past 1057 are ignored.
bool DecodeDataFile(const Bytes& file, RadioImage& image, SoftwareData& software);

Bytes EncodeTemplate(const RadioImage& image, const SoftwareData& software);
// Refuses a template shorter than 1041 bytes.
bool DecodeTemplate(const Bytes& file, RadioImage& image, SoftwareData& software);
// Only the image part, for the rebuild after a model change (needs 1024 bytes).
bool DecodeTemplateImage(const Bytes& file, RadioImage& image);

}  // namespace baldo7
