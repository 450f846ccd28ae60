#include "print/form_printer_setting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/texts.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {

// The dialog's own texts, the same in both languages.
namespace t {
const char kCaption[] = "打印设置";
const char kPrinter[] = "打印机";
const char kName[] = "名称(&N)";
const char kStatus[] = "状态";
const char kType[] = "类型";
const char kLocation[] = "位置";
const char kComment[] = "备注";
const char kProperties[] = "属性";
const char kPaper[] = "纸张";
const char kSize[] = "大小(&Z):";
const char kSource[] = "来源(&S)";
const char kOrientation[] = "方向";
const char kLandscape[] = "横向(&O)";
const char kPortrait[] = "纵向(&A)";
const char kOk[] = "确定(&O)";
const char kCancel[] = "取消(&C)";
}  // namespace t

constexpr BiText kStates[] = {
    {"Ready", "就绪"}, {"Printing", "正在打印"}, {"Aborted", "已中止"}, {"Error", "错误"}};

const struct {
    QPrinter::PaperSource source;
    BiText text;
} kSources[] = {{QPrinter::Auto, {"Automatic", "自动选择"}},
                {QPrinter::OnlyOne, {"Only one", "唯一纸盒"}},
                {QPrinter::Middle, {"Middle tray", "中层纸盒"}},
                {QPrinter::Lower, {"Lower tray", "下层纸盒"}},
                {QPrinter::Manual, {"Manual feed", "手动进纸"}},
                {QPrinter::Envelope, {"Envelope", "信封"}},
                {QPrinter::EnvelopeManual, {"Envelope, manual feed", "信封手动进纸"}},
                {QPrinter::Tractor, {"Tractor", "拖纸器"}},
                {QPrinter::SmallFormat, {"Small format", "小幅面"}},
                {QPrinter::LargeFormat, {"Large format", "大幅面"}},
                {QPrinter::LargeCapacity, {"Large capacity", "大容量纸盒"}},
                {QPrinter::Cassette, {"Cassette", "纸盒"}},
                {QPrinter::FormSource, {"Form source", "表单纸盒"}}};

QString z(const char* text) {
    return QString::fromUtf8(text);
}

// Sizes offered when no printer is installed (the run then writes a PDF file).
const QPageSize::PageSizeId kPdfSizes[] = {QPageSize::A4, QPageSize::Letter, QPageSize::Legal,
                                           QPageSize::A3, QPageSize::A5};

}  // namespace

QString PrinterListEntry(const QString& device, const QString& driver, const QString& port) {
    return QStringList{device, driver, port}.join(QLatin1Char(','));
}

FormPrinterSetting::FormPrinterSetting(const Document& doc, PrintSetup& setup, QWidget* parent)
    : QDialog(parent), doc_(doc), setup_(setup) {
    setObjectName(QStringLiteral("FormPrinterSetting"));
    setWindowTitle(z(t::kCaption));
    auto named = [](auto* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    ComboPrinter = named(new QComboBox, "ComboPrinter");
    ComboPrinter->setMinimumWidth(twips(4800));
    LabelStatusValue = named(new QLabel, "LabelStatusValue");
    LabelTypeValue = named(new QLabel, "LabelTypeValue");
    LabelLocationValue = named(new QLabel, "LabelLocationValue");
    LabelCommentValue = named(new QLabel, "LabelCommentValue");
    CommandPrinter = makeButton(z(t::kProperties), "CommandPrinter");
    ComboPaperSize = named(new QComboBox, "ComboPaperSize");
    ComboPaperSource = named(new QComboBox, "ComboPaperSource");
    OptionLandscape = named(new QRadioButton(z(t::kLandscape)), "OptionLandscape");
    OptionPortrait = named(new QRadioButton(z(t::kPortrait)), "OptionPortrait");
    CommandOK = makeButton(z(t::kOk), "CommandOK", true);
    CommandCancel = makeButton(z(t::kCancel), "CommandCancel");

    auto* printerFrame = named(new QGroupBox(z(t::kPrinter)), "FramePrinter");
    auto* grid = new QGridLayout(printerFrame);
    auto* nameLabel = new QLabel(z(t::kName));
    nameLabel->setBuddy(ComboPrinter);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(ComboPrinter, 0, 1);
    grid->addWidget(CommandPrinter, 0, 2);
    const std::pair<const char*, QLabel*> rows[] = {{t::kStatus, LabelStatusValue},
                                                    {t::kType, LabelTypeValue},
                                                    {t::kLocation, LabelLocationValue},
                                                    {t::kComment, LabelCommentValue}};
    int r = 1;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(new QLabel(z(caption)), r, 0);
        grid->addWidget(value, r++, 1, 1, 2);
    }
    grid->setColumnStretch(1, 1);

    auto* paperFrame = named(new QGroupBox(z(t::kPaper)), "FramePaper");
    auto* paper = new QGridLayout(paperFrame);
    auto* sizeLabel = new QLabel(z(t::kSize));
    sizeLabel->setBuddy(ComboPaperSize);
    auto* sourceLabel = new QLabel(z(t::kSource));
    sourceLabel->setBuddy(ComboPaperSource);
    paper->addWidget(sizeLabel, 0, 0);
    paper->addWidget(ComboPaperSize, 0, 1);
    paper->addWidget(sourceLabel, 1, 0);
    paper->addWidget(ComboPaperSource, 1, 1);
    paper->setColumnStretch(1, 1);

    auto* orientationFrame = named(new QGroupBox(z(t::kOrientation)), "FrameOrientation");
    auto* orientation = new QVBoxLayout(orientationFrame);
    orientation->addWidget(OptionPortrait);
    orientation->addWidget(OptionLandscape);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paperFrame, 1);
    lower->addWidget(orientationFrame);
    auto* body = new QVBoxLayout;
    body->addWidget(printerFrame);
    body->addLayout(lower);
    layOutDialog(this, body, {CommandOK, CommandCancel});

    connect(ComboPrinter, &QComboBox::currentIndexChanged, this,
            &FormPrinterSetting::ComboPrinter_Click);
    connect(CommandPrinter, &QPushButton::clicked, this, &FormPrinterSetting::CommandPrinter_Click);
    connect(CommandOK, &QPushButton::clicked, this, &FormPrinterSetting::CommandOK_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
}

