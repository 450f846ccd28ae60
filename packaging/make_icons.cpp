// make_icons OUTDIR: the program's icon for the desktop, drawn by the routine that
// draws the window icon: OUTDIR/<n>x<n>/baldo7.png for the hicolor sizes and
// OUTDIR/scalable/baldo7.svg.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "shell/shell_pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_icons OUTDIR\n", stderr);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
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
