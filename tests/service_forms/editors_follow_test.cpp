// Editors open side by side on one document: a change made in one is shown by the
// others at once, and so is its undo; re-encoding the other never puts old bytes back.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "channels/channel_record.h"
#include "channels/form_batch_channel_edit.h"
#include "channels/form_channel_edit.h"
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

// What a window shows: every visible cell, box and list (entries, choice, whether it
// can be used) and every tick, in the order of its children.
QStringList viewOf(const QWidget* form) {
    QStringList out;
    for (const QWidget* w : form->findChildren<QWidget*>()) {
        // A cell editor laid over a grid shows what is being typed, not the bytes.
        const QString name = w->objectName();
        if (!w->isVisibleTo(form) || name == "Text1" || name.startsWith("Combo1_")) continue;
        const QString usable = w->isEnabled() ? QString() : QStringLiteral(" (off)");
        if (const auto* table = qobject_cast<const QTableWidget*>(w)) {
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    if (const QTableWidgetItem* item = table->item(r, c)) out << item->text();
        } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
            out << entries(combo).join('|') + " > " + combo->currentText() + usable;
        } else if (const auto* box = qobject_cast<const QLineEdit*>(w)) {
            out << box->text() + usable;
        } else if (const auto* tick = qobject_cast<const QAbstractButton*>(w)) {
            if (tick->isCheckable())
                out << tick->objectName() + (tick->isChecked() ? " on" : " off");
        }
    }
    return out;
}

