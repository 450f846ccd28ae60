#include "app/standard_parts.h"

#include <QCoreApplication>
#include <QFileInfo>
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
#include "channels/channel_record.h"
#include "channels/form_batch_channel_edit.h"
#include "channels/form_channel_edit.h"
#include "channels/form_channel_information.h"
#include "compare/form_compare.h"
#include "compare/verify_report.h"
#include "dealer/form_job_log.h"
#include "dealer/form_several_radios.h"
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

TransferReport ShowTransferWindow(MDIFormMain& main, BuiltInRadio& radio, Document& doc,
                                  const TransferRequest& request) {
    const QString port = PortSetting(doc);
    // One trace per exchange, when asked for; it outlives the window's exchange.
    std::unique_ptr<SerialTrace> trace;
    if (ReadSerialTrace(main.settings()))
        trace = std::make_unique<SerialTrace>(
            NewTracePath(TraceFolder(), request.reading()),
            QCoreApplication::applicationName() + QLatin1Char(' ') +
                QCoreApplication::applicationVersion(),
            port, request.reading() ? QStringLiteral("read") : QStringLiteral("write"));
    FormProcess window(
        doc, request, main.messages(), port, IsSimulatedPort(port) ? radio.makePort() : nullptr,
        // A read of the data file's image starts a fresh history, which the editors hear
        // of; the service ranges' reads are announced here.
        [&main, &doc, &request] {
            if (&doc == &main.document() && request.area != TransferArea::Data)
                main.editorsDecodeNewImage();
        },
        &main);
    // The settings are named for a write of the image; a service area's bytes are not.
    window.setVerifyFailureText(
        [&doc, data = request.area == TransferArea::Data](const VerifyResult& r, bool en) {
            return VerifyFailureText(r, data ? &doc : nullptr, en);
        });
    window.job().setCablePower(parseCablePower(ReadCablePower(main.settings())));
    if (trace && trace->isOpen()) window.job().setObserver(trace.get());
    window.exec();
    return window.report();
}

namespace {
// The service context of the service tools: their transfers go through the main
// window's service transfer (the backups around it) and the one transfer window.
ServiceContext serviceContext(MDIFormMain& main) {
    return ServiceContext{
        main.document(), main.messages(),
        [&main](const TransferRequest& request) { return main.runServiceTransfer(request); },
        [&main](const QString& topic) { main.showHelpTopic(topic); }};
}

// A service tool that first reads what it shows from the radio.
template <typename Form>
std::function<void(MDIFormMain&)> afterServiceRead(TransferArea area) {
    return [area](MDIFormMain& main) {
        main.serviceRead(area, [&main] { Form(serviceContext(main), &main).exec(); });
    };
}

// Program → Compare with Radio…: the radio read into a copy through the transfer
// window (no backup, the document untouched), then set against the document.
Command compareWithRadio(decltype(ShellParts::showProcess) showProcess) {
    return Command("MenuCompareRadio", compare_texts::kCompareRadio)
        .in(CommandMenu::Program)
        .runs([showProcess](MDIFormMain& main) {
            main.commitGrid();
            Document radio = main.document();
            radio.onChangeRecorded = nullptr;
            if (!showProcess(main, radio, TransferRequest::read()).moved()) return;
            FormCompare(main.document(), radio,
                        uiText(compare_texts::kRadio, main.document().IsEnglish), &main)
                .exec();
        });
}

// Program → Write to Several Radios…: every port the port chooser lists (the
// built-in radio on its own port), the single write's settings as the options.
Command writeSeveralRadios(std::shared_ptr<std::unique_ptr<BuiltInRadio>> radio) {
    return Command("MenuWriteSeveral", several_texts::kCommand)
        .in(CommandMenu::Program)
        .runs([radio](MDIFormMain& main) {
            main.commitGrid();
            Document& doc = main.document();
            doc.commitChange();
            const auto listPorts = [&doc] {
                QList<RadioPortChoice> ports;
                for (const PortChoice& c : PortChoices(doc.IsEnglish))
                    ports.append({c.text, c.setting});
                return ports;
            };
            SeveralRadiosContext context;
            context.backupFolder = main.backupFolder();
            if (ReadJobLogOn(main.settings())) context.jobLogFolder = main.jobLogFolder();
            context.dataFile = QFileInfo(QString::fromStdString(doc.CurrentFilePath)).fileName();
            context.power = parseCablePower(ReadCablePower(main.settings()));
            const QString folder = main.programFolder();
            context.makePort = [radio,
                                folder](const QString& setting) -> std::unique_ptr<LinkPort> {
                if (!IsSimulatedPort(setting)) return nullptr;
                if (!*radio) *radio = std::make_unique<BuiltInRadio>(folder);
                return (*radio)->makePort();
            };
            const SeveralRadiosOptions options{ReadVerifyAfterWrite(main.settings()),
                                               main.backupsOn(), false};
            FormSeveralRadios form(doc, listPorts(), context, options, main.messages(), &main);
            form.listPorts = listPorts;
            form.exec();
        });
}

ChannelCsvCommands csvCommands(MDIFormMain& main) {
    return ChannelCsvCommands(
        main.document(), main.fileChooser(), main.messages(),
        {[&main] { main.commitGrid(); }, ReadLastFolder(main.settings()),
         [&main](const QString& folder) { StoreLastFolder(main.settings(), folder); }, &main});
}
}  // namespace

