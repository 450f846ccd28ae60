#include "channels/form_channel_information.h"

#include <cmath>
#include <memory>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPaintEvent>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <vector>

#include "channels/channel_csv.h"
#include "channels/channel_record.h"
#include "channels/channel_texts.h"
#include "channels/form_copy_tools.h"
#include "channels/form_csv_preview.h"
#include "channels/form_support.h"
#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"
#include "core/codecs.h"
#include "core/document.h"
#include "ui/editor_host.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr int kWindowWidthTwips = 9610;
constexpr int kWindowHeightTwips = 6180;
constexpr int kGridWidthTwips = 8950;
constexpr int kGridHeightTwips = 4590;
constexpr int kHeaderHeightTwips = 500;
constexpr int kColumnWidthsTwips[FormChannelInformation::kColumnCount] = {
    500, 1000, 1000, 1000, 1000, 1000, 1200, 1200, 1000};
constexpr int kText1 = 5;

// The grid's size is fixed, and so is its header's height: the header's size hint is
// that height (and the sections' length), not the size its labels would like.
class FixedHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;
    QSize sizeHint() const override {
        return orientation() == Qt::Horizontal ? QSize(length(), twips(kHeaderHeightTwips))
                                               : QSize(0, length());
    }
};

// A cell's list editor. QComboBox makes its drop-down window on every font change;
// the cell editors get the cell font before they are ever opened, so here the
// window is made when it is first needed, as for any combo box, and it takes the
// cell font and the width of the column's widest entry when it opens.
class CellCombo : public QComboBox {
public:
    using QComboBox::QComboBox;

    void setListMinimumWidth(int width) {
        listWidth_ = width;
        if (hasList()) view()->setMinimumWidth(width);
    }

    // Editable, without the parts QComboBox::setEditable makes at once: the drop-down
    // window (made on first use instead) and a completer (the cells complete nothing).
    void makeEditable() {
        auto* edit = new QLineEdit(this);
        QCompleter none;  // setLineEdit makes a completer only for an edit without one
        edit->setCompleter(&none);
        setLineEdit(edit);
        setCompleter(nullptr);
    }

    void showPopup() override {
        QAbstractItemView* list = view();
        // As setEditable sets it for a list that drops down as a popup.
        QStyleOptionComboBox option;
        initStyleOption(&option);
        if (isEditable() && style()->styleHint(QStyle::SH_ComboBox_Popup, &option, this))
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setFont(font());
        list->setMinimumWidth(listWidth_);
        QComboBox::showPopup();
    }

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange && !hasList()) {
            QWidget::changeEvent(event);
            return;
        }
        QComboBox::changeEvent(event);
    }

private:
    bool hasList() const { return findChild<QAbstractItemView*>() != nullptr; }

    int listWidth_ = 0;
};

// QTableView draws each vertical grid line from the top to the bottom of every
// rectangle of the region it repaints. A window with rounded corners opened over
// the grid leaves rectangles one pixel tall beside its corners; there the lines
// have no length and come out a pixel to the side. Repainting the region's
// bounding rectangle, grown by a pixel within the view, keeps every line whole;
// the clip still limits the pixels to the region.
class ChannelTable : public QTableWidget {
public:
    ChannelTable(int rows, int columns, QWidget* parent) : QTableWidget(parent) {
        // Headers of a fixed size, in place before the rows and columns exist: the
        // stock ones shape every label again for their size hint at each relayout.
        setHorizontalHeader(new FixedHeader(Qt::Horizontal, this));
        setVerticalHeader(new FixedHeader(Qt::Vertical, this));
        verticalHeader()->hide();
        setRowCount(rows);
        setColumnCount(columns);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPaintEvent whole(event->region().boundingRect().adjusted(-1, -1, 1, 1) &
                          viewport()->rect());
        QTableWidget::paintEvent(&whole);
    }
};

}  // namespace