// The windows of the follow test, by name: the channel grid, the channel edit
// dialog, scan information, the embedded message and the tune data.
enum class Edit { GridScanCell, GridNewChannel, DialogPower, ScanPriority, MessageLine, TuneCell };
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

    // A window of each kind, and how to build one afresh on other bytes.
    struct Window {
        QString name;
        std::unique_ptr<QWidget> open;
        std::function<std::unique_ptr<QWidget>(Document&, EditorHost&)> make;
    };

    // Every open window shows what a window opened now on the same bytes would show,
    // and none keeps a timer running to get there.
    void allShowTheBytes(const std::vector<Window>& windows) {
        Document copy = doc;
        for (const Window& w : windows) {
            FakeEditorHost fresh;
            fresh.appState.setCurrentRow(host->appState.currentRow());
            const std::unique_ptr<QWidget> now = w.make(copy, fresh);
            const QStringList shown = viewOf(w.open.get()), expected = viewOf(now.get());
            if (shown != expected) qWarning("%s is stale", qPrintable(w.name));
            QCOMPARE(shown, expected);
            for (const QTimer* timer : w.open->findChildren<QTimer*>())
                QVERIFY2(!timer->isActive(), qPrintable(w.name));
        }
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

    // One edit in one window, then its undo: after each, every open window shows the
    // bytes, with nothing to wait for. `changed` names the windows whose view the edit
    // must change, so that no row passes by editing nothing.
    void everyOpenWindowShowsEveryEdit_data() {
        QTest::addColumn<int>("edit");
        QTest::addColumn<QStringList>("changed");
        QTest::newRow("grid: scan cell of channel 3")
            << int(Edit::GridScanCell) << QStringList{"grid", "dialog", "scan"};
        QTest::newRow("grid: new channel 2")
            << int(Edit::GridNewChannel) << QStringList{"grid", "dialog", "scan"};
        QTest::newRow("channel edit: power of channel 1")
            << int(Edit::DialogPower) << QStringList{"grid", "dialog"};
        QTest::newRow("scan information: priority channel")
            << int(Edit::ScanPriority) << QStringList{"scan"};
        QTest::newRow("embedded message: line 2")
            << int(Edit::MessageLine) << QStringList{"message", "tune"};
        QTest::newRow("tune data: TX High of point 1")
            << int(Edit::TuneCell) << QStringList{"tune", "message"};
    }
    void everyOpenWindowShowsEveryEdit() {
        QFETCH(int, edit);
        QFETCH(QStringList, changed);
        doc.radioImage[addr::kScanAddBitmap] = doc.radioImage[addr::kScanAddBitmap + 1] = 0;
        for (int ch : {1, 3}) {
            SetRxFrequency(doc.radioImage, ch, UnitsToBytes(14600000));
            SetScanAddBit(doc.radioImage, ch, true);
        }
        doc.radioImage[288] = 1;  // priority slot 1 on, channel 1
        doc.radioImage[312] = 1;
        doc.startHistory();
        const RadioImage image = doc.radioImage;

        std::vector<Window> windows;
        const auto add = [&](const char* name, auto make) {
            windows.push_back({name, make(doc, *host), make});
            windows.back().open->show();
        };
        add("grid", [](Document& d, EditorHost& h) -> std::unique_ptr<QWidget> {
            return std::make_unique<FormChannelInformation>(d, h);
        });
        add("dialog", [](Document& d, EditorHost& h) -> std::unique_ptr<QWidget> {
            return std::make_unique<FormChannelEdit>(d, h);
        });
        add("scan", [](Document& d, EditorHost& h) -> std::unique_ptr<QWidget> {
            return std::make_unique<FormScanInformation>(d, h);
        });
        add("message", [](Document& d, EditorHost& h) -> std::unique_ptr<QWidget> {
            return std::make_unique<FormEmbedMessage>(d, h);
        });
        add("tune", [](Document& d, EditorHost& h) -> std::unique_ptr<QWidget> {
            return std::make_unique<FormTune>(d, h, nullptr);
        });
        const auto window = [&](const char* name) -> QWidget* {
            for (const Window& w : windows)
                if (w.name == QLatin1String(name)) return w.open.get();
            return nullptr;
        };
        auto* grid = static_cast<FormChannelInformation*>(window("grid"));
        auto* dialog = static_cast<FormChannelEdit*>(window("dialog"));
        auto* scan = static_cast<FormScanInformation*>(window("scan"));
        auto* message = static_cast<FormEmbedMessage*>(window("message"));
        auto* tune = static_cast<FormTune*>(window("tune"));
        allShowTheBytes(windows);
        QStringList before;
        for (const Window& w : windows) before << viewOf(w.open.get()).join('\n');

        const std::size_t stepsBefore = steps.size();
        const auto activate = [](QWidget* w) {
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
        };
        switch (Edit(edit)) {
            case Edit::GridScanCell:
            case Edit::GridNewChannel: {
                activate(grid);
                const bool scanCell = Edit(edit) == Edit::GridScanCell;
                clickCell(
                    grid->MSHFlexGridChannel, scanCell ? 2 : 1,
                    scanCell ? FormChannelInformation::kColScan : FormChannelInformation::kColRx);
                QWidget* editor = scanCell ? static_cast<QWidget*>(grid->Combo1[3]) : grid->Text1;
                QVERIFY(editor->isVisible());
                if (scanCell)
                    grid->Combo1[3]->setCurrentIndex(1);  // "Delete"
                else
                    QTest::keyClicks(editor, "150");
                QTest::keyClick(editor, Qt::Key_Return);
                break;
            }
            case Edit::DialogPower:
                activate(dialog);
                pick(dialog->ComboTxPower, 1 - dialog->ComboTxPower->currentIndex());
                break;
            case Edit::ScanPriority:
                activate(scan);
                pick(scan->ComboPriorityChannel[0], 1);  // channel 3
                break;
            case Edit::MessageLine: {
                activate(message);
                QLineEdit* line2 = message->TextEmbedMessage[1];
                line2->setFocus();
                QTest::keyClicks(line2, QString(17, QLatin1Char('a')));
                QTest::keyClick(line2, Qt::Key_Return);
                break;
            }
            case Edit::TuneCell:
                activate(tune);
                clickCell(tune->MSHFlexGridTuneData, 2, 1);
                QTest::keyClick(tune->Text1, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(tune->Text1, "66");
                QTest::keyClick(tune->Text1, Qt::Key_Return);
                break;
        }
        QVERIFY(steps.size() > stepsBefore);
        allShowTheBytes(windows);
        for (std::size_t i = 0; i < windows.size(); ++i)
            if (changed.contains(windows[i].name))
                QVERIFY2(viewOf(windows[i].open.get()).join('\n') != before[int(i)],
                         qPrintable(windows[i].name));

        while (steps.size() > stepsBefore) undo();
        QCOMPARE(doc.radioImage, image);
        allShowTheBytes(windows);
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
