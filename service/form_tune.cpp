#include "service/form_tune.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "channels/form_support.h"
#include "core/codecs.h"
#include "core/document.h"
#include "service/service_texts.h"
#include "ui/editor_host.h"
#include "ui/editor_window_events.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kColumnTwips = 500;
constexpr int kRowTwips = 300;
constexpr int kDigitsMode = 4;  // key filter: digits, at most three
constexpr char kHelpTopic[] = "tune.htm";
// The grey of cells that cannot be edited: the application workspace.
const QColor kWorkspace(0xAB, 0xAB, 0xAB);

int cellValue(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? v : 0;
}
}  // namespace

FormTune::FormTune(Document& doc, EditorHost& host,
                   std::function<bool(const TransferRequest&)> runTransfer, QWidget* parent)
    : QWidget(parent), doc_(doc), host_(host), runTransfer_(std::move(runTransfer)) {
    using namespace service_texts;
    setObjectName(QStringLiteral("FormTune"));
    const bool en = doc_.IsEnglish;

    auto* content = new QWidget;
    MSHFlexGridTuneData = new QTableWidget(content);
    MSHFlexGridTuneData->setObjectName(QStringLiteral("MSHFlexGridTuneData"));
    MSHFlexGridSqlTune = new QTableWidget(content);
    MSHFlexGridSqlTune->setObjectName(QStringLiteral("MSHFlexGridSqlTune"));
    setUpGrid(MSHFlexGridTuneData, kTuneRows + 1, kTunePoints + 1);
    setUpGrid(MSHFlexGridSqlTune, 3, kDetections + 1);
    for (int r = 0; r <= kTuneRows; ++r)
        MSHFlexGridTuneData->item(r, 0)->setText(uiText(kTuneRowHeaders[r], en));
    MSHFlexGridSqlTune->item(0, 0)->setText(uiText(kSqDetect, en));
    MSHFlexGridSqlTune->item(1, 0)->setText(uiText(kHighThreshold, en));
    MSHFlexGridSqlTune->item(2, 0)->setText(uiText(kLowThreshold, en));
    for (int k = 1; k <= kDetections; ++k)
        MSHFlexGridSqlTune->item(0, k)->setText(uiText(kDetectionHeaders[k - 1], en).trimmed());
    // Data columns are 500 twips, or as wide as the widest text they can hold (a
    // three-digit point with its "≥", a detection name), all alike.
    MSHFlexGridTuneData->item(0, 1)->setText(QStringLiteral("888\u2265"));
    for (QTableWidget* grid : {MSHFlexGridTuneData, MSHFlexGridSqlTune}) {
        grid->resizeColumnsToContents();
        int data = twips(kColumnTwips);
        for (int c = 1; c < grid->columnCount(); ++c) data = std::max(data, grid->columnWidth(c));
        for (int c = 1; c < grid->columnCount(); ++c) grid->setColumnWidth(c, data);
        int width = 2 * grid->frameWidth(), height = 2 * grid->frameWidth();
        for (int c = 0; c < grid->columnCount(); ++c) width += grid->columnWidth(c);
        for (int r = 0; r < grid->rowCount(); ++r) height += grid->rowHeight(r);
        grid->setFixedSize(width, height);
    }

    Text1 = new QLineEdit(MSHFlexGridTuneData->viewport());
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2 = new QLineEdit(MSHFlexGridSqlTune->viewport());
    Text2->setObjectName(QStringLiteral("Text2"));
    TextPkValue = new QLineEdit;
    TextPkValue->setObjectName(QStringLiteral("TextPkValue"));
    TextPkValue->setFixedWidth(twips(800));
    for (QLineEdit* box : {Text1, Text2, TextPkValue}) {
        box->setMaxLength(KeyFilterMaxLength(kDigitsMode));
        box->setAlignment(Qt::AlignCenter);
        box->installEventFilter(this);
    }
    for (QLineEdit* box : {Text1, Text2}) {
        box->setFrame(false);
        box->hide();
    }
    LabelPkValue = new QLabel(uiText(kBandWide, en));
    LabelPkValue->setObjectName(QStringLiteral("LabelPkValue"));
    LabelPkValue->setBuddy(TextPkValue);
    CommandRead = new QPushButton(uiText(kReadTune, en));
    CommandRead->setObjectName(QStringLiteral("CommandRead"));
    CommandWrite = new QPushButton(uiText(kWriteTune, en));
    CommandWrite->setObjectName(QStringLiteral("CommandWrite"));
    CommandHelp = new QPushButton(uiText(texts::kHelp, en));
    CommandHelp->setObjectName(QStringLiteral("CommandHelp"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LabelPkValue);
    bottom->addWidget(TextPkValue);
    bottom->addStretch(1);
    bottom->addWidget(CommandRead);
    bottom->addSpacing(twips(300));
    bottom->addWidget(CommandWrite);
    bottom->addSpacing(twips(300));
    bottom->addWidget(CommandHelp);
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(twips(240), twips(240), twips(240), twips(240));
    outer->addWidget(MSHFlexGridTuneData, 0, Qt::AlignLeft);
    outer->addSpacing(twips(200));
    outer->addWidget(MSHFlexGridSqlTune, 0, Qt::AlignLeft);
    outer->addSpacing(twips(200));
    outer->addLayout(bottom);
    outer->addStretch(1);
    // The grids keep their fixed size: a window smaller than them (a small screen, a
    // large scale, Cascade) scrolls instead of cutting the right side off. It opens
    // as large as its content.
    ScrollTune = new QScrollArea;
    ScrollTune->setObjectName(QStringLiteral("ScrollTune"));
    ScrollTune->setFrameShape(QFrame::NoFrame);
    ScrollTune->setWidgetResizable(true);
    ScrollTune->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    ScrollTune->setWidget(content);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(ScrollTune);

    // Load.
    events_ = new EditorWindowEvents(this, host_.state(), &AppState::FormTuneOpen);
    setWindowTitle(uiText(kTuneCaption, en));
    AnalyseTuneData();
    observation_ = std::make_unique<DocumentObservation>(doc_, [this](const DocumentChange& c) {
        if (c.touches(addr::kTuneTables, kImageSize)) AnalyseTuneData();
    });
    // F1 is the main window's, which opens this window's topic while it is active.
    connect(CommandHelp, &QPushButton::clicked, this,
            [this] { host_.showHelpTopic(QString::fromLatin1(kHelpTopic)); });

    connect(MSHFlexGridTuneData, &QTableWidget::cellClicked, this,
            &FormTune::MSHFlexGridTuneData_Click);
    connect(MSHFlexGridSqlTune, &QTableWidget::cellClicked, this,
            &FormTune::MSHFlexGridSqlTune_Click);
    connect(CommandRead, &QPushButton::clicked, this, &FormTune::CommandRead_Click);
    connect(CommandWrite, &QPushButton::clicked, this, &FormTune::CommandWrite_Click);
}

FormTune::~FormTune() = default;

void FormTune::setUpGrid(QTableWidget* grid, int rows, int columns) {
    grid->setRowCount(rows);
    grid->setColumnCount(columns);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(false);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->horizontalHeader()->setMinimumSectionSize(1);
    const QBrush fixed = palette().brush(QPalette::Button);
    for (int r = 0; r < rows; ++r) {
        grid->setRowHeight(r, twips(kRowTwips));
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled);
            if (r == 0 || c == 0) item->setBackground(fixed);
            grid->setItem(r, c, item);
        }
    }
    grid->setCurrentCell(-1, -1);
}