FormChannelInformation::FormChannelInformation(Document& doc, EditorHost& host, QWidget* parent)
    : QWidget(parent), doc_(doc), host_(host), state_(host.state()) {
    setObjectName(QStringLiteral("FormChannelInformation"));

    MSHFlexGridChannel = new ChannelTable(kChannelCount, kColumnCount, this);
    MSHFlexGridChannel->setObjectName(QStringLiteral("MSHFlexGridChannel"));
    // The cell font is chosen before anything is filled in: a font change later
    // would re-measure every header, cell and list entry.
    powerList_ = PowerList(doc_.IsEnglish);
    scanList_ = ScanList(doc_.IsEnglish);
    spacingList_ = SpacingList(doc_.IsEnglish, doc_.DecimalSeparator);
    fitGridFont();
    Text1 = new QLineEdit(this);
    Text1->setFont(MSHFlexGridChannel->font());
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFrame(false);
    Text1->hide();
    for (int i = 0; i < 5; ++i) {
        auto* combo = new CellCombo(this);
        combo->setObjectName(QStringLiteral("Combo1_%1").arg(i));
        combo->setFont(MSHFlexGridChannel->font());
        if (i <= 1) {
            combo->makeEditable();
            combo->setInsertPolicy(QComboBox::NoInsert);
        }
        combo->setMaxVisibleItems(12);
        combo->hide();
        Combo1[i] = combo;
    }
    CommandChannelEdit = new QPushButton(this);
    CommandChannelEdit->setObjectName(QStringLiteral("CommandChannelEdit"));
    CommandClose = new QPushButton(this);
    CommandClose->setObjectName(QStringLiteral("CommandClose"));
    CommandHelp = new QPushButton(this);
    CommandHelp->setObjectName(QStringLiteral("CommandHelp"));
    ComboGroup = new QComboBox(this);
    ComboGroup->setObjectName(QStringLiteral("ComboGroup"));
    ComboGroup->hide();
    LabelGroup = new QLabel(this);
    LabelGroup->setObjectName(QStringLiteral("LabelGroup"));
    LabelGroup->hide();
    for (int g = 1; g <= 8; ++g) ComboGroup->addItem(QString::number(g));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandChannelEdit);
    buttons->addStretch(1);
    buttons->addWidget(CommandClose);
    buttons->addSpacing(twips(300));
    buttons->addWidget(CommandHelp);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(twips(300), twips(240), twips(300), twips(240));
    outer->addWidget(MSHFlexGridChannel, 0, Qt::AlignHCenter);
    outer->addSpacing(twips(120));
    outer->addLayout(buttons);
    outer->addStretch(1);

    // Load.
    resize(FormChannelInformation::sizeHint());
    state_.FormChannelInformationOpen = true;
    fillTexts();
    state_.setCurrentRow(1);
    ComboGroup->setCurrentIndex(0);
    state_.CurrentGroup = 0;
    EnterPressed = false;
    ReopenOnEnter = false;
    layoutGrid();
    fillLists();
    AnalyseChannelInformation();
    // Another window's change, an import, undo, a read: the grid shows the bytes. Its
    // own edits redraw what they changed themselves.
    observation_ = std::make_unique<DocumentObservation>(doc_, [this](const DocumentChange& c) {
        if (!decoding_ && !unloaded_ && c.origin != this && c.touches(0, kImageSize))
            AnalyseChannelInformation();
    });

    connect(MSHFlexGridChannel, &QTableWidget::cellClicked, this,
            [this](int row, int column) { MSHFlexGridChannel_Click(row + 1, column); });
    connect(MSHFlexGridChannel, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) {
                if (!userNavigation_ || row < 0 || column <= kColChannel) return;
                state_.setCurrentCell(row + 1, column);
            });
    // The channel edit dialog may choose another channel.
    connect(&state_, &AppState::currentRowChanged, this, &FormChannelInformation::followCurrentRow);
    connect(CommandChannelEdit, &QPushButton::clicked, this,
            &FormChannelInformation::openChannelEdit);
    connect(CommandClose, &QPushButton::clicked, this, &FormChannelInformation::CommandClose_Click);
    connect(CommandHelp, &QPushButton::clicked, this,
            [this] { host_.showHelpTopic(QStringLiteral("chinfo.htm")); });
    connect(qApp, &QApplication::focusChanged, this, &FormChannelInformation::onFocusChanged);

    // The window sees keys before its controls.
    QList<QWidget*> watched{
        MSHFlexGridChannel, MSHFlexGridChannel->viewport(), Text1, CommandChannelEdit, CommandClose,
        CommandHelp};
    for (QComboBox* combo : Combo1) {
        watched << combo;
        if (combo->lineEdit()) watched << combo->lineEdit();
    }
    for (QWidget* w : watched) w->installEventFilter(this);
}

