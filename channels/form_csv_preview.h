// The preview of an import or a paste of channel rows, before anything changes: the
// rows as they will land, the rows that will be skipped and why, the power values
// that were mapped, and for an import where the rows go (their own locations, or in
// order from a channel). The caller applies plan() when the dialog is accepted.
#pragma once

#include <QDialog>
#include <functional>

#include "channels/channel_csv.h"

class QLabel;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QPushButton;

namespace baldo7 {

class FormCsvPreview : public QDialog {
    Q_OBJECT
public:
    using Planner = std::function<CsvPlan(const CsvImportOptions&)>;

    // An import: each choice of placement is planned anew, starting from `start`.
    FormCsvPreview(const Document& doc, Planner planner, const CsvImportOptions& start,
                   QWidget* parent = nullptr);
    // A paste: the rows have their places.
    FormCsvPreview(const Document& doc, CsvPlan plan, QWidget* parent = nullptr);

    const CsvPlan& plan() const { return plan_; }

    QRadioButton* OptionKeepLocations;
    QRadioButton* OptionInOrder;
    QSpinBox* SpinFirstChannel;
    QLabel* LabelRows;
    QTableWidget* GridRows;
    QLabel* LabelPower;
    QLabel* LabelSkipped;
    QTableWidget* GridSkipped;
    QPushButton* CommandOK;
    QPushButton* CommandCancel;
    QPushButton* CommandHelp;

private:
    FormCsvPreview(const Document& doc, bool paste, QWidget* parent);
    CsvImportOptions chosen() const;
    void replan();
    void showPlan();

    const bool english_;
    const char separator_;
    Planner planner_;
    CsvPlan plan_;
};

}  // namespace baldo7