std::vector<Command> StandardCommands() {
    using M = CommandMenu;
    using commandgroup::kEditors;
    return {
        Command("MenuImportChannels", {"&Import Channels…", "导入信道(&I)…"})
            .in(M::File, commandgroup::kFileData)
            .runs([](MDIFormMain& main) { csvCommands(main).Import(); }),
        Command("MenuExportChannels", {"E&xport Channels…", "导出信道(&X)…"})
            .in(M::File, commandgroup::kFileData)
            .runs([](MDIFormMain& main) { csvCommands(main).Export(); }),
        Command("MenuJobLog", joblog_texts::kCommand)
            .in(M::File, commandgroup::kFileData)
            .runs([](MDIFormMain& main) {
                FormJobLog(main.jobLogFolder(), main.document().IsEnglish, main.fileChooser(),
                           main.messages(), &main)
                    .exec();
            }),
        Command("MenuCompareFile", compare_texts::kCompareFile)
            .in(M::File, commandgroup::kFileData)
            .runs([](MDIFormMain& main) {
                main.commitGrid();
                if (auto form =
                        CompareWithFile(main.document(), main.fileChooser(), main.messages(),
                                        ReadLastFolder(main.settings()), &main))
                    form->exec();
            }),
        Command("MenuPrint", {"&Print", "打印(&P)"})
            .in(M::File, commandgroup::kFilePrint)
            .key(Qt::CTRL | Qt::Key_P)
            .serviceOnly()
            .takesTypedCell()
            .modalTool()
            .runs([](MDIFormMain& main) {
                FormPrint form(main.document(), main, &main);
                form.printSetup().folder = ReadLastFolder(main.settings());
                form.exec();
            }),
        Command("MenuPrintView", {"Print Pre&view", "打印预览(&V)"})
            .in(M::File, commandgroup::kFilePrint)
            .serviceOnly()
            .takesTypedCell()
            .modalTool()
            .runs([](MDIFormMain& main) {
                ShowPrintPreview(main.document(), &main, ReadLastFolder(main.settings()));
            }),
        Command("MenuChannel", {"&Channel Information", "信道信息(&C)"})
            .in(M::Edit, kEditors)
            .node("TreeChannelInforamtion")
            .opens(EditorWindow::ChannelInformation),
        Command("MenuOption", {"&Function Setup", "功能设定(&F)"})
            .in(M::Edit, kEditors)
            .node("TreeOption")
            .opens(EditorWindow::Option),
        Command("MenuKey", {"&Key Setting", "键设置(&K)"})
            .in(M::Edit, kEditors)
            .node("TreeKey")
            .opens(EditorWindow::KeySetting),
        Command("MenuScan", {"&Scan Information", "扫描信息(&S)"})
            .in(M::Edit, kEditors)
            .serviceOnly()
            .node("TreeScan")
            .opens(EditorWindow::ScanInformation, true),
        Command("MenuMessage", {"Embedded &Message", "嵌入信息(&M)"})
            .in(M::Edit, kEditors)
            .serviceOnly()
            .node("TreeMessage")
            .opens(EditorWindow::EmbedMessage, true),
        Command("MenuLocalMessage", {"&Local Message", "本机信息(&L)"})
            .in(M::Edit, kEditors)
            .serviceOnly()
            .node("TreeLocalMessage")
            .runs(afterServiceRead<FormLocalMessage>(TransferArea::Local)),
        Command("MenuStun", {"Stun/&Die Information", "遥晕遥毙选项(&D)"})
            .in(M::Edit, kEditors)
            .serviceOnly()
            .node("TreeDtmf")
            .runs([](MDIFormMain& main) {
                // The enable flag only while the status-bar gesture has shown it.
                main.serviceRead(TransferArea::StunDie, [&main] {
                    FormDtmf(serviceContext(main), main.state().StunEnableVisible, &main).exec();
                });
            }),
        Command("TreeTuneData", {"Tune Data", "调谐数据"})
            .serviceOnly()
            .node("TreeTuneData")
            .opens(EditorWindow::Tune),
        Command("TreeSpecial", {"Special Option", "特殊选项"})
            .serviceOnly()
            .node("TreeSpecial")
            .runs(afterServiceRead<FormSpecial>(TransferArea::Special)),
        Command("MenuBank", {"&Batch ChannelEdit", "批信道编辑(&B)"})
            .in(M::Edit, kEditors)
            .serviceOnly()
            .modalTool()
            .runs([](MDIFormMain& main) {
                FormBatchChannelEdit dialog(main.document(), main, &main);
                dialog.exec();
            }),
        // The password change is a plain write, as Write To Radio runs it, with what
        // the radio held kept first.
        Command("MenuPassword", {"&PassWord", "密码(&P)"})
            .in(M::Program)
            .serviceOnly()
            .modalTool()
            .runs([](MDIFormMain& main) { FormPassword(serviceContext(main), &main).exec(); }),
    };
}

