// The compare window: what differs between the open data and a data file or what
// the radio holds, one row per difference in the editors' words, or "no
// differences" said plainly. Nothing is changed on either side.
#pragma once

#include <QDialog>
#include <memory>

#include "core/document.h"
#include "ui/file_dialog.h"
#include "ui/message_service.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace baldo7 {

namespace compare_texts {
constexpr BiText kCompareFile{"&Compare with File…", "与文件比较(&C)…"};
constexpr BiText kCompareRadio{"Compare with Ra&dio…", "与对讲机比较(&D)…"};
constexpr BiText kCaption{"Compare: %1", "比较：%1"};
constexpr BiText kOpenData{"Open data", "当前数据"};
constexpr BiText kRadio{"Radio", "对讲机"};
constexpr BiText kWhere{"Where", "位置"};
constexpr BiText kField{"Field", "项目"};
constexpr BiText kNoDifferences{"No differences: the two are the same.",
                                "没有差异：两者完全相同。"};
constexpr BiText kDifferences{"%1 difference(s).", "共有 %1 处差异。"};
}  // namespace compare_texts

class FormCompare : public QDialog {
    Q_OBJECT
public:
    // `mine` (the open data) against `other`, named `otherName` in the last column.
    FormCompare(const Document& mine, const Document& other, const QString& otherName,
                QWidget* parent = nullptr);

    QLabel* LabelSummary;
    QTableWidget* GridDifferences;  // where, field, the open data's value, the other's
    QPushButton* CommandClose;
    QPushButton* CommandHelp;
};

// File → Compare with File…: the data file chosen in the open dialog against the
// open data; nothing when the dialog was cancelled or the file cannot be read (said).
std::unique_ptr<FormCompare> CompareWithFile(const Document& doc, FileChooser& files,
                                             MessageService& messages, const QString& folder,
                                             QWidget* parent = nullptr);

}  // namespace baldo7