void FormPrinterSetting::Form_Load() {
    const QSignalBlocker quiet(ComboPrinter);
    ComboPrinter->clear();
    printerNames_.clear();
    const QString wanted =
        setup_.printerName.isEmpty() ? QPrinterInfo::defaultPrinterName() : setup_.printerName;
    int selected = -1;
    // Qt does not tell a printer's port; the entry keeps its place empty.
    for (const QPrinterInfo& p : QPrinterInfo::availablePrinters()) {
        if (p.printerName() == wanted) selected = ComboPrinter->count();
        ComboPrinter->addItem(PrinterListEntry(p.printerName(), p.makeAndModel(), QString()));
        printerNames_ << p.printerName();
    }
    ComboPrinter->setCurrentIndex(selected);
    (setup_.orientation == QPageLayout::Landscape ? OptionLandscape : OptionPortrait)
        ->setChecked(true);
    ComboPrinter_Click(selected);
}

QPrinterInfo FormPrinterSetting::selectedPrinter() const {
    const int i = ComboPrinter->currentIndex();
    return i >= 0 && i < printerNames_.size() ? QPrinterInfo::printerInfo(printerNames_[i])
                                              : QPrinterInfo();
}

void FormPrinterSetting::ComboPrinter_Click(int) {
    const QPrinterInfo p = selectedPrinter();
    const bool en = doc_.IsEnglish;
    const int state = static_cast<int>(p.state());
    LabelStatusValue->setText(p.isNull() || state < 0 || state > 3 ? QString()
                                                                   : uiText(kStates[state], en));
    LabelTypeValue->setText(p.makeAndModel());
    LabelLocationValue->setText(p.location());
    LabelCommentValue->setText(p.description());
    CommandPrinter->setEnabled(!p.isNull());
    fillPaper(p, setup_.pageSize);
}

void FormPrinterSetting::fillPaper(const QPrinterInfo& printer, const QPageSize& wanted) {
    ComboPaperSize->clear();
    QList<QPageSize> sizes;
    if (printer.isNull())
        for (QPageSize::PageSizeId id : kPdfSizes) sizes << QPageSize(id);
    else
        sizes = printer.supportedPageSizes();
    int selected = -1;
    for (const QPageSize& s : sizes) {
        if (s.isEquivalentTo(wanted)) selected = ComboPaperSize->count();
        ComboPaperSize->addItem(s.name(), QVariant::fromValue(s));
    }
    if (selected < 0 && !printer.isNull()) {
        const QPageSize fallback = printer.defaultPageSize();
        for (int i = 0; i < sizes.size(); ++i)
            if (sizes[i].isEquivalentTo(fallback)) selected = i;
    }
    ComboPaperSize->setCurrentIndex(selected < 0 && !sizes.isEmpty() ? 0 : selected);

    // The paper trays the system names; where it lists none, the printer's current one.
    ComboPaperSource->clear();
    if (!printer.isNull()) {
        const QPrinter probe(printer);
#ifdef Q_OS_WIN
        const QList<QPrinter::PaperSource> sources = probe.supportedPaperSources();
#else
        const QList<QPrinter::PaperSource> sources{probe.paperSource()};
#endif
        for (QPrinter::PaperSource s : sources)
            for (const auto& known : kSources)
                if (known.source == s)
                    ComboPaperSource->addItem(uiText(known.text, doc_.IsEnglish));
        ComboPaperSource->setCurrentIndex(ComboPaperSource->count() ? 0 : -1);
    }
}

void FormPrinterSetting::CommandPrinter_Click() {
    const QPrinterInfo info = selectedPrinter();
    if (info.isNull()) return;
    QPrinter printer(info);
    const QVariant size = ComboPaperSize->currentData();
    if (size.isValid()) printer.setPageSize(size.value<QPageSize>());
    printer.setPageOrientation(OptionLandscape->isChecked() ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    fillPaper(info, printer.pageLayout().pageSize());
    (printer.pageLayout().orientation() == QPageLayout::Landscape ? OptionLandscape
                                                                  : OptionPortrait)
        ->setChecked(true);
}

void FormPrinterSetting::CommandOK_Click() {
    const QPrinterInfo p = selectedPrinter();
    setup_.printerName = p.isNull() ? QString() : p.printerName();
    const QVariant size = ComboPaperSize->currentData();
    if (size.isValid()) setup_.pageSize = size.value<QPageSize>();
    setup_.orientation =
        OptionLandscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    accept();
}

}  // namespace baldo7
