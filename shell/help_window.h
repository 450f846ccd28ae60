// The help viewer: the HTML pages of help/<en|zh>/HTML in a browser window with
// back, forward and contents.
#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace baldo7 {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void setHelpFolder(const QString& folder, const QString& title);
    // Shows `topic` ("chinfo.htm", "Scan/Scan.htm", "dealer.htm#log" at its part);
    // `missingText` when it is not there.
    void showTopic(const QString& topic, const QString& missingText);

    QTextBrowser* browser() const { return browser_; }
    QString folder() const { return folder_; }

private:
    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* home_;
    QString folder_;
};

}  // namespace baldo7
