// Serial traces of the transfer window and the support bundle that carries them:
// where the traces go, and the one folder a user sends when asking for help.
#pragma once

#include <QSettings>
#include <QString>

#include "core/document.h"
#include "shell/file_dialog.h"
#include "shell/message_service.h"

namespace baldo7 {

// Traces kept in the folder; older ones are removed as new ones come.
constexpr int kKeptTraces = 100;
// Traces a support bundle carries, newest first.
constexpr int kBundledTraces = 10;

// The traces folder, beside the backups in the program's data folder.
QString TraceFolder();
// A new trace file in `folder` (created) for one exchange, named by its UTC time and
// direction: trace-20261208-102031-123-read.txt. The oldest beyond kKeptTraces go.
QString NewTracePath(const QString& folder, bool read);

// Writes the bundle into `folder` (made; it must not hold files yet): version.txt
// (program, Qt, system), settings.txt (every stored value), document.rdat (the
// current document), traces/ (the newest kBundledTraces of `traceFolder`).
// On failure returns false with the reason; what was written stays.
bool SaveSupportBundle(const QString& folder, Document& doc, QSettings& settings,
                       const QString& traceFolder, QString* error);

// Help → Save Support Bundle…: asks for the bundle's folder name, writes it, and
// says where it is (or why it is not).
void SupportBundleCommand(Document& doc, QSettings& settings, FileChooser& chooser,
                          MessageService& messages);

}  // namespace baldo7