FormChannelInformation::~FormChannelInformation() {
    // The base destructor hides the window, which moves focus; nothing may commit then.
    disconnect(qApp, nullptr, this, nullptr);
    activeEditor_ = -1;
}

QSize FormChannelInformation::sizeHint() const {
    return formSizeOfWindow(kWindowWidthTwips, kWindowHeightTwips);
}

void FormChannelInformation::fillTexts() {
    using namespace channel_texts;
    const bool en = doc_.IsEnglish;
    setWindowTitle(uiText(kGridCaption, en));
    CommandClose->setText(uiText(texts::kClose, en));
    CommandHelp->setText(uiText(texts::kHelp, en));
    CommandChannelEdit->setText(uiText(kChannelEditButton, en));
    LabelGroup->setText(uiText(kGroup, en));
    QStringList headers;
    for (const BiText& h : kColumnHeaders) headers << uiText(h, en);
    MSHFlexGridChannel->setHorizontalHeaderLabels(headers);
}

void FormChannelInformation::fillLists() {
    // Filled once the cell font is set: a font change re-measures every entry.
    const bool en = doc_.IsEnglish;
    const char sep = doc_.DecimalSeparator;
    for (QComboBox* combo : Combo1) combo->clear();
    Combo1[4]->addItems(uiList(spacingList_));
    Combo1[3]->addItems(uiList(scanList_));
    Combo1[2]->addItems(uiList(powerList_));
    const QStringList tones = uiList(ToneList(en, sep));
    Combo1[1]->addItems(tones);
    Combo1[0]->addItems(tones);
    fitListWidths();
}

void FormChannelInformation::layoutGrid() {
    QTableWidget* grid = MSHFlexGridChannel;
    grid->setFixedSize(twips(kGridWidthTwips), twips(kGridHeightTwips));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Shift with the arrow keys selects rows to copy.
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(false);
    grid->setCornerButtonEnabled(false);
    grid->verticalHeader()->hide();

    QHeaderView* header = grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    header->setFixedHeight(twips(kHeaderHeightTwips));
    header->setMinimumSectionSize(1);
    for (int c = 0; c < kColumnCount; ++c) grid->setColumnWidth(c, twips(kColumnWidthsTwips[c]));

    // All sixteen rows fill the grid below the header.
    QHeaderView* rows = grid->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    const int space = grid->height() - header->height() - 2 * grid->frameWidth();
    for (int r = 0; r < kChannelCount; ++r)
        grid->setRowHeight(r, space / kChannelCount + (r < space % kChannelCount ? 1 : 0));

    const QBrush fixedBrush = palette().brush(QPalette::Button);
    for (int r = 0; r < kChannelCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (c == kColChannel) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(fixedBrush);
                item->setText(QString::number(r + 1));
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            grid->setItem(r, c, item);
        }
    }
}

std::vector<QStringList> FormChannelInformation::columnSamples() const {
    // The widest texts each column can show.
    const bool en = doc_.IsEnglish;
    const char sep = doc_.DecimalSeparator;
    const QString frequency = QStringLiteral("888") + QChar(sep) + QStringLiteral("88888");
    std::vector<QStringList> samples(kColumnCount);
    samples[kColChannel] << QStringLiteral("16");
    samples[kColRx] << frequency;
    samples[kColTx] << frequency;
    const QStringList tones{QStringLiteral("D888N"), QStringLiteral("D888I"),
                            QStringLiteral("254") + QChar(sep) + QStringLiteral("8"),
                            uiText(texts::kNone, en)};
    samples[kColDecode] = tones;
    samples[kColEncode] = tones;
    samples[kColPower] = uiList(powerList_);
    samples[kColScan] = uiList(scanList_);
    samples[kColSpacing] = uiList(spacingList_);
    samples[kColMore] << QString::fromLatin1(channel_texts::kMoreCell);
    return samples;
}

