// What the shell's Qt tests share: the build's program folder (Init.dat, help),
// answering the next modal dialog, and a main window started on settings of the
// test's own with the message boxes and file dialogs answered by the test.
#pragma once

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "core/document.h"
#include "shell/mdi_form_main.h"
#include "ui/file_dialog.h"
#include "ui/message_service.h"

namespace baldo7::shelltest {

inline QString binFolder() {
    return QFileInfo(QStringLiteral(BALDO7_INIT_DAT)).absolutePath();
}

// The caption as the desktop shows it: Qt's modified-mark placeholder resolved.
inline QString shownTitle(const QWidget& w) {
    QString title = w.windowTitle();
    return title.replace(QStringLiteral("[*]"), w.isWindowModified() ? QStringLiteral("*") : "");
}

// Runs `f` on the modal dialog the next command opens.
template <typename F>
void onModal(F f) {
    QTimer::singleShot(0, [f] {
        QWidget* w = QApplication::activeModalWidget();
        QVERIFY(w);
        f(w);
    });
}

struct MainWindowRig {
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<Document> doc;
    std::unique_ptr<MDIFormMain> win;
    ScriptedMessageService messages;
    ScriptedFileChooser chooser;
    QTemporaryDir backups;  // never the user's own backup folder

    // A fresh document and window; `port` is the stored ComPort text, `serviceSetting`
    // the stored ServiceMode text (none when null), `serviceFlag` the --service option.
    void start(const QString& iniPath, bool english, const QString& port, ShellParts parts,
               const QString& serviceSetting = QString(), bool serviceFlag = false) {
        win.reset();
        settings = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
        settings->clear();
        settings->setValue("SoftWare/Olvis/BALDO-7/Language", english ? "True" : "False");
        settings->setValue("SoftWare/Olvis/BALDO-7/ComPort", port);
        if (!serviceSetting.isNull()) settings->setValue("ServiceMode", serviceSetting);
        settings->sync();
        doc = std::make_unique<Document>();
        messages.shown.clear();
        messages.setAnswerer(nullptr);
        chooser.requests.clear();
        ShellServices services;
        services.settings = settings.get();
        services.messages = &messages;
        services.files = &chooser;
        services.programFolder = binFolder();
        services.serviceMode = serviceFlag;
        services.backupFolder = backups.filePath(QStringLiteral("backups"));
        win = std::make_unique<MDIFormMain>(*doc, services, std::move(parts));
        QVERIFY(win->startUp());
        win->show();
        QVERIFY(QTest::qWaitForWindowExposed(win.get()));
    }
};

}  // namespace baldo7::shelltest
