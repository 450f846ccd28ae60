#include "transfer/transfer_files.h"

#include <QFileInfo>
#include <algorithm>

#include "core/model_band.h"
#include "storage/backups.h"
#include "storage/data_store.h"

namespace baldo7 {

namespace {

QString hex4(int value) {
    return QStringLiteral("0x") +
           QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

qint64 spanSize(const TransferRange& span) {
    return span.end - span.first;
}

}  // namespace

bool WritesRawDump(TransferArea area, qint64 size) {
    if (area == TransferArea::StunDie || area == TransferArea::Special) return true;
    if (area != TransferArea::Tune) return false;
    return size == spanSize(ServiceBackupSpan(area, BackupKind::Read)) ||
           size == spanSize(ServiceBackupSpan(area, BackupKind::BeforeWrite)) ||
           size == static_cast<qint64>(kRadioMemorySize);
}

bool LoadRawDump(Document& doc, TransferRequest& request, const QString& path, QString* error) {
    const TransferRange readSpan = ServiceBackupSpan(request.area, BackupKind::Read);
    const TransferRange writeSpan = ServiceBackupSpan(request.area, BackupKind::BeforeWrite);
    const qint64 readSize = spanSize(readSpan), writeSize = spanSize(writeSpan);
    Bytes bytes;
    const LoadResult loaded = ReadFileBytes(path, bytes, kRadioMemorySize);
    const qint64 size = static_cast<qint64>(bytes.size());
    if (!loaded.ok() ||
        (size != readSize && size != writeSize && bytes.size() != kRadioMemorySize)) {
        const QString sizes = readSize == writeSize
                                  ? QString::number(readSize)
                                  : QStringLiteral("%1 or %2").arg(readSize).arg(writeSize);
        if (error)
            *error = loaded.status == LoadStatus::Unreadable
                         ? loaded.detail
                         : QStringLiteral("a %1 dump is %2 bytes (or a 4096-byte memory dump)")
                               .arg(QString::fromLatin1(TransferAreaName(request.area)), sizes);
        return false;
    }
    const int offset = bytes.size() == kRadioMemorySize ? 0 : readSpan.first;
    const int end = std::min<int>(readSpan.end, offset + static_cast<int>(size));
    RadioMemory memory = RadioMemory::of(doc);
    for (int a = readSpan.first; a < end; ++a)
        memory.set(a, bytes[static_cast<std::size_t>(a - offset)]);
    memory.commitTo(doc);
    if (request.area == TransferArea::Tune)
        request.range = TransferRange{writeSpan.first, writeSpan.end, writeSpan.first, false};
    return true;
}

QString SaveReadResult(Document& doc, const TransferRequest& request, const QString& path,
                       QString* error) {
    const QString name = QFileInfo(path).fileName();
    if (request.area == TransferArea::Data && !request.range) {
        if (!SaveDataFile(doc, path, error)) return QString();
        return name + QStringLiteral(": ") + QString::fromStdString(ModelBandText(doc, true));
    }
    const TransferRange moved = request.moves(doc.BandLowMHz);
    const RadioMemory memory = RadioMemory::of(doc);
    Bytes dump;
    for (int a = moved.first; a < moved.end; ++a) dump.push_back(memory.at(a));
    if (!WriteFileAtomically(path, dump, error)) return QString();
    return name + QStringLiteral(": ") + QString::fromLatin1(TransferAreaName(request.area)) +
           QLatin1Char(' ') + hex4(moved.first) + QLatin1Char('-') + hex4(moved.end - 1) +
           QStringLiteral(", %1 bytes").arg(dump.size());
}

}  // namespace baldo7
