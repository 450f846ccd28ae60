// What an editor window needs of the main window. The main window implements it;
// tests use a small fake, so every form runs and is tested on its own.
#pragma once

#include <QString>

#include "ui/app_state.h"
#include "ui/message_service.h"

namespace baldo7 {

// Editors one editor may ask the main window to open.
enum class EditorKind { ChannelInformation, ChannelEdit, Option, KeySetting };

class EditorHost {
public:
    virtual ~EditorHost() = default;

    // Opens (or brings to the front) another editor, in ChildWindowState.
    virtual void openEditor(EditorKind kind) = 0;

    // The window state the editors share (open editors, the current channel).
    virtual AppState& state() = 0;

    // The one help call: opens the help page `topic` ("chinfo.htm") of the current language.
    virtual void showHelpTopic(const QString& topic) = 0;

    virtual MessageService& messages() = 0;
};

}  // namespace baldo7
