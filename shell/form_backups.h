// File → Backups…: the backups folder's data files, newest first, with their date,
// kind and model; the one chosen is opened by the caller (the guarded Open).
#pragma once

#include <QDialog>

#include "shell/backups.h"

class QPushButton;
class QTreeWidget;

namespace baldo7 {

class FormBackups : public QDialog {
    Q_OBJECT
public:
    FormBackups(const QList<BackupEntry>& backups, bool isEnglish, QWidget* parent = nullptr);

    // The file chosen with Open (or a double click); empty otherwise.
    QString chosenPath() const { return chosen_; }

    QTreeWidget* ListBackups;
    QPushButton* CommandOpen;
    QPushButton* CommandCancel;

private:
    void openSelected();
    QString chosen_;
};

}  // namespace baldo7
