// A document as the editors would show it: every channel, the functions, the keys,
// the scan settings, the message lines, the password fields and the tune rows, in
// the language asked for (`baldo7ctl show` is English) with the document's decimal
// separator. Repairs the editors make on opening are shown, never written. `show
// --json` prints it; the comparison of two documents compares it.
#pragma once

#include <QJsonObject>

#include "core/document.h"

namespace baldo7 {

QJsonObject DescribeDocument(const Document& doc, bool isEnglish = true);

}  // namespace baldo7
