// The About box shows the version the programs print, commit included.
#include <QApplication>
#include <QLabel>
#include <QtTest>

#include "baldo7_version.h"
#include "shell/frm_about.h"

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void versionLine_data() {
        QTest::addColumn<QString>("applicationVersion");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("expected");
        QTest::newRow("built, English")
            << BALDO7_VERSION_TEXT << true << "Version " BALDO7_VERSION_TEXT;
        QTest::newRow("built, Chinese")
            << BALDO7_VERSION_TEXT << false << "版本 " BALDO7_VERSION_TEXT;
        QTest::newRow("from git") << "1.2.3 (commit 0123456789)" << true
                                  << "Version 1.2.3 (commit 0123456789)";
        QTest::newRow("two numbers") << "2.5" << true << "Version 2.5.0";
        QTest::newRow("no version") << "" << true << "Version 0.1.0";
    }
    void versionLine() {
        QFETCH(QString, applicationVersion);
        QFETCH(bool, english);
        QFETCH(QString, expected);
        QCoreApplication::setApplicationVersion(applicationVersion);
        baldo7::frmAbout about(english);
        QCOMPARE(about.lblVersion->text(), expected);
    }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