void FormTune::AnalyseTuneData() {
    base_ = TuneTableBase(doc_.BandLowMHz);
    points_ = ComputeTunePoints(doc_.BandLowMHz, doc_.BandHighMHz, doc_.BandTxHighMHz);
    const QColor editable = palette().color(QPalette::Base);
    for (int c = 1; c <= kTunePoints; ++c) {
        MSHFlexGridTuneData->item(0, c)->setText(QString::fromStdString(TunePointText(points_, c)));
        for (int r = 1; r <= kTuneRows; ++r) {
            QTableWidgetItem* item = MSHFlexGridTuneData->item(r, c);
            item->setText(QString::number(TuneCellValue(doc_.radioImage, base_, r, c)));
            item->setBackground(TuneCellEditable(points_, r, c) ? editable : kWorkspace);
        }
    }
    for (int k = 1; k <= kDetections; ++k) {
        const Threshold t = ThresholdAt(doc_.radioImage, base_, k);
        MSHFlexGridSqlTune->item(1, k)->setText(QString::number(t.high));
        MSHFlexGridSqlTune->item(2, k)->setText(QString::number(t.low));
    }
    TextPkValue->setText(QString::number(MaxDeviation(doc_.radioImage)));
}

void FormTune::radioDataRead() {
    AnalyseTuneData();
    messageLastRead_ = MessageRegionOf(doc_.radioImage);
}

