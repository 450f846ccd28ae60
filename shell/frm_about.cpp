#include "shell/frm_about.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVersionNumber>

#include "shell/shell_pictures.h"
#include "shell/shell_texts.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

frmAbout::frmAbout(bool en, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    const QString title = appTitle();
    setWindowTitle(uiText(shelltexts::kAboutWindow, en) + title);

    // The program's version text: three numbers, then the commit it was built from.
    const QString versionText = QCoreApplication::applicationVersion();
    qsizetype suffixAt = 0;
    QVersionNumber version = QVersionNumber::fromString(versionText, &suffixAt);
    if (version.isNull()) {
        version = QVersionNumber(0, 1, 0);
        suffixAt = versionText.size();
    }
    auto* picture = new QLabel;
    picture->setPixmap(
        welcomePicture(twips(2400), twips(1800)).copy(0, 0, twips(900), twips(1800)));
    lblTitle = new QLabel(title);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(uiText(shelltexts::kAboutVersion, en) +
                            QStringLiteral("%1.%2.%3")
                                .arg(version.majorVersion())
                                .arg(version.minorVersion())
                                .arg(version.microVersion()) +
                            versionText.mid(suffixAt));
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel(title + uiText(shelltexts::kAboutDescription, en));
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDisclaimer = new QLabel(uiText(shelltexts::kAboutDisclaimer, en));
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    cmdOK = makeButton(uiText(shelltexts::kAboutOk, en), "cmdOK", true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(6);
    text->addWidget(lblDescription);
    text->addStretch();
    text->addWidget(lblDisclaimer);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    layOutDialog(this, top, {cmdOK});
    setMinimumWidth(twips(6000));
}

}  // namespace baldo7
