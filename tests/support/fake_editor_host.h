// An editor host for form tests: records the editors asked for and the help
// calls, answers messages by script.
#pragma once

#include <QStringList>
#include <vector>

#include "ui/editor_host.h"

namespace baldo7 {

class FakeEditorHost : public EditorHost {
public:
    void openEditor(EditorKind kind) override { opened.push_back(kind); }
    void showHelpTopic(const QString& topic) override { helpTopics << topic; }
    MessageService& messages() override { return messageService; }
    AppState& state() override { return appState; }

    std::vector<EditorKind> opened;
    QStringList helpTopics;
    ScriptedMessageService messageService;
    AppState appState;
};

}  // namespace baldo7
