// The main window's tables, shared by the files that make up MDIFormMain.
#pragma once

#include <QtGlobal>

#include "core/document.h"
#include "shell/shell_parts.h"
#include "shell/shell_pictures.h"
#include "ui/ui_support.h"

namespace baldo7::mainwindow {

inline constexpr int kTimerInterval = 500;
inline constexpr int kSeparatorStart = 2500;
inline constexpr int kSeparatorMin = 120;
inline constexpr int kTwipsPerPixel = 15;

// Menu captions by object name.
struct MenuText {
    const char* name;
    BiText text;
};
inline constexpr MenuText kMenuTexts[] = {
    {"MenuFile", {"&File", "文件(&F)"}},
    {"MenuNew", {"&New", "新建(&N)"}},
    {"MenuOpen", {"&Open", "打开(&O)"}},
    {"MenuSave", {"&Save", "保存(&S)"}},
    {"MenuSaveAs", {"Save &As", "另存为(&A)"}},
    {"MenuRecent", {"Recent &Files", "最近的文件(&R)"}},
    {"MenuBackups", {"&Backups…", "备份(&K)…"}},
    {"MenuImportChannels", {"&Import Channels…", "导入信道(&I)…"}},
    {"MenuExportChannels", {"E&xport Channels…", "导出信道(&X)…"}},
    {"MenuPrint", {"&Print", "打印(&P)"}},
    {"MenuPrintView", {"Print Pre&view", "打印预览(&V)"}},
    {"MenuExit", {"&Exit", "退出(&E)"}},
    {"MenuMachine", {"&Model", "机型(&M)"}},
    {"MenuModelInformation", {"&Model Information", "机型信息(&M)"}},
    {"MenuEdit", {"&Edit", "编辑(&E)"}},
    {"MenuUndo", {"&Undo", "撤销(&U)"}},
    {"MenuRedo", {"&Redo", "重做(&R)"}},
    {"MenuChannel", {"&Channel Information", "信道信息(&C)"}},
    {"MenuOption", {"&Function Setup", "功能设定(&F)"}},
    {"MenuKey", {"&Key Setting", "键设置(&K)"}},
    {"MenuScan", {"&Scan Information", "扫描信息(&S)"}},
    {"MenuMessage", {"Embedded &Message", "嵌入信息(&M)"}},
    {"MenuLocalMessage", {"&Local Message", "本机信息(&L)"}},
    {"MenuStun", {"Stun/&Die Information", "遥晕遥毙选项(&D)"}},
    {"MenuBank", {"&Batch ChannelEdit", "批信道编辑(&B)"}},
    {"MenuProgram", {"&Program", "编程(&P)"}},
    {"MenuRead", {"&Read From Radio", "从对讲机读出数据(&R)"}},
    {"MenuWrite", {"&Write To Radio", "向对讲机写入数据(&W)"}},
    {"MenuPassword", {"&PassWord", "密码(&P)"}},
    {"MenuTool", {"&Tool", "工具(&T)"}},
    {"MenuRadioInformation", {"&Radio Information", "对讲机信息(&R)"}},
    {"MenuSetting", {"&Setting", "设置(&S)"}},
    {"MenuCom", {"Set &Com", "串口设置(&C)"}},
    {"MenuLanguage", {"Set &Language", "语言设置(&L)"}},
    {"MenuView", {"&View", "视图(&V)"}},
    {"MenuTree", {"Tree &View", "树视图(&V)"}},
    {"MenuToolBar", {"&Toolbar", "工具栏(&T)"}},
    {"MenuStatus", {"&Statusbar", "状态栏(&S)"}},
    {"MenuWindow", {"&Window", "窗口(&W)"}},
    {"MenuCeng", {"&Cascade", "层叠(&C)"}},
    {"MenuCloseAll", {"Close All &Windows", "关闭所有窗口(&W)"}},
    {"MenuHelp", {"&Help", "帮助(&H)"}},
    {"MenuHelpPage", {"&Help Topics", "帮助主题(&H)"}},
    {"MenuSupportBundle", {"Save Support &Bundle…", "保存支持包(&B)…"}},
    {"MenuAbout", {"&About", "关于BALDO-7(&A)"}},
};

struct ToolButton {
    const char* key;  // also the fixed caption, except "读取"
    const char* caption;
    BiText tip;
    ToolIcon icon;
};
inline constexpr ToolButton kToolButtons[] = {
    {"新建", "新建", {"New", "新建"}, ToolIcon::New},
    {"打开", "打开", {"Open", "打开"}, ToolIcon::Open},
    {"保存", "保存", {"Save", "保存"}, ToolIcon::Save},
    {"读取", "读频", {"Read", "读频"}, ToolIcon::Read},
    {"串口", "串口设置", {"Set Com", "串口设置"}, ToolIcon::Com},
    {"写频", "写频", {"Write", "写频"}, ToolIcon::Write},
    {"帮助", "帮助", {"Help", "帮助"}, ToolIcon::Help},
};

// Per editor window: its form name, Window-menu id (0: none) and open flag.
struct EditorSlot {
    EditorWindow kind;
    const char* form;
    int menuId;
    bool Document::*openFlag;
};
inline constexpr EditorSlot kEditorSlots[] = {
    {EditorWindow::ChannelInformation, "FormChannelInformation", kMenuIdChannelInformation,
     &Document::FormChannelInformationOpen},
    {EditorWindow::ChannelEdit, "FormChannelEdit", 0, &Document::FormChannelEditOpen},
    {EditorWindow::Option, "FormOption", kMenuIdOption, &Document::FormOptionOpen},
    {EditorWindow::KeySetting, "FormKeySetting", kMenuIdKeySetting, &Document::FormKeySettingOpen},
    {EditorWindow::ScanInformation, "FormScanInformation", kMenuIdScanInformation,
     &Document::FormScanInformationOpen},
    {EditorWindow::EmbedMessage, "FormEmbedMessage", kMenuIdEmbeddedMessage,
     &Document::FormEmbedMessageOpen},
    {EditorWindow::Tune, "FormTune", kMenuIdTune, &Document::FormTuneOpen},
};

// The service configuration: menu items and tree nodes (under the root, after the
// three everyone sees, in this order) that only it shows. A row waits for the form
// it opens (an editor or a tool of ShellParts; nullptr: nothing to wait for), so a
// window still to come keeps its row hidden. The commands are the menu items' own
// and TreeView1_NodeClick's; a tree node takes its text from the menu caption
// without the '&' unless the row gives one.
struct ServiceRow {
    const char* menuItem;  // nullptr: tree node only
    const char* treeKey;   // nullptr: menu item only
    const char* form;
    BiText treeText;
};
inline constexpr ServiceRow kServiceRows[] = {
    {"MenuScan", "TreeScan", "FormScanInformation", {}},
    {"MenuMessage", "TreeMessage", "FormEmbedMessage", {}},
    {"MenuLocalMessage", "TreeLocalMessage", "FormLocalMessage", {}},
    {"MenuStun", "TreeDtmf", "FormDtmf", {}},
    {nullptr, "TreeTuneData", "FormTune", {"Tune Data", "调谐数据"}},
    {nullptr, "TreeSpecial", "FormSpecial", {"Special Option", "特殊选项"}},
    {"MenuBank", nullptr, "FormBatchChannelEdit", {}},
    {"MenuPassword", nullptr, "FormPassword", {}},
    {"MenuPrint", nullptr, "FormPrint", {}},
    {"MenuPrintView", nullptr, "FormPrintView", {}},
    {"MenuHelpPage", nullptr, nullptr, {}},
};

inline const BiText* menuText(const char* name) {
    for (const MenuText& t : kMenuTexts)
        if (qstrcmp(t.name, name) == 0) return &t.text;
    return nullptr;
}

inline const EditorSlot& slotOf(EditorWindow kind) {
    for (const EditorSlot& s : kEditorSlots)
        if (s.kind == kind) return s;
    return kEditorSlots[0];  // every kind is in the table
}

inline int windowMenuId(EditorWindow kind) {
    return slotOf(kind).menuId;
}

}  // namespace baldo7::mainwindow
