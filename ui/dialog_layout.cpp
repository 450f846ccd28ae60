#include "ui/dialog_layout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <QStyle>
#include <algorithm>

namespace baldo7 {

QPushButton* makeButton(const QString& text, const char* objectName, bool isDefault) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setDefault(isDefault);
    return button;
}

QLayout* labelledRow(QWidget* label, QWidget* field) {
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(field, 1);
    return row;
}

void layOutDialog(QDialog* dialog, QLayout* body, std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons) row->addWidget(b);
    auto* all = new QVBoxLayout(dialog);
    all->addLayout(body);
    all->addSpacing(8);
    all->addLayout(row);
}

QRect PlaceWindow(QSize wanted, QPoint center, const QRect& available, const QMargins& frame) {
    const QRect room = available.marginsRemoved(frame);
    const QSize size = wanted.boundedTo(room.size());
    QRect r(QPoint(), size);
    r.moveCenter(center);
    r.moveLeft(std::clamp(r.left(), room.left(), room.right() + 1 - size.width()));
    r.moveTop(std::clamp(r.top(), room.top(), room.bottom() + 1 - size.height()));
    return r;
}

QRect PlaceBeside(QSize wanted, const QRect& beside, const QRect& available, const QMargins& frame,
                  int minimumWidth) {
    const int frameWidth = frame.left() + frame.right();
    QRect right(QPoint(beside.right() + 1, available.top()), available.bottomRight());
    QRect left(available.topLeft(), QPoint(beside.left() - 1, available.bottom()));
    const bool onRight =
        right.width() >= wanted.width() + frameWidth || right.width() >= left.width();
    QRect room = onRight ? right : left;
    const int least = std::min(minimumWidth + frameWidth, available.width());
    if (room.width() < least) {
        if (onRight)
            room.setLeft(available.right() + 1 - least);
        else
            room.setRight(available.left() + least - 1);
    }
    return PlaceWindow(wanted, QPoint(room.center().x(), beside.center().y()), room, frame);
}

bool RestoreFittedGeometry(QWidget* window, const QByteArray& saved) {
    if (!window->restoreGeometry(saved)) return false;
    FitToScreen(window);
    return true;
}

void FitToScreen(QWidget* window) {
    if (window->isMaximized() || window->isFullScreen()) return;
    const QRect frame = window->frameGeometry(), client = window->geometry();
    QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                     frame.right() - client.right(), frame.bottom() - client.bottom());
    if (margins.isNull()) {
        const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        margins = QMargins(border, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + border,
                           border, border);
    }
    window->setGeometry(PlaceWindow(client.size(), client.center(),
                                    window->screen()->availableGeometry(), margins));
}

}  // namespace baldo7
