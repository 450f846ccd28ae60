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
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <QDateTime>
#include <QTreeWidget>
#include "channels/form_channel_information.h"
#include "shell/backups.h"
#include "shell/data_store.h"
#include "shell/mdi_form_main.h"
#include "shell/recent_files.h"
#include "shell/standard_parts.h"
#include "shell_test_support.h"

using namespace baldo7;
using shelltest::onModal;
using Grid = FormChannelInformation;

Q_DECLARE_METATYPE(MsgAnswer)

class GuardTest : public QObject, public shelltest::MainWindowRig {
    Q_OBJECT
    QTemporaryDir tmp;
    int transfers = 0;
    std::function<void()> transfer;  // what the stand-in transfer window does

    void start() {
        ShellParts parts = StandardShellParts();
        transfers = 0;
        parts.showProcess = [this](MDIFormMain&) {
            ++transfers;
            if (transfer) transfer();
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
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(a)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(win.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(win.get(), &drop);
        QTRY_COMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QString("Save changes to b.rdat?"));
        QCOMPARE(QString::fromStdString(doc->CurrentFilePath), b);  // cancelled

        // Not a data file: refused at the door.
        QMimeData text;
        text.setUrls({QUrl::fromLocalFile(tmp.filePath("notes.txt"))});
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
        QCOMPARE(messages.shown[0].text, QString("Error file！"));
        QVERIFY(grid()->cellText(1, Grid::kColRx).isEmpty());
        QCOMPARE(doc->CurrentFileName, std::string("new.rdat"));
    }

    void backupsAfterAReadAndBeforeAWrite() {
        start();
        const QString folder = backups.filePath("backups");
        transfer = [this] {
            if (doc->ReadMode) doc->radioImage[16] = 0x42;  // what the radio held
            doc->TransferOK = true;
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
        QVERIFY(!doc->isModified());  // written
        transfer = nullptr;
    }

    // File → Backups… lists the folder newest first and opens the chosen one through
    // the guarded Open: unsaved edits are asked about first.
    void backupsWindowListsNewestFirstAndOpensTheChosenOne() {
        start();
        const QString folder = backups.filePath("backups");
        QDir(folder).removeRecursively();
        const QDateTime now = QDateTime::currentDateTime();
        Document older = *doc;
        older.radioImage[16] = 0x11;
        older.ModelType = "UHF";
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
        onModal([&rows](QWidget* w) {
            QCOMPARE(w->objectName(), QString("FormBackups"));
            auto* list = w->findChild<QTreeWidget*>("ListBackups");
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                rows << list->topLevelItem(i)->text(1) + " " + list->topLevelItem(i)->text(2);
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

    void aFailedBackupIsReportedAndTheWriteWaitsForTheUser() {
        start();
        QDir(backups.filePath("backups")).removeRecursively();
        QFile blocker(backups.filePath("backups"));  // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        transfer = [this] { doc->TransferOK = true; };
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
        win->resize(900, 700);
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
        QCOMPARE(again.size(), QSize(900, 700));
        chooser.requests.clear();
        chooser.answerWith(QString());
        again.findChild<QAction*>("MenuOpen")->trigger();
        QCOMPARE(chooser.requests.size(), 1);
        QCOMPARE(chooser.requests[0].folder, tmp.path());
    }
};

QTEST_MAIN(GuardTest)
#include "guard_test.moc"
