// Read and write from the transfer window against the simulator over a real
// pseudo-terminal, with the real editors in the main window.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "app/builtin_radio.h"
#include "app/standard_parts.h"
#include "channels/channel_record.h"
#include "channels/form_channel_information.h"
#include "core/model_band.h"
#include "shell/form_com_port.h"
#include "shell/mdi_form_main.h"
#include "shell/settings.h"
#include "shell/support_bundle.h"
#include "shell_test_support.h"
#include "storage/data_store.h"
#include "tests/support/owner_only.h"
#ifdef BALDO7_PTY_TESTS
#include "sim/pty_simulator.h"
#include "transfer/job_log.h"
#endif

using namespace baldo7;
using shelltest::binFolder;
using shelltest::onModal;

namespace {

// Presses the window's Read or Write button; the window closes itself when done.
void pressOnTransferWindow(const char* button, QString* finalLabel = nullptr) {
    onModal([button, finalLabel](QWidget* w) {
        QCOMPARE(w->objectName(), QString("FormProcess"));
        auto* b = w->findChild<QPushButton*>(button);
        QVERIFY(b && b->isVisible());
        if (finalLabel) {
            auto* label = w->findChild<QLabel*>("LabelProcess");
            QObject::connect(static_cast<QDialog*>(w), &QDialog::finished,
                             [label, finalLabel] { *finalLabel = label->text(); });
        }
        QTest::mouseClick(b, Qt::LeftButton);
    });
}

}  // namespace

class TransferTest : public QObject, public shelltest::MainWindowRig {
    Q_OBJECT
    QTemporaryDir tmp;

    void start(const QString& port) {
        MainWindowRig::start(tmp.filePath("baldo7.ini"), true, port, StandardShellParts());
    }

