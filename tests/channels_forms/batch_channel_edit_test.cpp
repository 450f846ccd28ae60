// The batch channel edit window driven as a user does, asserting the image bytes.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>
#include <memory>
#include <set>

#include "channels/channel_record.h"
#include "channels/form_batch_channel_edit.h"
#include "core/document.h"
#include "tests/support/fake_editor_host.h"

using namespace baldo7;

class BatchChannelEditTest : public QObject {
    Q_OBJECT
    Document doc;
    std::unique_ptr<FakeEditorHost> host;
    std::unique_ptr<FormBatchChannelEdit> form;

    void open() {
        form = std::make_unique<FormBatchChannelEdit>(doc, *host);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    // Types into a box as a user does and leaves it with Enter.
    void type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void range(const QString& from, const QString& to) {
        QTest::mouseClick(form->OptionArea[1], Qt::LeftButton, {}, QPoint(8, 8));
        type(form->TextStartChannel, from);
        type(form->TextEndChannel, to);
    }
    void apply() { QTest::mouseClick(form->CommandApply, Qt::LeftButton); }
    // Unticks set boxes on the setting page, then goes back to the edit page.
    void unset(std::initializer_list<QCheckBox*> boxes) {
        QTest::mouseClick(form->CommandEdit, Qt::LeftButton);
        for (QCheckBox* b : boxes) b->setChecked(false);
        QTest::mouseClick(form->CommandEdit, Qt::LeftButton);
    }
    std::string rx(int ch) { return FrequencyToText(RxFrequencyBytes(doc.radioImage, ch), '.'); }
    std::string tx(int ch) { return FrequencyToText(TxFrequencyBytes(doc.radioImage, ch), '.'); }
    QString decode(int ch) {
        return QString::fromStdString(ToneToText(RxTone(doc.radioImage, ch), true, '.'));
    }
    QString encode(int ch) {
        return QString::fromStdString(ToneToText(TxTone(doc.radioImage, ch), true, '.'));
    }

private slots:
    void init() {
        doc = Document{};
        doc.IsEnglish = true;
        doc.radioImage.fill(0xFF);
        doc.ModelType = "VHF";
        doc.BandLowMHz = 136;
        doc.BandHighMHz = 174;
        doc.BandTxHighMHz = 174;
        host = std::make_unique<FakeEditorHost>();
    }
    void cleanup() { form.reset(); }

    void startsAsTheWindowIsDefined() {
        open();
        QCOMPARE(form->windowTitle(), QStringLiteral("Batch ChannelEdit"));
        QCOMPARE(form->TextRxStartFreq->text(), QStringLiteral("136.00000"));
        QCOMPARE(form->TextTxOffset->text(), QStringLiteral("0.00000"));
        QCOMPARE(form->TextStartChannel->text(), QStringLiteral("1"));
        QCOMPARE(form->TextEndChannel->text(), QStringLiteral("128"));
        QVERIFY(!form->TextStartChannel->isEnabled());
        QVERIFY(!form->CheckOption->isEnabled());
        QCOMPARE(form->rangeEnd(), 127);
        QVERIFY(form->LabelRadioHolds->isVisible());
        QVERIFY(form->LabelRadioHolds->text().contains("1-16"));
        QCOMPARE(form->ComboDecodeStart->count(), 283);
        QVERIFY(!form->CheckEncodeRandom->isEnabled());
        QVERIFY(!form->ComboEncodeStart->isEnabled());
        QVERIFY(!form->TextTxOffset->isEnabled());
        QVERIFY(!form->TextTxStartFreq->isEnabled());
        QCOMPARE(form->CommandEdit->text(), QStringLiteral("Edit &Setting"));
        QTest::mouseClick(form->CommandEdit, Qt::LeftButton);
        QCOMPARE(form->pages->currentWidget(), form->FrameEditSetting);
        QCOMPARE(form->CommandEdit->text(), QStringLiteral("&Edit"));
        QTest::mouseClick(form->CommandSelectNone, Qt::LeftButton);
        QVERIFY(!form->CheckSetBusyLock->isChecked());
        QTest::mouseClick(form->CommandEdit, Qt::LeftButton);
        QVERIFY(!form->FrameRxFreq->isVisible());
        QVERIFY(!form->ComboBusyLock->isVisible());
        QVERIFY(!form->CheckTalkAround->isVisible());
        // Nothing is written before Apply; Apply with nothing ticked writes nothing.
        const RadioImage before = doc.radioImage;
        apply();
        QCOMPARE(doc.radioImage, before);
    }

    void ascendingSequenceWithDefaultTx() {
        open();
        range("1", "4");
        type(form->TextRxStartFreq, "146");
        QCOMPARE(form->TextRxStartFreq->text(), QStringLiteral("146.00000"));
        type(form->TextRxStep, "12.5");
        int heard = 0;  // the open editors hear of the four channels once
        DocumentObservation watch(doc, [&heard](const DocumentChange& c) {
            heard += c.touches(ChannelStart(1), ChannelStart(5));
        });
        apply();
        QCOMPARE(heard, 1);
        const char* expected[] = {"146.00000", "146.01250", "146.02500", "146.03750"};
        for (int ch = 1; ch <= 4; ++ch) {
            QCOMPARE(rx(ch), std::string(expected[ch - 1]));
            QCOMPARE(tx(ch), std::string(expected[ch - 1]));
            QCOMPARE(decode(ch), QStringLiteral("None"));
            QCOMPARE(encode(ch), QStringLiteral("None"));
            QVERIFY(!GetScanAddBit(doc.radioImage, ch));
        }
        QVERIFY(!ChannelInUse(doc.radioImage, 5));
        QVERIFY(form->isVisible());  // the window stays open
    }

    void descendingSequenceStopsAtTheBandEdgeAndTonesWrap() {
        open();
        range("1", "3");
        type(form->TextRxStartFreq, "136.02");
        type(form->TextRxStep, "15");
        QTest::mouseClick(form->OptionRxStepDown, Qt::LeftButton, {}, QPoint(8, 8));
        QTest::mouseClick(form->OptionTxOffset, Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(form->TextTxOffset->isEnabled());
        type(form->TextTxOffset, "5");
        form->ComboDecodeStart->setCurrentIndex(282);
        type(form->TextDecodeStep, "1");
        form->CheckEncodeDefault->click();
        QVERIFY(form->CheckEncodeRandom->isEnabled());
        form->ComboEncodeStart->setCurrentIndex(2);
        type(form->TextEncodeStep, "2");
        QTest::mouseClick(form->OptionEncodeStepDown, Qt::LeftButton, {}, QPoint(8, 8));
        apply();
        QCOMPARE(rx(1), std::string("136.02000"));
        QCOMPARE(rx(2), std::string("136.00500"));
        QCOMPARE(rx(3), std::string("136.00000"));
        QCOMPARE(tx(1), std::string("141.02000"));
        QCOMPARE(tx(3), std::string("141.00000"));
        QCOMPARE(decode(1), form->ComboDecodeStart->itemText(282));
        QCOMPARE(decode(2), QStringLiteral("None"));
        QCOMPARE(decode(3), form->ComboDecodeStart->itemText(1));
        QCOMPARE(encode(1), form->ComboEncodeStart->itemText(2));
        QCOMPARE(encode(2), form->ComboEncodeStart->itemText(0));
        QCOMPARE(encode(3), form->ComboEncodeStart->itemText(282));
    }

    void encodeDefaultWithoutDecodeStoresNone() {
        SetTxTone(doc.radioImage, 1, CtcssTone(885));
        SetRxTone(doc.radioImage, 1, CtcssTone(670));
        open();
        unset({form->CheckSetDecode});
        QVERIFY(!form->FrameDecode->isVisible());
        apply();
        for (int ch = 1; ch <= 16; ++ch) QCOMPARE(encode(ch), QStringLiteral("None"));
        QCOMPARE(decode(1), QStringLiteral("67.0"));
    }

    void clearingOtherChannels() {
        for (int ch = 1; ch <= 16; ++ch) {
            SetRxFrequency(doc.radioImage, ch, FrequencyToBytes(150));
            SetScanAddBit(doc.radioImage, ch, true);
        }
        open();
        range("3", "5");
        QVERIFY(form->CheckOption->isEnabled());
        form->CheckOption->click();
        form->CheckScanAdd->click();
        apply();
        for (int ch = 1; ch <= 16; ++ch) {
            const bool inRange = ch >= 3 && ch <= 5;
            QCOMPARE(ChannelInUse(doc.radioImage, ch), inRange);
            QCOMPARE(GetScanAddBit(doc.radioImage, ch), inRange);
        }
        // Back to all channels: the clear box is off again and changes nothing more.
        QTest::mouseClick(form->OptionArea[0], Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(!form->CheckOption->isEnabled());
        QCOMPARE(form->currentEdit().clearOthers, false);
    }

    void aRangePastSixteenChangesOnlyTheChannelsThere() {
        for (std::size_t a = 0; a < doc.radioImage.size(); ++a)
            doc.radioImage[a] = static_cast<std::uint8_t>(a * 13 + 1);
        const RadioImage before = doc.radioImage;
        open();
        range("10", "128");
        QCOMPARE(form->rangeStart(), 9);
        QCOMPARE(form->rangeEnd(), 127);
        form->CheckOption->click();  // clear the others too
        type(form->TextRxStartFreq, "150");
        form->CheckScanAdd->click();
        apply();
        for (std::size_t a = 0; a < doc.radioImage.size(); ++a) {
            bool mayChange = false;
            for (int ch = 1; ch <= 16; ++ch) {
                const std::size_t at = ChannelStart(ch);
                if (a >= at && a < at + kChannelRecordSize) mayChange = true;
            }
            if (a == 382 || a == 383) mayChange = true;
            if (!mayChange)
                QVERIFY2(doc.radioImage[a] == before[a], qPrintable(QString::number(a)));
        }
        for (int ch = 1; ch <= 9; ++ch) QVERIFY(!ChannelInUse(doc.radioImage, ch));
        for (int ch = 10; ch <= 16; ++ch) {
            QCOMPARE(rx(ch), std::string("150.00000"));
            QVERIFY(GetScanAddBit(doc.radioImage, ch));
        }
        QCOMPARE(doc.radioImage[382], std::uint8_t(0x00));
        QCOMPARE(doc.radioImage[383], std::uint8_t(0xFE));
    }

    void boxesCorrectThemselves() {
        open();
        QTest::mouseClick(form->OptionArea[1], Qt::LeftButton, {}, QPoint(8, 8));
        type(form->TextStartChannel, "200");
        QCOMPARE(form->TextStartChannel->text(), QStringLiteral("128"));
        QCOMPARE(form->TextEndChannel->text(), QStringLiteral("128"));
        type(form->TextStartChannel, "9");
        type(form->TextEndChannel, "5");
        QCOMPARE(form->TextStartChannel->text(), QStringLiteral("5"));
        QCOMPARE(form->rangeStart(), 4);
        QCOMPARE(form->rangeEnd(), 4);
        type(form->TextStartChannel, "1x2");  // the key filter drops the letter
        QCOMPARE(form->TextStartChannel->text(), QStringLiteral("12"));
        QCOMPARE(form->TextEndChannel->text(), QStringLiteral("12"));
        type(form->TextRxStartFreq, "180");
        QCOMPARE(form->TextRxStartFreq->text(), QStringLiteral("174.00000"));
        type(form->TextRxStartFreq, ".");
        QCOMPARE(form->TextRxStartFreq->text(), QStringLiteral("136.00000"));
        type(form->TextRxStep, "20000");
        QCOMPARE(form->TextRxStep->text(), QStringLiteral("10000"));
        form->TextTxStep->setEnabled(true);
        type(form->TextTxStep, "");
        QCOMPARE(form->TextTxStep->text(), QStringLiteral("0"));
        type(form->TextDecodeStep, "123");
        QCOMPARE(form->TextDecodeStep->text(), QStringLiteral("12"));
    }

    void aCommaLocaleStoresTheSameBytes() {
        doc.DecimalSeparator = ',';
        open();
        QCOMPARE(form->TextRxStartFreq->text(), QStringLiteral("136,00000"));
        range("1", "2");
        type(form->TextRxStartFreq, "146.5");  // the point is refused: 1465 MHz
        QCOMPARE(form->TextRxStartFreq->text(), QStringLiteral("174,00000"));
        type(form->TextRxStartFreq, "146,5");
        QCOMPARE(form->TextRxStartFreq->text(), QStringLiteral("146,50000"));
        type(form->TextRxStep, "6,25");
        apply();
        QCOMPARE(rx(1), std::string("146.50000"));
        QCOMPARE(rx(2), std::string("146.50625"));
    }

    void randomTonesDiffer() {
        open();
        form->CheckDecodeRandom->click();
        QVERIFY(!form->ComboDecodeStart->isEnabled());
        QVERIFY(!form->TextDecodeStep->isEnabled());
        apply();
        std::set<QString> seen;
        for (int ch = 1; ch <= 16; ++ch) {
            seen.insert(decode(ch));
            QCOMPARE(encode(ch), decode(ch));  // encode Default follows
        }
        QVERIFY(seen.size() > 1);
    }

    void chineseTexts() {
        doc.IsEnglish = false;
        open();
        QCOMPARE(form->windowTitle(), QStringLiteral("信道批量编辑"));
        QCOMPARE(form->OptionArea[1]->text(), QStringLiteral("从信道"));
        QCOMPARE(form->CommandApply->text(), QStringLiteral("应用(&A)"));
        QCOMPARE(form->LabelNote->text(), QStringLiteral("信道=(组ID-1)*16+信道ID"));
    }

    // Apply refuses with a message, and writes nothing, a range of channels the radio
    // does not hold (even with "clear the others") and a step below 10 Hz.
    void refusedAppliesSayWhyAndChangeNothing_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("message");
        QTest::newRow("range above 16") << true << "17"
                                        << "12.5"
                                        << "Channels 17-128 are not in this radio, which holds "
                                           "channels 1-16: nothing was changed.";
        QTest::newRow("step 0.005") << true << "1"
                                    << "0.005"
                                    << "RX Step(KHz): 0.005 is less than 10 Hz, the smallest step "
                                       "a channel frequency takes. Enter 0 or at least 10 Hz; "
                                       "nothing was changed.";
        QTest::newRow("中文 range") << false << "20"
                                    << "12.5"
                                    << "本机只有信道1-16，没有信道20-128：未做任何改动。";
    }
    void refusedAppliesSayWhyAndChangeNothing() {
        QFETCH(bool, english);
        QFETCH(QString, from);
        QFETCH(QString, step);
        QFETCH(QString, message);
        doc.IsEnglish = english;
        SetRxFrequency(doc.radioImage, 2, UnitsToBytes(14500000));
        const RadioImage before = doc.radioImage;
        open();
        range(from, "128");
        QTest::mouseClick(form->CheckOption, Qt::LeftButton);
        QVERIFY(form->CheckOption->isChecked());
        type(form->TextRxStep, step);
        apply();
        QCOMPARE(host->messageService.shown.size(), 1);
        QCOMPARE(host->messageService.shown[0].text, message);
        QVERIFY(doc.radioImage == before);
    }
};

QTEST_MAIN(BatchChannelEditTest)
#include "batch_channel_edit_test.moc"
