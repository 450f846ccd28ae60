// Whether a file or folder is closed to everyone but its owner.
#pragma once

#include <QFile>

namespace baldo7 {

// On Windows the user's profile folders are private by their access lists, which the
// permission bits Qt reports there do not show: nothing to check.
inline bool OwnerOnly(const QString& path) {
#ifdef Q_OS_WIN
    return QFile::exists(path);
#else
    const QFileDevice::Permissions p = QFile::permissions(path);
    return p.testFlag(QFileDevice::ReadOwner) &&
           !(p & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                  QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther));
#endif
}

}  // namespace baldo7
