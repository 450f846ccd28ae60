// Whether a file or folder is closed to everyone but its owner.
#pragma once

#include <QFile>

namespace baldo7 {

inline bool OwnerOnly(const QString& path) {
    const QFileDevice::Permissions p = QFile::permissions(path);
    return p.testFlag(QFileDevice::ReadOwner) &&
           !(p & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                  QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther));
}

}  // namespace baldo7
