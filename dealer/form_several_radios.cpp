#include "dealer/form_several_radios.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/dialog_help.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
enum Column { kColPort, kColProgress, kColPhase, kColOutcome, kColumns };
}

FormSeveralRadios::FormSeveralRadios(const Document& doc, QList<RadioPortChoice> ports,
                                     SeveralRadiosContext context, SeveralRadiosOptions options,
                                     MessageService& messages, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages), run_(std::move(context)) {
    setObjectName(QStringLiteral("FormSeveralRadios"));
    const bool en = doc.IsEnglish;
    using namespace several_texts;
    setWindowTitle(uiText(kTitle, en));

    TableRadios = new QTableWidget(0, kColumns, this);
    TableRadios->setObjectName(QStringLiteral("TableRadios"));
    const QStringList headers{uiText(kPort, en), uiText(kProgress, en), uiText(kPhase, en),
                              uiText(kOutcome, en)};
    TableRadios->setHorizontalHeaderLabels(headers);
    TableRadios->verticalHeader()->hide();
    TableRadios->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableRadios->setSelectionMode(QAbstractItemView::NoSelection);
    // The outcome takes the room: two lines a row, so that it wraps rather than being
    // cut; the port is as wide as its text up to a limit, progress and phase as their
    // longest words, whatever the font and scale.
    const QFontMetrics m = TableRadios->fontMetrics();
    TableRadios->setWordWrap(true);
    TableRadios->verticalHeader()->setDefaultSectionSize(2 * m.lineSpacing() + m.height() / 2);
    for (const RadioPortChoice& port : ports) addPortRow(port);
    const int margin = 2 * m.averageCharWidth();
    int phase = 0;
    for (const BiText& t : {kPhase, kWaiting, kConnecting, kSerial, kWriting, kVerifying, kEnded})
        for (const QString& word : uiText(t, en).split(QLatin1Char(' ')))
            phase = std::max(phase, m.horizontalAdvance(word));
    TableRadios->setColumnWidth(kColPhase, phase + margin);
    TableRadios->setColumnWidth(kColProgress, std::max(m.horizontalAdvance(headers[kColProgress]),
                                                       2 * m.horizontalAdvance("100%")) +
                                                  margin);
    TableRadios->horizontalHeader()->setStretchLastSection(true);

    CheckVerify = new QCheckBox(uiText(kVerify, en));
    CheckVerify->setObjectName(QStringLiteral("CheckVerify"));
    CheckVerify->setChecked(options.verify);
    CheckBackup = new QCheckBox(uiText(kBackup, en));
    CheckBackup->setObjectName(QStringLiteral("CheckBackup"));
    CheckBackup->setChecked(options.backup);
    CheckSerialNumber = new QCheckBox(uiText(kSerialFirst, en));
    CheckSerialNumber->setObjectName(QStringLiteral("CheckSerialNumber"));
    CheckSerialNumber->setChecked(options.readSerialNumber);

    LabelSummary = new QLabel(uiText(kTickPorts, en));
    LabelSummary->setObjectName(QStringLiteral("LabelSummary"));
    LabelSummary->setWordWrap(true);

    CommandStart = makeButton(uiText(kStart, en), "CommandStart", true);
    CommandCancel = makeButton(uiText(kCancel, en), "CommandCancel");
    CommandNext = makeButton(uiText(kNext, en), "CommandNext");
    CommandClose = makeButton(uiText(texts::kClose, en), "CommandClose");
    CommandHelp = makeHelpButton(this, QStringLiteral("dealer.htm#several"), en);
    connect(CommandStart, &QPushButton::clicked, this, &FormSeveralRadios::CommandStart_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &FormSeveralRadios::CommandCancel_Click);
    connect(CommandNext, &QPushButton::clicked, this, &FormSeveralRadios::CommandNext_Click);
    connect(CommandClose, &QPushButton::clicked, this, &FormSeveralRadios::reject);
    connect(&run_, &SeveralRadiosRun::rowChanged, this, &FormSeveralRadios::showRow);
    connect(&run_, &SeveralRadiosRun::finished, this, &FormSeveralRadios::runFinished);

    auto* options_ = new QHBoxLayout;
    options_->addWidget(CheckVerify);
    options_->addWidget(CheckBackup);
    options_->addWidget(CheckSerialNumber);
    options_->addStretch(1);
    auto* body = new QVBoxLayout;
    body->addWidget(TableRadios, 1);
    body->addLayout(options_);
    body->addWidget(LabelSummary);
    layOutDialog(this, body, {CommandStart, CommandCancel, CommandNext, CommandClose, CommandHelp});
    resize(980, 440);
    FitToScreen(this);
    // The port's limit: a third of the window as it fits the screen, at most 46
    // characters.
    portWidth_ = std::min(46 * m.averageCharWidth(), width() / 3);
    for (int r = 0; r < TableRadios->rowCount(); ++r) showPort(r);
    TableRadios->resizeColumnToContents(kColPort);
    refreshButtons();
}

void FormSeveralRadios::addPortRow(const RadioPortChoice& port) {
    const int r = TableRadios->rowCount();
    ports_.append(port);
    TableRadios->insertRow(r);
    auto* item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    TableRadios->setItem(r, kColPort, item);
    auto* bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setValue(0);
    TableRadios->setCellWidget(r, kColProgress, bar);
    bars_.push_back(bar);
    TableRadios->setItem(r, kColPhase, new QTableWidgetItem);
    TableRadios->setItem(r, kColOutcome, new QTableWidgetItem);
    showPort(r);
}

