// The toolbar icons and the welcome picture, drawn by the program itself.
#pragma once

#include <QIcon>
#include <QPixmap>

class QPainter;

namespace baldo7 {

enum class ToolIcon { New, Open, Save, Read, Com, Write, Help };

QIcon toolbarIcon(ToolIcon which);
// The program's window icon: the radio. The installed icons (hicolor PNGs and the
// SVG) are drawn by the same routine at build time.
QIcon applicationIcon();
void drawApplicationIcon(QPainter& p, qreal size);
// A hand-held radio on a blue ground with the product name.
QPixmap welcomePicture(int width, int height);

}  // namespace baldo7
