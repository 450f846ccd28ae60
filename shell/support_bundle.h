// Serial traces of the transfer window and the support bundle that carries them:
// where the traces go, and the one folder a user sends when asking for help.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include "core/document.h"
#include "ui/file_dialog.h"
#include "ui/message_service.h"

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

// A bundle goes to someone else: `text` with the user's home folder written as "~".
QString WithoutHomeFolder(QString text, const QString& home);

// What SaveSupportBundle writes, one line per file (traces by name), in the
// user's language: the list shown before it is saved.
QStringList SupportBundleContents(QSettings& settings, const QString& traceFolder, bool isEnglish);

// Writes the bundle into `folder` (made; it must not hold files yet): version.txt
// (program, Qt, system), settings.txt (every stored value), document.rdat (the
// current document, its passwords masked), traces/ (the newest kBundledTraces of
// `traceFolder`, passwords and stun/die codes masked again whatever wrote them).
// The home folder is written as "~" throughout; the folder and its files are the
// user's only. On failure returns false with the reason; what was written stays.
bool SaveSupportBundle(const QString& folder, Document& doc, QSettings& settings,
                       const QString& traceFolder, QString* error);

// Help → Save Support Bundle…: lists what the bundle will hold, asks for its folder
// name, writes it, and says where it is (or why it is not).
void SupportBundleCommand(Document& doc, QSettings& settings, FileChooser& chooser,
                          MessageService& messages);

}  // namespace baldo7
