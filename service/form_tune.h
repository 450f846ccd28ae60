// The tune data window: the band's squelch and power tables, the squelch thresholds
// and the maximum deviation of image page 0x0300..0x03FF, edited in place with
// floating editors, and read from or written to the radio with a tune transfer.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "functions/embedded_message.h"
#include "link/transfer_request.h"
#include "service/tune_data.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTableWidget;

namespace baldo7 {

struct Document;
class DocumentObservation;
class EditorHost;
class EditorWindowEvents;

class FormTune : public QWidget {
    Q_OBJECT
public:
    // `runTransfer` shows the transfer window for a request; true when it went through.
    FormTune(Document& doc, EditorHost& host,
             std::function<bool(const TransferRequest&)> runTransfer, QWidget* parent = nullptr);
    ~FormTune() override;

    // Fills both grids and the deviation from the image; never writes. Runs again
    // whenever the bytes of page 0x0300..0x03FF change, from any window.
    void AnalyseTuneData();
    // Stores what an open floating editor or the deviation box holds; closes the editor.
    void commitEditors();

    QTableWidget* MSHFlexGridTuneData;
    QTableWidget* MSHFlexGridSqlTune;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* TextPkValue;
    QLabel* LabelPkValue;
    QPushButton* CommandRead;
    QPushButton* CommandWrite;
    QPushButton* CommandHelp;
    QScrollArea* ScrollTune;  // the whole window can be reached at any size and scale

    void MSHFlexGridTuneData_Click(int row, int column);
    void MSHFlexGridSqlTune_Click(int row, int column);
    void CommandRead_Click();
    void CommandWrite_Click();

    int tableBase() const { return base_; }
    const TunePoints& points() const { return points_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpGrid(QTableWidget* grid, int rows, int columns);
    void openEditor(QLineEdit* editor, QTableWidget* grid, int row, int column);
    void Text1_LostFocus(bool enter);
    void Text2_LostFocus(bool enter);
    void TextPkValue_LostFocus();
    void moveTo(TuneCell cell);
    void hideEditor(QLineEdit* editor);
    // After this window's tune read: decode, and remember the message bytes the
    // radio gave for the tune write's warning.
    void radioDataRead();
    // The Write TuneData warning, naming the rows the message shares.
    QString messageWarning() const;

    Document& doc_;
    EditorHost& host_;
    std::function<bool(const TransferRequest&)> runTransfer_;
    EditorWindowEvents* events_;
    int base_ = 0x0300;
    TunePoints points_;
    int editRow_ = 0;
    int editColumn_ = 0;
    bool committing_ = false;
    QString openedText_;
    std::optional<MessageRegion> messageLastRead_;
    std::unique_ptr<DocumentObservation> observation_;
};

}  // namespace baldo7
