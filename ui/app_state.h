// What the windows share that is not the document: which editors are open, the
// state a new editor window opens in, the channel the grid and the channel edit
// dialog are on, and the hidden stun-enable switch. The main window owns one and
// hands it to the editors through EditorHost; it is never saved, never part of an
// undo step, and a new document leaves it as it is.
#pragma once

#include <QObject>

namespace baldo7 {

class AppState : public QObject {
    Q_OBJECT
public:
    // Editor windows.
    bool FormChannelInformationOpen = false;
    bool FormOptionOpen = false;
    bool FormKeySettingOpen = false;
    bool FormScanInformationOpen = false;
    bool FormEmbedMessageOpen = false;
    bool FormChannelEditOpen = false;
    bool FormTuneOpen = false;
    // 0 normal, 1 minimised, 2 maximised: the state of the last editor window moved.
    int ChildWindowState = 0;

    int CurrentGroup = 0;
    bool StunEnableVisible = false;

    // The channel (1..16; 0 before the grid chose one) and the grid column (0 none)
    // the grid and the channel edit dialog share.
    int currentRow() const { return row_; }
    int currentColumn() const { return column_; }
    // Moves the shared cell; a new channel is announced to both windows at once.
    void setCurrentCell(int row, int column) {
        column_ = column;
        setCurrentRow(row);
    }
    void setCurrentRow(int row) {
        if (row == row_) return;
        row_ = row;
        emit currentRowChanged(row);
    }

signals:
    void currentRowChanged(int row);

private:
    int row_ = 0;
    int column_ = 0;
};

}  // namespace baldo7
