#include "shell/help_window.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>

#include "ui/ui_support.h"

namespace baldo7 {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto button = [this](QStyle::StandardPixmap icon) {
        auto* b = new QToolButton;
        b->setIcon(style()->standardIcon(icon));
        b->setAutoRaise(true);
        return b;
    };
    back_ = button(QStyle::SP_ArrowBack);
    forward_ = button(QStyle::SP_ArrowForward);
    home_ = button(QStyle::SP_DirHomeIcon);
    home_->setObjectName(QStringLiteral("CommandHome"));
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, this,
            [this] { showTopic(QStringLiteral("general.htm"), QString()); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(home_);
    bar->addStretch();
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(0, 0, 0, 0);
    all->setSpacing(0);
    all->addLayout(bar);
    all->addWidget(browser_, 1);
    resize(twips(10500), twips(9000));
}

void HelpWindow::setHelpFolder(const QString& folder, const QString& title) {
    folder_ = folder;
    browser_->setSearchPaths({folder});
    setWindowTitle(title);
}

void HelpWindow::showTopic(const QString& topic, const QString& missingText) {
    // "page.htm#part" opens the page at that part.
    const QString path = QDir(folder_).filePath(topic.section(QLatin1Char('#'), 0, 0));
    if (QFileInfo(path).isFile()) {
        QUrl url = QUrl::fromLocalFile(path);
        if (topic.contains(QLatin1Char('#')))
            url.setFragment(topic.section(QLatin1Char('#'), 1), QUrl::DecodedMode);
        browser_->setSource(url);
    } else if (!missingText.isEmpty()) {
        browser_->setHtml(QStringLiteral("<p>") + missingText.toHtmlEscaped() +
                          QStringLiteral("</p>"));
    }
    show();
    raise();
    activateWindow();
}

}  // namespace baldo7
