// The write to several radios, driven through its window against four simulated
// radios on pseudo-terminals (a good one, a silent one, one that spoils a byte, one
// of the other model), and the job log it leaves, shown by the job log window.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "channels/channel_record.h"
#include "core/memory_map.h"
#include "core/model_band.h"
#include "dealer/form_job_log.h"
#include "dealer/form_several_radios.h"
#include "sim/pty_simulator.h"
#include "storage/data_store.h"
#include "tests/support/pdf_text.h"

using namespace baldo7;

namespace {

enum Radio { kGood, kSilent, kSpoils, kOtherModel, kRadios };

QString rowText(QTableWidget* table, int row, int column) {
    return table->item(row, column)->text();
}

}  // namespace

class DealerFormsTest : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    Document doc;
    std::unique_ptr<sim::PtySimulator> sims[kRadios];
    QList<RadioPortChoice> ports;

    QString jobs() const { return tmp.filePath("jobs"); }
    SeveralRadiosContext context() const {
        SeveralRadiosContext c;
        c.backupFolder = tmp.filePath("backups");
        c.jobLogFolder = jobs();
        c.dataFile = "customer.rdat";
        return c;
    }
    // The rows of the day's log by port, in the order they were written.
    std::map<QString, QList<QStringList>> logRows() const {
        std::map<QString, QList<QStringList>> byPort;
        const QList<JobLogDay> days = ListJobLogDays(jobs());
        if (days.size() != 1) return byPort;
        for (const QStringList& row : ReadJobLog(days[0].path)) byPort[row[2]] << row;
        return byPort;
    }

