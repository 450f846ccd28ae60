#include "core/data_file.h"

#include <algorithm>

namespace baldo7 {

Bytes EncodeDataFile(const RadioImage& image, const SoftwareData& software) {
    Bytes out(kDataFileHeader, kDataFileHeader + kHeaderSize);
    out.insert(out.end(), image.begin(), image.end());
    out.insert(out.end(), software.begin(), software.end());
    return out;
}

bool DecodeDataFile(const Bytes& file, RadioImage& image, SoftwareData& software) {
    if (file.size() < kDataFileSize) return false;
    if (!std::equal(file.begin(), file.begin() + kHeaderComparedBytes, kDataFileHeader))
        return false;
    auto body = file.begin() + kHeaderSize;
    std::copy(body, body + kImageSize, image.begin());
    std::copy(body + kImageSize, body + kImageSize + kSoftwareDataSize, software.begin());
    return true;
}

Bytes EncodeTemplate(const RadioImage& image, const SoftwareData& software) {
    Bytes out(image.begin(), image.end());
    out.insert(out.end(), software.begin(), software.end());
    return out;
}

bool DecodeTemplate(const Bytes& file, RadioImage& image, SoftwareData& software) {
    if (file.size() < kTemplateFileSize) return false;
    std::copy(file.begin(), file.begin() + kImageSize, image.begin());
    std::copy(file.begin() + kImageSize, file.begin() + kTemplateFileSize, software.begin());
    return true;
}

bool DecodeTemplateImage(const Bytes& file, RadioImage& image) {
    if (file.size() < kImageSize) return false;
    std::copy(file.begin(), file.begin() + kImageSize, image.begin());
    return true;
}

}  // namespace baldo7
