#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QtTest>
#include <algorithm>

#include "channels/channel_record.h"
#include "channels/form_channel_edit.h"
#include "core/document.h"
#include "tests/support/click_check.h"
#include "tests/support/fake_editor_host.h"

using namespace baldo7;

namespace {
void type(QWidget* box, const QString& text) {
    QLineEdit* edit = qobject_cast<QLineEdit*>(box);
    if (!edit) edit = static_cast<QComboBox*>(box)->lineEdit();
    edit->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

std::uint8_t& byteOf(Document& doc, int channel, std::size_t offset) {
    return doc.radioImage[ChannelStart(channel) + offset];
}

// 145.12500 MHz receive and transmit, CTCSS 88.5 both ways, narrow, low power.
void putChannel(Document& doc, int channel) {
    SetRxFrequency(doc.radioImage, channel, FrequencyToBytes(145.125));
    SetTxFrequency(doc.radioImage, channel, FrequencyToBytes(145.125));
    SetRxTone(doc.radioImage, channel, CtcssTone(885));
    SetTxTone(doc.radioImage, channel, CtcssTone(885));
    byteOf(doc, channel, chan::kFlags12) = 0x00;
    byteOf(doc, channel, chan::kFlags13) = 0x00;
    SetScanAddBit(doc.radioImage, channel, true);
}
}  // namespace

class ChannelEditTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        watch.reset();
        doc = Document{};
        doc.IsEnglish = true;
        doc.radioImage.fill(0xFF);
        doc.BandLowMHz = 136;
        doc.BandHighMHz = 174;
        doc.BandTxHighMHz = 170;
        host = std::make_unique<FakeEditorHost>();
        host->appState.setCurrentRow(3);
        watch = std::make_unique<DocumentObservation>(
            doc, [this](const DocumentChange& c) { heard.push_back(c); });
        heard.clear();
    }

    void emptyChannelThenFirstFrequency() {
        FormChannelEdit form(doc, *host);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(host->appState.FormChannelEditOpen);
        QCOMPARE(form.ComboChannel->currentText(), QStringLiteral("3"));
        // Only the receive frequency is usable; the scan bit of the empty channel goes,
        // and the grid hears of it.
        QVERIFY(!GetScanAddBit(doc.radioImage, 3));
        QVERIFY(GetScanAddBit(doc.radioImage, 4));
        QVERIFY(heardFrom(&form));
        QVERIFY(form.TextRxFreq->isEnabled() && form.TextRxFreq->text().isEmpty());
        for (QWidget* w : std::initializer_list<QWidget*>{
                 form.TextTxFreq, form.ComboDecode, form.ComboEncode, form.ComboTxPower,
                 form.ComboSpace, form.ComboBusyLock, form.ComboScrambleType, form.CheckScanAdd,
                 form.CheckReverse, form.CheckTalkAround, form.CheckScramble, form.CheckCompand,
                 form.ComboCdcssMode})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QCOMPARE(form.ComboDecode->count(), 0);

        heard.clear();
        type(form.TextRxFreq, "14x5");  // the letter is refused by the key filter
        QCOMPARE(heard.size(), std::size_t(1));
        QVERIFY(host->messageService.shown.isEmpty());
        QCOMPARE(RxFrequencyBytes(doc.radioImage, 3), FrequencyToBytes(145.0));
        QCOMPARE(TxFrequencyBytes(doc.radioImage, 3), FrequencyToBytes(145.0));
        QCOMPARE(byteOf(doc, 3, chan::kFlags12), 0x08);
        QCOMPARE(byteOf(doc, 3, chan::kFlags13), 0x01);
        QVERIFY(GetScanAddBit(doc.radioImage, 3));
        QCOMPARE(form.TextRxFreq->text(), QStringLiteral("145.00000"));
        QCOMPARE(form.TextTxFreq->text(), QStringLiteral("145.00000"));
        QCOMPARE(form.ComboDecode->currentText(), QStringLiteral("None"));
        QCOMPARE(form.ComboEncode->currentText(), QStringLiteral("None"));
        QCOMPARE(form.ComboTxPower->currentText(), QStringLiteral("High"));
        QCOMPARE(form.ComboSpace->currentText(), QStringLiteral("25K(Wide)"));
        QCOMPARE(form.ComboBusyLock->currentText(), QStringLiteral("None"));
        QCOMPARE(form.ComboScrambleType->currentText(), QStringLiteral("1"));
        QVERIFY(form.CheckScanAdd->isChecked());
        QVERIFY(!form.CheckScramble->isChecked() && !form.CheckCompand->isChecked());
        QVERIFY(form.CheckReverse->isEnabled() && form.ComboEncode->isEnabled());
    }

    // The window is wider than high, and its controls fit it in both languages.
    void fitsItsWindow() {
        putChannel(doc, 3);
        for (bool english : {true, false}) {
            doc.IsEnglish = english;
            FormChannelEdit form(doc, *host);
            const QSize size = form.sizeHint(), needed = form.minimumSizeHint();
            QVERIFY(size.width() > size.height());
            QVERIFY2(needed.width() <= size.width() && needed.height() <= size.height(),
                     english ? "English" : "Chinese");
        }
    }

    void outOfBandIsClampedWithAWarning() {
        putChannel(doc, 3);
        FormChannelEdit form(doc, *host);
        type(form.TextRxFreq, "200");
        QCOMPARE(RxFrequencyBytes(doc.radioImage, 3), FrequencyToBytes(174.0));
        QCOMPARE(form.TextRxFreq->text(), QStringLiteral("174.00000"));
        type(form.TextTxFreq, "171.5");
        QCOMPARE(TxFrequencyBytes(doc.radioImage, 3), FrequencyToBytes(170.0));
        type(form.TextTxFreq, ".");
        QCOMPARE(TxFrequencyBytes(doc.radioImage, 3), FrequencyToBytes(136.0));
        QCOMPARE(host->messageService.shown.size(), 3);
        for (const Message& m : host->messageService.shown) {
            QCOMPARE(m.icon, MsgIcon::Warning);
            QCOMPARE(m.title, QStringLiteral("BALDO-7"));
            QCOMPARE(m.text, QStringLiteral("Frequency is out of range!"));
        }
        // A box merely passed through commits nothing, not even a value from another band.
        SetRxFrequency(doc.radioImage, 3, FrequencyToBytes(440.0));
        form.AnalyseOneChannel();
        const RadioImage before = doc.radioImage;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        form.TextRxFreq->setFocus();
        form.TextTxFreq->setFocus();
        form.ComboDecode->setFocus();
        form.ComboTxPower->setFocus();
        QCOMPARE(doc.radioImage, before);
        QCOMPARE(host->messageService.shown.size(), 3);
        // Typing and leaving does commit.
        form.TextRxFreq->setFocus();
        form.TextRxFreq->selectAll();
        QTest::keyClicks(form.TextRxFreq, "150.0125");
        form.ComboTxPower->setFocus();
        QCOMPARE(RxFrequencyBytes(doc.radioImage, 3), FrequencyToBytes(150.0125));
    }

    void absentTransmitSide() {
        putChannel(doc, 3);
        FormChannelEdit form(doc, *host);
        type(form.TextTxFreq, "");
        for (std::size_t offset : {4, 5, 6, 7, 10, 11}) QCOMPARE(byteOf(doc, 3, offset), 0xFF);
        QVERIFY(form.TextTxFreq->isEnabled() && form.TextTxFreq->text().isEmpty());
        QVERIFY(!form.ComboEncode->isEnabled());
        QCOMPARE(form.ComboEncode->count(), 0);
        QVERIFY(!form.CheckReverse->isEnabled());
        QCOMPARE(form.ComboDecode->currentText(), QStringLiteral("88.5"));

        // A transmit side typed in again starts without an encode tone, whatever the
        // tone bytes held.
        SetTxTone(doc.radioImage, 3, CtcssTone(885));
        type(form.TextTxFreq, "150");
        QVERIFY(TxTone(doc.radioImage, 3).isNone());
        QCOMPARE(form.TextTxFreq->text(), QStringLiteral("150.00000"));
        QCOMPARE(form.ComboEncode->currentText(), QStringLiteral("None"));
    }

    void tonesByTypingAndPicking() {
        putChannel(doc, 3);
        FormChannelEdit form(doc, *host);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        heard.clear();
        type(form.ComboDecode, "d23");
        QCOMPARE(RxTone(doc.radioImage, 3), DcsTone(230, false));
        QCOMPARE(form.ComboDecode->currentText(), QStringLiteral("D230N"));
        QCOMPARE(form.ComboDecode->lineEdit()->selectedText(), QStringLiteral("D230N"));
        QCOMPARE(heard.size(), std::size_t(1));
        type(form.ComboEncode, "100.55");  // the sixth character is refused
        QCOMPARE(TxTone(doc.radioImage, 3), CtcssTone(1005));
        QCOMPARE(form.ComboEncode->currentText(), QStringLiteral("100.5"));
        // Steps through the list write the entries.
        form.ComboEncode->setFocus();
        QTest::keyClick(form.ComboEncode, Qt::Key_Down);
        QVERIFY(TxTone(doc.radioImage, 3).isNone());
        QTest::keyClick(form.ComboEncode, Qt::Key_Down);
        QCOMPARE(TxTone(doc.radioImage, 3), CtcssTone(670));
        QCOMPARE(form.ComboEncode->currentText(), QStringLiteral("67.0"));
    }

    // A tone box reached by Tab or by a click has its whole text selected, so typing
    // replaces the tone instead of appending to it.
    void toneBoxesOpenSelected() {
        putChannel(doc, 3);
        SetRxTone(doc.radioImage, 3, CtcssTone(670));
        FormChannelEdit form(doc, *host);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.TextTxFreq->setFocus();
        QTest::keyClick(form.TextTxFreq, Qt::Key_Tab);
        QTRY_COMPARE(form.ComboDecode->lineEdit()->selectedText(), QStringLiteral("67.0"));
        QTest::keyClicks(QApplication::focusWidget(), "D023");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(RxTone(doc.radioImage, 3), DcsTone(23, false));
        QCOMPARE(form.ComboDecode->currentText(), QStringLiteral("D023N"));

        QLineEdit* encode = form.ComboEncode->lineEdit();
        QTest::mouseClick(encode, Qt::LeftButton, {}, encode->rect().center());
        QTRY_COMPARE(encode->selectedText(), QStringLiteral("88.5"));
        QTest::keyClicks(encode, "D023");
        QTest::keyClick(encode, Qt::Key_Return);
        QCOMPARE(TxTone(doc.radioImage, 3), DcsTone(23, false));
    }

    void listsAndBoxesWriteTheirBits() {
        putChannel(doc, 3);
        FormChannelEdit form(doc, *host);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const auto step = [](QComboBox* combo) {
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_Down);
        };
        step(form.ComboTxPower);
        step(form.ComboSpace);
        step(form.ComboScrambleType);
        QCOMPARE(byteOf(doc, 3, chan::kFlags13), 0x01);
        QCOMPARE(byteOf(doc, 3, chan::kFlags12), 0x09);
        clickCheck(form.CheckCompand);
        clickCheck(form.CheckScramble);
        QCOMPARE(byteOf(doc, 3, chan::kFlags12), 0xC9);
        clickCheck(form.CheckScanAdd);
        QVERIFY(!GetScanAddBit(doc.radioImage, 3));

        // Reverse and Talk Around share the busy lock bits and exclude each other.
        clickCheck(form.CheckReverse);
        QCOMPARE(byteOf(doc, 3, chan::kFlags12), 0xD9);
        QCOMPARE(form.ComboBusyLock->currentText(), QStringLiteral("Carrier"));
        clickCheck(form.CheckTalkAround);
        QVERIFY(!form.CheckReverse->isChecked());
        QCOMPARE(byteOf(doc, 3, chan::kFlags12), 0xE9);
        QCOMPARE(form.ComboBusyLock->currentText(), QStringLiteral("QT/DQT"));
        clickCheck(form.CheckTalkAround);
        QCOMPARE(byteOf(doc, 3, chan::kFlags12), 0xC9);
        QCOMPARE(form.ComboBusyLock->currentText(), QStringLiteral("None"));
    }

    void cdcssModeFollowsSpecialCodeSupport() {
        putChannel(doc, 3);
        byteOf(doc, 3, chan::kFlags13) = 0x11;
        FormChannelEdit form(doc, *host);
        QCOMPARE(form.ComboCdcssMode->count(), 2);
        QCOMPARE(form.ComboCdcssMode->currentText(), QStringLiteral("Special Code"));
        QCOMPARE(byteOf(doc, 3, chan::kFlags13), 0x11);
        // A read from a radio without special codes: the redraw drops the entry and the
        // bit, and tells the grid.
        doc.SpecialCodeSupported = false;
        heard.clear();
        doc.announce(DocumentChange::everything());
        QCOMPARE(form.ComboCdcssMode->count(), 1);
        QCOMPARE(form.ComboCdcssMode->itemText(0), QStringLiteral("Normal Code"));
        QCOMPARE(byteOf(doc, 3, chan::kFlags13), 0x01);
        QVERIFY(heardFrom(&form));
    }

    // Another window's edit is announced and the dialog shows it at once; the
    // dialog's channel choice is the window state's current row, which the grid
    // follows, and the other way round.
    void followsAnnouncementsAndTheCurrentRow() {
        putChannel(doc, 3);
        putChannel(doc, 9);
        SetRxFrequency(doc.radioImage, 9, FrequencyToBytes(160.5));
        FormChannelEdit form(doc, *host);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.ComboTxPower->currentText(), QStringLiteral("Low"));

        SetTxPower(doc.radioImage, 3, 1);
        doc.commitChange();
        QCOMPARE(form.ComboTxPower->currentText(), QStringLiteral("High"));

        QSignalSpy moved(&host->appState, &AppState::currentRowChanged);
        form.ComboChannel->setFocus();
        for (int i = 3; i < 9; ++i) QTest::keyClick(form.ComboChannel, Qt::Key_Down);
        QCOMPARE(host->appState.currentRow(), 9);
        QCOMPARE(moved.size(), 6);
        QCOMPARE(form.TextRxFreq->text(), QStringLiteral("160.50000"));

        // What is being typed survives another window's change until it is
        // committed; then the dialog shows both, on the channel it was typed for.
        QLineEdit* decode = form.ComboDecode->lineEdit();
        form.ComboDecode->setFocus();
        decode->selectAll();
        QTest::keyClicks(decode, "d23");
        SetTxPower(doc.radioImage, 9, 1);
        doc.commitChange();
        host->appState.setCurrentRow(2);
        QCOMPARE(decode->text(), QStringLiteral("d23"));
        QCOMPARE(form.ComboChannel->currentText(), QStringLiteral("9"));
        QTest::keyClick(decode, Qt::Key_Return);
        QCOMPARE(RxTone(doc.radioImage, 9), DcsTone(230, false));
        QCOMPARE(RxTone(doc.radioImage, 2), RxTone(doc.radioImage, 5));  // untouched
        // The grid moved to an empty row meanwhile.
        QCOMPARE(form.ComboChannel->currentText(), QStringLiteral("2"));
        QVERIFY(!form.ComboTxPower->isEnabled());
        host->appState.setCurrentRow(9);
        QCOMPARE(form.ComboDecode->currentText(), QStringLiteral("D230N"));
        QCOMPARE(form.ComboTxPower->currentText(), QStringLiteral("High"));
    }

private:
    bool heardFrom(const void* origin) const {
        return std::any_of(heard.begin(), heard.end(),
                           [origin](const DocumentChange& c) { return c.origin == origin; });
    }

    Document doc;
    std::unique_ptr<FakeEditorHost> host;
    std::unique_ptr<DocumentObservation> watch;
    std::vector<DocumentChange> heard;
};

QTEST_MAIN(ChannelEditTest)
#include "channel_edit_test.moc"
