#include "ui/dialog_help.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "core/texts.h"
#include "ui/dialog_layout.h"
#include "ui/editor_host.h"
#include "ui/ui_support.h"

namespace baldo7 {

EditorHost* HostOf(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* host = dynamic_cast<EditorHost*>(w)) return host;
    return nullptr;
}

void BindHelpKey(QWidget* window, std::function<void()> open) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    // The dialog's own: the main window's F1 is blocked while a modal dialog is up.
    key->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(key, &QShortcut::activated, window, std::move(open));
}

QPushButton* makeHelpButton(QWidget* dialog, const QString& topic, bool isEnglish) {
    QPushButton* button = makeButton(uiText(texts::kHelp, isEnglish), "CommandHelp");
    // Looked up when asked: the dialog may be given its parent after it is built.
    const auto open = [dialog, topic] {
        if (EditorHost* host = HostOf(dialog)) host->showHelpTopic(topic);
    };
    QObject::connect(button, &QPushButton::clicked, dialog, open);
    BindHelpKey(dialog, open);
    if (!HostOf(dialog)) button->hide();
    return button;
}

}  // namespace baldo7
