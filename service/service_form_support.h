// What the service tool windows share: the main window's services they use, and the
// password boxes.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "core/document.h"
#include "core/texts.h"
#include "link/transfer_request.h"
#include "ui/message_service.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace baldo7 {

struct ServiceContext {
    Document& doc;
    MessageService& messages;
    // Shows the transfer window modally for the exchange `request` asks for; true
    // when it went through.
    std::function<bool(const TransferRequest& request)> runTransfer;
    // Opens a help page ("Local/Local.htm") in the current language.
    std::function<void(const QString&)> showHelp;
};

// At most six one-byte characters, each shown as "*"; a wide character (typed or
// pasted) is refused.
void setUpPasswordBox(QLineEdit* box);

// Radio bytes (one per character) as text.
inline QString latin1Text(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A caption label under its control name, naming `buddy`.
QLabel* makeLabel(const BiText& text, bool isEnglish, const char* objectName, QWidget* buddy);

// F1 in `window` opens its help page.
void bindHelpKey(QWidget* window, const ServiceContext& context, const QString& topic);

// The tool's question and answer boxes, titled with the application title.
bool askToContinue(const ServiceContext& context, const QString& text);
void tell(const ServiceContext& context, const QString& text);

}  // namespace baldo7
