// The unsaved-changes guard: every action that replaces or discards the data asks
// "Save changes to NAME?" when there are changes, in place of the action's own
// question, and Save, Discard and Cancel each do what they say.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include <QDateTime>
#include <QLabel>
#include <QTreeWidget>
#include "app/standard_parts.h"
#include "channels/channel_record.h"
#include "channels/form_channel_information.h"
#include "link/transfer_ranges.h"
#include "shell/form_backups.h"
#include "shell/mdi_form_main.h"
#include "shell_test_support.h"
#include "storage/backups.h"
#include "storage/data_store.h"
#include "storage/recent_files.h"

using namespace baldo7;
using shelltest::onModal;
using Grid = FormChannelInformation;

Q_DECLARE_METATYPE(MsgAnswer)

namespace {
// Drops `path` on `window` as a file manager does: false when the window refuses
// the drag at the door (then nothing is dropped).
bool dropFile(QWidget* window, const QString& path) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(window, &drop);
    return true;
}
}  // namespace

class GuardTest : public QObject, public shelltest::MainWindowRig {
    Q_OBJECT
    QTemporaryDir tmp;
    int transfers = 0;
    // What the stand-in transfer window does; true when the radio answered.
    std::function<bool()> transfer;
    Document* exchanged = nullptr;  // the document of the stand-in's exchange
    TransferRequest requested;      // and what it was asked for

