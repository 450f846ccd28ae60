#include "channels/channel_csv_commands.h"

#include <QDir>
#include <QFileInfo>

#include "channels/channel_csv.h"
#include "channels/form_csv_preview.h"
#include "storage/data_store.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {
constexpr BiText kCsvFilter{"Channel list(*.csv *.txt)", "信道列表(*.csv *.txt)"};
constexpr BiText kImportTitle{"Import Channels", "导入信道"};
constexpr BiText kExportTitle{"Export Channels", "导出信道"};
constexpr BiText kExported{"The channels in use were written to:\n%1", "已用信道已写入：\n%1"};
constexpr BiText kNoHeader{
    "No channels were imported: the file has no header line with a Frequency column:\n%1",
    "没有导入信道：文件中没有含 Frequency 列的标题行：\n%1"};
}  // namespace

ChannelCsvCommands::ChannelCsvCommands(Document& doc, FileChooser& chooser,
                                       MessageService& messages, Hooks hooks)
    : doc_(doc), chooser_(chooser), messages_(messages), hooks_(std::move(hooks)) {}

FileDialogRequest ChannelCsvCommands::request(bool open) const {
    const bool en = doc_.IsEnglish;
    FileDialogRequest r;
    r.open = open;
    r.title = uiText(open ? kImportTitle : kExportTitle, en);
    r.filters = {uiText(kCsvFilter, en), uiText(filetexts::kAllFilesFilter, en)};
    r.folder = hooks_.folder;
    if (!open) {
        r.defaultName = QFileInfo(QString::fromStdString(doc_.CurrentFileName)).completeBaseName() +
                        QStringLiteral(".csv");
        r.defaultSuffix = QStringLiteral("csv");
    }
    return r;
}

bool ChannelCsvCommands::Import() {
    const FileDialogAnswer answer = chooser_.choose(request(true));
    if (answer.status != FileDialogAnswer::Chosen) {
        if (answer.status == FileDialogAnswer::Failed)
            messages_.show(MsgIcon::Error, appTitle(),
                           uiText(texts::kUnknownError, doc_.IsEnglish));
        return false;
    }
    if (hooks_.folderUsed) hooks_.folderUsed(QFileInfo(answer.path).absolutePath());
    return ImportFile(answer.path);
}

bool ChannelCsvCommands::ImportFile(const QString& path) {
    const bool en = doc_.IsEnglish;
    const QString shownPath = QDir::toNativeSeparators(path);
    Bytes bytes;
    const LoadResult read = ReadFileBytes(path, bytes);
    if (!read.ok()) {
        messages_.show(MsgIcon::Error, appTitle(),
                       uiText(filetexts::kCannotRead, en).arg(shownPath + "\n" + read.detail));
        return false;
    }
    // A cell being typed belongs to the channel before the rows are planned.
    if (hooks_.commitGrid) hooks_.commitGrid();
    const std::string text(bytes.begin(), bytes.end());
    auto planner = [this, &text](const CsvImportOptions& options) {
        return PlanChannelsCsv(doc_, text, options);
    };
    CsvImportOptions start;
    const CsvPlan first = planner(start);
    if (!first.usable) {
        messages_.show(MsgIcon::Error, appTitle(), uiText(kNoHeader, en).arg(shownPath));
        return false;
    }
    // Rows numbered from 0 would lose their first row in place: offer them in order.
    start.renumber = first.zeroBased;
    FormCsvPreview preview(doc_, planner, start, hooks_.window);
    if (preview.exec() != QDialog::Accepted) return false;
    DocumentEdit edit(doc_);  // the whole import is one undo step
    ApplyCsvPlan(doc_, preview.plan());
    return !preview.plan().taken.empty();
}

bool ChannelCsvCommands::Export() {
    const bool en = doc_.IsEnglish;
    if (hooks_.commitGrid) hooks_.commitGrid();
    const FileDialogAnswer answer = chooser_.choose(request(false));
    if (answer.status != FileDialogAnswer::Chosen) {
        if (answer.status == FileDialogAnswer::Failed)
            messages_.show(MsgIcon::Error, appTitle(), uiText(texts::kUnknownError, en));
        return false;
    }
    const std::string csv = ExportChannelsCsv(doc_.radioImage);
    QString error;
    if (WriteFileAtomically(answer.path, Bytes(csv.begin(), csv.end()), &error)) {
        if (hooks_.folderUsed) hooks_.folderUsed(QFileInfo(answer.path).absolutePath());
        messages_.show(MsgIcon::Information, appTitle(),
                       uiText(kExported, en).arg(QDir::toNativeSeparators(answer.path)));
        return true;
    }
    messages_.show(MsgIcon::Error, appTitle(),
                   uiText(filetexts::kCannotWrite, en)
                       .arg(QDir::toNativeSeparators(answer.path) + "\n" + error));
    return false;
}

}  // namespace baldo7
