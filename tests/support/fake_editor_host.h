// An editor host for form tests: records the Window menu and the help calls,
// answers messages by script.
#pragma once

#include <QMap>
#include <QStringList>
#include <vector>

#include "ui/editor_host.h"

namespace baldo7 {

class FakeEditorHost : public EditorHost {
public:
    void addWindowMenuEntry(int id, const QString& caption) override { menu[id] = caption; }
    void removeWindowMenuEntry(int id) override {
        menu.remove(id);
        if (checkedId == id) checkedId = 0;
    }
    void checkWindowMenuEntry(int id) override { checkedId = id; }
    void openEditor(EditorKind kind) override { opened.push_back(kind); }
    void showHelpTopic(const QString& topic) override { helpTopics << topic; }
    MessageService& messages() override { return messageService; }

    QMap<int, QString> menu;
    int checkedId = 0;
    std::vector<EditorKind> opened;
    QStringList helpTopics;
    ScriptedMessageService messageService;
};

}  // namespace baldo7