    void start() {
        ShellParts parts = StandardShellParts();
        transfers = 0;
        parts.showProcess = [this](MDIFormMain&, Document& d, const TransferRequest& r) {
            ++transfers;
            exchanged = &d;
            requested = r;
            TransferReport report;
            report.request = report.exchange.request = r;
            report.exchange.outcome =
                transfer && transfer() ? ExchangeOutcome::Done : ExchangeOutcome::Cancelled;
            return report;
        };
        MainWindowRig::start(tmp.filePath("baldo7.ini"), true, "4", std::move(parts));
    }
    Grid* grid() { return static_cast<Grid*>(win->editorWidget(EditorWindow::ChannelInformation)); }
    QAction* action(const char* name) { return win->findChild<QAction*>(name); }
    void enterRx(int row, const QString& text) {
        QTableWidget* table = grid()->MSHFlexGridChannel;
        const QRect rect = table->visualItemRect(table->item(row - 1, Grid::kColRx));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::keyClicks(grid()->Text1, text);
        QTest::keyClick(grid()->Text1, Qt::Key_Return);
    }
    void saveAs(const QString& path) {
        chooser.answerWith(path);
        action("MenuSaveAs")->trigger();
        QCOMPARE(QString::fromStdString(doc->CurrentFilePath), path);
    }
    QStringList asked() {
        QStringList texts;
        for (const Message& m : messages.shown) texts << m.text;
        return texts;
    }

private slots:
    void everyReplacingActionAsksOnce_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<bool>("goesOn");
        const QString save = "Save changes to base.rdat?";
        const QString cover = "Do you want to cover current data?";
        const QString cleared = "Frequency data will be cleared";
        struct Command {
            const char* name;
            QString ownQuestion;  // the action's question when nothing is unsaved
        };
        const Command commands[] = {
            {"close", {}}, {"new", {}}, {"open", cover}, {"read", {}}, {"model", cleared}};
        for (const Command& c : commands) {
            const QStringList own =
                c.ownQuestion.isEmpty() ? QStringList() : QStringList{c.ownQuestion};
            QTest::addRow("%s unedited", c.name) << c.name << false << MsgAnswer::Ok << own << true;
            QTest::addRow("%s save", c.name)
                << c.name << true << MsgAnswer::Save << QStringList{save} << true;
            QTest::addRow("%s discard", c.name)
                << c.name << true << MsgAnswer::Discard << QStringList{save} << true;
            QTest::addRow("%s cancel", c.name)
                << c.name << true << MsgAnswer::Cancel << QStringList{save} << false;
        }
    }
    void everyReplacingActionAsksOnce() {
        QFETCH(QString, command);
        QFETCH(bool, edited);
        QFETCH(MsgAnswer, answer);
        QFETCH(QStringList, questions);
        QFETCH(bool, goesOn);

        start();
        const QString other = tmp.filePath("other.rdat");
        const QString base = tmp.filePath("base.rdat");
        saveAs(other);
        saveAs(base);
        if (edited) enterRx(1, "145");
        QCOMPARE(doc->isModified(), edited);
        const RadioImage editedImage = doc->radioImage;
        messages.shown.clear();
        messages.setAnswerer([answer](const Message& m) {
            return m.buttons == MsgButtons::SaveDiscardCancel ? answer : MsgAnswer::Ok;
        });
        chooser.answerWith(other);

        bool wentOn = false;
        if (command == "close") {
            wentOn = win->close();
        } else if (command == "new") {
            action("MenuNew")->trigger();
            wentOn = doc->CurrentFileName == "new.rdat";
        } else if (command == "open") {
            action("MenuOpen")->trigger();
            wentOn = QString::fromStdString(doc->CurrentFilePath) == other;
        } else if (command == "read") {
            action("MenuRead")->trigger();
            wentOn = transfers == 1;
        } else if (command == "model") {
            onModal([](QWidget* dialog) {
                auto* model = dialog->findChild<QComboBox*>("ComboModel");
                model->setCurrentIndex(1);
                emit model->activated(1);
                dialog->findChild<QComboBox*>("ComboArea")->setCurrentIndex(7);
                QTest::mouseClick(dialog->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
            });
            action("MenuModelInformation")->trigger();
            wentOn = doc->BandLowMHz == 400;
        }
        QCOMPARE(asked(), questions);
        QCOMPARE(wentOn, goesOn);

        // Save wrote the edits to the file; nothing else touched it.
        Document saved;
        QVERIFY(LoadDataFile(saved, base).ok());
        QCOMPARE(saved.radioImage == editedImage, !edited || answer == MsgAnswer::Save);
        if (!goesOn) QVERIFY(doc->radioImage == editedImage);
    }

    void aSaveThatFailsStopsTheAction() {
        start();
        enterRx(1, "145");  // new.rdat: Save asks for a name
        messages.setAnswerer([](const Message& m) {
            return m.buttons == MsgButtons::SaveDiscardCancel ? MsgAnswer::Save : MsgAnswer::Ok;
        });
        chooser.answerWith(QString());  // the save dialog is cancelled
        QVERIFY(!win->close());
        action("MenuNew")->trigger();
        QVERIFY(doc->isModified());
        QCOMPARE(grid()->cellText(1, Grid::kColRx).isEmpty(), false);
    }

    void droppedAndRecentFilesOpenThroughTheGuard() {
        start();
        const QString a = tmp.filePath("a.rdat");
        const QString b = tmp.filePath("b.rdat");
        saveAs(a);
        saveAs(b);
        QCOMPARE(win->recentFiles(), (QStringList{b, a}));
        QCOMPARE(ReadRecentFiles(*settings), (QStringList{b, a}));
        QCOMPARE(ReadLastFolder(*settings), tmp.path());

        enterRx(1, "145");
        messages.setAnswerer([](const Message& m) {
            return m.buttons == MsgButtons::SaveDiscardCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
        });
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(dropFile(win.get(), a));
        QTRY_COMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QString("Save changes to b.rdat?"));
        QCOMPARE(QString::fromStdString(doc->CurrentFilePath), b);  // cancelled

        // Neither a data file nor a channel list: refused at the door.
        QMimeData text;
        text.setUrls({QUrl::fromLocalFile(tmp.filePath("photo.jpg"))});
        QDragEnterEvent other(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, {});
        QApplication::sendEvent(win.get(), &other);
        QVERIFY(!other.isAccepted());

        // A recent file that has gone is pruned; the others open through the guard.
        QVERIFY(QFile::remove(b));
        messages.setAnswerer([](const Message& m) {
            return m.buttons == MsgButtons::SaveDiscardCancel ? MsgAnswer::Discard : MsgAnswer::Ok;
        });
        QMenu* recent = win->findChild<QMenu*>("MenuRecent");
        emit recent->aboutToShow();
        QCOMPARE(win->recentFiles(), QStringList{a});
        QAction* first = win->findChild<QAction*>("RecentFile1");
        QVERIFY(first);
        first->trigger();
        QCOMPARE(QString::fromStdString(doc->CurrentFilePath), a);
        QVERIFY(!doc->isModified());
    }

    void theFileNamedAtStartOpensAndARefusedOneLeavesTheTemplate() {
        start();
        const QString good = tmp.filePath("start.rdat");
        enterRx(1, "145");
        saveAs(good);
        QFile bad(tmp.filePath("bad.rdat"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a data file");
        bad.close();

        start();
        QVERIFY(win->openStartFile(good));
        QVERIFY(!grid()->cellText(1, Grid::kColRx).isEmpty());
        QVERIFY(!doc->isModified());
        QVERIFY(messages.shown.isEmpty());

        start();
        QVERIFY(!win->openStartFile(bad.fileName()));
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text.section('\n', 0, 0), QString("Error file！"));
        QVERIFY(grid()->cellText(1, Grid::kColRx).isEmpty());
        QCOMPARE(doc->CurrentFileName, std::string("new.rdat"));
    }

    // A file that cannot be taken is named with its reason, and nothing is asked
    // about the current data first, whether chosen in Open or dropped.
    void aRefusedFileIsNamedBeforeAnyQuestion_data() {
        QTest::addColumn<QByteArray>("content");  // "-": no file at all
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("dropped");
        QTest::addColumn<QStringList>("lines");
        const QByteArray good(
            reinterpret_cast<const char*>(EncodeDataFile(RadioImage{}, SoftwareData{}).data()),
            kDataFileSize);
        QByteArray foreign = good;
        foreign[0] = 'X';
        const QByteArray huge((1 << 20) + 1, 'B');
        QTest::addRow("short, open")
            << good.left(1000) << true << false
            << QStringList{"Error file！", "", "@", "too short: 1000 bytes, a data file is 1057"};
        QTest::addRow("short, dropped, Chinese")
            << good.left(3) << false << true
            << QStringList{"错误的文件！", "", "@", "文件太短：3 字节，数据文件应为 1057 字节"};
        QTest::addRow("foreign header, dropped")
            << foreign << true << true
            << QStringList{"Error file！", "", "@",
                           "not a BALDO-7 data file (it does not begin with \"BALDO-7 \")"};
        QTest::addRow("too large, open, Chinese")
            << huge << false << false
            << QStringList{"错误的文件！", "", "@",
                           "文件太大：超过 1048576 字节，数据文件应为 1057 字节"};
        QTest::addRow("missing, open") << QByteArray("-") << true << false << QStringList{};
    }
    void aRefusedFileIsNamedBeforeAnyQuestion() {
        QFETCH(QByteArray, content);
        QFETCH(bool, english);
        QFETCH(bool, dropped);
        QFETCH(QStringList, lines);
        start();
        const QString kept = tmp.filePath("kept.rdat");
        enterRx(1, "145");
        saveAs(kept);
        const QString path = tmp.filePath("refused.rdat");
        QFile::remove(path);
        if (content != "-") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
        }
        doc->IsEnglish = english;
        messages.shown.clear();
        if (dropped) {
            QVERIFY(dropFile(win.get(), path));
            QTRY_COMPARE(messages.shown.size(), 1);
        } else {
            chooser.answerWith(path);
            action("MenuOpen")->trigger();
        }
        QCOMPARE(messages.shown.size(), 1);  // the refusal, and no cover question
        QCOMPARE(messages.shown[0].icon, MsgIcon::Error);
        const QString text = messages.shown[0].text;
        QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
        if (!lines.isEmpty()) {
            lines[2] = QDir::toNativeSeparators(path);
            QCOMPARE(text.split('\n'), lines);
        }
        QCOMPARE(QString::fromStdString(doc->CurrentFilePath), kept);
        QVERIFY(!grid()->cellText(1, Grid::kColRx).isEmpty());
    }

    // A 1600×1000 screen at scale 2 leaves 800×500 (less a panel): the main window
    // with its channel list open fits, the editors scrolling in the workspace.
    void theMainWindowFitsAScaledSmallScreen() {
        start();
        QVERIFY(grid());
        const QSize least = win->minimumSizeHint().expandedTo(win->minimumSize());
        QVERIFY2(least.width() <= 800 && least.height() <= 450,
                 qPrintable(QString("%1x%2").arg(least.width()).arg(least.height())));
    }

    void backupsAfterAReadAndBeforeAWrite() {
        start();
        const QString folder = backups.filePath("backups");
        transfer = [this] {
            if (requested.reading()) doc->radioImage[16] = 0x42;  // what the radio held
            return true;
        };
        action("MenuRead")->trigger();
        QStringList files = QDir(folder).entryList({"*_read.rdat"});
        QCOMPARE(files.size(), 1);
        Document read;
        QVERIFY(LoadDataFile(read, QDir(folder).filePath(files[0])).ok());
        QCOMPARE(read.radioImage[16], std::uint8_t(0x42));

        enterRx(2, "146");
        const RadioImage edited = doc->radioImage;
        action("MenuWrite")->trigger();
        QCOMPARE(transfers, 2);
        files = QDir(folder).entryList({"*_before-write.rdat"});
        QCOMPARE(files.size(), 1);
        Document before;
        QVERIFY(LoadDataFile(before, QDir(folder).filePath(files[0])).ok());
        QVERIFY(before.radioImage == edited);
        QVERIFY(doc->isModified());  // in the radio, not yet in a file
        transfer = nullptr;
    }

