// Texts of the main window, the file commands and the small shell dialogs.
#pragma once

#include "core/texts.h"

namespace baldo7::shelltexts {

// Files.
constexpr BiText kCoverData{"Do you want to cover current data?", "覆盖当前数据？"};
constexpr BiText kSaveChanges{"Save changes to %1?", "保存对 %1 的更改吗？"};
constexpr BiText kSaveButton{"&Save", "保存(&S)"};
constexpr BiText kDiscardButton{"&Discard", "不保存(&D)"};
constexpr BiText kCancelButton{"Cancel", "取消"};
constexpr BiText kBackupFailed{"The backup could not be saved:\n%1", "无法保存备份：\n%1"};
constexpr BiText kBackupGoOn{"The backup could not be saved:\n%1\nWrite to the radio anyway?",
                             "无法保存备份：\n%1\n仍然写入对讲机吗？"};
constexpr BiText kRadioNotKept{
    "What the radio holds could not be read for the backup, so nothing was written.",
    "无法读取对讲机中的数据进行备份，因此没有写入任何数据。"};
constexpr BiText kBackupIsKept{
    "%1 is a backup: backups are kept as they were made. Save under another name.",
    "%1 是备份文件：备份保持原样。请用其他文件名保存。"};
constexpr BiText kTemplateMissing{
    "The template file Init.dat is missing or damaged:\n%1\nIt must lie beside the program, or "
    "in share/baldo7 of an install.",
    "模板文件 Init.dat 丢失或已损坏：\n%1\n它必须位于程序所在的文件夹中，或安装目录的 share/baldo7 "
    "中。"};
constexpr BiText kCannotStart{"The program cannot start without it.", "没有它程序无法启动。"};

// Model dialog.
constexpr BiText kModelWindow{"Model Information", "机型信息"};
constexpr BiText kModelOk{"&Open", "确定(&O)"};
constexpr BiText kModelCancel{"&Close", "取消(&C)"};
constexpr BiText kModelLabel{"Model Type", "机型类型"};
constexpr BiText kAreaLabel{"Frequency", "频率"};
constexpr BiText kFrequencyCleared{"Frequency data will be cleared", "频率数据将被清除"};

// Language dialog.
constexpr BiText kLanguageWindow{"Set Language", "语言设置"};
constexpr BiText kLanguageLabel{"Language Select", "语言选择"};
constexpr BiText kOk{"&OK", "确定(&O)"};
constexpr BiText kCancel{"&Cancel", "取消(&C)"};
constexpr BiText kEnglish{"English", "英文"};
constexpr BiText kChinese{"Chinese", "中文"};

// Port chooser.
constexpr BiText kPortWindow{"Set COM", "串口设置"};
constexpr BiText kPortLabel{"Comm Port", "串口"};

// About box.
constexpr BiText kAboutWindow{"About ", "关于 "};
constexpr BiText kAboutVersion{"Version ", "版本 "};
constexpr BiText kAboutDescription{"program software is used for BALDO-7",
                                   "编程软件用于 BALDO-7机型"};
constexpr BiText kAboutDisclaimer{
    "Warning: writing wrong data can make the radio unusable or unlawful to operate.",
    "警告：写入错误的数据可能使对讲机无法使用或违反无线电管理规定。"};
constexpr BiText kAboutOk{"OK", "确定"};

// Main window.
constexpr BiText kCaptionFileName{"] [FileName:", "] [文件名:"};
constexpr BiText kBandUnknown{"band unknown", "频段未知"};
constexpr BiText kPortPanel{"COM", "通信端口"};
constexpr BiText kSimulatedPortText{"Built-in simulated radio", "内置模拟对讲机"};
constexpr BiText kSimulatorPortDescription{"BALDO-7 simulated radio (baldo7-sim, process %1)",
                                           "BALDO-7 模拟对讲机，baldo7-sim 进程 %1"};
constexpr BiText kSimulatedPanel{"Simulated radio", "模拟对讲机"};
constexpr BiText kHelpWindow{"BALDO-7 Help", "BALDO-7 帮助"};
constexpr BiText kHelpMissing{"The help page %1 is not installed.", "帮助页面 %1 没有安装。"};

}  // namespace baldo7::shelltexts
