#include "sim/memory_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/data_file.h"

namespace baldo7::sim {

namespace {

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
    std::ifstream in(path, std::ios::binary);
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
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        setError(error, std::strerror(errno));
        return false;
    }
    std::size_t done = 0;
    while (done < memory.size()) {
        const ssize_t n = ::write(fd, memory.data() + done, memory.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    const int savedErrno = errno;
    const bool ok = done == memory.size() && ::fchmod(fd, 0644) == 0;
    if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        setError(error, std::strerror(ok ? errno : savedErrno));
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace baldo7::sim