#ifdef Q_OS_UNIX
    // A full disk, as a file-size limit on this process: Save, a channel export and
    // the backup before a write each say what failed, leave the old file as it was
    // and no temporary file; a write whose backup failed is sent only when the user
    // says so.
    void aFullDiskLeavesEveryOldFileAndIsReported_data() {
        QTest::addColumn<QString>("command");
        QTest::addRow("save") << "MenuSave";
        QTest::addRow("export channels") << "MenuExportChannels";
        QTest::addRow("backup before a write") << "MenuWrite";
    }
    void aFullDiskLeavesEveryOldFileAndIsReported() {
        QFETCH(QString, command);
        start();
        QTemporaryDir full;
        const QString target = full.filePath(command == "MenuExportChannels" ? "c.csv" : "d.rdat");
        saveAs(full.filePath("d.rdat"));
        const QByteArray old = "old\n";
        {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
        }
        const QString folder = backups.filePath("backups");
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(folder));
        const QStringList before = QDir(full.path()).entryList(QDir::Files);
        chooser.answerWith(target);
        transfer = [] { return true; };
        messages.shown.clear();
        messages.setAnswerer([](const Message&) { return MsgAnswer::Cancel; });

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{128, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        action(command.toLatin1())->trigger();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.contains("File too large"),
                 qPrintable(messages.shown[0].text));
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
        QCOMPARE(QDir(full.path()).entryList(QDir::Files), before);
        QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
        QCOMPARE(transfers, 0);  // the write was not sent
        messages.setAnswerer(nullptr);
        transfer = nullptr;
    }