// ---- floating editors ---------------------------------------------------------------

void FormTune::openEditor(QLineEdit* editor, QTableWidget* grid, int row, int column) {
    editRow_ = row;
    editColumn_ = column;
    editor->setGeometry(grid->visualItemRect(grid->item(row, column)));
    editor->setText(grid->item(row, column)->text());
    openedText_ = editor->text();
    editor->show();
    editor->raise();
    editor->setFocus();
    editor->selectAll();
}

void FormTune::MSHFlexGridTuneData_Click(int row, int column) {
    commitEditors();
    if (!TuneCellEditable(points_, row, column)) return;
    openEditor(Text1, MSHFlexGridTuneData, row, column);
}

void FormTune::MSHFlexGridSqlTune_Click(int row, int column) {
    commitEditors();
    // A click on the header row or column counts as row 1 or column 1.
    openEditor(Text2, MSHFlexGridSqlTune, std::max(row, 1), std::max(column, 1));
}

void FormTune::hideEditor(QLineEdit* editor) {
    committing_ = true;
    if (editor->hasFocus())
        (editor == Text1 ? MSHFlexGridTuneData : MSHFlexGridSqlTune)->setFocus();
    editor->hide();
    committing_ = false;
}

void FormTune::Text1_LostFocus(bool enter) {
    if (!Text1->isVisible() || committing_) return;
    const QString text = Text1->text();
    // An unchanged cell is not stored; a changed one keeps the bits it does not show.
    if (!text.isEmpty() && text != openedText_) {
        const int value = CapTuneValue(editRow_, cellValue(text));
        MSHFlexGridTuneData->item(editRow_, editColumn_)->setText(QString::number(value));
        DocumentEdit edit(doc_);
        StoreTuneCell(doc_.radioImage, base_, editRow_, editColumn_, value);
    }
    hideEditor(Text1);
    if (enter) moveTo(NextCellAfterEnter(points_, {0, editRow_, editColumn_}));
}

void FormTune::Text2_LostFocus(bool enter) {
    if (!Text2->isVisible() || committing_) return;
    const QString text = Text2->text();
    // An unchanged cell is not stored.
    if (!text.isEmpty() && text != openedText_) {
        const int value = CapThresholdValue(editRow_, cellValue(text));
        MSHFlexGridSqlTune->item(editRow_, editColumn_)->setText(QString::number(value));
        DocumentEdit edit(doc_);
        StoreThreshold(doc_.radioImage, base_, editRow_, editColumn_, value);
        // The other threshold of the pair keeps its bits; show what the pair now holds.
        const Threshold t = ThresholdAt(doc_.radioImage, base_, editColumn_);
        MSHFlexGridSqlTune->item(1, editColumn_)->setText(QString::number(t.high));
        MSHFlexGridSqlTune->item(2, editColumn_)->setText(QString::number(t.low));
    }
    hideEditor(Text2);
    if (enter) moveTo(NextCellAfterEnter(points_, {1, editRow_, editColumn_}));
}

