// Every message box of the program goes through one service, so that tests answer
// questions without a human and nothing else opens a QMessageBox directly.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace baldo7 {

enum class MsgIcon { Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, RetryCancel, SaveDiscardCancel };
enum class MsgAnswer { Ok, Cancel, Retry, Save, Discard };

struct Message {
    MsgIcon icon;
    QString title;
    QString text;
    MsgButtons buttons;
    QStringList buttonTexts;  // optional captions, in the buttons' order
};

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MsgAnswer show(const Message& message) = 0;

    MsgAnswer show(MsgIcon icon, const QString& title, const QString& text,
                   MsgButtons buttons = MsgButtons::Ok) {
        return show(Message{icon, title, text, buttons, {}});
    }
};

// Least width of a message box whose title must show whole.
int MessageBoxWidthForTitle(const QString& title);

// Real modal message boxes; owner may be null.
class DialogMessageService : public MessageService {
public:
    explicit DialogMessageService(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    using MessageService::show;
    MsgAnswer show(const Message& message) override;

private:
    QWidget* owner_;
};

// Answers from a callback (tests, scripted runs); remembers what was shown.
class ScriptedMessageService : public MessageService {
public:
    using Answerer = std::function<MsgAnswer(const Message&)>;
    explicit ScriptedMessageService(Answerer answerer = nullptr) : answerer_(std::move(answerer)) {}
    void setAnswerer(Answerer answerer) { answerer_ = std::move(answerer); }
    using MessageService::show;
    MsgAnswer show(const Message& message) override;

    QList<Message> shown;

private:
    Answerer answerer_;
};

}  // namespace baldo7