void FormChannelInformation::fitGridFont() {
    // The column widths are fixed; the font shrinks until the widest texts of every
    // column and every header fit, whatever the platform's default font is.
    QTableWidget* grid = MSHFlexGridChannel;
    const bool en = doc_.IsEnglish;
    const std::vector<QStringList> samples = columnSamples();
    const int cellPadding = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 2);
    const int headerHeight = twips(kHeaderHeightTwips);
    const int rowHeight =
        (twips(kGridHeightTwips) - headerHeight - 2 * grid->frameWidth()) / kChannelCount;
    auto columnWidth = [&](int c) { return twips(kColumnWidthsTwips[c]) - cellPadding; };
    auto fits = [&](const QFont& font) {
        const QFontMetrics fm(font);
        if (fm.height() > rowHeight) return false;
        for (int c = 0; c < kColumnCount; ++c) {
            const int width = columnWidth(c);
            for (const QString& text : samples[std::size_t(c)])
                if (fm.horizontalAdvance(text) > width) return false;
            const QString header = uiText(channel_texts::kColumnHeaders[c], en);
            const QRect wrapped =
                fm.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, header);
            if (wrapped.width() > width || wrapped.height() > headerHeight - 4) return false;
        }
        return true;
    };
    // Text widths grow about in proportion to the point size: measure once at the
    // default size, go straight to the size that should fit, then step down only if
    // rounding left something a pixel too wide. Each size tried costs a font load.
    QFont font = grid->font();
    const qreal base = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    const QFontMetricsF fm(font);
    qreal scale = qreal(rowHeight) / fm.height();
    for (int c = 0; c < kColumnCount; ++c)
        for (const QString& text : samples[std::size_t(c)])
            scale =
                std::min(scale, columnWidth(c) / std::max<qreal>(1, fm.horizontalAdvance(text)));
    qreal size = scale >= 1 ? base : std::max<qreal>(5.0, std::floor(base * scale * 2) / 2);
    for (font.setPointSizeF(size); size > 5.0 && !fits(font); font.setPointSizeF(size)) size -= 0.5;
    grid->setFont(font);
    grid->horizontalHeader()->setFont(font);
}

void FormChannelInformation::fitListWidths() {
    // A list may open wider than its cell; the widest entry is among the column's
    // samples (the tone list's 283 entries are all as wide as one of its four).
    const std::vector<QStringList> samples = columnSamples();
    const QFontMetrics fm(MSHFlexGridChannel->font());
    const int extra = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    for (int i = 0; i < int(Combo1.size()); ++i) {
        int widest = 0;
        for (const QString& text : samples[std::size_t(kColDecode + i)])
            widest = std::max(widest, fm.horizontalAdvance(text));
        static_cast<CellCombo*>(Combo1[std::size_t(i)])->setListMinimumWidth(widest + extra);
    }
}

QString FormChannelInformation::cellText(int row, int column) const {
    const QTableWidgetItem* item = MSHFlexGridChannel->item(row - 1, column);
    return item ? item->text() : QString();
}

void FormChannelInformation::setCell(int row, int column, const QString& text) {
    if (QTableWidgetItem* item = MSHFlexGridChannel->item(row - 1, column)) item->setText(text);
}

void FormChannelInformation::fillRow(int row) {
    const bool wasDecoding = decoding_;
    decoding_ = true;
    for (int c = kColRx; c <= kColSpacing; ++c) setCell(row, c, QString());
    setCell(row, kColMore, QString::fromLatin1(channel_texts::kMoreCell));
    const ChannelView v = DisplayChannel(doc_, row);
    if (v.inUse) {
        setCell(row, kColRx, uiText(v.rxText));
        setCell(row, kColTx, uiText(v.txText));
        setCell(row, kColDecode, uiText(v.rxToneText));
        setCell(row, kColEncode, uiText(v.txToneText));
        setCell(row, kColPower, uiText(powerList_[v.powerIndex]));
        setCell(row, kColSpacing, uiText(spacingList_[v.spacingIndex]));
        setCell(row, kColScan, uiText(scanList_[v.scanListIndex()]));
    }
    decoding_ = wasDecoding;
}

void FormChannelInformation::AnalyseChannelInformation() {
    decoding_ = true;
    for (int row = 1; row <= kChannelCount; ++row) fillRow(row);
    decoding_ = false;
}

