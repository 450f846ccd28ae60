#include "app/standard_parts.h"

#include <QCoreApplication>
#include <QSettings>
#include <memory>

#include "app/builtin_radio.h"
#include "link/exchange_qt_host.h"
#include "link/link_port.h"
#include "shell/form_com_port.h"
#include "shell/form_process.h"
#include "shell/mdi_form_main.h"
#include "shell/settings.h"
#include "shell/support_bundle.h"
#include "storage/recent_files.h"
#include "ui/ui_support.h"

#include "channels/channel_csv_commands.h"
#include "channels/form_batch_channel_edit.h"
#include "channels/form_channel_edit.h"
#include "channels/form_channel_information.h"
#include "functions/form_embed_message.h"
#include "functions/form_key_setting.h"
#include "functions/form_option.h"
#include "functions/form_scan_information.h"
#include "print/form_print.h"
#include "service/form_dtmf.h"
#include "service/form_local_message.h"
#include "service/form_password.h"
#include "service/form_special.h"
#include "service/form_tune.h"

namespace baldo7 {

void ShowTransferWindow(MDIFormMain& main, BuiltInRadio& radio, Document& doc) {
    const QString port = PortSetting(doc);
    // One trace per exchange, when asked for; it outlives the window's exchange.
    std::unique_ptr<SerialTrace> trace;
    if (ReadSerialTrace(main.settings()))
        trace = std::make_unique<SerialTrace>(
            NewTracePath(TraceFolder(), doc.ReadMode),
            QCoreApplication::applicationName() + QLatin1Char(' ') +
                QCoreApplication::applicationVersion(),
            port, doc.ReadMode ? QStringLiteral("read") : QStringLiteral("write"));
    FormProcess window(
        doc, main.messages(), port, IsSimulatedPort(port) ? radio.makePort() : nullptr,
        [&main, &doc] {
            if (&doc == &main.document()) main.editorsDecodeNewImage();
        },
        &main);
    window.exchangeHost()->setCablePower(parseCablePower(ReadCablePower(main.settings())));
    window.setVerifyAfterWrite(ReadVerifyAfterWrite(main.settings()));
    if (trace && trace->isOpen()) window.exchangeHost()->setObserver(trace.get());
    window.exec();
}

namespace {
// The service tools: modal windows on the main window, their transfers through the
// main window's service transfer (the backups around it) and the one transfer window.
void addServiceTools(ShellParts& parts) {
    const auto context = [](MDIFormMain& main) {
        return ServiceContext{main.document(), main.messages(),
                              [&main] { main.runServiceTransfer(); },
                              [&main](const QString& topic) { main.showHelpTopic(topic); }};
    };
    // The password change is a plain write, as Write To Radio runs it, with what the
    // radio held kept first.
    parts.tools[QStringLiteral("FormPassword")] = [context](MDIFormMain& main) {
        FormPassword(context(main), &main).exec();
    };
    parts.tools[QStringLiteral("FormLocalMessage")] = [context](MDIFormMain& main) {
        FormLocalMessage(context(main), &main).exec();
    };
    parts.tools[QStringLiteral("FormDtmf")] = [context](MDIFormMain& main) {
        FormDtmf(context(main), &main).exec();
    };
    parts.tools[QStringLiteral("FormSpecial")] = [context](MDIFormMain& main) {
        FormSpecial(context(main), &main).exec();
    };
    parts.editors[EditorWindow::Tune] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       auto* main = dynamic_cast<MDIFormMain*>(&host);
                       std::function<void()> run;
                       if (main) run = [main] { main->runServiceTransfer(); };
                       return new FormTune(doc, host, run, parent);
                   },
                   [](QWidget* w) { static_cast<FormTune*>(w)->commitEditors(); },
                   [](QWidget* w) { static_cast<FormTune*>(w)->AnalyseTuneData(); }};
}
}  // namespace

ShellParts StandardShellParts() {
    ShellParts parts;
    // One simulated radio for the run: what is written to it can be read back.
    auto radio = std::make_shared<std::unique_ptr<BuiltInRadio>>();
    parts.showProcess = [radio](MDIFormMain& main, Document& doc) {
        if (!*radio) *radio = std::make_unique<BuiltInRadio>(main.programFolder());
        ShowTransferWindow(main, **radio, doc);
    };
    addServiceTools(parts);
    const auto csv = [](MDIFormMain& main) {
        return ChannelCsvCommands(
            main.document(), main.fileChooser(), main.messages(),
            {[&main] { main.commitGrid(); }, [&main] { main.editorsDecodeNewImage(); }});
    };
    parts.importChannels = [csv](MDIFormMain& main) { csv(main).Import(); };
    parts.exportChannels = [csv](MDIFormMain& main) { csv(main).Export(); };
    parts.showComPort = [](MDIFormMain& main) {
        FormComPort dialog(main.document(), main.settings(), PortChoices(main.document().IsEnglish),
                           &main);
        dialog.exec();
    };
    parts.editors[EditorWindow::ChannelInformation] = EditorType{
        [](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
            return new FormChannelInformation(doc, host, parent);
        },
        [](QWidget* w) { static_cast<FormChannelInformation*>(w)->FreshData(); },
        [](QWidget* w) { static_cast<FormChannelInformation*>(w)->AnalyseChannelInformation(); }};
    parts.editors[EditorWindow::ChannelEdit] = EditorType{
        [](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
            return new FormChannelEdit(doc, host, parent);
        },
        nullptr, [](QWidget* w) { static_cast<FormChannelEdit*>(w)->AnalyseOneChannel(); }};
    parts.editors[EditorWindow::Option] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       return new FormOption(doc, host, parent);
                   },
                   nullptr, [](QWidget* w) { static_cast<FormOption*>(w)->AnalyseOption(); }};
    parts.editors[EditorWindow::KeySetting] = EditorType{
        [](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
            return new FormKeySetting(doc, host, parent);
        },
        nullptr, [](QWidget* w) { static_cast<FormKeySetting*>(w)->AnalyseKeySetting(); }};
    parts.editors[EditorWindow::ScanInformation] = EditorType{
        [](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
            return new FormScanInformation(doc, host, parent);
        },
        nullptr,
        [](QWidget* w) { static_cast<FormScanInformation*>(w)->AnalyseScanInformation(); }};
    parts.editors[EditorWindow::EmbedMessage] = EditorType{
        [](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
            return new FormEmbedMessage(doc, host, parent);
        },
        [](QWidget* w) { static_cast<FormEmbedMessage*>(w)->commitChangedLines(); },
        [](QWidget* w) { static_cast<FormEmbedMessage*>(w)->AnalyseEmbeddedInformation(); }};
    parts.tools[QStringLiteral("FormBatchChannelEdit")] = [](MDIFormMain& main) {
        FormBatchChannelEdit dialog(main.document(), main, &main);
        dialog.exec();
    };
    parts.tools[QStringLiteral("FormPrint")] = [](MDIFormMain& main) {
        FormPrint form(main.document(), main, &main);
        form.printSetup().folder = ReadLastFolder(main.settings());
        form.exec();
    };
    parts.tools[QStringLiteral("FormPrintView")] = [](MDIFormMain& main) {
        ShowPrintPreview(main.document(), &main, ReadLastFolder(main.settings()));
    };
    return parts;
}

}  // namespace baldo7
