// File → Backups…: the backups folder, newest first, with their date, kind and model.
// A data file chosen is opened by the caller (the guarded Open); a service range's
// dump does not open as a document: the window says how to put it back instead.
#pragma once

#include <QDialog>

#include "storage/backups.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace baldo7 {

class FormBackups : public QDialog {
    Q_OBJECT
public:
    FormBackups(const QList<BackupEntry>& backups, bool isEnglish, QWidget* parent = nullptr);

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
