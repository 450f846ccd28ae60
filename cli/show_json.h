// What `baldo7ctl show` reports for a document: every channel, the functions, the
// keys, the scan settings, the message lines, the password fields and the tune rows as the editors
// would show them (English, the document's decimal separator). Repairs the editors
// make on opening are shown, never written.
#pragma once

#include <QJsonObject>

#include "core/document.h"

namespace baldo7::cli {

QJsonObject DescribeDocument(const Document& doc);

}  // namespace baldo7::cli