    FormChannelInformation* grid() {
        return static_cast<FormChannelInformation*>(
            win->editorWidget(EditorWindow::ChannelInformation));
    }

private slots:
#ifdef BALDO7_PTY_TESTS
    void readThenWriteThroughThePseudoTerminal() {
        // A radio whose memory differs from the template everywhere it matters.
        Document radioDoc;
        QVERIFY(LoadTemplate(radioDoc, binFolder()).ok());
        radioDoc.radioImage[441] = 0x33;
        radioDoc.radioImage[445] = 0x73;  // UHF 400-520
        radioDoc.radioImage[addr::kExtension] = 1;
        FillSampleChannels(radioDoc.radioImage, 400, 520);
        for (std::size_t a = 0x300; a < 0x400; ++a) radioDoc.radioImage[a] = std::uint8_t(a);
        sim::Memory memory{};
        memory.fill(0xEE);
        std::copy(radioDoc.radioImage.begin(), radioDoc.radioImage.end(), memory.begin());
        sim::PtySimulator radio;
        radio.setMemory(memory);
        std::string error;
        QVERIFY2(radio.start(&error), error.c_str());

        start(QString::fromStdString(radio.devicePath()));
        win->openEditorWindow(EditorWindow::Option);
        QVERIFY(grid()->cellText(1, FormChannelInformation::kColRx).isEmpty());

        QString label;
        pressOnTransferWindow("CommandRead", &label);
        QTest::keyClick(win.get(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(win->lastTransfer().wentThrough());
        QCOMPARE(label, QString("Complete:100%"));
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(std::equal(doc->radioImage.begin(), doc->radioImage.end(), memory.begin()));
        QCOMPARE(doc->ModelType, std::string("UHF"));
        QCOMPARE(doc->BandTxHighMHz, 520);  // the extension byte raised it
        QVERIFY(win->lastTransfer().report->request.reading());
        // The open editors show the new image without being reopened.
        QCOMPARE(
            grid()->cellText(1, FormChannelInformation::kColRx),
            QString::fromStdString(FrequencyToText(RxFrequencyBytes(radioDoc.radioImage, 1), '.')));
        QVERIFY(!grid()->cellText(8, FormChannelInformation::kColRx).isEmpty());
        QVERIFY(win->editorWidget(EditorWindow::Option));
        QTRY_VERIFY(shelltest::shownTitle(*win).startsWith("BALDO-7[UHF: 400 - 520 MHz]"));

        // Change a channel, then write it back.
        SetRxFrequency(doc->radioImage, 2, UnitsToBytes(44012500));
        doc->radioImage[addr::kVox] = 0x5A;
        doc->radioImage[0x300] = 0x00;  // beyond the written range
        win->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(win.get()));
        pressOnTransferWindow("CommandWrite", &label);
        QTest::keyClick(win.get(), Qt::Key_W, Qt::ControlModifier);
        QVERIFY(win->lastTransfer().wentThrough());
        QCOMPARE(label, QString("Verify OK"));  // read back and compared by default
        QCOMPARE(doc->radioImage[addr::kVox], std::uint8_t(0x50));  // VOX level cleared
        const sim::Memory after = radio.memory();
        QVERIFY(
            std::equal(doc->radioImage.begin(), doc->radioImage.begin() + 0x300, after.begin()));
        QCOMPARE(after[0x300], std::uint8_t(0x00 + 0x300 % 256));  // untouched
        QCOMPARE(after[0x400], std::uint8_t(0xEE));
        radio.stop();
    }
#endif

    void aPortThatDoesNotOpenEndsWithTheMessage() {
        start(tmp.filePath("no-such-port"));
        const RadioImage before = doc->radioImage;
        pressOnTransferWindow("CommandRead");
        win->MenuRead_Click();
        QCOMPARE(win->lastTransfer().report->exchange.outcome, ExchangeOutcome::PortFailed);
        QCOMPARE(messages.shown.size(), 1);
        // Which device, why, and what to do, under the program's own line.
        const QStringList lines = messages.shown[0].text.split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], "Please reselect COM port!");
        QCOMPARE(lines[1], "Cannot open " + tmp.filePath("no-such-port") + ": no such device.");
        QVERIFY2(lines[2].startsWith("Plug in the cable, or choose a port that exists: ") ||
                     lines[2].startsWith("No serial port was found on this computer"),
                 qPrintable(lines[2]));
        QVERIFY(doc->radioImage == before);
    }

    void cancelBeforeStartingSendsNothing() {
        start(QString::fromLatin1(kSimulatedPortSetting));
        doc->ProgramPassword = "1234";
        onModal([](QWidget* w) {
            QTest::mouseClick(w->findChild<QPushButton*>("CommandCancel"), Qt::LeftButton);
        });
        win->MenuWrite_Click();
        QVERIFY(!win->lastTransfer().wentThrough());
        QCOMPARE(doc->ProgramPassword, std::string("1234"));  // carried through the window
        QCOMPARE(win->lastTransfer().report->endedIn(), TransferPhase::Waiting);  // nothing sent
    }

    // The chooser always offers the built-in radio, which a fresh user can read at once,
    // and write to: it runs inside the program, on no pseudo-terminal.
    void theBuiltInRadioCanBeChosenAndRead() {
        start("1");
        onModal([](QWidget* w) {
            auto* list = w->findChild<QComboBox*>("Combo1");
            QVERIFY(list->count() >= 1);
            QCOMPARE(list->itemText(list->count() - 1), QString("Built-in simulated radio"));
            list->setCurrentIndex(list->count() - 1);
            QTest::mouseClick(w->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        });
        win->MenuCom_Click();
        QCOMPARE(settings->value("ComPort").toString(), QString("simulated-radio"));
        QCOMPARE(win->findChild<QLabel*>("Panel2")->text(), QString("Simulated radio"));

        QString label;
        pressOnTransferWindow("CommandRead", &label);
        win->MenuRead_Click();
        QVERIFY(win->lastTransfer().wentThrough());
        QCOMPARE(label, QString("Complete:100%"));
        QVERIFY(!grid()->cellText(1, FormChannelInformation::kColRx).isEmpty());
        QVERIFY(ChannelInUse(doc->radioImage, 1));

        // What is written stays in the radio for the run and reads back.
        const FrequencyBytes written =
            UnitsToBytes(std::int64_t(doc->BandLowMHz) * kUnitsPerMHz + 1234 * 100);
        SetRxFrequency(doc->radioImage, 3, written);
        const RadioImage sent = doc->radioImage;
        win->activateWindow();
        pressOnTransferWindow("CommandWrite", &label);
        win->MenuWrite_Click();
        QVERIFY(win->lastTransfer().wentThrough());
        QCOMPARE(label, QString("Verify OK"));
        ClearChannel(doc->radioImage, 3);
        // The image read is unsaved: reading over it asks first.
        messages.setAnswerer([](const Message& m) {
            return m.buttons == MsgButtons::SaveDiscardCancel ? MsgAnswer::Discard : MsgAnswer::Ok;
        });
        win->activateWindow();
        pressOnTransferWindow("CommandRead", &label);
        win->MenuRead_Click();
        QVERIFY(win->lastTransfer().wentThrough());
        QVERIFY(RxFrequencyBytes(doc->radioImage, 3) == written);
        QVERIFY(std::equal(sent.begin(), sent.begin() + 0x300, doc->radioImage.begin()));
    }

#ifdef BALDO7_PTY_TESTS
    // The read-back is the window's own phase after the write; a radio that stores a
    // wrong byte is reported by address and the write does not count as done.
    void verifyAfterWriteReadsBackAsItsOwnPhase() {
        struct Case {
            const char* name;
            QString setting;  // VerifyAfterWrite
            bool corrupt;
            bool transferOk;
            QString title, label, shown;
        };
        const Case cases[] = {
            {"verified", "", false, true, "Verify data in radio", "Verify OK", ""},
            {"difference", "true", true, false, "Verify data in radio", "Verify:100%",
             "Verify failed: 1 byte differs from what was written, first at 0x0050\n"
             "Not as written in the radio: Channel 5.\n"
             "Write again. If it fails again, check that the cable is plugged in firmly at "
             "both ends and that the radio's battery is charged."},
            {"switched off", "false", true, true, "Write data into radio", "Complete:100%", ""},
        };
        // The earlier tests' writes are in the log already.
        const auto loggedSoFar = [this] {
            const QList<JobLogDay> days = ListJobLogDays(JobLogFolder(backups.filePath("backups")));
            return days.isEmpty() ? 0 : static_cast<int>(ReadJobLog(days[0].path).size());
        };
        const int logged = loggedSoFar();
        for (const Case& c : cases) {
            sim::Config config;
            config.modelDigit = 0x32;  // the template's VHF: no band question
            if (c.corrupt) {
                sim::Fault f;
                f.kind = sim::FaultKind::CorruptWrite;
                f.steps = sim::kStepWrite;
                f.skip = 5;
                f.count = 1;
                config.faults.push_back(f);
            }
            sim::PtySimulator radio(config);
            std::string error;
            QVERIFY2(radio.start(&error), error.c_str());
            start(QString::fromStdString(radio.devicePath()));
            if (!c.setting.isEmpty()) settings->setValue("VerifyAfterWrite", c.setting);
            messages.shown.clear();
            QString title, label;
            onModal([&title, &label](QWidget* w) {
                QObject::connect(static_cast<QDialog*>(w), &QDialog::finished, [w, &title, &label] {
                    title = w->windowTitle();
                    label = w->findChild<QLabel*>("LabelProcess")->text();
                });
                QTest::mouseClick(w->findChild<QPushButton*>("CommandWrite"), Qt::LeftButton);
            });
            win->MenuWrite_Click();
            QCOMPARE(win->lastTransfer().wentThrough(), c.transferOk);
            QCOMPARE(title, c.title);
            QCOMPARE(label, c.label);
            QCOMPARE(messages.shown.size(), c.shown.isEmpty() ? 0 : 1);
            if (!c.shown.isEmpty()) QCOMPARE(messages.shown[0].text, c.shown);
            // Read back over the same line: 48 blocks, or none.
            QCOMPARE(radio.stats().blocksRead, c.setting == "false" ? 0 : 48);
            radio.stop();
        }
        // Each write left its row in the day's job log beside the backups.
        const QList<JobLogDay> days = ListJobLogDays(win->jobLogFolder());
        QCOMPARE(days.size(), 1);
        const QList<QStringList> rows = ReadJobLog(days[0].path).mid(logged);
        QCOMPARE(rows.size(), 3);
        QStringList outcomes;
        for (const QStringList& row : rows) outcomes << row[3] + ": " + row[9].section(',', 0, 0);
        QCOMPARE(outcomes, QStringList({"written: yes",
                                        "verify differs: Verify failed: 1 byte differs from what "
                                        "was written",
                                        "written: no"}));
        QVERIFY(QFileInfo::exists(rows[0][10]));
        // The log names the setting the spoiled byte belongs to, as the window did.
        QVERIFY2(rows[1][9].contains("; Not as written in the radio: Channel "),
                 qPrintable(rows[1][9]));
    }
#endif

    // The frame's rules with the real editors: their Close buttons, their own Window
    // menu entries, the language switch and the channel edit dialog the grid opens.
    void realEditorsKeepTheWindowMenuRight() {
        start("1");
        QMenu* windowMenu = win->findChild<QMenu*>("MenuWindow");
        auto entries = [windowMenu] {
            emit windowMenu->aboutToShow();
            QStringList out;
            for (QAction* a : windowMenu->actions())
                if (a->objectName().startsWith("WindowEntry")) out << a->text();
            return out;
        };
        win->findChild<QAction*>("MenuOption")->trigger();
        win->findChild<QAction*>("MenuKey")->trigger();
        win->findChild<QAction*>("MenuOption")->trigger();
        QCOMPARE(entries(), QStringList({"Channel Information", "Function Setup", "Key Setting"}));

        QWidget* option = win->editorWidget(EditorWindow::Option);
        QTest::mouseClick(option->findChild<QPushButton*>("CommandClose"), Qt::LeftButton);
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!win->editorSubWindow(EditorWindow::Option));
        QVERIFY(!win->state().FormOptionOpen);
        QCOMPARE(entries(), QStringList({"Channel Information", "Key Setting"}));

        QTest::mouseClick(grid()->CommandChannelEdit, Qt::LeftButton);
        QVERIFY(win->editorSubWindow(EditorWindow::ChannelEdit));
        QVERIFY(win->state().FormChannelEditOpen);
        // The grid's own dialog has no entry.
        QCOMPARE(entries(), QStringList({"Channel Information", "Key Setting"}));

        onModal([](QWidget* dialog) {
            dialog->findChild<QComboBox*>("ComboLanguage")->setCurrentIndex(1);
            QTest::mouseClick(dialog->findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        });
        win->MenuLanguage_Click();
        QCOMPARE(entries(), QStringList({"信道信息"}));
        QVERIFY(!win->state().FormChannelEditOpen && !win->state().FormKeySettingOpen);
        QVERIFY(win->state().FormChannelInformationOpen);
        QCOMPARE(grid()->windowTitle(), QString("信道信息"));

        win->MenuCloseAll_Click();
        QVERIFY(entries().isEmpty());
        QVERIFY(!win->state().FormChannelInformationOpen);
    }

    // The current port is found among the listed ones however it is written; a port
    // that is not listed gives way to the first entry at once.
    void portChooserSelectsTheCurrentPort_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("taken");
        QTest::newRow("number of a listed port") << "3" << 1 << "3";
#ifdef Q_OS_WIN
        QTest::newRow("port name") << "COM1" << 0 << "COM1";
        QTest::newRow("port name in lower case") << "com3" << 1 << "com3";
#else
        QTest::newRow("device name") << "ttyUSB0" << 0 << "ttyUSB0";
        QTest::newRow("device path") << "/dev/ttyUSB0" << 0 << "/dev/ttyUSB0";
        QTest::newRow("pseudo-terminal") << "/dev/pts/7" << -1 << "/dev/pts/7";
#endif
        QTest::newRow("simulated radio") << "simulated-radio" << 2 << "simulated-radio";
        QTest::newRow("not listed") << "9" << -1 << "9";
    }
    void portChooserSelectsTheCurrentPort() {
        QFETCH(QString, current);
        QSettings s(tmp.filePath("ports.ini"), QSettings::IniFormat);
        s.clear();
        Document d;
        d.ComPortName = current.front().isDigit() ? "" : current.toStdString();
        d.ComPortNumber = current.front().isDigit() ? current.toInt() : 0;
        // The system's ports as PortChoices lists them there.
#ifdef Q_OS_WIN
        const PortChoice first{"COM1", "1", 1, "COM1"}, second{"COM3", "3", 3, "COM3"};
#else
        const PortChoice first{"ttyUSB0", "ttyUSB0", 0, "/dev/ttyUSB0"},
            second{"ttyS2", "ttyS2", 0, "/dev/ttyS2"};
#endif
        const QList<PortChoice> choices = {
            first, second, {"Built-in simulated radio", "simulated-radio", 0, ""}};
        FormComPort dialog(d, s, choices);
        QTEST(dialog.Combo1->currentIndex(), "selected");
        QTEST(PortSetting(d), "taken");
        QVERIFY(!s.contains("ComPort"));  // only OK stores
        if (dialog.Combo1->currentIndex() < 0) QCOMPARE(dialog.Combo1->currentText(), current);
        dialog.Combo1->setCurrentIndex(1);
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QCOMPARE(s.value("ComPort").toString(), second.setting);
        QCOMPARE(PortSetting(d), second.setting);
    }

