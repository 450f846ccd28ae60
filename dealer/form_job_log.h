// File → Job Log…: the days of the job log, newest first, and the rows of the day
// chosen; the folder opens in the file manager, and one day's rows become a PDF
// report a dealer hands to the customer.
#pragma once

#include <QDialog>
#include <functional>

#include "core/texts.h"
#include "transfer/job_log.h"
#include "ui/file_dialog.h"
#include "ui/message_service.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace baldo7 {

namespace joblog_texts {
constexpr BiText kCommand{"&Job Log…", "作业记录(&J)…"};
constexpr BiText kTitle{"Job Log", "作业记录"};
constexpr BiText kReportTitle{"Job Log %1", "作业记录 %1"};
constexpr BiText kRadios{"%1 radio(s), %2 written.", "共 %1 台对讲机，%2 台已写入。"};
constexpr BiText kEmpty{"No writes have been logged yet.", "还没有写入记录。"};
constexpr BiText kOpenFolder{"&Open Folder", "打开文件夹(&O)"};
constexpr BiText kSavePdf{"Save as &PDF…", "另存为 &PDF…"};
constexpr BiText kPdfFilter{"PDF file(*.pdf)", "PDF 文件(*.pdf)"};
constexpr BiText kPdfFailed{"The report could not be saved:\n%1\n%2", "无法保存报告：\n%1\n%2"};
constexpr BiText kFolder{"Folder: %1", "文件夹：%1"};
constexpr BiText kFolderNotOpened{"No file manager could open the folder. The job log is in:\n%1",
                                  "没有文件管理器能打开该文件夹。作业记录位于：\n%1"};
}  // namespace joblog_texts

// A log row's cells in the language of the window (the outcome and the verify
// result in words; the rest as logged).
QStringList JobLogShownCells(const QStringList& cells, bool isEnglish);
QStringList JobLogShownHeader(bool isEnglish);

// One day's rows as an A4 landscape PDF with the reports' 15 mm margins, written
// atomically. False with `error`.
bool WriteJobLogPdf(const QDate& day, const QList<QStringList>& rows, bool isEnglish,
                    const QString& path, QString* error);

class FormJobLog : public QDialog {
    Q_OBJECT
public:
    FormJobLog(const QString& folder, bool isEnglish, FileChooser& files, MessageService& messages,
               QWidget* parent = nullptr);

    QListWidget* ListDays;
    QTableWidget* TableRows;
    QLabel* LabelSummary;
    QLabel* LabelFolder;  // where the log is, selectable: not every desktop opens folders
    QPushButton* CommandOpenFolder;
    QPushButton* CommandSavePdf;
    QPushButton* CommandClose;
    QPushButton* CommandHelp;

    void showDay(int index);
    void CommandOpenFolder_Click();
    void CommandSavePdf_Click();
    // Opens a folder in the file manager, false when nothing could; tests put a
    // stand-in in.
    std::function<bool(const QString& folder)> openFolder;

private:
    QString folder_;
    bool en_;
    FileChooser& files_;
    MessageService& messages_;
    QList<JobLogDay> days_;
    QList<QStringList> rows_;
};

}  // namespace baldo7
