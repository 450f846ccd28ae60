// Device file ownership and access, from the POSIX calls.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <vector>

#include "link/serial_port.h"

namespace baldo7 {

QString deviceGroupName(const QString& device) {
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0) return {};
    struct group grp {};
    struct group* found = nullptr;
    std::vector<char> buf(4096);
    while (::getgrgid_r(st.st_gid, &grp, buf.data(), buf.size(), &found) == ERANGE &&
           buf.size() < (1u << 20))
        buf.resize(buf.size() * 2);
    if (found == nullptr) return {};
    return QString::fromLocal8Bit(found->gr_name);
}

bool serialPortAccessible(const QString& device) {
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
}

}  // namespace baldo7