QRect FormChannelInformation::cellRectInForm(int row, int column) const {
    const QTableWidgetItem* item = MSHFlexGridChannel->item(row - 1, column);
    const QRect inViewport = MSHFlexGridChannel->visualItemRect(item);
    return {MSHFlexGridChannel->viewport()->mapTo(this, inViewport.topLeft()), inViewport.size()};
}

// ---- opening a cell editor -------------------------------------------------------

void FormChannelInformation::MSHFlexGridChannel_Click(int row, int column) {
    if (column == kColChannel)
        chooseRow(row, QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
    else
        openCellEditor(row, column);
}

void FormChannelInformation::chooseRow(int row, bool extend) {
    if (row < 1 || row > kChannelCount) return;
    FreshData();
    // Shift+click reaches from the row that was current to this one.
    const int anchor = extend && state_.currentRow() >= 1 ? state_.currentRow() : row;
    int column = MSHFlexGridChannel->currentColumn();
    if (column <= kColChannel || column >= kColMore) column = kColRx;
    state_.setCurrentCell(row, column);
    MSHFlexGridChannel->setCurrentCell(row - 1, column);
    // Whole rows, as copy takes them.
    MSHFlexGridChannel->setRangeSelected(
        QTableWidgetSelectionRange(std::min(anchor, row) - 1, kColRx, std::max(anchor, row) - 1,
                                   kColSpacing),
        true);
}

void FormChannelInformation::openCellEditor(int row, int column) {
    if (row < 1 || row > kChannelCount || column <= kColChannel || column >= kColumnCount) return;
    FreshData();
    // An empty channel starts from its receive frequency; a blank transmit side from
    // its frequency.
    if (cellText(row, kColRx).isEmpty() && column != kColMore)
        column = kColRx;
    else if (cellText(row, kColTx).isEmpty() && column == kColEncode)
        column = kColTx;
    state_.setCurrentCell(row, column);
    MSHFlexGridChannel->setCurrentCell(row - 1, column);

    if (column == kColMore) {
        openChannelEdit();
        return;
    }
    const QRect cell = cellRectInForm(row, column);
    editRow_ = row;
    editColumn_ = column;
    if (column == kColRx || column == kColTx) {
        Text1->setGeometry(cell);
        Text1->setText(cellText(row, column));
        activeEditor_ = kText1;
        openedText_ = Text1->text();
        Text1->show();
        Text1->raise();
        Text1->setFocus();
        Text1->selectAll();
        return;
    }
    const int index = column - kColDecode;
    QComboBox* combo = Combo1[index];
    combo->setGeometry(cell.left(), cell.top(), cell.width(), combo->sizeHint().height());
    if (column == kColDecode || column == kColEncode) {
        combo->setEditText(cellText(row, column));
    } else {
        const int found = combo->findText(cellText(row, column), Qt::MatchExactly);
        combo->setCurrentIndex(found >= 0 ? found : 0);
    }
    activeEditor_ = index;
    openedText_ = combo->currentText();
    combo->show();
    combo->raise();
    combo->setFocus();
    // Typing replaces the tone, as in the frequency cells.
    if (QLineEdit* edit = combo->lineEdit()) edit->selectAll();
}

// ---- committing ------------------------------------------------------------------

void FormChannelInformation::FreshData() {
    if (activeEditor_ >= 0 && activeEditor_ < kText1)
        commitCombo(activeEditor_);
    else if (activeEditor_ == kText1)
        commitText1();
}

void FormChannelInformation::hideEditor(QWidget* editor) {
    // Hiding the focused editor would hand focus to the next button.
    if (editor->hasFocus() || editor->isAncestorOf(QApplication::focusWidget()))
        MSHFlexGridChannel->setFocus();
    editor->hide();
}

bool FormChannelInformation::closeIfUnchanged(QWidget* editor, const QString& text) {
    // Passing through a cell must not rewrite it: a frequency from another band would
    // be pulled to the band limit with a warning, an odd tone to a standard one.
    // Enter always commits.
    if (EnterPressed || text != openedText_) return false;
    activeEditor_ = -1;
    hideEditor(editor);
    return true;
}

void FormChannelInformation::commitText1() {
    if (activeEditor_ != kText1 || closeIfUnchanged(Text1, Text1->text())) return;
    activeEditor_ = -1;
    DocumentEdit edit(doc_, this);
    const int row = editRow_, column = editColumn_;
    const std::string text = Text1->text().toStdString();
    FrequencyCommit result;
    if (row > 0 && column > 0) {
        result = column == kColRx ? CommitRxFrequency(doc_, row, text)
                                  : CommitTxFrequency(doc_, row, text);
        if (result.warn) warnFrequencyOutOfRange(host_, doc_.IsEnglish);
    }
    hideEditor(Text1);
    finish(row, column);
    // A removed transmit side has no encode tone to show until the next redraw.
    if (result.cleared && column == kColTx) setCell(row, kColEncode, QString());
}

void FormChannelInformation::commitCombo(int index) {
    QComboBox* combo = Combo1[index];
    if (activeEditor_ != index || closeIfUnchanged(combo, combo->currentText())) return;
    activeEditor_ = -1;
    const int row = editRow_, column = index + kColDecode;
    const bool toneColumn = column == kColDecode || column == kColEncode;
    if (row <= 0 || (!toneColumn && combo->currentIndex() < 0)) {
        hideEditor(combo);
        EnterPressed = false;
        return;
    }
    DocumentEdit edit(doc_, this);
    RadioImage& image = doc_.radioImage;
    switch (column) {
        case kColPower:
            SetTxPower(image, row, combo->currentIndex());
            break;
        case kColSpacing:
            SetSpacing(image, row, combo->currentIndex());
            break;
        case kColScan:
            SetScanFromListIndex(image, row, combo->currentIndex());
            break;
        default: {
            const std::string text = combo->currentText().toStdString();
            ToneCode code = kNoTone;
            if (text != texts::kNone.en && text != texts::kNone.zh) {
                const ToneEntry entry = ToneFromText(text, doc_.DecimalSeparator);
                combo->setEditText(uiText(entry.text));
                code = entry.code;
            }
            if (column == kColDecode)
                SetRxTone(image, row, code);
            else
                SetTxTone(image, row, code);
        }
    }
    hideEditor(combo);
    finish(row, column);
}

void FormChannelInformation::finish(int row, int column) {
    // The cell shows what is now stored, which is the editor's normalised text.
    if (row > 0) fillRow(row);
    if (!EnterPressed) return;
    EnterPressed = false;
    if (column == kColSpacing && row < kChannelCount) {
        ++row;
        column = kColRx;
    } else if (column < kColMore) {
        ++column;
    }
    state_.setCurrentCell(row, column);
    MSHFlexGridChannel->setCurrentCell(row - 1, column);
    MSHFlexGridChannel->setFocus();
    ReopenOnEnter = true;
}

void FormChannelInformation::onFocusChanged(QWidget* old, QWidget* now) {
    if (activeEditor_ < 0 || !now || !old) return;
    QWidget* editor = activeEditor_ == kText1 ? static_cast<QWidget*>(Text1)
                                              : static_cast<QWidget*>(Combo1[activeEditor_]);
    auto inside = [editor](QWidget* w) { return w == editor || editor->isAncestorOf(w); };
    if (!inside(old) || inside(now)) return;
    // The drop-down list of a combo is a window of its own.
    if (activeEditor_ != kText1) {
        QAbstractItemView* view = Combo1[activeEditor_]->view();
        if (view && now->window() == view->window()) return;
    }
    FreshData();
}

// ---- keys ------------------------------------------------------------------------

FormChannelInformation::Shortcut FormChannelInformation::shortcutOf(const QKeyEvent* key) {
    struct Binding {
        int shiftKey;
        int ctrlKey;
        Shortcut action;
    };
    static constexpr Binding kBindings[] = {
        {Qt::Key_F3, Qt::Key_E, Shortcut::ChannelCopy},
        {Qt::Key_F4, Qt::Key_F, Shortcut::FrequencyCopy},
        {Qt::Key_F5, Qt::Key_Q, Shortcut::QtDqtCopy},
        {Qt::Key_F9, Qt::Key_I, Shortcut::Insert},
        {Qt::Key_F10, Qt::Key_D, Shortcut::Delete},
    };
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool shift = mods == Qt::ShiftModifier;
    const bool ctrl = mods == Qt::ControlModifier;
    if (key->key() == Qt::Key_F11) return shift || ctrl ? Shortcut::None : Shortcut::ChannelEdit;
    for (const Binding& b : kBindings)
        if ((shift && key->key() == b.shiftKey) || (ctrl && key->key() == b.ctrlKey))
            return b.action;
    return Shortcut::None;
}

bool FormChannelInformation::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (shortcutOf(key) != Shortcut::None ||
            (watched == MSHFlexGridChannel && isRowsKey(key))) {
            // Ours: no menu shortcut or line-edit binding may take it.
            key->accept();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const Shortcut which = shortcutOf(key);
    if (which != Shortcut::None) {
        runShortcut(which);
        return true;
    }
    if (watched == Text1) return text1KeyPress(key);
    for (int i = 0; i < 5; ++i)
        if (watched == Combo1[i] || watched == Combo1[i]->lineEdit()) return comboKeyPress(i, key);
    if (watched == MSHFlexGridChannel) return gridKeyPress(key);
    return QWidget::eventFilter(watched, event);
}

bool FormChannelInformation::isRowsKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste);
}

