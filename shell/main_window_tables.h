// The main window's tables, shared by the files that make up MDIFormMain.
#pragma once

#include <QtGlobal>

#include "core/document.h"
#include "shell/shell_parts.h"

namespace baldo7::mainwindow {

inline constexpr int kTimerInterval = 500;
inline constexpr int kSeparatorStart = 2500;
inline constexpr int kSeparatorMin = 120;
inline constexpr int kTwipsPerPixel = 15;

// Per editor window: whether the Window menu lists it, and its open flag.
struct EditorSlot {
    EditorWindow kind;
    bool inWindowMenu;
    bool Document::*openFlag;
};
inline constexpr EditorSlot kEditorSlots[] = {
    {EditorWindow::ChannelInformation, true, &Document::FormChannelInformationOpen},
    {EditorWindow::ChannelEdit, false, &Document::FormChannelEditOpen},
    {EditorWindow::Option, true, &Document::FormOptionOpen},
    {EditorWindow::KeySetting, true, &Document::FormKeySettingOpen},
    {EditorWindow::ScanInformation, true, &Document::FormScanInformationOpen},
    {EditorWindow::EmbedMessage, true, &Document::FormEmbedMessageOpen},
    {EditorWindow::Tune, true, &Document::FormTuneOpen},
};

inline const EditorSlot& slotOf(EditorWindow kind) {
    for (const EditorSlot& s : kEditorSlots)
        if (s.kind == kind) return s;
    return kEditorSlots[0];  // every kind is in the table
}

}  // namespace baldo7::mainwindow