void FormSeveralRadios::showPort(int row) {
    // A long description is cut in its middle: the port's name and the simulator's
    // process stay in view, the whole text is in the tooltip.
    const RadioPortChoice& port = ports_[row];
    QTableWidgetItem* item = TableRadios->item(row, kColPort);
    item->setText(TableRadios->fontMetrics().elidedText(port.text, Qt::ElideMiddle, portWidth_));
    item->setToolTip(port.text.startsWith(port.setting)
                         ? port.text
                         : port.text + QLatin1Char('\n') + port.setting);
}

void FormSeveralRadios::refreshPorts() {
    if (!listPorts) return;
    for (const RadioPortChoice& now : listPorts()) {
        const auto same = std::find_if(ports_.begin(), ports_.end(),
                                       [&now](const auto& p) { return p.setting == now.setting; });
        if (same == ports_.end()) {
            addPortRow(now);
        } else {
            same->text = now.text;
            showPort(static_cast<int>(same - ports_.begin()));
        }
    }
    TableRadios->resizeColumnToContents(kColPort);
}

void FormSeveralRadios::clearRows() {
    for (int r = 0; r < TableRadios->rowCount(); ++r) {
        bars_[static_cast<std::size_t>(r)]->setValue(0);
        TableRadios->item(r, kColPhase)->setText(QString());
        TableRadios->item(r, kColOutcome)->setText(QString());
    }
}

void FormSeveralRadios::CommandStart_Click() {
    if (run_.running()) return;
    const bool en = doc_.IsEnglish;
    refreshPorts();
    QStringList ports;
    std::vector<int> rows;
    for (int r = 0; r < TableRadios->rowCount(); ++r)
        if (TableRadios->item(r, kColPort)->checkState() == Qt::Checked) {
            ports << ports_[r].setting;
            rows.push_back(r);
        }
    if (ports.isEmpty()) {
        LabelSummary->setText(uiText(several_texts::kTickPorts, en));
        return;
    }
    clearRows();
    runRows_ = rows;
    const SeveralRadiosOptions options{CheckVerify->isChecked(), CheckBackup->isChecked(),
                                       CheckSerialNumber->isChecked()};
    LabelSummary->setText(uiText(several_texts::kRunning, en).arg(ports.size()));
    // The rows and buttons follow the run from its first step.
    refreshButtons();
    if (!run_.start(doc_, ports, options)) {
        messages_.show(MsgIcon::Warning, appTitle(), run_.error());
        LabelSummary->setText(run_.error());
    }
    refreshButtons();
}

void FormSeveralRadios::CommandNext_Click() {
    if (run_.running() || !run_.hasRun()) return;
    refreshPorts();
    clearRows();
    LabelSummary->setText(
        uiText(several_texts::kRunning, doc_.IsEnglish).arg(static_cast<int>(runRows_.size())));
    if (!run_.startNext()) {
        messages_.show(MsgIcon::Warning, appTitle(), run_.error());
        LabelSummary->setText(run_.error());
    }
    refreshButtons();
}

void FormSeveralRadios::CommandCancel_Click() {
    run_.cancel();
}

void FormSeveralRadios::reject() {
    // Closing never leaves radios half written behind the user's back.
    if (run_.running()) {
        run_.cancel();
        return;
    }
    QDialog::reject();
}

void FormSeveralRadios::showRow(int radio) {
    if (radio < 0 || radio >= static_cast<int>(runRows_.size())) return;
    const int r = runRows_[static_cast<std::size_t>(radio)];
    const RadioRow& row = run_.rows()[static_cast<std::size_t>(radio)];
    const bool en = doc_.IsEnglish;
    bars_[static_cast<std::size_t>(r)]->setValue(row.ended() && row.outcome == JobOutcome::Written
                                                     ? 100
                                                     : static_cast<int>(row.fraction * 100));
    TableRadios->item(r, kColPhase)->setText(SeveralRadiosRun::stepText(row, en));
    TableRadios->item(r, kColOutcome)->setText(row.said);
    TableRadios->item(r, kColOutcome)->setToolTip(row.said);
}

void FormSeveralRadios::runFinished() {
    const bool en = doc_.IsEnglish;
    QString text = uiText(several_texts::kSummary, en)
                       .arg(run_.doneCount())
                       .arg(static_cast<int>(run_.rows().size()));
    // A job log row that could not be written is said, not lost.
    if (!run_.error().isEmpty()) text += QLatin1Char('\n') + run_.error();
    LabelSummary->setText(text);
    refreshButtons();
}

void FormSeveralRadios::refreshButtons() {
    const bool running = run_.running();
    CommandStart->setEnabled(!running);
    CommandNext->setEnabled(!running && run_.hasRun());
    CommandCancel->setEnabled(running);
    CommandClose->setEnabled(!running);
    for (QCheckBox* box : {CheckVerify, CheckBackup, CheckSerialNumber}) box->setEnabled(!running);
    TableRadios->setEnabled(true);
    for (int r = 0; r < TableRadios->rowCount(); ++r) {
        QTableWidgetItem* item = TableRadios->item(r, kColPort);
        item->setFlags(running ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
}

}  // namespace baldo7
