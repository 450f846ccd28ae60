// make_icons OUTDIR: the program's icon for the desktop, drawn by the routine that
// draws the window icon: OUTDIR/<n>x<n>/baldo7.png for the hicolor sizes and
// OUTDIR/scalable/baldo7.svg, and the same pictures as PNG entries of one Windows
// icon, OUTDIR/baldo7.ico.
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "shell/shell_pictures.h"

namespace {

struct IcoEntry {
    int size;
    QByteArray png;
};

// The icon directory (type 1, one entry per size, 0 standing for 256) and the PNGs.
bool writeIco(const QString& path, const QList<IcoEntry>& entries) {
    QByteArray ico;
    QDataStream s(&ico, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint16(0) << quint16(1) << quint16(entries.size());
    quint32 offset = 6 + 16 * static_cast<quint32>(entries.size());
    for (const IcoEntry& e : entries) {
        const auto side = static_cast<quint8>(e.size >= 256 ? 0 : e.size);
        s << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
          << quint32(e.png.size()) << offset;
        offset += static_cast<quint32>(e.png.size());
    }
    for (const IcoEntry& e : entries) s.writeRawData(e.png.constData(), e.png.size());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_icons OUTDIR\n", stderr);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QList<IcoEntry> ico;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1x%1").arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        baldo7::drawApplicationIcon(p, size);
        p.end();
        if (!out.mkpath(dir) || !image.save(out.filePath(dir + QStringLiteral("/baldo7.png")))) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(out.filePath(dir)));
            return 1;
        }
        if (size != 22) {
            QBuffer png;
            png.open(QIODevice::WriteOnly);
            image.save(&png, "PNG");
            ico.append({size, png.data()});
        }
    }
    if (!writeIco(out.filePath(QStringLiteral("baldo7.ico")), ico)) {
        std::fprintf(stderr, "make_icons: cannot write %s\n",
                     qPrintable(out.filePath(QStringLiteral("baldo7.ico"))));
        return 1;
    }
    // The SVG is drawn on a 64-unit canvas, the window icon's largest size.
    constexpr int kSvgSize = 64;
    if (!out.mkpath(QStringLiteral("scalable"))) return 1;
    QSvgGenerator svg;
    svg.setFileName(out.filePath(QStringLiteral("scalable/baldo7.svg")));
    svg.setSize(QSize(kSvgSize, kSvgSize));
    svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
    svg.setTitle(QStringLiteral("BALDO-7"));
    svg.setDescription(QStringLiteral("BALDO-7 programming software"));
    QPainter p(&svg);
    p.setRenderHint(QPainter::Antialiasing);
    baldo7::drawApplicationIcon(p, kSvgSize);
    return p.end() ? 0 : 1;
}
