// The scan information window driven as a user does, asserting the image bytes.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "core/document.h"
#include "functions/form_option.h"
#include "functions/form_scan_information.h"
#include "tests/support/combo_pick.h"
#include "tests/support/fake_editor_host.h"

using namespace baldo7;

class ScanInformationFormTest : public QObject {
    Q_OBJECT
    Document doc;
    std::unique_ptr<FakeEditorHost> host;

private slots:
    void init() {
        doc = Document{};
        doc.IsEnglish = true;
        doc.radioImage.fill(0xFF);
        doc.radioImage[382] = 0x25;  // channels 1, 3, 6 and 16 in the scan list
        doc.radioImage[383] = 0x80;
        host = std::make_unique<FakeEditorHost>();
    }

    void opensWithoutWritingInRangeBytes() {
        doc.radioImage[288] = 1;
        doc.radioImage[290] = 25;
        doc.radioImage[291] = 27;
        doc.radioImage[292] = 3;
        doc.radioImage[293] = 9;
        doc.radioImage[294] = 50;
        doc.radioImage[312] = 6;
        const RadioImage before = doc.radioImage;
        FormScanInformation form(doc, *host);
        QCOMPARE(doc.radioImage, before);
        QCOMPARE(form.windowTitle(), QStringLiteral("Scan Information"));
        QCOMPARE(form.ComboPriority->currentText(), QStringLiteral("Fixd"));
        QCOMPARE(form.ComboScanBackTime[0]->currentText(), QStringLiteral("2.5"));
        QCOMPARE(form.ComboScanBackTime[1]->currentText(), QStringLiteral("1.0"));
        QCOMPARE(form.ComboRevertChannel->currentText(), QStringLiteral("Priority+Talk Back"));
        QCOMPARE(form.ComboScanDelay[0]->currentText(), QStringLiteral("1.0"));
        QCOMPARE(form.ComboScanDelay[1]->currentText(), QStringLiteral("5.0"));
        QCOMPARE(entries(form.ComboPriorityChannel[0]), QStringList({"1", "3", "6", "16"}));
        QCOMPARE(form.ComboPriorityChannel[0]->currentText(), QStringLiteral("6"));
        QCOMPARE(form.ComboPriorityChannel[1]->count(), 0);
        QCOMPARE(form.LabelPriorityChannel[7]->text(), QStringLiteral("Priority Channel 8"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Scan Information"));
        QVERIFY(host->appState.FormScanInformationOpen);
    }

    void priorityModeDrivesTheListsAndTheRevertEntries() {
        doc.radioImage[288] = 0;
        doc.radioImage[292] = 3;
        FormScanInformation form(doc, *host);
        QCOMPARE(entries(form.ComboRevertChannel), QStringList({"Selected", "Selected+Talk Back"}));
        // The stored "Priority+Talk Back" has no entry here: no selection, the byte stays.
        QCOMPARE(form.ComboRevertChannel->currentIndex(), -1);
        QCOMPARE(doc.radioImage[292], std::uint8_t(3));

        struct Step {
            int mode;
            int entries;
            bool lookBack, channels;
        } steps[] = {
            {1, 4, true, true}, {2, 4, true, false}, {0, 2, false, false}, {1, 4, true, true}};
        for (const Step& s : steps) {
            pick(form.ComboPriority, s.mode);
            QCOMPARE(doc.radioImage[288], std::uint8_t(s.mode));
            QCOMPARE(form.ComboRevertChannel->count(), s.entries);
            QCOMPARE(entries(form.ComboRevertChannel).removeDuplicates(), 0);
            QCOMPARE(form.ComboScanBackTime[1]->isEnabled(), s.lookBack);
            QCOMPARE(form.ComboPriorityChannel[0]->isEnabled(), s.channels);
            QCOMPARE(form.ComboPriorityChannel[7]->isEnabled(), s.channels);
            QVERIFY(form.ComboScanDelay[0]->isEnabled());
            // What is shown is what is stored, whatever the list held before.
            QCOMPARE(form.ComboRevertChannel->currentIndex(), s.entries == 4 ? 3 : -1);
        }
        QCOMPARE(entries(form.ComboRevertChannel),
                 QStringList({"Selected", "Selected+Talk Back", "Priority", "Priority+Talk Back"}));

        // "Priority" chosen, then the mode goes to None: no selection, the byte stays.
        pick(form.ComboRevertChannel, 2);
        QCOMPARE(doc.radioImage[292], std::uint8_t(2));
        pick(form.ComboPriority, 0);
        QCOMPARE(form.ComboRevertChannel->currentIndex(), -1);
        QCOMPARE(doc.radioImage[292], std::uint8_t(2));
        form.AnalyseScanInformation();
        QCOMPARE(form.ComboRevertChannel->currentIndex(), -1);
        QCOMPARE(doc.radioImage[292], std::uint8_t(2));
        pick(form.ComboPriority, 1);
        QCOMPARE(form.ComboRevertChannel->currentText(), QStringLiteral("Priority"));
    }

    void timesWriteTenths() {
        doc.DecimalSeparator = ',';
        FormScanInformation form(doc, *host);
        QCOMPARE(form.ComboScanBackTime[0]->itemText(3), QStringLiteral("2,5"));
        pick(form.ComboScanBackTime[0], 3);
        pick(form.ComboScanBackTime[1], 8);
        pick(form.ComboScanDelay[0], 0);
        pick(form.ComboScanDelay[1], 1);
        QCOMPARE(doc.radioImage[290], std::uint8_t(25));
        QCOMPARE(doc.radioImage[291], std::uint8_t(50));
        QCOMPARE(doc.radioImage[293], std::uint8_t(10));
        QCOMPARE(doc.radioImage[294], std::uint8_t(15));
    }

    // Opening changes no byte: a slot naming a channel its list does not offer shows
    // no selection, and the box never shows a channel that is not stored.
    void prioritySlotsShowWhatIsStoredAndAreWritten() {
        doc.radioImage[288] = 1;
        doc.radioImage[312] = 2;
        doc.startHistory();
        const RadioImage before = doc.radioImage;
        FormScanInformation form(doc, *host);
        QCOMPARE(form.ComboPriorityChannel[0]->currentIndex(), -1);
        QCOMPARE(doc.radioImage, before);
        QVERIFY(!doc.isModified());
        pick(form.ComboPriorityChannel[0], 3);
        QCOMPARE(doc.radioImage[312], std::uint8_t(16));

        // Channel 16 leaves the scan list behind the window's back (no announcement):
        // its pick is refused, and the box goes back to what is stored.
        pick(form.ComboPriorityChannel[0], 2);
        QCOMPARE(doc.radioImage[312], std::uint8_t(6));
        doc.radioImage[383] = 0x00;
        pick(form.ComboPriorityChannel[0], 3);
        QCOMPARE(doc.radioImage[312], std::uint8_t(6));
        QCOMPARE(form.ComboPriorityChannel[0]->currentText(), QStringLiteral("6"));
        QCOMPARE(entries(form.ComboPriorityChannel[0]), QStringList({"1", "3", "6"}));
        // An announced change (another window, an undo) redraws the list at once.
        {
            DocumentEdit edit(doc);
            doc.radioImage[382] = 0x01;
        }
        QCOMPARE(entries(form.ComboPriorityChannel[0]), QStringList({"1"}));
        QCOMPARE(form.ComboPriorityChannel[0]->currentIndex(), -1);
    }

    // Bytes 312 and 313 are also the infrared model number, which Function Setup repairs
    // on opening (312 above 9 becomes 1): priority channel 1 = 16 comes back as 1.
    void functionSetupRepairsASharedSlot() {
        doc.radioImage[288] = 1;
        doc.radioImage[312] = 1;
        doc.radioImage[313] = 0x11;
        {
            FormScanInformation scan(doc, *host);
            QVERIFY(!scan.ComboPriorityChannel[0]->toolTip().isEmpty());
            pick(scan.ComboPriorityChannel[0], 3);
            QCOMPARE(doc.radioImage[312], std::uint8_t(16));
        }
        { FormOption option(doc, *host); }
        QCOMPARE(doc.radioImage[312], std::uint8_t(1));
        FormScanInformation scan(doc, *host);
        QCOMPARE(scan.ComboPriorityChannel[0]->currentText(), QStringLiteral("1"));
        QCOMPARE(doc.radioImage[312], std::uint8_t(1));
        QCOMPARE(doc.radioImage[313], std::uint8_t(0x11));
    }

    void closeAndHelp() {
        auto* form = new FormScanInformation(doc, *host);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
        QTest::mouseClick(form->CommandHelp, Qt::LeftButton);
        QCOMPARE(host->helpTopics, QStringList{"Scan/Scan.htm"});
        QPointer<FormScanInformation> alive(form);
        QTest::mouseClick(form->CommandClose, Qt::LeftButton);
        QTRY_VERIFY(!alive);
        QVERIFY(!host->appState.FormScanInformationOpen);
    }

    void chineseTexts() {
        doc.IsEnglish = false;
        doc.radioImage[288] = 2;
        FormScanInformation form(doc, *host);
        QCOMPARE(form.windowTitle(), QStringLiteral("扫描信息"));
        QCOMPARE(form.ComboPriority->currentText(), QStringLiteral("选定"));
        QCOMPARE(form.LabelPriorityChannel[0]->text(), QStringLiteral("优先信道1"));
        QCOMPARE(form.ComboRevertChannel->itemText(3), QStringLiteral("优先+当前通话"));
    }
};

QTEST_MAIN(ScanInformationFormTest)
#include "scan_information_form_test.moc"