bool FormChannelInformation::gridKeyPress(QKeyEvent* key) {
    // Copy and paste of whole rows; inside a cell editor the keys stay the editor's.
    if (key->matches(QKeySequence::Copy)) {
        copyRows();
        return true;
    }
    if (key->matches(QKeySequence::Paste)) {
        pasteRows();
        return true;
    }
    if (isEnterKey(key)) {
        if (ReopenOnEnter) {
            ReopenOnEnter = false;
            const int row = MSHFlexGridChannel->currentRow() + 1;
            const int column = MSHFlexGridChannel->currentColumn();
            openCellEditor(row, column);
        }
        return true;
    }
    // Moving with the keys makes the new cell the current one for the shortcuts.
    userNavigation_ = true;
    static_cast<QObject*>(MSHFlexGridChannel)->event(key);
    userNavigation_ = false;
    return true;
}

void FormChannelInformation::cancelEditor() {
    // The cell was not touched while the editor was open; it shows the stored value.
    QWidget* editor = activeEditor_ == kText1 ? static_cast<QWidget*>(Text1)
                                              : static_cast<QWidget*>(Combo1[activeEditor_]);
    activeEditor_ = -1;
    EnterPressed = false;
    hideEditor(editor);
}

bool FormChannelInformation::text1KeyPress(QKeyEvent* key) {
    if (key->key() == Qt::Key_Escape) {
        if (activeEditor_ == kText1) cancelEditor();
        return true;
    }
    if (isEnterKey(key)) {
        EnterPressed = true;
        commitText1();
        return true;
    }
    return filterFrequencyKey(Text1, key, doc_.DecimalSeparator);
}