void FormTune::TextPkValue_LostFocus() {
    // Passing through the box leaves a stored value above 127 alone.
    if (!TextPkValue->isModified()) return;
    TextPkValue->setModified(false);
    const int value = CapDeviationValue(cellValue(TextPkValue->text()));
    TextPkValue->setText(QString::number(value));
    DocumentEdit edit(doc_);
    doc_.radioImage[addr::kMaxDeviation] = static_cast<std::uint8_t>(value);
}

void FormTune::moveTo(TuneCell cell) {
    if (cell.row == 0) return;
    if (cell.grid == 0)
        openEditor(Text1, MSHFlexGridTuneData, cell.row, cell.column);
    else
        openEditor(Text2, MSHFlexGridSqlTune, cell.row, cell.column);
}

void FormTune::commitEditors() {
    Text1_LostFocus(false);
    Text2_LostFocus(false);
    TextPkValue_LostFocus();
}

bool FormTune::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box || (box != Text1 && box != Text2 && box != TextPkValue))
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        if (box == Text1)
            Text1_LostFocus(false);
        else if (box == Text2)
            Text2_LostFocus(false);
        else
            TextPkValue_LostFocus();
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnterKey(key)) {
            if (box == Text1)
                Text1_LostFocus(true);
            else if (box == Text2)
                Text2_LostFocus(true);
            else
                TextPkValue_LostFocus();
            return true;
        }
        const int typed = typedCode(key);
        if (typed != 0)
            return applyKeyFilter(box, typed,
                                  KeyFilter(box->text().toStdString(), box->hasSelectedText(),
                                            typed, kDigitsMode, doc_.DecimalSeparator));
    }
    return QWidget::eventFilter(watched, event);
}

// ---- transfers -------------------------------------------------------------------------

QString FormTune::messageWarning() const {
    // The rows of this band that are message bytes, and the lines they lie in.
    const bool en = doc_.IsEnglish;
    QStringList rows, lines;
    for (const TuneRowInMessage& r : TuneRowsInMessage(doc_.BandLowMHz)) {
        rows << QStringLiteral("\"%1\"").arg(uiText(service_texts::kTuneRowHeaders[r.row], en));
        lines << uiText(message_texts::kLineName, en).arg(r.line + 1);
    }
    const QString comma = en ? QStringLiteral(", ") : QStringLiteral("、");
    return uiText(message_texts::kTuneWriteWarning, en).arg(rows.join(comma), lines.join(comma));
}

void FormTune::CommandRead_Click() {
    using namespace service_texts;
    commitEditors();
    const bool en = doc_.IsEnglish;
    if (host_.messages().show(MsgIcon::Warning, appTitle(), uiText(kReadTuneConfirm, en),
                              MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
    bool read = false;
    {
        // What the radio gave is one undo step, and every window shows it.
        DocumentEdit edit(doc_);
        read = runTransfer_ && runTransfer_(TransferRequest::read(TransferArea::Tune));
    }
    if (!read) return;
    radioDataRead();
    host_.messages().show(MsgIcon::Information, appTitle(), uiText(kReadSuccessful, en));
}

void FormTune::CommandWrite_Click() {
    using namespace service_texts;
    commitEditors();
    TextPkValue_LostFocus();
    const bool en = doc_.IsEnglish;
    if (host_.messages().show(MsgIcon::Warning, appTitle(), uiText(kWriteTuneConfirm, en),
                              MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
    // The band's table begins inside the embedded message's bytes.
    if (TuneWriteNeedsMessageWarning(doc_.radioImage, static_cast<std::size_t>(base_),
                                     messageLastRead_) &&
        host_.messages().show(MsgIcon::Warning, appTitle(), messageWarning(),
                              MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
    if (runTransfer_ && runTransfer_(TransferRequest::write(TransferArea::Tune)))
        host_.messages().show(MsgIcon::Information, appTitle(), uiText(kWriteSuccessful, en));
}

}  // namespace baldo7
