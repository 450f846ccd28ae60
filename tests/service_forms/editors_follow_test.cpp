// Editors open side by side on one document: a change made in one is shown by the
// other at once, and so is its undo; re-encoding the other never puts old bytes back.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "channels/channel_record.h"
#include "channels/form_batch_channel_edit.h"
#include "channels/form_channel_information.h"
#include "core/document.h"
#include "functions/form_embed_message.h"
#include "functions/form_scan_information.h"
#include "service/form_tune.h"
#include "tests/support/combo_pick.h"
#include "tests/support/fake_editor_host.h"

using namespace baldo7;

namespace {
void clickCell(QTableWidget* grid, int row, int column) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(row, column)).center());
}
}  // namespace

class EditorsFollowTest : public QObject {
    Q_OBJECT
    Document doc;
    std::unique_ptr<FakeEditorHost> host;
    std::vector<MemoryChange> steps;

    // The main window's undo: the last step's bytes put back.
    void undo() {
        QVERIFY(!steps.empty());
        doc.applyChange(steps.back(), true);
        steps.pop_back();
    }
    template <typename W>
    std::unique_ptr<W> show(std::unique_ptr<W> w) {
        w->show();
        return w;
    }

private slots:
    void init() {
        doc = Document{};
        doc.IsEnglish = true;
        doc.radioImage.fill(0xFF);
        doc.BandLowMHz = 136;
        doc.BandHighMHz = doc.BandTxHighMHz = 174;
        doc.startHistory();
        steps.clear();
        doc.onChangeRecorded = [this](MemoryChange c) { steps.push_back(std::move(c)); };
        host = std::make_unique<FakeEditorHost>();
    }

    // 0x330 is TX High of point 1 and character 17 of message line 2.
    void tuneDataAndEmbeddedMessage() {
        auto tune = show(std::make_unique<FormTune>(doc, *host, nullptr));
        auto message = show(std::make_unique<FormEmbedMessage>(doc, *host));
        QVERIFY(QTest::qWaitForWindowExposed(tune.get()));
        QTableWidget* grid = tune->MSHFlexGridTuneData;
        QLineEdit* line2 = message->TextEmbedMessage[1];

        line2->setFocus();
        QTest::keyClicks(line2, QString(17, QLatin1Char('a')));
        QTest::keyClick(line2, Qt::Key_Return);  // blank tune data: no question
        QCOMPARE(grid->item(2, 1)->text(), QString::number('a'));

        clickCell(grid, 2, 1);
        QTest::keyClick(tune->Text1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(tune->Text1, "66");  // 'B'
        QTest::keyClick(tune->Text1, Qt::Key_Return);
        QCOMPARE(doc.radioImage[0x330], std::uint8_t(66));
        QCOMPARE(line2->text(), QString(16, QLatin1Char('a')) + "B");

        // The message window, re-encoding its (redrawn) line, keeps the tune value.
        message->commitChangedLines();
        QCOMPARE(doc.radioImage[0x330], std::uint8_t(66));

        undo();
        QCOMPARE(line2->text(), QString(17, QLatin1Char('a')));
        QCOMPARE(grid->item(2, 1)->text(), QString::number('a'));
        undo();
        QCOMPARE(line2->text(), QString());
        QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("255"));
        // Write TuneData would send what the grid shows: the bytes.
        QCOMPARE(doc.radioImage[0x330], std::uint8_t(0xFF));
    }

    // The grid's scan column is the scan list the priority slots offer.
    void scanInformationAndGrid() {
        doc.radioImage[382] = doc.radioImage[383] = 0;
        for (int ch : {1, 3}) {
            SetRxFrequency(doc.radioImage, ch, UnitsToBytes(14600000));
            SetScanAddBit(doc.radioImage, ch, true);
        }
        doc.radioImage[288] = 1;
        doc.radioImage[312] = 3;
        doc.startHistory();
        auto grid = show(std::make_unique<FormChannelInformation>(doc, *host));
        auto scan = show(std::make_unique<FormScanInformation>(doc, *host));
        grid->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(grid.get()));
        QComboBox* slot1 = scan->ComboPriorityChannel[0];
        QCOMPARE(entries(slot1), QStringList({"1", "3"}));

        // Channel 3 leaves the scan list in the grid.
        QTableWidget* table = grid->MSHFlexGridChannel;
        clickCell(table, 2, FormChannelInformation::kColScan);
        QComboBox* scanCell = grid->Combo1[3];
        QTRY_VERIFY(scanCell->isVisible());
        scanCell->setCurrentIndex(1);  // "Delete"
        QTest::keyClick(scanCell, Qt::Key_Return);
        QVERIFY(!GetScanAddBit(doc.radioImage, 3));
        QCOMPARE(entries(slot1), QStringList({"1"}));
        QCOMPARE(slot1->currentIndex(), -1);  // 312 still says 3, which is not offered
        QCOMPARE(doc.radioImage[312], std::uint8_t(3));

        undo();
        QCOMPARE(entries(slot1), QStringList({"1", "3"}));
        QCOMPARE(slot1->currentText(), QStringLiteral("3"));
        QCOMPARE(grid->cellText(3, FormChannelInformation::kColScan), QStringLiteral("Add"));
    }

    // Batch edit adds channels 1-4 to the scan list; the slot offers them.
    void scanInformationAndBatchEdit() {
        doc.radioImage[288] = 1;
        doc.radioImage[312] = 1;
        doc.radioImage[382] = doc.radioImage[383] = 0;
        doc.startHistory();
        auto scan = show(std::make_unique<FormScanInformation>(doc, *host));
        QComboBox* slot1 = scan->ComboPriorityChannel[0];
        QCOMPARE(slot1->count(), 0);
        auto batch = show(std::make_unique<FormBatchChannelEdit>(doc, *host));
        QVERIFY(QTest::qWaitForWindowExposed(batch.get()));
        QTest::mouseClick(batch->OptionArea[1], Qt::LeftButton, {}, QPoint(8, 8));
        batch->TextEndChannel->setFocus();
        batch->TextEndChannel->selectAll();
        QTest::keyClicks(batch->TextEndChannel, "4");
        QTest::keyClick(batch->TextEndChannel, Qt::Key_Return);
        batch->CheckScanAdd->setChecked(true);
        QTest::mouseClick(batch->CommandApply, Qt::LeftButton);
        QCOMPARE(entries(slot1), QStringList({"1", "2", "3", "4"}));

        pick(slot1, 2);
        QCOMPARE(doc.radioImage[312], std::uint8_t(3));
        undo();
        QCOMPARE(slot1->currentText(), QStringLiteral("1"));  // 312 back to 1, offered
        undo();
        QCOMPARE(slot1->count(), 0);
    }
};

QTEST_MAIN(EditorsFollowTest)
#include "editors_follow_test.moc"