#ifdef BALDO7_PTY_TESTS
    // A running simulator's pseudo-terminal is offered, as `baldo7ctl ports` lists it,
    // before the built-in radio.
    void portChoicesListRunningSimulators() {
        QProcess sim;
        sim.start(BALDO7_SIM, {});
        QVERIFY(sim.waitForReadyRead(10000));
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY(device.startsWith("/dev/pts/"));
        const QList<PortChoice> choices = PortChoices(true);
        int at = -1;
        for (int i = 0; i < choices.size(); ++i)
            if (choices[i].setting == device) at = i;
        QVERIFY2(at >= 0, qPrintable(device));
        QCOMPARE(choices[at].location, device);
        QCOMPARE(choices[at].text, QString("%1 (BALDO-7 simulated radio (baldo7-sim, process %2))")
                                       .arg(device)
                                       .arg(sim.processId()));
        const QList<PortChoice> inChinese = PortChoices(false);
        QVERIFY(std::any_of(inChinese.begin(), inChinese.end(), [&](const PortChoice& c) {
            return c.text == QString("%1 (BALDO-7 模拟对讲机，baldo7-sim 进程 %2)")
                                 .arg(device)
                                 .arg(sim.processId());
        }));
        QCOMPARE(choices.last().setting, QString(kSimulatedPortSetting));
        sim.terminate();
        sim.waitForFinished(5000);
    }
