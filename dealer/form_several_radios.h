// Program → Write to Several Radios…: every port with a tick box; Start writes the
// open data to every ticked radio at once, one row each with its progress, its
// phase and how it ended. Cancel stops them all; Next radios runs the same ports
// and options again once the radios are swapped. The run itself is
// SeveralRadiosRun: the window only shows it.
#pragma once

#include <QDialog>
#include <QList>
#include <functional>
#include <vector>

#include "core/document.h"
#include "dealer/several_radios_run.h"
#include "ui/message_service.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace baldo7 {

struct RadioPortChoice {
    QString text;     // "ttyUSB0 (FT232R USB UART, 0403:6001)"
    QString setting;  // what opens it
};

namespace several_texts {
constexpr BiText kCommand{"Write to &Several Radios…", "写入多台对讲机(&S)…"};
constexpr BiText kTitle{"Write to Several Radios", "写入多台对讲机"};
constexpr BiText kPort{"Port", "端口"};
constexpr BiText kProgress{"Progress", "进度"};
constexpr BiText kPhase{"Phase", "阶段"};
constexpr BiText kOutcome{"Outcome", "结果"};
constexpr BiText kVerify{"&Verify after write", "写入后校验(&V)"};
constexpr BiText kBackup{"&Backup before write", "写入前备份(&B)"};
constexpr BiText kSerialFirst{"&Read each radio's serial number first",
                              "先读取每台对讲机的序列号(&R)"};
constexpr BiText kStart{"&Start", "开始(&S)"};
constexpr BiText kCancel{"Cancel", "取消"};
constexpr BiText kNext{"&Next radios", "下一批对讲机(&N)"};
constexpr BiText kTickPorts{"Tick the ports of the radios to write.", "请勾选要写入的对讲机端口。"};
constexpr BiText kRunning{"Writing %1 radio(s)…", "正在写入 %1 台对讲机…"};
constexpr BiText kSummary{"%1 of %2 radio(s) done.", "%2 台对讲机中 %1 台完成。"};
}  // namespace several_texts

class FormSeveralRadios : public QDialog {
    Q_OBJECT
public:
    // `doc` is what Start writes (copied when it starts).
    FormSeveralRadios(const Document& doc, QList<RadioPortChoice> ports,
                      SeveralRadiosContext context, SeveralRadiosOptions options,
                      MessageService& messages, QWidget* parent = nullptr);

    QTableWidget* TableRadios;  // tick box and port, progress, phase, outcome
    QCheckBox* CheckVerify;
    QCheckBox* CheckBackup;
    QCheckBox* CheckSerialNumber;
    QLabel* LabelSummary;
    QPushButton* CommandStart;
    QPushButton* CommandCancel;
    QPushButton* CommandNext;
    QPushButton* CommandClose;
    QPushButton* CommandHelp;

    void CommandStart_Click();
    void CommandCancel_Click();
    void CommandNext_Click();

    // The ports as they are now, asked again whenever a run starts: a restarted
    // simulator or a cable plugged in since shows as it is. Null: the ports given.
    std::function<QList<RadioPortChoice>()> listPorts;

    SeveralRadiosRun& run() { return run_; }
    // The table row of each radio of the run.
    const std::vector<int>& runRows() const { return runRows_; }

protected:
    void reject() override;

private:
    void showRow(int radio);
    void runFinished();
    void refreshButtons();
    void clearRows();
    void addPortRow(const RadioPortChoice& port);
    void showPort(int row);
    void refreshPorts();

    const Document& doc_;
    QList<RadioPortChoice> ports_;
    MessageService& messages_;
    SeveralRadiosRun run_;
    std::vector<int> runRows_;
    std::vector<QProgressBar*> bars_;
    int portWidth_ = 0;  // the port column's limit
};

}  // namespace baldo7