bool FormChannelInformation::comboKeyPress(int index, QKeyEvent* key) {
    if (key->key() == Qt::Key_Escape) {
        if (activeEditor_ == index) cancelEditor();
        return true;
    }
    if (isEnterKey(key)) {
        EnterPressed = true;
        commitCombo(index);
        return true;
    }
    QLineEdit* edit = Combo1[index]->lineEdit();
    return edit && filterToneKey(edit, key, doc_.DecimalSeparator);
}

void FormChannelInformation::runShortcut(Shortcut which) {
    const int row = state_.currentRow();
    if (row <= 0 || state_.currentColumn() <= 0 || row > kChannelCount) return;
    switch (which) {
        case Shortcut::Insert:
            insertChannel();
            break;
        case Shortcut::Delete:
            deleteChannel();
            break;
        case Shortcut::ChannelEdit:
            openChannelEdit();
            break;
        case Shortcut::ChannelCopy:
        case Shortcut::FrequencyCopy:
        case Shortcut::QtDqtCopy:
            showCopyTool(which);
            break;
        case Shortcut::None:
            break;
    }
}

// ---- commands --------------------------------------------------------------------

void FormChannelInformation::insertChannel() {
    // A pending edit belongs to the channel it was typed into, before anything moves.
    FreshData();
    if (!cellText(kChannelCount, kColRx).isEmpty()) {
        host_.messages().show(MsgIcon::Information, appTitle(),
                              uiText(channel_texts::kInsertNoRoom, doc_.IsEnglish));
        return;
    }
    DocumentEdit edit(doc_, this);
    InsertEmptyChannel(doc_.radioImage, state_.currentRow());
    AnalyseChannelInformation();
}

