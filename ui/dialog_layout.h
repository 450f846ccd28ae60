// The layout the small shell dialogs share: their controls above, the buttons on
// the right below.
#pragma once

#include <initializer_list>

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QByteArray;
class QDialog;
class QLayout;
class QPushButton;
class QString;
class QWidget;

namespace baldo7 {

// A button under its control name; the default one answers Enter.
QPushButton* makeButton(const QString& text, const char* objectName, bool isDefault = false);

// A label and the field it names on one row; the field takes the spare width.
QLayout* labelledRow(QWidget* label, QWidget* field);

// `body` above, `buttons` right-aligned below it.
void layOutDialog(QDialog* dialog, QLayout* body, std::initializer_list<QPushButton*> buttons);

// Where a top-level window whose client area wants `wanted` goes: centred on
// `center`, then shrunk and moved so that it and its frame lie wholly inside
// `available`. Returns the client geometry.
QRect PlaceWindow(QSize wanted, QPoint center, const QRect& available, const QMargins& frame);
// The same, beside the window whose frame is `beside` and not over it: on its right
// when the window fits there (or that side is the wider), else on its left. When
// neither side leaves `minimumWidth`, the window overlaps as little as it can.
QRect PlaceBeside(QSize wanted, const QRect& beside, const QRect& available, const QMargins& frame,
                  int minimumWidth);

// restoreGeometry, then the window fitted to its screen's free area: a geometry saved
// at another scale factor or on a bigger screen would otherwise come back larger than
// the screen. A window not shown yet has no frame; a title bar's worth is kept free.
bool RestoreFittedGeometry(QWidget* window, const QByteArray& saved);
// The fitting alone: a window's first size, too, may not fit a small or scaled screen.
void FitToScreen(QWidget* window);

}  // namespace baldo7
