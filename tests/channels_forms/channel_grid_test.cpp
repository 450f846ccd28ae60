#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "channels/channel_record.h"
#include "channels/form_channel_information.h"
#include "channels/form_copy_tools.h"
#include "channels/frequency_entry.h"
#include "core/document.h"
#include "tests/support/fake_editor_host.h"

using namespace baldo7;

namespace {
using Grid = FormChannelInformation;

std::array<std::uint8_t, 16> recordOf(const Document& doc, int channel) {
    std::array<std::uint8_t, 16> r{};
    for (std::size_t i = 0; i < 16; ++i) r[i] = doc.radioImage[ChannelStart(channel) + i];
    return r;
}

// Runs `action` on the modal dialog that the next key or click opens.
template <typename Dialog>
void onNextModal(bool* seen, std::function<void(Dialog*)> action) {
    QTimer::singleShot(0, [seen, action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        *seen = true;
        action(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}
}  // namespace

class ChannelGridTest : public QObject {
    Q_OBJECT

    Document doc;
    std::unique_ptr<FakeEditorHost> host;
    std::unique_ptr<Grid> form;
    std::unique_ptr<DocumentObservation> watch;
    std::vector<DocumentChange> heard;  // what the other open editors are told

    void openForm() {
        form.reset();
        form = std::make_unique<Grid>(doc, *host);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        heard.clear();
    }

    void setBand(int low, int high, int txHigh) {
        doc.BandLowMHz = low;
        doc.BandHighMHz = high;
        doc.BandTxHighMHz = txHigh;
    }

    void clickCell(int row, int column) {
        QTableWidget* grid = form->MSHFlexGridChannel;
        const QRect rect = grid->visualItemRect(grid->item(row - 1, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    }

    static QWidget* focus() { return QApplication::focusWidget(); }

    // Replaces the text of the open editor as a user does: select all, erase, type,
    // Enter. (Typing over a selection would refuse a second separator.)
    void typeInto(QWidget* editor, const QString& text, bool enter = true) {
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        if (enter) QTest::keyClick(editor, Qt::Key_Return);
    }

    // Enters a receive frequency into a row through the grid.
    void enterRx(int row, const QString& text) {
        clickCell(row, Grid::kColRx);
        QVERIFY(form->Text1->isVisible());
        typeInto(form->Text1, text);
    }

    QStringList rowCells(int row) {
        QStringList cells;
        for (int c = Grid::kColRx; c <= Grid::kColSpacing; ++c) cells << form->cellText(row, c);
        return cells;
    }

private slots:
    void init() {
        watch.reset();
        doc = Document{};
        doc.IsEnglish = true;
        doc.radioImage.fill(0xFF);
        doc.radioImage[addr::kScanAddBitmap] = 0;
        doc.radioImage[addr::kScanAddBitmap + 1] = 0;
        setBand(136, 174, 174);
        host = std::make_unique<FakeEditorHost>();
        watch = std::make_unique<DocumentObservation>(
            doc, [this](const DocumentChange& c) { heard.push_back(c); });
    }
    void cleanup() { form.reset(); }

    void newChannelThroughTheGrid() {
        openForm();
        // Any cell of an empty row starts it from its receive frequency.
        clickCell(4, Grid::kColScan);
        QCOMPARE(focus(), form->Text1);
        QCOMPARE(host->appState.currentColumn(), int(Grid::kColRx));
        typeInto(form->Text1, "145");
        QCOMPARE(rowCells(4), (QStringList{"145.00000", "145.00000", "None", "None", "High", "Add",
                                           "25K(Wide)"}));
        QCOMPARE(recordOf(doc, 4),
                 (std::array<std::uint8_t, 16>{0x00, 0x00, 0x50, 0x14, 0x00, 0x00, 0x50, 0x14, 0xFF,
                                               0xFF, 0xFF, 0xFF, 0x08, 0x01, 0xFF, 0xFF}));
        QVERIFY(GetScanAddBit(doc.radioImage, 4));
        QCOMPARE(heard.size(), std::size_t(1));
        QVERIFY(heard[0].origin == form.get() &&
                heard[0].touches(ChannelStart(4), ChannelStart(5)));
        QVERIFY(host->messageService.shown.isEmpty());

        // Enter moved on to the transmit cell; a second Enter opens it.
        QCOMPARE(form->MSHFlexGridChannel->currentColumn(), int(Grid::kColTx));
        QVERIFY(form->ReopenOnEnter);
        QTest::keyClick(form->MSHFlexGridChannel, Qt::Key_Return);
        QVERIFY(form->Text1->isVisible());
        QCOMPARE(form->Text1->text(), QStringLiteral("145.00000"));
        QCOMPARE(form->Text1->selectedText(), QStringLiteral("145.00000"));

        // The key filter: letters and a second point never reach the box.
        QTest::keyClicks(form->Text1, "146x.5.2");
        QCOMPARE(form->Text1->text(), QStringLiteral("146.52"));
        QTest::keyClick(form->Text1, Qt::Key_Return);
        QCOMPARE(form->cellText(4, Grid::kColTx), QStringLiteral("146.52000"));
        QCOMPARE(form->cellText(4, Grid::kColRx), QStringLiteral("145.00000"));
    }

    void outOfRangeIsClampedWithAWarning_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("warned");
        QTest::newRow("rx above") << true << 1 << "600"
                                  << "480.00000" << true;
        QTest::newRow("rx point only") << false << 1 << "."
                                       << "400.00000" << true;
        QTest::newRow("tx above") << true << 2 << "481"
                                  << "480.00000" << true;
    }
    void outOfRangeIsClampedWithAWarning() {
        QFETCH(bool, english);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, warned);
        doc.IsEnglish = english;
        setBand(400, 480, 480);
        CommitRxFrequency(doc, 2, "440");
        openForm();
        clickCell(2, column);
        typeInto(form->Text1, typed);
        QCOMPARE(form->cellText(2, column), stored);
        const FrequencyBytes bytes =
            column == 1 ? RxFrequencyBytes(doc.radioImage, 2) : TxFrequencyBytes(doc.radioImage, 2);
        QCOMPARE(QString::fromStdString(FrequencyToText(bytes, '.')), stored);
        QCOMPARE(host->messageService.shown.size(), warned ? 1 : 0);
        if (warned) {
            const Message& m = host->messageService.shown.front();
            QCOMPARE(m.icon, MsgIcon::Warning);
            QCOMPARE(m.title, QStringLiteral("BALDO-7"));
            QCOMPARE(m.text, english ? QStringLiteral("Frequency is out of range!")
                                     : QStringLiteral("频率超出范围！"));
        }
    }

    void transmitFollowsReceiveUpToItsLimit() {
        setBand(400, 520, 480);
        openForm();
        enterRx(1, "500");
        QCOMPARE(form->cellText(1, Grid::kColTx), QStringLiteral("480.00000"));
        QCOMPARE(TxFrequencyBytes(doc.radioImage, 1), (FrequencyBytes{0x00, 0x00, 0x00, 0x48}));
        // A present transmit frequency stays when the receive frequency changes.
        enterRx(1, "470");
        QCOMPARE(form->cellText(1, Grid::kColTx), QStringLiteral("480.00000"));
    }

    void emptyingReceiveAndTransmit() {
        CommitRxFrequency(doc, 3, "145.5");
        SetTxTone(doc.radioImage, 3, {0x75, 0x03});
        CommitRxFrequency(doc, 6, "146");
        openForm();
        QCOMPARE(form->cellText(3, Grid::kColEncode), QStringLiteral("88.5"));

        // An empty transmit cell blanks the encode cell and clears both in the image.
        clickCell(3, Grid::kColTx);
        typeInto(form->Text1, "");
        QCOMPARE(form->cellText(3, Grid::kColTx), QString());
        QCOMPARE(form->cellText(3, Grid::kColEncode), QString());
        const auto rec = recordOf(doc, 3);
        for (std::size_t off : {4, 5, 6, 7, 10, 11}) QCOMPARE(rec[off], std::uint8_t(0xFF));
        QCOMPARE(rec[0], std::uint8_t(0x00));

        // The encode cell of a row without transmit frequency opens the frequency.
        clickCell(3, Grid::kColEncode);
        QVERIFY(form->Text1->isVisible());
        QCOMPARE(host->appState.currentColumn(), int(Grid::kColTx));

        clickCell(6, Grid::kColRx);
        typeInto(form->Text1, "");
        QCOMPARE(rowCells(6), QStringList(7, QString()));
        for (std::uint8_t b : recordOf(doc, 6)) QCOMPARE(b, std::uint8_t(0xFF));
        QVERIFY(!GetScanAddBit(doc.radioImage, 6));
    }

    // A value the band or the tone rules would change survives a click through its
    // cell; Enter still commits it.
    void passingThroughACellWritesNothing() {
        CommitRxFrequency(doc, 2, "150");
        SetRxFrequency(doc.radioImage, 2, FrequencyToBytes(440.0));  // another band's file
        SetRxTone(doc.radioImage, 2, CtcssTone(10));                 // 1.0 Hz
        const RadioImage before = doc.radioImage;
        openForm();
        clickCell(2, Grid::kColRx);
        clickCell(2, Grid::kColDecode);
        QCOMPARE(form->cellText(2, Grid::kColDecode), QStringLiteral("1.0"));
        clickCell(2, Grid::kColPower);
        form->FreshData();
        QCOMPARE(doc.radioImage, before);
        QVERIFY(host->messageService.shown.isEmpty());
        QVERIFY(heard.empty());

        clickCell(2, Grid::kColRx);
        QTest::keyClick(form->Text1, Qt::Key_Return);
        QCOMPARE(host->messageService.shown.size(), 1);
        QCOMPARE(form->cellText(2, Grid::kColRx), QStringLiteral("174.00000"));
    }

    void listAndToneColumns() {
        CommitRxFrequency(doc, 5, "150");
        openForm();

        // Picking from the opened list, then Enter.
        clickCell(5, Grid::kColSpacing);
        QComboBox* spacing = form->Combo1[4];
        QVERIFY(spacing->isVisible());
        QCOMPARE(spacing->currentText(), QStringLiteral("25K(Wide)"));
        spacing->showPopup();
        QAbstractItemView* view = spacing->view();
        view->setCurrentIndex(view->model()->index(0, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
        QVERIFY(spacing->isVisible());  // the list closing commits nothing yet
        QTest::keyClick(spacing, Qt::Key_Return);
        QCOMPARE(form->cellText(5, Grid::kColSpacing), QStringLiteral("12.5K(Narrow)"));
        QCOMPARE(doc.radioImage[ChannelStart(5) + 12], std::uint8_t(0x00));
        // Enter on column 7 of row 5 goes to column 1 of row 6.
        QCOMPARE(form->MSHFlexGridChannel->currentRow(), 5);
        QCOMPARE(form->MSHFlexGridChannel->currentColumn(), int(Grid::kColRx));

        // Power and scan by the arrow keys, committed by clicking elsewhere.
        clickCell(5, Grid::kColPower);
        QTest::keyClick(form->Combo1[2], Qt::Key_Up);
        clickCell(5, Grid::kColScan);
        QCOMPARE(form->cellText(5, Grid::kColPower), QStringLiteral("Low"));
        QCOMPARE(doc.radioImage[ChannelStart(5) + 13], std::uint8_t(0x00));
        QTest::keyClick(form->Combo1[3], Qt::Key_Down);
        QTest::keyClick(form->Combo1[3], Qt::Key_Return);
        QCOMPARE(form->cellText(5, Grid::kColScan), QStringLiteral("Delete"));
        QVERIFY(!GetScanAddBit(doc.radioImage, 5));

        // Tones typed in lower case, filtered and normalised.
        clickCell(5, Grid::kColDecode);
        typeInto(form->Combo1[0], "d2x3");
        QCOMPARE(form->cellText(5, Grid::kColDecode), QStringLiteral("D230N"));
        QCOMPARE(RxTone(doc.radioImage, 5), (ToneCode{0x98, 0x20}));
        clickCell(5, Grid::kColEncode);
        typeInto(form->Combo1[1], "123.25");
        QCOMPARE(form->cellText(5, Grid::kColEncode), QStringLiteral("123.2"));
        QCOMPARE(TxTone(doc.radioImage, 5), (ToneCode{0xD0, 0x04}));
        clickCell(5, Grid::kColEncode);
        form->Combo1[1]->setCurrentIndex(0);  // "None" from the list
        QTest::keyClick(form->Combo1[1], Qt::Key_Return);
        QCOMPARE(TxTone(doc.radioImage, 5), kNoTone);
    }

    void enterOnTheLastRowGoesToMore() {
        CommitRxFrequency(doc, 16, "150");
        openForm();
        clickCell(16, Grid::kColSpacing);
        QTest::keyClick(form->Combo1[4], Qt::Key_Return);
        QCOMPARE(form->MSHFlexGridChannel->currentRow(), 15);
        QCOMPARE(form->MSHFlexGridChannel->currentColumn(), int(Grid::kColMore));
        QTest::keyClick(form->MSHFlexGridChannel, Qt::Key_F11, Qt::ShiftModifier);  // not F11
        QVERIFY(host->opened.empty());
        QTest::keyClick(form->MSHFlexGridChannel, Qt::Key_Return);
        QCOMPARE(host->opened, std::vector<EditorKind>{EditorKind::ChannelEdit});
    }

    void insertAndDeleteMoveScanBits() {
        for (int k = 1; k <= 15; ++k) {
            CommitRxFrequency(doc, k, QString::number(140 + k).toStdString());
            SetScanAddBit(doc.radioImage, k, k % 3 == 0);
        }
        const RadioImage before = doc.radioImage;
        openForm();
        clickCell(3, Grid::kColPower);
        QTest::keyClick(form->Combo1[2], Qt::Key_I, Qt::ControlModifier);
        QVERIFY(!form->Combo1[2]->isVisible());
        QCOMPARE(rowCells(3), QStringList(7, QString()));
        for (int k = 4; k <= 16; ++k) {
            QCOMPARE(form->cellText(k, Grid::kColRx), QString("%1.00000").arg(139 + k));
            QCOMPARE(GetScanAddBit(doc.radioImage, k), (k - 1) % 3 == 0);
        }
        QVERIFY(host->messageService.shown.isEmpty());
        // Channel 16 is in use now: a second insert is refused, and the user is told why.
        const RadioImage full = doc.radioImage;
        QTest::keyClick(form->MSHFlexGridChannel, Qt::Key_F9, Qt::ShiftModifier);
        QCOMPARE(doc.radioImage, full);
        QCOMPARE(host->messageService.shown.size(), 1);
        QVERIFY(host->messageService.shown.front().text.startsWith("Channel 16 is in use"));

        // Ctrl+D while a tone combo has focus deletes its channel, putting all back.
        clickCell(3, Grid::kColRx);
        typeInto(form->Text1, "170");
        clickCell(3, Grid::kColDecode);
        QCOMPARE(focus(), form->Combo1[0]);
        QTest::keyClick(form->Combo1[0], Qt::Key_D, Qt::ControlModifier);
        QVERIFY(!form->Combo1[0]->isVisible());
        QCOMPARE(doc.radioImage, before);
        QCOMPARE(form->cellText(3, Grid::kColRx), QStringLiteral("143.00000"));
        QCOMPARE(form->cellText(16, Grid::kColRx), QString());
    }

    void dialogChangesRedrawAtOnce() {
        openForm();
        CommitRxFrequency(doc, 2, "160.5");
        doc.commitChange();  // another window's edit, announced
        QCOMPARE(form->cellText(2, Grid::kColRx), QStringLiteral("160.50000"));
        // The dialog's channel choice becomes the grid's current row.
        clickCell(1, Grid::kColRx);
        QTest::keyClick(form->Text1, Qt::Key_Escape);
        form->FreshData();
        host->appState.setCurrentRow(9);
        QCOMPARE(form->MSHFlexGridChannel->currentRow(), 8);
    }

    void channelCopyWithScanBits() {
        CommitRxFrequency(doc, 3, "150.125");
        SetRxTone(doc.radioImage, 3, {0x13, 0xA0});
        CommitRxFrequency(doc, 7, "160");
        ClearScanAddBit(doc.radioImage, 3);
        openForm();
        clickCell(3, Grid::kColRx);
        bool seen = false;
        onNextModal<FormChannelCopy>(&seen, [](FormChannelCopy* d) {
            QCOMPARE(d->TextChannelFrom->text(), QStringLiteral("3"));
            QTest::keyClicks(d->ComboChannelTo, "7");
            QCOMPARE(d->ComboChannelTo->currentText(), QStringLiteral("7"));
            QTest::mouseClick(d->CommandCopy, Qt::LeftButton);
        });
        QTest::keyClick(form->Text1, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(seen);
        QCOMPARE(recordOf(doc, 7), recordOf(doc, 3));
        QVERIFY(!GetScanAddBit(doc.radioImage, 7));
        QCOMPARE(form->cellText(7, Grid::kColDecode), QStringLiteral("D023I"));
        QCOMPARE(form->cellText(7, Grid::kColScan), QStringLiteral("Delete"));
    }

    void frequencyCopyClamps() {
        CommitRxFrequency(doc, 2, "150");
        SetTxTone(doc.radioImage, 2, {0x75, 0x03});
        openForm();
        clickCell(2, Grid::kColPower);
        bool seen = false;
        onNextModal<FormFrequencyCopy>(&seen, [](FormFrequencyCopy* d) {
            QCOMPARE(d->TextTxFreq->selectedText(), QStringLiteral("150.00000"));
            QTest::keyClicks(d->TextTxFreq, "180");
            QTest::keyClick(d->TextTxFreq, Qt::Key_Return);
            QVERIFY(!d->isVisible());
        });
        QTest::keyClick(form->Combo1[2], Qt::Key_F4, Qt::ShiftModifier);
        QVERIFY(seen);
        QCOMPARE(host->messageService.shown.size(), 1);
        QCOMPARE(TxFrequencyBytes(doc.radioImage, 2), (FrequencyBytes{0x00, 0x00, 0x40, 0x17}));
        QCOMPARE(form->cellText(2, Grid::kColTx), QStringLiteral("174.00000"));

        // An empty text removes the transmit frequency but keeps the encode tone.
        seen = false;
        onNextModal<FormFrequencyCopy>(&seen, [](FormFrequencyCopy* d) {
            QTest::keyClick(d->TextTxFreq, Qt::Key_Backspace);
            QTest::mouseClick(d->CommandOK, Qt::LeftButton);
        });
        QTest::keyClick(form->MSHFlexGridChannel, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(seen);
        QCOMPARE(form->cellText(2, Grid::kColTx), QString());
        QCOMPARE(TxTone(doc.radioImage, 2), (ToneCode{0x75, 0x03}));
    }

    void qtDqtCopy() {
        CommitRxFrequency(doc, 4, "150");
        SetRxTone(doc.radioImage, 4, {0x75, 0x03});
        ClearTx(doc.radioImage, 4);
        openForm();
        clickCell(4, Grid::kColPower);
        bool seen = false;
        onNextModal<FormQtDqtCopy>(&seen, [](FormQtDqtCopy*) {});
        QTest::keyClick(form->Combo1[2], Qt::Key_Q, Qt::ControlModifier);
        QCoreApplication::processEvents();  // the watcher finds no dialog and ends
        QVERIFY(!seen);                     // no transmit frequency: no tone to copy onto

        CommitTxFrequency(doc, 4, "151");
        doc.commitChange();
        QVERIFY(!form->cellText(4, Grid::kColTx).isEmpty());
        onNextModal<FormQtDqtCopy>(&seen, [](FormQtDqtCopy* d) {
            QCOMPARE(d->TextDecode->text(), QStringLiteral("88.5"));
            QCOMPARE(d->ComboEncode->lineEdit()->selectedText(), QStringLiteral("88.5"));
            // Lower case counts as in the grid; five characters fill the box,
            // Backspace still works.
            QTest::keyClicks(d->ComboEncode, "d023nX");
            QCOMPARE(d->ComboEncode->currentText(), QStringLiteral("D023N"));
            QTest::keyClick(d->ComboEncode, Qt::Key_Backspace);
            QTest::keyClicks(d->ComboEncode, "i");
            QTest::mouseClick(d->CommandOK, Qt::LeftButton);
        });
        QTest::keyClick(form->MSHFlexGridChannel, Qt::Key_F5, Qt::ShiftModifier);
        QVERIFY(seen);
        QCOMPARE(TxTone(doc.radioImage, 4), (ToneCode{0x13, 0xA0}));
        QCOMPARE(form->cellText(4, Grid::kColEncode), QStringLiteral("D023I"));

        // A CTCSS tone below the pick list is held at its first entry.
        seen = false;
        onNextModal<FormQtDqtCopy>(&seen, [](FormQtDqtCopy* d) {
            QTest::keyClicks(d->ComboEncode, "23");
            QTest::keyClick(d->ComboEncode, Qt::Key_Return);
            QCOMPARE(d->ComboEncode->currentText(), QStringLiteral("67.0"));
            QTest::mouseClick(d->CommandOK, Qt::LeftButton);
        });
        QTest::keyClick(form->MSHFlexGridChannel, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(seen);
        QCOMPARE(TxTone(doc.radioImage, 4), (ToneCode{0x9E, 0x02}));
    }

    // Typing over a tone cell replaces it, as in the frequency cells.
    void toneCellsOpenSelected() {
        CommitRxFrequency(doc, 2, "150");
        SetRxTone(doc.radioImage, 2, {0x9E, 0x02});
        SetTxTone(doc.radioImage, 2, {0x75, 0x03});
        openForm();
        for (int column : {int(Grid::kColDecode), int(Grid::kColEncode)}) {
            clickCell(2, column);
            QLineEdit* edit = form->Combo1[column - Grid::kColDecode]->lineEdit();
            QCOMPARE(edit->selectedText(), form->cellText(2, column));
            QTest::keyClicks(edit, "D023");
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(form->cellText(2, column), QStringLiteral("D023N"));
        }
        QCOMPARE(RxTone(doc.radioImage, 2), (ToneCode{0x13, 0x20}));
        QCOMPARE(TxTone(doc.radioImage, 2), (ToneCode{0x13, 0x20}));
    }

    // Escape closes any cell editor; nothing is written and the cell shows what it did.
    void escapeWritesNothing_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::newRow("rx") << int(Grid::kColRx) << "160";
        QTest::newRow("tx") << int(Grid::kColTx) << "";
        QTest::newRow("decode") << int(Grid::kColDecode) << "D023";
        QTest::newRow("encode") << int(Grid::kColEncode) << "100";
        QTest::newRow("power") << int(Grid::kColPower) << "";
        QTest::newRow("scan") << int(Grid::kColScan) << "";
        QTest::newRow("spacing") << int(Grid::kColSpacing) << "";
    }
    void escapeWritesNothing() {
        QFETCH(int, column);
        QFETCH(QString, typed);
        CommitRxFrequency(doc, 3, "150");
        SetTxTone(doc.radioImage, 3, {0x75, 0x03});
        const RadioImage before = doc.radioImage;
        openForm();
        const QStringList cells = rowCells(3);
        clickCell(3, column);
        QWidget* editor = column <= Grid::kColTx
                              ? static_cast<QWidget*>(form->Text1)
                              : static_cast<QWidget*>(form->Combo1[column - Grid::kColDecode]);
        QVERIFY(editor->isVisible());
        if (column <= Grid::kColEncode) {
            typeInto(editor, typed, false);
        } else {
            QTest::keyClick(editor, Qt::Key_Up);
            QTest::keyClick(editor, Qt::Key_Down);
            QTest::keyClick(editor, Qt::Key_Down);
        }
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!editor->isVisible());
        form->FreshData();
        clickCell(4, Grid::kColRx);  // focus moves on: still nothing to commit
        form->FreshData();
        QCOMPARE(doc.radioImage, before);
        QCOMPARE(rowCells(3), cells);
        QVERIFY(heard.empty());
        QVERIFY(host->messageService.shown.isEmpty());
    }

    // A transmit frequency typed into a row keeps the encode tone the row shows.
    void transmitCommitKeepsTheShownEncodeTone() {
        CommitRxFrequency(doc, 5, "150");
        ClearTx(doc.radioImage, 5);
        SetTxTone(doc.radioImage, 5, {0x75, 0x03});
        openForm();
        QCOMPARE(form->cellText(5, Grid::kColEncode), QStringLiteral("88.5"));
        clickCell(5, Grid::kColTx);
        typeInto(form->Text1, "151");
        QCOMPARE(form->cellText(5, Grid::kColEncode), QStringLiteral("88.5"));
        QCOMPARE(TxTone(doc.radioImage, 5), (ToneCode{0x75, 0x03}));

        // After the transmit side was emptied here, the cell is blank: None applies.
        clickCell(5, Grid::kColTx);
        typeInto(form->Text1, "");
        QCOMPARE(form->cellText(5, Grid::kColEncode), QString());
        clickCell(5, Grid::kColTx);
        typeInto(form->Text1, "152");
        QCOMPARE(form->cellText(5, Grid::kColEncode), QStringLiteral("None"));
        QCOMPARE(TxTone(doc.radioImage, 5), kNoTone);
    }

    void insertOnTheLastRowChangesNoByte() {
        CommitRxFrequency(doc, 15, "150");
        for (std::size_t i = 4; i < 16; ++i) doc.radioImage[ChannelStart(16) + i] = 0x11;
        const RadioImage before = doc.radioImage;
        openForm();
        clickCell(16, Grid::kColRx);
        QTest::keyClick(form->Text1, Qt::Key_Escape);
        QTest::keyClick(form->MSHFlexGridChannel, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(doc.radioImage, before);
        QCOMPARE(form->cellText(15, Grid::kColRx), QStringLiteral("150.00000"));
    }

    // Every cell editor is sized and drawn in the cell font, and each list opens in
    // it, wide enough for the column's widest entry, in both languages.
    void cellEditorsAndListsUseTheCellFont() {
        CommitRxFrequency(doc, 3, "150");
        for (const bool english : {true, false}) {
            doc.IsEnglish = english;
            openForm();
            const QFont cellFont = form->MSHFlexGridChannel->font();
            QCOMPARE(form->Text1->font(), cellFont);
            for (int i = 0; i < 5; ++i) {
                QComboBox* combo = form->Combo1[std::size_t(i)];
                QCOMPARE(combo->font(), cellFont);
                QComboBox plain;
                plain.setEditable(combo->isEditable());
                plain.setFont(cellFont);
                QCOMPARE(combo->sizeHint().height(), plain.sizeHint().height());

                clickCell(3, Grid::kColDecode + i);
                QVERIFY(combo->isVisible());
                combo->showPopup();
                QAbstractItemView* list = combo->view();
                QTRY_VERIFY(list->isVisible());
                QCOMPARE(list->font(), cellFont);
                const QFontMetrics fm(cellFont);
                int widest = 0;
                for (int row = 0; row < combo->count(); ++row)
                    widest = std::max(widest, fm.horizontalAdvance(combo->itemText(row)));
                QVERIFY2(list->viewport()->width() >= widest,
                         qPrintable(QStringLiteral("list %1: %2 < %3")
                                        .arg(i)
                                        .arg(list->viewport()->width())
                                        .arg(widest)));
                combo->hidePopup();
                QTest::keyClick(combo, Qt::Key_Escape);
            }
        }
    }

    void closingCommitsTheOpenEditor() {
        openForm();
        // Closing commits the open editor.
        clickCell(2, Grid::kColRx);
        QTest::keyClicks(form->Text1, "150");
        QTest::mouseClick(form->CommandClose, Qt::LeftButton);
        QVERIFY(ChannelInUse(doc.radioImage, 2));
        QVERIFY(!host->appState.FormChannelInformationOpen);
    }
    void gridLinesStayWholeBesideARoundedCorner() {
        // A window with rounded top corners over the lower right of the grid: the
        // grid repaints what is left of it, rows one pixel tall beside the corner.
        openForm();
        QWidget* view = form->MSHFlexGridChannel->viewport();
        const QImage whole = view->grab().toImage();
        // The whole grid has its lines: each column starts right of one.
        QTableWidget* grid = form->MSHFlexGridChannel;
        for (int c = 1; c < Grid::kColumnCount; ++c)
            for (int row : {0, 7, 15}) {
                const int x = grid->columnViewportPosition(c),
                          y = grid->rowViewportPosition(row) + 5;
                QVERIFY(whole.pixel(x - 1, y) != whole.pixel(x + 5, y));
            }
        for (const QPoint corner : {QPoint(180, 242), QPoint(300, 100), QPoint(40, 260)}) {
            QRegion window(QRect(corner, view->rect().bottomRight()));
            const int cuts[] = {5, 3, 2, 1};
            for (int line = 0; line < 4; ++line)
                window -= QRect(corner.x(), corner.y() + line, cuts[line], 1);
            const QRegion left = QRegion(view->rect()) - window;
            QPixmap repainted(view->size());
            repainted.fill(Qt::red);
            view->render(&repainted, left.boundingRect().topLeft(), left);
            const QImage got = repainted.toImage();
            for (const QRect& r : left)
                for (int y = r.top(); y <= r.bottom(); ++y)
                    for (int x = r.left(); x <= r.right(); ++x)
                        if (got.pixel(x, y) != whole.pixel(x, y))
                            QFAIL(qPrintable(QString("pixel %1,%2 differs").arg(x).arg(y)));
        }
    }
};

QTEST_MAIN(ChannelGridTest)
#include "channel_grid_test.moc"