#endif

    // A service exchange keeps what the radio held and what was sent: a write not
    // right after a read of its range reads the range first, into a copy, and a
    // read that fails stops the write. File → Backups… tells a service dump from a
    // data file and says how to put it back.
    void serviceExchangesKeepWhatTheRadioHeldAndWhatWasSent_data() {
        QTest::addColumn<int>("range");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("readExt");  // the pre-read's backup
        QTest::addRow("tune") << int(BackupRange::Tune) << "tune-"
                              << "bin";
        QTest::addRow("stun/die") << int(BackupRange::StunDie) << "stundie-"
                                  << "bin";
        QTest::addRow("special") << int(BackupRange::Special) << "special-"
                                 << "bin";
        QTest::addRow("password change") << int(BackupRange::Data) << ""
                                         << "rdat";
    }
    void serviceExchangesKeepWhatTheRadioHeldAndWhatWasSent() {
        QFETCH(int, range);
        QFETCH(QString, name);
        QFETCH(QString, readExt);
        const auto kept = BackupRange(range);
        start();
        const QString folder = backups.filePath("backups");
        QDir(folder).removeRecursively();
        auto listed = [&](const QString& kind) {
            return QDir(folder).entryList({"*_" + name + kind}, QDir::Files, QDir::Name);
        };
        auto bytesOf = [&](const QString& file) {
            Bytes b;
            [&] { QVERIFY(ReadFileBytes(QDir(folder).filePath(file), b).ok()); }();
            return b;
        };
        const TransferRange span = ServiceBackupSpan(kept, BackupKind::Read);
        const TransferRange sent = ServiceBackupSpan(kept, BackupKind::BeforeWrite);
        auto fill = [&](Document& d, std::uint8_t value) {
            RadioMemory m = RadioMemory::of(d);
            for (int a = span.first; a < span.end; ++a) m.set(a, value);
            m.commitTo(d);
        };
        bool radioAnswers = true;
        transfer = [&] {
            if (requested.reading()) fill(*exchanged, 0x42);  // what the radio holds
            return radioAnswers || !requested.reading();
        };
        auto request = [&](bool read) {
            return read ? TransferRequest::read(kept) : TransferRequest::write(kept);
        };

        // A write out of the blue: read first, then written.
        fill(*doc, 0x17);
        QVERIFY(win->runServiceTransfer(request(false)));
        QCOMPARE(transfers, 2);
        QCOMPARE(RadioMemory::of(*doc).at(span.first), std::uint8_t(0x17));  // still the edit
        QCOMPARE(listed("read*." + readExt).size(), 1);
        QCOMPARE(listed("before-write.*").size(), 1);
        if (kept != BackupRange::Data) {
            QCOMPARE(bytesOf(listed("read*.bin")[0]), Bytes(span.end - span.first, 0x42));
            QCOMPARE(bytesOf(listed("before-write*.bin")[0]), Bytes(sent.end - sent.first, 0x17));
        } else {
            Document held;
            QVERIFY(LoadDataFile(held, QDir(folder).filePath(listed("read*.rdat")[0])).ok());
            QCOMPARE(held.radioImage[0x100], std::uint8_t(0x42));
        }

        // A read, then a write: the read's backup is what the radio held; no second read.
        if (kept != BackupRange::Data) {
            QVERIFY(win->runServiceTransfer(request(true)));
            QCOMPARE(transfers, 3);
            QCOMPARE(listed("read*.bin").size(), 2);
            fill(*doc, 0x18);
            QVERIFY(win->runServiceTransfer(request(false)));
            QCOMPARE(transfers, 4);
            QCOMPARE(listed("read*.bin").size(), 2);
            QCOMPARE(listed("before-write*.bin").size(), 2);
        }

        // The radio does not answer the read: nothing is sent.
        radioAnswers = false;
        messages.shown.clear();
        const int before = transfers;
        QVERIFY(!win->runServiceTransfer(request(false)));
        QCOMPARE(transfers, before + 1);
        QCOMPARE(asked(), QStringList{"What the radio holds could not be read for the backup, "
                                      "so nothing was written."});
        transfer = nullptr;

        QList<BackupEntry> entries = ListBackups(folder);
        QCOMPARE(entries.size(), kept == BackupRange::Data ? 2 : 4);
        FormBackups window(entries, true);
        for (int i = 0; i < window.ListBackups->topLevelItemCount(); ++i) {
            window.ListBackups->setCurrentItem(window.ListBackups->topLevelItem(i));
            const QString kind = window.ListBackups->topLevelItem(i)->text(1);
            const bool isData = entries[i].range == BackupRange::Data;
            QCOMPARE(window.CommandOpen->isEnabled(), isData);
            QCOMPARE(window.LabelRestore->text().contains(
                         "baldo7ctl write --port PORT --range " + BackupRangeName(kept) + " \"" +
                         QDir::toNativeSeparators(entries[i].path) + "\""),
                     !isData);
            if (!isData)
                QVERIFY2(kind.endsWith(": Read from radio") || kind.endsWith(": Before write"),
                         qPrintable(kind));
        }
    }

    // File → Backups… lists the folder newest first and opens the chosen one through
    // the guarded Open: unsaved edits are asked about first.
    void backupsWindowListsNewestFirstAndOpensTheChosenOne() {
        start();
        const QString folder = backups.filePath("backups");
        QDir(folder).removeRecursively();
        const QDateTime now = QDateTime::currentDateTime();
        // Channels in use: none in the newer backup, two in the older one.
        for (int channel = 1; channel <= kChannelCount; ++channel)
            SetRxFrequency(doc->radioImage, channel, {0xFF, 0xFF, 0xFF, 0xFF});
        Document older = *doc;
        older.radioImage[16] = 0x11;
        older.ModelType = "UHF";
        for (int channel : {3, 9}) SetRxFrequency(older.radioImage, channel, FrequencyToBytes(145));
        QVERIFY(!WriteBackup(older, folder, BackupKind::Read, now.addDays(-2)).isEmpty());
        Document newer = *doc;
        newer.radioImage[16] = 0x22;
        newer.ModelType = "VHF";
        QVERIFY(!WriteBackup(newer, folder, BackupKind::BeforeWrite, now.addSecs(-60)).isEmpty());
        QFile stranger(QDir(folder).filePath("notes.txt"));
        QVERIFY(stranger.open(QIODevice::WriteOnly));
        stranger.close();
        QCOMPARE(action("MenuBackups")->text(), QString("&Backups…"));

        enterRx(2, "146");  // unsaved: the guarded Open asks
        messages.setAnswerer([](const Message& m) {
            return m.buttons == MsgButtons::SaveDiscardCancel ? MsgAnswer::Discard : MsgAnswer::Ok;
        });
        QStringList rows;
        onModal([&rows, folder](QWidget* w) {
            QCOMPARE(w->objectName(), QString("FormBackups"));
            auto* list = w->findChild<QTreeWidget*>("ListBackups");
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = list->topLevelItem(i);
                rows << item->text(1) + " " + item->text(2);
                // The band and channels say whose radio it was; the file's name is short,
                // its folder in the tooltip.
                QCOMPARE(item->text(3), QString("136-174MHz"));
                QCOMPARE(item->text(4), QString(i == 0 ? "0" : "2"));
                QVERIFY(item->text(5).endsWith(".rdat") && !item->text(5).contains('/'));
                QCOMPARE(item->toolTip(5), QDir::toNativeSeparators(folder));
            }
            list->setCurrentItem(list->topLevelItem(1));
            QTest::mouseClick(w->findChild<QPushButton*>("CommandOpen"), Qt::LeftButton);
        });
        action("MenuBackups")->trigger();
        QCOMPARE(rows, QStringList({"Before write VHF", "Read from radio UHF"}));
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].buttons, MsgButtons::SaveDiscardCancel);
        QCOMPARE(doc->radioImage[16], std::uint8_t(0x11));
        messages.setAnswerer(nullptr);
    }

    // Where Save writes and whether Exit asks, after each command that changes what
    // the data belongs to. Save's dialog is answered with an existing backup, as a
    // user who picked it in the folder and confirmed the replacement would.
    void saveTargetAndMarkFollowTheFileOnDisk_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("named");     // the file opened before stays Save's target
        QTest::addColumn<bool>("modified");  // the mark is shown and Exit asks
        QTest::newRow("edit, write to radio") << "write" << true << true;
        QTest::newRow("read from radio") << "read" << false << false;
        QTest::newRow("model change") << "model" << false << false;
        QTest::newRow("backup opened") << "backup" << false << false;
    }
    void saveTargetAndMarkFollowTheFileOnDisk() {
        QFETCH(QString, command);
        QFETCH(bool, named);
        QFETCH(bool, modified);
        start();
        transfer = [this] {
            if (requested.reading()) doc->radioImage[16] = 0x42;
            return true;
        };
        const QString folder = backups.filePath("backups");
        QDir(folder).removeRecursively();
        Document old = *doc;
        old.radioImage[16] = 0x11;
        const QString kept =
            WriteBackup(old, folder, BackupKind::Read, QDateTime::currentDateTime().addDays(-1));
        QVERIFY(!kept.isEmpty());
        const auto bytesOf = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray keptBytes = bytesOf(kept);
        const QString base = tmp.filePath("base.rdat");
        saveAs(base);
        const QByteArray baseBytes = bytesOf(base);
        messages.setAnswerer([](const Message& m) {
            return m.buttons == MsgButtons::SaveDiscardCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
        });

        if (command == "write") {
            enterRx(2, "146");
            action("MenuWrite")->trigger();
            QCOMPARE(transfers, 1);
        } else if (command == "read") {
            action("MenuRead")->trigger();
            QCOMPARE(doc->radioImage[16], std::uint8_t(0x42));
        } else if (command == "model") {
            onModal([](QWidget* dialog) {
                auto* model = dialog->findChild<QComboBox*>("ComboModel");
                model->setCurrentIndex(1);
                emit model->activated(1);
                QTest::mouseClick(dialog->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
            });
            action("MenuModelInformation")->trigger();
            QCOMPARE(doc->ModelType, std::string("UHF"));
        } else if (command == "backup") {
            onModal([](QWidget* w) {
                QTest::mouseClick(w->findChild<QPushButton*>("CommandOpen"), Qt::LeftButton);
            });
            action("MenuBackups")->trigger();
            QCOMPARE(doc->radioImage[16], std::uint8_t(0x11));
        }
        const QString name = named ? "base.rdat" : "new.rdat";
        QCOMPARE(QString::fromStdString(doc->CurrentFilePath), named ? base : QString());
        QVERIFY(shelltest::shownTitle(*win).endsWith(
            QString("[FileName:%1%2]").arg(name, modified ? "*" : "")));
        QCOMPARE(win->recentFiles(), QStringList{base});  // a backup is no recent file

        messages.shown.clear();
        QCOMPARE(win->close(), !modified);
        QCOMPARE(asked(), modified ? QStringList{"Save changes to base.rdat?"} : QStringList());

        messages.shown.clear();
        chooser.requests.clear();
        chooser.answerWith(kept);
        action("MenuSave")->trigger();
        QCOMPARE(chooser.requests.size(), named ? 0 : 1);
        if (named) {
            Document saved;
            QVERIFY(LoadDataFile(saved, base).ok());
            QVERIFY(saved.radioImage == doc->radioImage);
            QVERIFY(!doc->isModified());
        } else {
            QCOMPARE(chooser.requests[0].defaultName, QString("new.rdat"));
            QCOMPARE(asked(), QStringList{QDir::toNativeSeparators(kept) +
                                          " is a backup: backups are kept as they were made. "
                                          "Save under another name."});
            QCOMPARE(bytesOf(base), baseBytes);
            QVERIFY(doc->CurrentFilePath.empty());
        }
        QCOMPARE(bytesOf(kept), keptBytes);
        messages.setAnswerer(nullptr);
        transfer = nullptr;
    }

    void aFailedBackupIsReportedAndTheWriteWaitsForTheUser() {
        start();
        QDir(backups.filePath("backups")).removeRecursively();
        QFile blocker(backups.filePath("backups"));  // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        transfer = [] { return true; };
        messages.setAnswerer([](const Message&) { return MsgAnswer::Cancel; });
        action("MenuWrite")->trigger();
        QCOMPARE(transfers, 0);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.startsWith("The backup could not be saved:"));
        QCOMPARE(messages.shown[0].buttons, MsgButtons::OkCancel);
        messages.setAnswerer([](const Message&) { return MsgAnswer::Ok; });
        action("MenuWrite")->trigger();
        QCOMPARE(transfers, 1);
        QVERIFY(blocker.remove());
        transfer = nullptr;
    }

    void backupsOlderThanAYearArePruned() {
        QTemporaryDir dir;
        const QDateTime now(QDate(2026, 12, 8), QTime(10, 0));
        const QStringList names = {
            BackupFileName(now.addDays(-366), "UHF", BackupKind::Read),
            BackupFileName(now.addDays(-365), "UHF", BackupKind::BeforeWrite),
            BackupFileName(now.addDays(-1), "VHF", BackupKind::Read), "2020-01-01_keep.rdat"};
        for (const QString& name : names) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(names[0], QString("2025-12-07_100000_UHF_read.rdat"));
        QCOMPARE(PruneBackups(dir.path(), now), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
        QVERIFY(!QFile::exists(dir.filePath(names[0])));
    }

    void geometryAndFolderAreRememberedAcrossRuns() {
        start();
        win->resize(600, 450);
        const QSize kept = win->size();  // the main window's least size may be larger
        saveAs(tmp.filePath("g.rdat"));
        QVERIFY(win->close());
        QVERIFY(!ReadWindowGeometry(*settings).isEmpty());

        // The next run on the same settings (start() clears them, so not through it).
        ShellServices services;
        services.settings = settings.get();
        services.messages = &messages;
        services.files = &chooser;
        services.programFolder = shelltest::binFolder();
        Document second;
        MDIFormMain again(second, services, StandardShellParts());
        QVERIFY(again.startUp());
        // As it was, as far as the screen has room for it.
        QVERIFY(again.screen()->availableGeometry().contains(again.geometry()));
        QCOMPARE(again.height(), kept.height());
        QVERIFY(again.width() <= kept.width() && again.width() > kept.width() / 2);
        chooser.requests.clear();
        chooser.answerWith(QString());
        again.findChild<QAction*>("MenuOpen")->trigger();
        QCOMPARE(chooser.requests.size(), 1);
        QCOMPARE(chooser.requests[0].folder, tmp.path());
    }
};

QTEST_MAIN(GuardTest)
#include "guard_test.moc"
