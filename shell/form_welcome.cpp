#include "shell/form_welcome.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "shell/shell_pictures.h"
#include "ui/ui_support.h"

namespace baldo7 {

FormWelcome::FormWelcome(std::function<void()> loadMain, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      loadMain_(std::move(loadMain)) {
    setObjectName(QStringLiteral("FormWelcome"));
    setWindowTitle(QStringLiteral("DEK"));
    auto* picture = new QLabel;
    picture->setPixmap(welcomePicture(twips(7200), twips(4200)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    setFixedSize(sizeHint());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer1.setSingleShot(true);
    Timer1.setInterval(2000);
    connect(&Timer1, &QTimer::timeout, this, &FormWelcome::Timer1_Timer);
    Timer1.start();
}

void FormWelcome::Timer1_Timer() {
    // The main window first, so the program never stands without a window.
    if (loadMain_) loadMain_();
    close();
}

}  // namespace baldo7
