#include "shell/shell_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace baldo7 {

namespace {

constexpr int kIconSize = 32;

QPixmap blank() {
    QPixmap pm(kIconSize, kIconSize);
    pm.fill(Qt::transparent);
    return pm;
}

void drawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setPen(QPen(QColor(70, 70, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawPolyline(QPolygonF({QPointF(20, 3), QPointF(20, 9), QPointF(26, 9)}));
}

void drawFolder(QPainter& p) {
    p.setPen(QPen(QColor(150, 105, 20), 1.5));
    p.setBrush(QColor(240, 196, 80));
    p.drawRoundedRect(QRectF(3, 8, 26, 19), 2, 2);
    p.drawRect(QRectF(3, 5, 10, 4));
    p.setBrush(QColor(252, 220, 120));
    QPolygonF front({QPointF(3, 27), QPointF(8, 14), QPointF(31, 14), QPointF(28, 27)});
    p.drawPolygon(front);
}

void drawDisk(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 90), 1.5));
    p.setBrush(QColor(50, 90, 170));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(8, 18, 16, 10));
    p.setBrush(QColor(20, 40, 90));
    p.drawRect(QRectF(18, 6, 3, 5));
}

void drawRadio(QPainter& p, const QRectF& body) {
    p.setPen(QPen(QColor(30, 30, 30), 1.2));
    p.setBrush(QColor(30, 30, 30));
    p.drawRect(QRectF(body.left() + body.width() * 0.15, body.top() - body.height() * 0.45,
                      body.width() * 0.14, body.height() * 0.47));
    p.setBrush(QColor(60, 64, 70));
    p.drawRoundedRect(body, body.width() * 0.15, body.width() * 0.15);
    p.setBrush(QColor(150, 210, 120));
    p.drawRect(QRectF(body.left() + body.width() * 0.15, body.top() + body.height() * 0.12,
                      body.width() * 0.7, body.height() * 0.22));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(140, 140, 150));
    const qreal step = body.width() * 0.2;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawEllipse(QPointF(body.left() + body.width() * 0.3 + c * step,
                                  body.top() + body.height() * (0.52 + r * 0.14)),
                          body.width() * 0.06, body.width() * 0.06);
}

void drawArrow(QPainter& p, bool down, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPolygonF arrow;
    if (down)
        arrow << QPointF(20, 3) << QPointF(27, 3) << QPointF(27, 13) << QPointF(31, 13)
              << QPointF(23.5, 22) << QPointF(16, 13) << QPointF(20, 13);
    else
        arrow << QPointF(20, 22) << QPointF(27, 22) << QPointF(27, 12) << QPointF(31, 12)
              << QPointF(23.5, 3) << QPointF(16, 12) << QPointF(20, 12);
    p.drawPolygon(arrow);
}

void drawPlug(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(90, 110, 140));
    QPolygonF shell({QPointF(4, 10), QPointF(28, 10), QPointF(24, 22), QPointF(8, 22)});
    p.drawPolygon(shell);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 235));
    for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(8.5 + i * 3.75, 14), 1.3, 1.3);
    for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(10.5 + i * 3.75, 18), 1.3, 1.3);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.drawLine(QPointF(16, 22), QPointF(16, 30));
}

void drawQuestion(QPainter& p) {
    p.setPen(QPen(QColor(20, 90, 40), 1.5));
    p.setBrush(QColor(60, 170, 90));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    // The question mark as strokes: drawing it as text would load the fonts before
    // the window needs them.
    const QRectF hook(11.5, 8, 9, 9);
    QPainterPath mark;
    mark.arcMoveTo(hook, 160);
    mark.arcTo(hook, 160, -250);
    mark.lineTo(16, 19.5);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 24), 1.8, 1.8);
}

}  // namespace

QIcon toolbarIcon(ToolIcon which) {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
        case ToolIcon::New:
            drawPage(p);
            p.setPen(QPen(QColor(230, 160, 0), 2));
            p.drawLine(QPointF(12, 16), QPointF(21, 16));
            p.drawLine(QPointF(16.5, 11.5), QPointF(16.5, 20.5));
            break;
        case ToolIcon::Open:
            drawFolder(p);
            break;
        case ToolIcon::Save:
            drawDisk(p);
            break;
        case ToolIcon::Read:
            drawRadio(p, QRectF(3, 10, 13, 20));
            drawArrow(p, true, QColor(30, 120, 210));
            break;
        case ToolIcon::Write:
            drawRadio(p, QRectF(3, 10, 13, 20));
            drawArrow(p, false, QColor(210, 70, 40));
            break;
        case ToolIcon::Com:
            drawPlug(p);
            break;
        case ToolIcon::Help:
            drawQuestion(p);
            break;
    }
    p.end();
    return QIcon(pm);
}

void drawApplicationIcon(QPainter& p, qreal size) {
    drawRadio(p, QRectF(size * 0.28, size * 0.3, size * 0.44, size * 0.66));
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        drawApplicationIcon(p, size);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QPixmap welcomePicture(int width, int height) {
    QPixmap pm(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(20, 50, 110));
    sky.setColorAt(1, QColor(60, 130, 200));
    p.fillRect(pm.rect(), sky);

    // Radio waves.
    p.setPen(QPen(QColor(255, 255, 255, 90), 3));
    const QPointF antenna(width * 0.25, height * 0.22);
    for (int i = 1; i <= 4; ++i) {
        const qreal r = i * height * 0.09;
        p.drawArc(QRectF(antenna.x() - r, antenna.y() - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
    }
    drawRadio(p, QRectF(width * 0.17, height * 0.38, width * 0.16, height * 0.5));

    QFont title = p.font();
    title.setPixelSize(height / 6);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(width * 0.42, height * 0.25, width * 0.55, height * 0.25),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("BALDO-7"));
    QFont sub = p.font();
    sub.setPixelSize(height / 16);
    sub.setBold(false);
    p.setFont(sub);
    p.setPen(QColor(220, 235, 255));
    p.drawText(QRectF(width * 0.42, height * 0.5, width * 0.55, height * 0.3),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Programming software\n编程软件"));
    p.end();
    return pm;
}

}  // namespace baldo7
