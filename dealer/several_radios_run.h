// One run of the write to several radios: the current document into every chosen
// port at once, one radio job per port in the one event loop, so that N radios take
// about as long as one. Each radio may first give its serial number (a read of its
// local message record); a radio that fails never stops the others. Every radio that
// was written leaves its row in the job log. The window shows the rows; the run
// holds them, so it is tested without the window.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "core/document.h"
#include "core/texts.h"
#include "link/link_port.h"
#include "transfer/job_log.h"
#include "transfer/radio_job.h"

namespace baldo7 {

struct SeveralRadiosOptions {
    bool verify = true;
    bool backup = true;
    bool readSerialNumber = false;
};

// What the run needs from where it runs.
struct SeveralRadiosContext {
    QString backupFolder;  // where the backup before writing goes
    // The day's job log is here; "" keeps no log.
    QString jobLogFolder;
    QString dataFile;  // the document's file name, as the log names it
    CablePower power;
    // A port of its own for a setting (the built-in simulated radio); null, or a null
    // port, opens the serial port the setting names.
    std::function<std::unique_ptr<LinkPort>(const QString& setting)> makePort;
};

enum class RadioStep { Waiting, SerialNumber, Writing, Ended };

struct RadioRow {
    QString port;
    RadioStep step = RadioStep::Waiting;
    TransferPhase phase = TransferPhase::Waiting;
    double fraction = 0.0;
    JobOutcome outcome = JobOutcome::NoAnswer;
    // The outcome in plain words of the run's language; "" until the radio ended.
    QString said;
    // What went to the job log once the radio ended.
    JobLogEntry entry;
    bool logged = false;
    bool ended() const { return step == RadioStep::Ended; }
};

class SeveralRadiosRun : public QObject {
    Q_OBJECT
public:
    SeveralRadiosRun(SeveralRadiosContext context, QObject* parent = nullptr);
    ~SeveralRadiosRun() override;

    // Writes `doc` (copied: the caller's may change meanwhile) to every port. False,
    // with error(), when the backup before writing could not be made: nothing is sent.
    bool start(const Document& doc, const QStringList& ports, const SeveralRadiosOptions& options);
    // The same document, ports and options again (the radios swapped).
    bool startNext();
    // Every radio still running stops at once; each ends as cancelled.
    void cancel();

    bool running() const;
    bool hasRun() const { return !rows_.empty(); }
    const std::vector<RadioRow>& rows() const { return rows_; }
    // The backup of this run ("" when none), and why the last start or a log row
    // failed ("" when nothing did).
    const QString& backupPath() const { return backup_; }
    const QString& error() const { return error_; }
    // How many radios ended written (and, read back, holding what was sent).
    int doneCount() const;

    // The step and phase in words ("Writing", "Reading serial number").
    static QString stepText(const RadioRow& row, bool isEnglish);

signals:
    void rowChanged(int row);
    void finished();
    // A job log row could not be written: the text says where and why.
    void logFailed(const QString& text);

private:
    struct Radio;
    void startRadio(int index);
    void startWrite(int index);
    void serialDone(int index);
    void writeDone(int index);
    void endRadio(int index, JobOutcome outcome, const QString& said);
    std::unique_ptr<RadioJob> makeJob(Radio& radio, Document& doc, const TransferRequest& request);
    QString outcomeText(const Radio& radio, JobOutcome outcome) const;

    SeveralRadiosContext context_;
    std::unique_ptr<Document> doc_;
    QStringList ports_;
    SeveralRadiosOptions options_;
    std::vector<RadioRow> rows_;
    std::vector<std::unique_ptr<Radio>> radios_;
    QString backup_;
    QString error_;
    bool cancelling_ = false;
};

namespace several_texts {
constexpr BiText kWaiting{"Waiting", "等待"};
constexpr BiText kConnecting{"Connecting", "连接中"};
constexpr BiText kSerial{"Reading serial number", "读取序列号"};
constexpr BiText kWriting{"Writing", "写入中"};
constexpr BiText kVerifying{"Verifying", "校验中"};
constexpr BiText kEnded{"Ended", "结束"};
constexpr BiText kDoneVerified{"Done and verified", "完成，校验无误"};
constexpr BiText kDone{"Done", "完成"};
constexpr BiText kDiffers{"Verify found differences: %1", "校验发现不同：%1"};
constexpr BiText kMoreDifferences{"%1 more", "另有 %1 处"};
constexpr BiText kUnverified{"Written, but the read-back did not complete", "已写入，但回读未完成"};
constexpr BiText kNoAnswer{"No answer from the radio", "对讲机没有应答"};
constexpr BiText kLinkFailed{"The radio stopped answering", "对讲机中途停止应答"};
constexpr BiText kWrongModel{"Wrong model: the radio is %1, the file is %2",
                             "型号不符：对讲机是%1，文件是%2"};
constexpr BiText kCancelled{"Cancelled", "已取消"};
constexpr BiText kBackupFailed{"The backup could not be saved; nothing was written:\n%1",
                               "无法保存备份，没有写入：\n%1"};
}  // namespace several_texts

}  // namespace baldo7
