#include "channels/form_csv_preview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "channels/channel_csv_preview.h"
#include "channels/channel_record.h"
#include "channels/channel_texts.h"
#include "ui/dialog_help.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr BiText kImportCaption{"Import Channels", "导入信道"};
constexpr BiText kPasteCaption{"Paste Channels", "粘贴信道"};
constexpr BiText kKeepLocations{"&Keep locations", "保留位置(&K)"};
constexpr BiText kInOrder{"&Place in order from channel", "从此信道起按顺序放置(&P)"};
constexpr BiText kRowsLanding{"Rows to be imported: %1", "将导入的行：%1"};
constexpr BiText kRowsSkipped{"Rows skipped: %1", "跳过的行：%1"};
constexpr BiText kLine{"Line", "行"};
constexpr BiText kReason{"Reason", "原因"};

QTableWidget* readOnlyTable(QWidget* parent, const char* name, const QStringList& headers) {
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

void fillRow(QTableWidget* table, int row, std::initializer_list<const std::string*> cells,
             Qt::Alignment alignment = Qt::AlignCenter) {
    int column = 0;
    for (const std::string* text : cells) {
        auto* item = new QTableWidgetItem(uiText(*text));
        item->setTextAlignment(alignment);
        table->setItem(row, column++, item);
    }
}
}  // namespace

FormCsvPreview::FormCsvPreview(const Document& doc, bool paste, QWidget* parent)
    : QDialog(parent), english_(doc.IsEnglish), separator_(doc.DecimalSeparator) {
    setObjectName(QStringLiteral("FormCsvPreview"));
    const bool en = english_;
    setWindowTitle(uiText(paste ? kPasteCaption : kImportCaption, en));

    OptionKeepLocations = new QRadioButton(uiText(kKeepLocations, en), this);
    OptionKeepLocations->setObjectName(QStringLiteral("OptionKeepLocations"));
    OptionInOrder = new QRadioButton(uiText(kInOrder, en), this);
    OptionInOrder->setObjectName(QStringLiteral("OptionInOrder"));
    SpinFirstChannel = new QSpinBox(this);
    SpinFirstChannel->setObjectName(QStringLiteral("SpinFirstChannel"));
    SpinFirstChannel->setRange(1, kChannelCount);

    using namespace channel_texts;
    QStringList rowHeaders{uiText(kColumnHeaders[0], en), uiText(kLine, en)};
    for (int c = 1; c <= 7; ++c) rowHeaders << uiText(kColumnHeaders[c], en);
    LabelRows = new QLabel(this);
    LabelRows->setObjectName(QStringLiteral("LabelRows"));
    GridRows = readOnlyTable(this, "GridRows", rowHeaders);
    LabelPower = new QLabel(this);
    LabelPower->setObjectName(QStringLiteral("LabelPower"));
    LabelPower->setWordWrap(true);
    LabelSkipped = new QLabel(this);
    LabelSkipped->setObjectName(QStringLiteral("LabelSkipped"));
    GridSkipped = readOnlyTable(this, "GridSkipped", {uiText(kLine, en), uiText(kReason, en)});

    CommandOK = makeButton(uiText(kOk, en), "CommandOK", true);
    CommandCancel = makeButton(uiText(kCancel, en), "CommandCancel");
    CommandHelp = makeHelpButton(
        this, paste ? QStringLiteral("csv.htm#paste") : QStringLiteral("csv.htm#preview"), en);
    connect(CommandOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* body = new QVBoxLayout;
    if (!paste) {
        auto* placement = new QHBoxLayout;
        placement->addWidget(OptionKeepLocations);
        placement->addSpacing(twips(300));
        placement->addWidget(OptionInOrder);
        placement->addWidget(SpinFirstChannel);
        placement->addStretch(1);
        body->addLayout(placement);
    } else {
        for (QWidget* w :
             std::initializer_list<QWidget*>{OptionKeepLocations, OptionInOrder, SpinFirstChannel})
            w->hide();
    }
    body->addWidget(LabelRows);
    body->addWidget(GridRows, 3);
    body->addWidget(LabelPower);
    body->addWidget(LabelSkipped);
    body->addWidget(GridSkipped, 1);
    layOutDialog(this, body, {CommandOK, CommandCancel, CommandHelp});
    resize(twips(11500), twips(7500));
}

FormCsvPreview::FormCsvPreview(const Document& doc, Planner planner, const CsvImportOptions& start,
                               QWidget* parent)
    : FormCsvPreview(doc, false, parent) {
    planner_ = std::move(planner);
    (start.renumber ? OptionInOrder : OptionKeepLocations)->setChecked(true);
    SpinFirstChannel->setValue(start.first);
    SpinFirstChannel->setEnabled(start.renumber);
    connect(OptionInOrder, &QRadioButton::toggled, this, [this](bool on) {
        SpinFirstChannel->setEnabled(on);
        replan();
    });
    connect(SpinFirstChannel, qOverload<int>(&QSpinBox::valueChanged), this, [this] {
        if (OptionInOrder->isChecked()) replan();
    });
    replan();
}

FormCsvPreview::FormCsvPreview(const Document& doc, CsvPlan plan, QWidget* parent)
    : FormCsvPreview(doc, true, parent) {
    plan_ = std::move(plan);
    showPlan();
}

CsvImportOptions FormCsvPreview::chosen() const {
    CsvImportOptions options;
    options.renumber = OptionInOrder->isChecked();
    options.first = SpinFirstChannel->value();
    return options;
}

void FormCsvPreview::replan() {
    plan_ = planner_(chosen());
    showPlan();
}

void FormCsvPreview::showPlan() {
    const bool en = english_;
    const std::vector<CsvPreviewRow> rows = CsvPreviewRows(plan_, en, separator_);
    LabelRows->setText(uiText(kRowsLanding, en).arg(rows.size()));
    GridRows->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const CsvPreviewRow& p = rows[std::size_t(r)];
        fillRow(GridRows, r,
                {&p.channel, &p.line, &p.rx, &p.tx, &p.decode, &p.encode, &p.power, &p.scan,
                 &p.spacing});
    }
    GridRows->resizeColumnsToContents();
    // Every column in view: the dialog grows rather than scroll sideways.
    GridRows->setMinimumWidth(GridRows->horizontalHeader()->length() + 2 * GridRows->frameWidth() +
                              GridRows->verticalScrollBar()->sizeHint().width());

    const QString power = uiText(DescribePowerMapping(plan_, en));
    LabelPower->setText(power);
    LabelPower->setVisible(!power.isEmpty());

    const std::vector<CsvPreviewSkip> skips = CsvPreviewSkips(plan_, en);
    LabelSkipped->setText(uiText(kRowsSkipped, en).arg(skips.size()));
    GridSkipped->setRowCount(int(skips.size()));
    for (int r = 0; r < int(skips.size()); ++r)
        fillRow(GridSkipped, r, {&skips[std::size_t(r)].line, &skips[std::size_t(r)].reason},
                Qt::AlignLeft | Qt::AlignVCenter);
    GridSkipped->resizeColumnToContents(0);
    GridSkipped->setVisible(!skips.empty());
    // Nothing would land: there is nothing to confirm.
    CommandOK->setEnabled(!rows.empty());
}

}  // namespace baldo7
