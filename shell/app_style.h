#pragma once
// The program's widget style: the platform's own, with its standard icons made
// when they are first drawn.

#include <QProxyStyle>

namespace baldo7 {

// The platform style builds each standard icon (the menu bar's and toolbar's
// overflow arrows, the MDI window menu's entries) from an image file as soon as it
// is asked for, and the first such file makes Qt load every image format plugin on
// the system to find out which one reads it. Most of these icons are never shown.
// This style hands out icons that ask the platform style for the real icon when
// they are first painted or measured, so the icons look as they always do.
class AppStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace baldo7
