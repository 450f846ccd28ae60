#include "sim/memory_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/data_file.h"

namespace baldo7::sim {

namespace fs = std::filesystem;

namespace {

// Paths come as UTF-8. A plain std::string path is read in the ANSI code page on
// Windows, which turns any other name into a different file.
fs::path nativePath(const std::string& utf8) {
    return fs::u8path(utf8);
}

bool endsWithNoCase(const std::string& s, const std::string& suffix) {
    if (s.size() < suffix.size()) return false;
    return std::equal(suffix.rbegin(), suffix.rend(), s.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

}  // namespace

bool loadMemoryBytes(const std::vector<std::uint8_t>& file, bool namedDataFile, Memory& memory,
                     std::string* error) {
    RadioImage image{};
    SoftwareData software{};
    if (DecodeDataFile(file, image, software) ||
        (!namedDataFile && file.size() == kTemplateFileSize &&
         DecodeTemplate(file, image, software))) {
        std::copy(image.begin(), image.end(), memory.begin());
        return true;
    }
    if (namedDataFile) {
        setError(error, "not a radio data file");
        return false;
    }
    if (file.size() > memory.size()) {
        setError(error, "larger than the radio's 4096 bytes");
        return false;
    }
    std::copy(file.begin(), file.end(), memory.begin());
    return true;
}

bool loadMemoryFile(const std::string& path, Memory& memory, std::string* error) {
    std::ifstream in(nativePath(path), std::ios::binary);
    if (!in) {
        setError(error, std::strerror(errno));
        return false;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    if (in.bad()) {
        setError(error, "read error");
        return false;
    }
    return loadMemoryBytes(bytes, endsWithNoCase(path, ".rdat"), memory, error);
}

bool writeMemoryDump(const std::string& path, const Memory& memory, std::string* error) {
    // Written beside the target and renamed over it: a reader never sees half a dump.
    const fs::path target = nativePath(path);
    const fs::path temp = nativePath(path + ".part");
    std::error_code ec;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            setError(error, std::strerror(errno));
            return false;
        }
        out.write(reinterpret_cast<const char*>(memory.data()),
                  static_cast<std::streamsize>(memory.size()));
        out.close();
        if (!out) {
            setError(error, "write error");
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        setError(error, ec.message());
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace baldo7::sim