private slots:
    void initTestCase() {
        QVERIFY(LoadTemplate(doc, QFileInfo(BALDO7_INIT_DAT).absolutePath()).ok());
        doc.IsEnglish = true;
        // Channel 5 in use: the spoiled byte is one of its receive frequency's.
        SetRxFrequency(doc.radioImage, 5, FrequencyToBytes(146.46));
        ApplyNewChannelDefaults(doc.radioImage, 5);
        sim::Memory memory;
        memory.fill(0x00);
        std::copy(doc.radioImage.begin(), doc.radioImage.end(), memory.begin());
        const QByteArray serial = "SN-0001";
        std::copy(serial.begin(), serial.end(), memory.begin() + addr::kLocalSerialNumber.first);
        memory[addr::kLocalFrequencyArea] = 2;  // 400-480MHz
        const bool vhf = ModelOfImage(doc.radioImage) == Model::VHF;
        for (int i = 0; i < kRadios; ++i) {
            sim::Config config;
            sim::Fault fault;
            if (i == kSilent) config.faults.push_back(fault);
            if (i == kSpoils) {
                fault.kind = sim::FaultKind::CorruptWrite;
                fault.steps = sim::kStepWrite;
                fault.skip = 5;  // the block at 0x0050: channel 5
                fault.count = 1;
                config.faults.push_back(fault);
            }
            if (i == kOtherModel) config.modelDigit = vhf ? kModelDigitUhf : kModelDigitVhf;
            sims[i] = std::make_unique<sim::PtySimulator>(config);
            sims[i]->setMemory(memory);
            // On the line's own time, so that Cancel finds a write under way.
            sims[i]->setPaced(true);
            std::string error;
            QVERIFY2(sims[i]->start(&error), error.c_str());
            const QString device = QString::fromStdString(sims[i]->devicePath());
            ports.append(RadioPortChoice{device + " (simulated)", device});
        }
        // A port nobody ticks stays out of the run.
        ports.append(RadioPortChoice{"unticked", "/dev/nonexistent-port"});
    }
    void cleanupTestCase() {
        for (auto& s : sims)
            if (s) s->stop();
    }

    // Every ticked radio at once: each row ends as its radio did, the others
    // undisturbed; each leaves its log row with the serial number it gave.
    void writesEveryTickedRadioAndLogsEach() {
        ScriptedMessageService said;
        FormSeveralRadios form(doc, ports, context(), {true, true, false}, said);
        form.show();
        QCOMPARE(form.TableRadios->rowCount(), kRadios + 1);
        for (int i = 0; i < kRadios; ++i) form.TableRadios->item(i, 0)->setCheckState(Qt::Checked);
        form.CheckSerialNumber->setChecked(true);
        QSignalSpy ended(&form.run(), &SeveralRadiosRun::finished);
        QTest::mouseClick(form.CommandStart, Qt::LeftButton);
        QVERIFY(!form.CommandStart->isEnabled());
        QVERIFY(form.CommandCancel->isEnabled());
        QVERIFY(ended.wait(60000));

        QCOMPARE(rowText(form.TableRadios, kGood, 3), QString("Done and verified"));
        QCOMPARE(form.TableRadios->cellWidget(kGood, 1)->property("value").toInt(), 100);
        QCOMPARE(rowText(form.TableRadios, kSilent, 3), QString("No answer from the radio"));
        const QString spoiled = rowText(form.TableRadios, kSpoils, 3);
        QVERIFY2(spoiled.startsWith("Verify found differences: Channel 5"), qPrintable(spoiled));
        const bool vhf = ModelOfImage(doc.radioImage) == Model::VHF;
        QCOMPARE(rowText(form.TableRadios, kOtherModel, 3),
                 QString("Wrong model: the radio is %1, the file is %2")
                     .arg(vhf ? "UHF" : "VHF", vhf ? "VHF" : "UHF"));
        QCOMPARE(sims[kOtherModel]->stats().blocksWritten, 0);
        QCOMPARE(rowText(form.TableRadios, kRadios, 3), QString());
        QCOMPARE(form.run().doneCount(), 1);
        QVERIFY(form.LabelSummary->text().startsWith("1 of 4 radio(s) done."));
        QVERIFY(form.CommandNext->isEnabled());

        auto rows = logRows();
        QCOMPARE(int(rows.size()), kRadios);
        const QStringList good = rows[ports[kGood].setting].value(0);
        const QStringList spoils = rows[ports[kSpoils].setting].value(0);
        QCOMPARE(good.mid(3, 3), QStringList({"written", vhf ? "VHF" : "UHF", "400-480MHz"}));
        QCOMPARE(good[6], QString("SN-0001"));
        QCOMPARE(good[7], QString("customer.rdat"));
        QCOMPARE(good[9], QString("yes"));
        QVERIFY(QFileInfo::exists(good[10]));
        QCOMPARE(spoils[3], QString("verify differs"));
        QVERIFY2(spoils[9].startsWith("Verify failed: 1 byte differs") &&
                     spoils[9].contains("; Not as written in the radio: Channel 5"),
                 qPrintable(spoils[9]));
        QCOMPARE(spoils[8], good[8]);
        QCOMPARE(rows[ports[kSilent].setting].value(0).mid(3, 6),
                 QStringList({"no answer", "", "", "", "customer.rdat", ""}));
        QCOMPARE(rows[ports[kOtherModel].setting].value(0)[3], QString("wrong model"));

        // Next radios: the same ports and options at once, the ports described as they
        // are now (a simulator restarted, a port plugged in since: unticked); Cancel,
        // once the good radio is writing, stops every radio still running and logs it
        // cancelled.
        form.listPorts = [this] {
            QList<RadioPortChoice> now = ports;
            now[kGood].text += " restarted";
            now.append(RadioPortChoice{"plugged in since", "/dev/nonexistent-new"});
            return now;
        };
        QSignalSpy rowChanges(&form.run(), &SeveralRadiosRun::rowChanged);
        QTest::mouseClick(form.CommandNext, Qt::LeftButton);
        QCOMPARE(form.TableRadios->rowCount(), kRadios + 2);
        QCOMPARE(rowText(form.TableRadios, kGood, 0), ports[kGood].text + " restarted");
        QCOMPARE(form.TableRadios->item(kGood, 0)->checkState(), Qt::Checked);
        QCOMPARE(rowText(form.TableRadios, kRadios + 1, 0), QString("plugged in since"));
        QCOMPARE(form.TableRadios->item(kRadios + 1, 0)->checkState(), Qt::Unchecked);
        QVERIFY(QTest::qWaitFor(
            [&] {
                const RadioRow& r = form.run().rows()[kGood];
                return r.step == RadioStep::Writing && r.fraction > 0.2;
            },
            30000));
        QTest::mouseClick(form.CommandCancel, Qt::LeftButton);
        QVERIFY(ended.wait(10000) || !form.run().running());
        QCOMPARE(rowText(form.TableRadios, kGood, 3), QString("Cancelled"));
        QCOMPARE(rowText(form.TableRadios, kSilent, 3), QString("Cancelled"));
        rows = logRows();
        QCOMPARE(rows[ports[kGood].setting].size(), 2);
        QCOMPARE(rows[ports[kGood].setting][1][3], QString("cancelled"));
        QCOMPARE(rows[ports[kSilent].setting][1][3], QString("cancelled"));
        QVERIFY(!form.run().running());
        QVERIFY(form.CommandClose->isEnabled());

        // The job log window: the day, its rows in words, and the PDF report.
        ScriptedFileChooser files;
        files.answerWith(tmp.filePath("report.pdf"));
        ScriptedMessageService messages;
        FormJobLog log(jobs(), false, files, messages);
        QCOMPARE(log.ListDays->count(), 1);
        QCOMPARE(log.TableRows->rowCount(), 2 * kRadios);
        QCOMPARE(log.TableRows->horizontalHeaderItem(3)->text(), QString("结果"));
        QStringList outcomes;
        for (int r = 0; r < log.TableRows->rowCount(); ++r)
            outcomes << log.TableRows->item(r, 3)->text();
        QVERIFY2(outcomes.contains("已写入") && outcomes.contains("型号不符"),
                 qPrintable(outcomes.join(',')));
        // Open Folder where the desktop opens folders, and where it cannot: the
        // folder is said, and shown in the window all along.
        const QString native = QDir::toNativeSeparators(jobs());
        QVERIFY(log.LabelFolder->text().endsWith(native));
        QVERIFY(log.LabelFolder->textInteractionFlags() & Qt::TextSelectableByMouse);
        for (const bool opens : {true, false}) {
            QString opened;
            log.openFolder = [&opened, opens](const QString& f) {
                opened = f;
                return opens;
            };
            QTest::mouseClick(log.CommandOpenFolder, Qt::LeftButton);
            QCOMPARE(opened, jobs());
            QCOMPARE(messages.shown.size(), opens ? 0 : 1);
        }
        QCOMPARE(messages.shown[0].text, "没有文件管理器能打开该文件夹。作业记录位于：\n" + native);
        messages.shown.clear();
        QTest::mouseClick(log.CommandSavePdf, Qt::LeftButton);
        QVERIFY(messages.shown.isEmpty());
        QFile pdf(tmp.filePath("report.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    // The day's report keeps a serial number or a band whole however long the verify
    // texts beside them, wraps those texts, and never splits a row across pages (the
    // header comes again on each).
    void jobLogReportKeepsValuesWholeAndRowsOnOnePage() {
        if (const QString why = whyPdfTextUnreadable(); !why.isEmpty()) QSKIP(qPrintable(why));
        QStringList words;
        for (int channel = 1; channel <= 16; ++channel)
            words << QString("channel %1 in use yes → no;").arg(channel);
        const QString verify = "differs: " + words.join(' ') + " done.";
        QList<QStringList> rows;
        for (int i = 0; i < 14; ++i)
            rows << QStringList{"2026-12-09",
                                QString("02:24:%1").arg(i, 2, 10, QChar('0')),
                                "/dev/pts/1",
                                "verify differs",
                                "VHF",
                                "136-174MHz",
                                "B7V2608150042",
                                "customer order/sold.rdat",
                                "82E50978",
                                verify,
                                "/backups/2026-12-09_022441_VHF_before-write.rdat"};
        for (const bool english : {true, false}) {
            const QString path = tmp.filePath(english ? "en.pdf" : "zh.pdf");
            QString error;
            QVERIFY2(WriteJobLogPdf(QDate(2026, 12, 9), rows, english, path, &error),
                     qPrintable(error));
            const QStringList pages =
                pdfToText(path, {"-layout", "-enc", "UTF-8"}).split('\f', Qt::SkipEmptyParts);
            QVERIFY(pages.size() > 1);
            int serials = 0;
            for (const QString& page : pages) {
                const int here = int(page.count("B7V2608150042"));
                QVERIFY(here > 0);
                QCOMPARE(int(page.count("136-174MHz")), here);
                QCOMPARE(int(page.count("differs:")), here);
                QCOMPARE(int(page.count("done.")), here);
                QCOMPARE(int(page.count(english ? "Serial" : "序列号")), 1);
                serials += here;
            }
            QCOMPARE(serials, int(rows.size()));
        }
    }

    // A job log that cannot be written is said in the window; the radio is written.
    // A port that will not open says why, as the port's own failure does.
    void aLogThatCannotBeWrittenIsSaid() {
        SeveralRadiosContext c = context();
        QFile blocker(tmp.filePath("blocked"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        c.jobLogFolder = tmp.filePath("blocked/jobs");
        ScriptedMessageService messages;
        FormSeveralRadios form(doc, ports, c, {false, false, false}, messages);
        form.TableRadios->item(kGood, 0)->setCheckState(Qt::Checked);
        form.TableRadios->item(kRadios, 0)->setCheckState(Qt::Checked);
        QSignalSpy ended(&form.run(), &SeveralRadiosRun::finished);
        QTest::mouseClick(form.CommandStart, Qt::LeftButton);
        QVERIFY(ended.wait(30000));
        QCOMPARE(rowText(form.TableRadios, kGood, 3), QString("Done"));
        const QString failed = rowText(form.TableRadios, kRadios, 3);
        QVERIFY2(failed.startsWith("Cannot open /dev/nonexistent-port: "), qPrintable(failed));
        QCOMPARE(form.run().rows()[1].outcome, JobOutcome::PortFailed);
        QVERIFY2(form.LabelSummary->text().contains("The job log could not be written"),
                 qPrintable(form.LabelSummary->text()));
        QVERIFY(!form.run().rows()[0].logged);
    }
};

QTEST_MAIN(DealerFormsTest)
#include "dealer_forms_test.moc"