ShellParts StandardShellParts() {
    ShellParts parts;
    // One simulated radio for the run: what is written to it can be read back.
    auto radio = std::make_shared<std::unique_ptr<BuiltInRadio>>();
    parts.showProcess = [radio](MDIFormMain& main, Document& doc, const TransferRequest& request) {
        if (!*radio) *radio = std::make_unique<BuiltInRadio>(main.programFolder());
        return ShowTransferWindow(main, **radio, doc, request);
    };
    parts.commands = StandardCommands();
    parts.commands.push_back(compareWithRadio(parts.showProcess));
    parts.commands.push_back(writeSeveralRadios(radio));
    parts.channelsInUse = [](const RadioImage& image) {
        int used = 0;
        for (int channel = 1; channel <= kChannelCount; ++channel)
            used += ChannelInUse(image, channel) ? 1 : 0;
        return used;
    };
    // A channel list dropped on the window is imported as File → Import Channels does
    // (whose dialog offers .csv and .txt alike).
    for (const char* suffix : {".csv", ".txt"})
        parts.fileDrops.push_back(
            {QLatin1String(suffix),
             [](MDIFormMain& main, const QString& path) { csvCommands(main).ImportFile(path); }});
    parts.verifyLogText = VerifyLogText;
    parts.showComPort = [](MDIFormMain& main) {
        FormComPort dialog(main.document(), main.settings(), PortChoices(main.document().IsEnglish),
                           &main);
        dialog.exec();
    };
    parts.editors[EditorWindow::ChannelInformation] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       return new FormChannelInformation(doc, host, parent);
                   },
                   [](QWidget* w) { static_cast<FormChannelInformation*>(w)->FreshData(); }};
    parts.editors[EditorWindow::ChannelEdit] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       return new FormChannelEdit(doc, host, parent);
                   },
                   nullptr};
    parts.editors[EditorWindow::Option] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       return new FormOption(doc, host, parent);
                   },
                   nullptr};
    parts.editors[EditorWindow::KeySetting] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       return new FormKeySetting(doc, host, parent);
                   },
                   nullptr};
    parts.editors[EditorWindow::ScanInformation] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       return new FormScanInformation(doc, host, parent);
                   },
                   nullptr};
    parts.editors[EditorWindow::EmbedMessage] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       return new FormEmbedMessage(doc, host, parent);
                   },
                   [](QWidget* w) { static_cast<FormEmbedMessage*>(w)->commitChangedLines(); }};
    parts.editors[EditorWindow::Tune] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       auto* main = dynamic_cast<MDIFormMain*>(&host);
                       std::function<bool(const TransferRequest&)> run;
                       if (main)
                           run = [main](const TransferRequest& request) {
                               return main->runServiceTransfer(request);
                           };
                       return new FormTune(doc, host, run, parent);
                   },
                   [](QWidget* w) { static_cast<FormTune*>(w)->commitEditors(); }};
    parts.helpTopics = {{EditorWindow::ChannelInformation, "chinfo.htm"},
                        {EditorWindow::ChannelEdit, "chEdit.htm"},
                        {EditorWindow::Option, "optfeatures.htm"},
                        {EditorWindow::KeySetting, "keyassign.htm"},
                        {EditorWindow::ScanInformation, "Scan/Scan.htm"},
                        {EditorWindow::EmbedMessage, "embmsg.htm"},
                        {EditorWindow::Tune, "tune.htm"}};
    return parts;
}

}  // namespace baldo7
