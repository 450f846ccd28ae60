// The channel grid: one row per channel, a cell editor laid over the cell being
// edited (Text1 for the frequencies, Combo1(0..4) for the other columns), every
// commit written straight into the image through the channel logic.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "core/document.h"
#include "core/pick_lists.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace baldo7 {

struct Document;
class AppState;
class EditorHost;

class FormChannelInformation : public QWidget {
    Q_OBJECT
public:
    // Grid columns.
    enum Column {
        kColChannel = 0,
        kColRx = 1,
        kColTx = 2,
        kColDecode = 3,
        kColEncode = 4,
        kColPower = 5,
        kColScan = 6,
        kColSpacing = 7,
        kColMore = 8,
        kColumnCount = 9
    };

    // Clipboard format of copied rows as whole channels (the export's columns with
    // their header, tab-separated); the text beside it holds the cells as shown.
    static constexpr const char* kChannelRowsMime = "application/x-baldo7-channel-rows";

    FormChannelInformation(Document& doc, EditorHost& host, QWidget* parent = nullptr);
    ~FormChannelInformation() override;

    // Redraws all 16 rows from the image.
    void AnalyseChannelInformation();
    // Commits the open cell editor, if any; one left unchanged only closes.
    void FreshData();

    QSize sizeHint() const override;

    // Text of cell (row 1..16, column 0..8) as shown.
    QString cellText(int row, int column) const;
    // Opens the editor of a cell as a click does.
    void openCellEditor(int row, int column);

    QTableWidget* MSHFlexGridChannel;
    QLineEdit* Text1;
    std::array<QComboBox*, 5> Combo1;
    QPushButton* CommandChannelEdit;
    QPushButton* CommandClose;
    QPushButton* CommandHelp;
    QComboBox* ComboGroup;  // never shown: the group is always 1
    QLabel* LabelGroup;     // never shown

    bool EnterPressed = false;
    bool ReopenOnEnter = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Shortcut {
        None,
        ChannelCopy,
        FrequencyCopy,
        QtDqtCopy,
        Insert,
        Delete,
        ChannelEdit
    };
    static Shortcut shortcutOf(const QKeyEvent* key);

    void fillTexts();
    void fillLists();
    void layoutGrid();
    void fitGridFont();
    void fitListWidths();
    std::vector<QStringList> columnSamples() const;
    void fillRow(int row);
    void setCell(int row, int column, const QString& text);
    QRect cellRectInForm(int row, int column) const;

    void MSHFlexGridChannel_Click(int row, int column);
    // A click on a row's number: the row becomes the current one, wholly selected.
    void chooseRow(int row, bool extend = false);
    bool gridKeyPress(QKeyEvent* key);
    bool text1KeyPress(QKeyEvent* key);
    bool comboKeyPress(int index, QKeyEvent* key);
    void runShortcut(Shortcut which);
    void onFocusChanged(QWidget* old, QWidget* now);

    void commitText1();
    void commitCombo(int index);
    void finish(int row, int column);
    void hideEditor(QWidget* editor);
    // Escape: closes the open editor and writes nothing.
    void cancelEditor();
    bool closeIfUnchanged(QWidget* editor, const QString& text);

    void insertChannel();
    void deleteChannel();
    static bool isRowsKey(const QKeyEvent* key);
    void copyRows();
    void pasteRows();
    void showCopyTool(Shortcut which);
    void openChannelEdit();
    // The grid's current cell moves to the channel another window chose.
    void followCurrentRow(int row);
    void CommandClose_Click();

    Document& doc_;
    EditorHost& host_;
    AppState& state_;
    bool decoding_ = false;
    bool unloaded_ = false;
    bool userNavigation_ = false;
    // The open editor: -1 none, 0..4 Combo1(i), 5 Text1; and the cell it edits.
    int activeEditor_ = -1;
    int editRow_ = 0;
    int editColumn_ = 0;
    QString openedText_;  // what the editor showed when it opened
    PickList powerList_, scanList_, spacingList_;
    std::unique_ptr<DocumentObservation> observation_;
};

}  // namespace baldo7
