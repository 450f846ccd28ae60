#include "ui/message_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>

namespace baldo7 {

int MessageBoxWidthForTitle(const QString& title) {
    // The title bar's font is the window manager's; a bold system font is a fair
    // guess. The rest is room for the icon and the title-bar buttons.
    QFont font = QApplication::font();
    font.setBold(true);
    constexpr int kTitleBarExtras = 160;
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarExtras;
}

MsgAnswer DialogMessageService::show(const Message& m) {
    QMessageBox box(owner_);
    switch (m.icon) {
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    box.setWindowTitle(m.title);
    box.setText(m.text);
    // The box sizes itself to its text; a short text would cut the title short.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(MessageBoxWidthForTitle(m.title), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    switch (m.buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::RetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
        case MsgButtons::SaveDiscardCancel:
            box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Save);
            break;
    }
    if (m.buttons == MsgButtons::SaveDiscardCancel) {
        // The program's language, whether or not Qt's own translation is installed.
        const QMessageBox::StandardButton order[] = {QMessageBox::Save, QMessageBox::Discard,
                                                     QMessageBox::Cancel};
        for (qsizetype i = 0; i < m.buttonTexts.size() && i < 3; ++i)
            box.button(order[i])->setText(m.buttonTexts[i]);
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        case QMessageBox::Retry:
            return MsgAnswer::Retry;
        case QMessageBox::Save:
            return MsgAnswer::Save;
        case QMessageBox::Discard:
            return MsgAnswer::Discard;
        default:
            return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
}

MsgAnswer ScriptedMessageService::show(const Message& m) {
    shown.append(m);
    if (answerer_) return answerer_(m);
    return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

}  // namespace baldo7
