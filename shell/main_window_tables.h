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

// Per editor window: its Window-menu id (0: none) and open flag.
struct EditorSlot {
    EditorWindow kind;
    int menuId;
    bool Document::*openFlag;
};
inline constexpr EditorSlot kEditorSlots[] = {
    {EditorWindow::ChannelInformation, kMenuIdChannelInformation,
     &Document::FormChannelInformationOpen},
    {EditorWindow::ChannelEdit, 0, &Document::FormChannelEditOpen},
    {EditorWindow::Option, kMenuIdOption, &Document::FormOptionOpen},
    {EditorWindow::KeySetting, kMenuIdKeySetting, &Document::FormKeySettingOpen},
    {EditorWindow::ScanInformation, kMenuIdScanInformation, &Document::FormScanInformationOpen},
    {EditorWindow::EmbedMessage, kMenuIdEmbeddedMessage, &Document::FormEmbedMessageOpen},
    {EditorWindow::Tune, kMenuIdTune, &Document::FormTuneOpen},
};

inline const EditorSlot& slotOf(EditorWindow kind) {
    for (const EditorSlot& s : kEditorSlots)
        if (s.kind == kind) return s;
    return kEditorSlots[0];  // every kind is in the table
}

inline int windowMenuId(EditorWindow kind) {
    return slotOf(kind).menuId;
}

}  // namespace baldo7::mainwindow