void FormChannelInformation::deleteChannel() {
    FreshData();
    DocumentEdit edit(doc_, this);
    DeleteChannel(doc_.radioImage, state_.currentRow());
    AnalyseChannelInformation();
}

void FormChannelInformation::copyRows() {
    // The selected rows, or the current one.
    int first = MSHFlexGridChannel->currentRow() + 1, last = first;
    const QList<QTableWidgetSelectionRange> ranges = MSHFlexGridChannel->selectedRanges();
    if (!ranges.isEmpty()) {
        first = ranges.front().topRow() + 1;
        last = ranges.front().bottomRow() + 1;
    }
    if (first < 1) return;
    // As text, the cells as the grid shows them (a spreadsheet takes them so, and a
    // paste reads them back in the grid's order); for a paste in this program also
    // the whole channels, with what the grid does not show.
    QString shown;
    for (int row = first; row <= last; ++row) {
        QStringList cells;
        for (int c = kColRx; c <= kColSpacing; ++c) cells << cellText(row, c);
        shown += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    auto* mime = new QMimeData;
    mime->setText(shown);
    mime->setData(QString::fromLatin1(kChannelRowsMime),
                  QByteArray::fromStdString(ExportChannelRows(doc_.radioImage, first, last, '\t')));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void FormChannelInformation::pasteRows() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime) return;
    const QByteArray whole = mime->data(QString::fromLatin1(kChannelRowsMime));
    const std::string text = whole.isEmpty() ? mime->text().toStdString() : whole.toStdString();
    if (text.empty()) return;
    FreshData();
    const int first = std::max(1, MSHFlexGridChannel->currentRow() + 1);
    const CsvPlan plan = PlanPastedRows(doc_, text, first);
    // Rows that cannot be taken, or a power level made up, are shown before anything
    // lands: never a part of the paste applied silently.
    if (!plan.skipped.empty() || !plan.powerMapped.empty()) {
        FormCsvPreview preview(doc_, plan, this);
        if (preview.exec() != QDialog::Accepted) return;
    }
    if (plan.rows.empty()) return;
    DocumentEdit edit(doc_, this);  // all pasted rows are one undo step
    ApplyCsvPlan(doc_, plan);
    AnalyseChannelInformation();
}

void FormChannelInformation::showCopyTool(Shortcut which) {
    const int row = state_.currentRow();
    FreshData();
    if (which == Shortcut::QtDqtCopy ? cellText(row, kColTx).isEmpty()
                                     : cellText(row, kColRx).isEmpty())
        return;
    std::unique_ptr<QDialog> dialog;
    if (which == Shortcut::ChannelCopy)
        dialog = std::make_unique<FormChannelCopy>(doc_, host_, row, this);
    else if (which == Shortcut::FrequencyCopy)
        dialog = std::make_unique<FormFrequencyCopy>(doc_, host_, row, this);
    else
        dialog = std::make_unique<FormQtDqtCopy>(doc_, host_, row, this);
    dialog->exec();
}

void FormChannelInformation::openChannelEdit() {
    FreshData();
    host_.openEditor(EditorKind::ChannelEdit);
}

void FormChannelInformation::followCurrentRow(int row) {
    if (activeEditor_ < 0 && row >= 1 && row <= kChannelCount && state_.currentColumn() > 0 &&
        MSHFlexGridChannel->currentRow() != row - 1) {
        const int column = std::max(MSHFlexGridChannel->currentColumn(), int(kColRx));
        MSHFlexGridChannel->setCurrentCell(row - 1, column);
    }
}

void FormChannelInformation::CommandClose_Click() {
    FreshData();
    state_.FormChannelInformationOpen = false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void FormChannelInformation::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        FreshData();
        unloaded_ = true;
        state_.FormChannelInformationOpen = false;
    }
    QWidget::closeEvent(event);
}

void FormChannelInformation::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        if (!isActiveWindow() && !QApplication::activePopupWidget()) FreshData();
    }
    QWidget::changeEvent(event);
}

}  // namespace baldo7
