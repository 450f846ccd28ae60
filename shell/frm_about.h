// frmAbout: title, version, what the program is for and a legal warning.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace baldo7 {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(bool isEnglish, QWidget* parent = nullptr);

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
};

}  // namespace baldo7
