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
    bool AppState::*openFlag;
};
inline constexpr EditorSlot kEditorSlots[] = {
    {EditorWindow::ChannelInformation, true, &AppState::FormChannelInformationOpen},
    {EditorWindow::ChannelEdit, false, &AppState::FormChannelEditOpen},
    {EditorWindow::Option, true, &AppState::FormOptionOpen},
    {EditorWindow::KeySetting, true, &AppState::FormKeySettingOpen},
    {EditorWindow::ScanInformation, true, &AppState::FormScanInformationOpen},
    {EditorWindow::EmbedMessage, true, &AppState::FormEmbedMessageOpen},
    {EditorWindow::Tune, true, &AppState::FormTuneOpen},
};

inline const EditorSlot& slotOf(EditorWindow kind) {
    for (const EditorSlot& s : kEditorSlots)
        if (s.kind == kind) return s;
    return kEditorSlots[0];  // every kind is in the table
}

}  // namespace baldo7::mainwindow
