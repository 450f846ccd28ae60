// File → Backups…: the backups folder, newest first, with their date, kind, model, and
// for a data file its band and channels in use, so one customer's radio can be found.
// A data file chosen is opened by the caller (the guarded Open); a service range's
// dump does not open as a document: the window says how to put it back instead.
#pragma once

#include <QDialog>
#include <functional>

#include "core/radio_image.h"

#include "storage/backups.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace baldo7 {

class FormBackups : public QDialog {
    Q_OBJECT
public:
    // `channelsInUse` counts a data file's channels for its column (none: left empty).
    FormBackups(const QList<BackupEntry>& backups, bool isEnglish, QWidget* parent = nullptr,
                const std::function<int(const RadioImage&)>& channelsInUse = nullptr);

    // The data file chosen with Open (or a double click); empty otherwise.
    QString chosenPath() const { return chosen_; }

    QTreeWidget* ListBackups;
    QLabel* LabelRestore;
    QPushButton* CommandOpen;
    QPushButton* CommandCancel;

private:
    void openSelected();
    void showRestore();
    QList<BackupEntry> backups_;
    bool en_;
    QString chosen_;
};

// The kind column: "Read from radio", "Tune data: before write"...
QString BackupKindText(const BackupEntry& entry, bool isEnglish);
// What the window says about putting the backup back into a radio.
QString BackupRestoreText(const BackupEntry& entry, bool isEnglish);

}  // namespace baldo7