#endif

    // Cancel leaves the port as it was, whatever the list showed; a device typed into
    // the list is taken as it stands.
    void portChooserCancelAndTypedDevice() {
        QSettings s(tmp.filePath("typed.ini"), QSettings::IniFormat);
        s.clear();
        Document d;
        d.ComPortNumber = 9;
        const QList<PortChoice> choices = {{"ttyUSB0", "ttyUSB0", 0, "/dev/ttyUSB0"},
                                           {"Built-in simulated radio", "simulated-radio", 0, ""}};
        {
            FormComPort dialog(d, s, choices);
            dialog.Combo1->setCurrentIndex(0);
            QTest::mouseClick(dialog.CommandCancel, Qt::LeftButton);
        }
        QCOMPARE(PortSetting(d), QString("9"));
        QVERIFY(!s.contains("ComPort"));

        FormComPort dialog(d, s, choices);
        dialog.show();
        QLineEdit* edit = dialog.Combo1->lineEdit();
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, "/dev/pts/12");
        QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
        QCOMPARE(d.ComPortName, std::string("/dev/pts/12"));
        QCOMPARE(s.value("ComPort").toString(), QString("/dev/pts/12"));
    }

    void portEntriesSayWhatTheSystemKnows() {
        SerialPortEntry plain{"ttyS0", "/dev/ttyS0", "", 0};
        QCOMPARE(PortChoiceText(plain), QString("ttyS0"));
        SerialPortEntry usb{"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART", 0, 0x0403, 0x6001};
        QCOMPARE(PortChoiceText(usb), QString("ttyUSB0 (FT232R USB UART, 0403:6001)"));
        SerialPortEntry idsOnly{"COM4", "COM4", " ", 4, 0x067b, 0x2303};
        QCOMPARE(PortChoiceText(idsOnly), QString("COM4 (067b:2303)"));
    }

    // With SerialTrace on, a read leaves one trace beside the backups; Help → Save
    // Support Bundle… lists what it will hold, then puts the version, the settings, the
    // document and the traces in one folder: no password or stun/die code in clear (an
    // older trace written in clear included), no home folder, readable by the user only.
    void serialTraceAndSupportBundle() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(TraceFolder()).removeRecursively();
        start(QString::fromLatin1(kSimulatedPortSetting));
        settings->setValue(kSettingSerialTrace, "true");
        pressOnTransferWindow("CommandRead");
        win->MenuRead_Click();
        QVERIFY(win->lastTransfer().wentThrough());
        const QFileInfoList traces =
            QDir(TraceFolder()).entryInfoList({"trace-*-read.txt"}, QDir::Files);
        QCOMPARE(traces.size(), 1);
        QFile trace(traces[0].filePath());
        QVERIFY(trace.open(QIODevice::ReadOnly | QIODevice::Text));  // CR LF lines on Windows
        const QByteArray text = trace.readAll();
        QVERIFY(text.startsWith("BALDO-7 serial trace\n"));
        QCOMPARE(text.count("recv      57 "), 64);  // every data block of the read
        QVERIFY(text.contains("57 02 F0 10 ** ** ** ** ** ** "));
        QVERIFY(text.trimmed().endsWith("end       done: Read Data OK"));
        QVERIFY(OwnerOnly(traces[0].filePath()) && OwnerOnly(TraceFolder()));

        // Secrets in the document, a trace of an older version in clear, a home path.
        const QByteArray secrets[] = {"Qz7#Kx", "Op5%Lm", "Nw9!Pq", "51 7A 37 23 4B 78"};
        std::copy_n(secrets[0].data(), 6, doc->radioImage.begin() + 0x2F0);
        doc->ProgramPassword = secrets[1].toStdString();
        doc->NewPassword = secrets[2].toStdString();
        const QString oldTrace = QDir(TraceFolder()).filePath("trace-20200101-000000-000-read.txt");
        {
            QFile old(oldTrace);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(
                "10:20:32.200             5  recv      57 02 F0 10 51 7A 37 23 4B 78 FF FF FF FF "
                "FF FF FF FF FF FF  |W...Qz7#Kx..........|  data block 0x02F0\n");
        }
        settings->setValue("LastFolder", QDir::homePath() + "/radios");

        // Help → Save Support Bundle…: the list first, then the folder in the save dialog.
        const QString bundle = tmp.filePath("bundle");
        chooser.answerWith(bundle);
        messages.shown.clear();
        messages.setAnswerer([](const Message&) { return MsgAnswer::Ok; });
        auto* item = win->findChild<QAction*>("MenuSupportBundle");
        QVERIFY(item && item->isVisible());
        QCOMPARE(item->text(), "Save Support &Bundle…");
        item->trigger();
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown[0].buttons, MsgButtons::OkCancel);
        for (const QString& line :
             {QString("document.rdat: the current document, passwords masked"),
              QString("traces/: 2 serial traces"), traces[0].fileName(),
              QFileInfo(oldTrace).fileName()})
            QVERIFY2(messages.shown[0].text.contains(line), qPrintable(messages.shown[0].text));
        QVERIFY2(messages.shown[1].text.contains(QDir::toNativeSeparators(bundle)),
                 qPrintable(messages.shown[1].text));
        const QDir b(bundle);
        QCOMPARE(b.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"document.rdat", "settings.txt", "traces", "version.txt"}));
        QCOMPARE(QDir(b.filePath("traces")).entryList(QDir::Files),
                 QStringList({QFileInfo(oldTrace).fileName(), traces[0].fileName()}));
        QDirIterator all(bundle, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
        QVERIFY(OwnerOnly(bundle));
        while (all.hasNext()) {
            const QString path = all.next();
            QVERIFY2(OwnerOnly(path), qPrintable(path));
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) continue;  // a folder
            const QByteArray bytes = f.readAll();
            for (const QByteArray& secret : secrets)
                QVERIFY2(!bytes.contains(secret), qPrintable(path));
            QVERIFY2(!bytes.contains(QDir::homePath().toUtf8() + "/"), qPrintable(path));
        }
        QFile copied(b.filePath("traces/" + QFileInfo(oldTrace).fileName()));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QVERIFY(copied.readAll().contains(
            "57 02 F0 10 ** ** ** ** ** ** FF FF FF FF FF FF FF FF FF FF  |W...******..........|"
            "  data block 0x02F0  [masked: programming password]"));
        // The document: passwords masked, every other byte as it is.
        Document saved;
        QVERIFY(LoadDataFile(saved, b.filePath("document.rdat")).ok());
        RadioImage expected = doc->radioImage;
        std::fill_n(expected.begin() + 0x2F0, 6, '*');
        QVERIFY(saved.radioImage == expected);
        QCOMPARE(saved.ProgramPassword, std::string("******"));
        QCOMPARE(saved.NewPassword, std::string("******"));
        QCOMPARE(doc->ProgramPassword, secrets[1].toStdString());  // the document keeps its own
        QFile values(b.filePath("settings.txt"));
        QVERIFY(values.open(QIODevice::ReadOnly));
        const QByteArray valuesText = values.readAll();
        QVERIFY(valuesText.contains("SerialTrace=true"));
        QVERIFY(valuesText.contains("LastFolder=~/radios"));
        // A second bundle into the same (now full) folder is refused, and says so.
        messages.shown.clear();
        item->trigger();
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(messages.shown[1].text.contains("the folder is not empty"));
        // Cancel at the list: no folder is asked for.
        messages.shown.clear();
        messages.setAnswerer(nullptr);
        chooser.answerWith(tmp.filePath("never"));
        item->trigger();
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(!QFileInfo::exists(tmp.filePath("never")));
        settings->remove("LastFolder");
        QDir(TraceFolder()).removeRecursively();
    }

    void cleanupTestCase() {
        win.reset();
    }
};

QTEST_MAIN(TransferTest)
#include "transfer_test.moc"
