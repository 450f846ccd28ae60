#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QtTest>

#include "core/document.h"
#include "functions/form_key_setting.h"
#include "functions/form_option.h"
#include "tests/support/click_check.h"
#include "tests/support/combo_pick.h"
#include "tests/support/fake_editor_host.h"

using namespace baldo7;

class FunctionsFormsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        doc = Document{};
        doc.IsEnglish = true;
        doc.radioImage.fill(0xFF);
        host = std::make_unique<FakeEditorHost>();
    }

    void openingRepairsTheBlankImage() {
        doc.radioImage[310] = 0xC7;
        RadioImage expected = doc.radioImage;
        expected[304] = 12;
        expected[305] = 0;
        expected[308] = 3;
        expected[309] = 0x35;
        expected[311] = 0x00;
        expected[312] = 0x01;
        expected[313] = 0x11;
        FormOption form(doc, *host);
        QCOMPARE(doc.radioImage, expected);
        QCOMPARE(form.ComboTOT->currentText(), QStringLiteral("180"));
        QCOMPARE(form.ComboTOTWarning->currentText(), QStringLiteral("Off"));
        QCOMPARE(form.ComboSQ->currentText(), QStringLiteral("3"));
        QCOMPARE(form.ComboVoice->currentText(), QStringLiteral("Chinese"));
        for (QCheckBox* box : {form.CheckSave, form.CheckBeep, form.CheckScramble, form.CheckRoger,
                               form.CheckFreqHopping})
            QVERIFY(box->isChecked());
        QCOMPARE(form.TextInfModel->text(), QStringLiteral("111"));
        QVERIFY(host->appState.FormOptionOpen);
        QCOMPARE(form.windowTitle(), QStringLiteral("Function Setup"));

        // A second decode, as after a radio read, takes up the new image.
        doc.radioImage[304] = 40;
        doc.radioImage[303] = 0x04;
        doc.radioImage[312] = 0x02;
        doc.radioImage[313] = 0x34;
        form.AnalyseOption();
        QCOMPARE(form.ComboTOT->currentText(), QStringLiteral("600"));
        QCOMPARE(form.ComboVoice->currentText(), QStringLiteral("Off"));
        QVERIFY(!form.CheckSave->isChecked());
        QCOMPARE(form.TextInfModel->text(), QStringLiteral("234"));
        QCOMPARE(doc.radioImage[303], 0x04);
        QCOMPARE(doc.radioImage[304], 40);
    }

    void picksWriteTheirBytes() {
        doc.radioImage[303] = 0x04;
        FormOption form(doc, *host);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Keyboard steps write at once.
        form.ComboTOT->setFocus();
        QTest::keyClick(form.ComboTOT, Qt::Key_Down);
        QCOMPARE(doc.radioImage[304], 13);
        pick(form.ComboTOTWarning, 10);
        QCOMPARE(doc.radioImage[305], 10);
        pick(form.ComboSQ, 0);
        QCOMPARE(doc.radioImage[308], 0);
        // 0x04 shows Off and stays until Off is picked again.
        QCOMPARE(form.ComboVoice->currentIndex(), 0);
        QCOMPARE(doc.radioImage[303], 0x04);
        pick(form.ComboVoice, 0);
        QCOMPARE(doc.radioImage[303], 0x00);
        doc.radioImage[303] = 0xFF;
        pick(form.ComboVoice, 2);
        QCOMPARE(doc.radioImage[303], 0xFB);
        pick(form.ComboVoice, 1);
        QCOMPARE(doc.radioImage[303], 0xFF);
    }

    void checkBoxesKeepTheOtherBits() {
        doc.radioImage[303] = 0x5A;
        FormOption form(doc, *host);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const std::pair<QCheckBox*, int> boxes[] = {{form.CheckSave, 0x01},
                                                    {form.CheckBeep, 0x02},
                                                    {form.CheckScramble, 0x20},
                                                    {form.CheckRoger, 0x40},
                                                    {form.CheckFreqHopping, 0x80}};
        for (auto [box, bit] : boxes) {
            const int before = doc.radioImage[303];
            QCOMPARE(box->isChecked(), (before & bit) != 0);
            clickCheck(box);
            QCOMPARE(int(doc.radioImage[303]), before ^ bit);
            QTest::keyClick(box, Qt::Key_Space);
            QCOMPARE(int(doc.radioImage[303]), before);
        }
    }

    void keyNibbles() {
        doc.radioImage[306] = 0xFF;
        FormKeySetting form(doc, *host);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.ComboKeySet[0]->currentText(), QStringLiteral("None"));
        QCOMPARE(form.ComboKeySet[1]->currentText(), QStringLiteral("None"));
        QCOMPARE(doc.radioImage[306], 0xFF);
        QVERIFY(!form.ComboKeySet[2]->isVisible() && !form.ComboKeySet[3]->isVisible());
        pick(form.ComboKeySet[0], 2);
        QCOMPARE(doc.radioImage[306], 0xF2);
        pick(form.ComboKeySet[1], 4);
        QCOMPARE(doc.radioImage[306], 0x42);
        // A decode after a read writes nothing.
        doc.radioImage[306] = 0x9A;
        form.AnalyseKeySetting();
        QCOMPARE(doc.radioImage[306], 0x9A);
        QCOMPARE(form.ComboKeySet[0]->currentIndex(), 0);
    }

    // In the main window's MDI area: activation checks the entry, a state change is
    // remembered, the buttons close the sub-window and call help.
    void lifecycleInMdiArea_data() {
        QTest::addColumn<bool>("keySetting");
        QTest::newRow("option") << false;
        QTest::newRow("keys") << true;
    }
    void lifecycleInMdiArea() {
        QFETCH(bool, keySetting);
        bool& open = keySetting ? host->appState.FormKeySettingOpen : host->appState.FormOptionOpen;
        QMdiArea area;
        area.resize(900, 600);
        area.show();
        QWidget* form = keySetting ? static_cast<QWidget*>(new FormKeySetting(doc, *host))
                                   : new FormOption(doc, *host);
        QMdiSubWindow* sub = area.addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<QMdiSubWindow> guard(sub);
        sub->show();
        area.setActiveSubWindow(sub);
        QTRY_COMPARE(area.activeSubWindow(), sub);
        sub->showMaximized();
        QTRY_COMPARE(host->appState.ChildWindowState, 2);
        sub->showNormal();
        QTRY_COMPARE(host->appState.ChildWindowState, 0);

        QTest::mouseClick(form->findChild<QPushButton*>("CommandHelp"), Qt::LeftButton);
        QCOMPARE(host->helpTopics, QStringList{keySetting ? "keyassign.htm" : "optfeatures.htm"});
        QVERIFY(open);
        QTest::mouseClick(form->findChild<QPushButton*>("CommandClose"), Qt::LeftButton);
        QVERIFY(!open);
        QTRY_VERIFY(guard.isNull());
    }

private:
    Document doc;
    std::unique_ptr<FakeEditorHost> host;
};

QTEST_MAIN(FunctionsFormsTest)
#include "functions_forms_test.moc"
