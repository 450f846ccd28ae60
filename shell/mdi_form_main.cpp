#include "shell/mdi_form_main.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QTranslator>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>
#include <algorithm>
#include <cstdio>

#include "core/model_band.h"
#include "core/software_data.h"
#include "shell/form_backups.h"
#include "shell/form_language.h"
#include "shell/form_model_information.h"
#include "shell/frm_about.h"
#include "shell/help_window.h"
#include "shell/settings.h"
#include "shell/shell_pictures.h"
#include "shell/shell_texts.h"
#include "shell/startup.h"
#include "shell/support_bundle.h"
#include "storage/data_store.h"
#include "storage/recent_files.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

namespace {

constexpr int kTimerInterval = 500;
constexpr int kSeparatorStart = 2500;
constexpr int kSeparatorMin = 120;
constexpr int kTwipsPerPixel = 15;

// Menu captions by object name.
struct MenuText {
    const char* name;
    BiText text;
};
constexpr MenuText kMenuTexts[] = {
    {"MenuFile", {"&File", "文件(&F)"}},
    {"MenuNew", {"&New", "新建(&N)"}},
    {"MenuOpen", {"&Open", "打开(&O)"}},
    {"MenuSave", {"&Save", "保存(&S)"}},
    {"MenuSaveAs", {"Save &As", "另存为(&A)"}},
    {"MenuRecent", {"Recent &Files", "最近的文件(&R)"}},
    {"MenuBackups", {"&Backups…", "备份(&K)…"}},
    {"MenuImportChannels", {"&Import Channels…", "导入信道(&I)…"}},
    {"MenuExportChannels", {"E&xport Channels…", "导出信道(&X)…"}},
    {"MenuPrint", {"&Print", "打印(&P)"}},
    {"MenuPrintView", {"Print Pre&view", "打印预览(&V)"}},
    {"MenuExit", {"&Exit", "退出(&E)"}},
    {"MenuMachine", {"&Model", "机型(&M)"}},
    {"MenuModelInformation", {"&Model Information", "机型信息(&M)"}},
    {"MenuEdit", {"&Edit", "编辑(&E)"}},
    {"MenuUndo", {"&Undo", "撤销(&U)"}},
    {"MenuRedo", {"&Redo", "重做(&R)"}},
    {"MenuChannel", {"&Channel Information", "信道信息(&C)"}},
    {"MenuOption", {"&Function Setup", "功能设定(&F)"}},
    {"MenuKey", {"&Key Setting", "键设置(&K)"}},
    {"MenuScan", {"&Scan Information", "扫描信息(&S)"}},
    {"MenuMessage", {"Embedded &Message", "嵌入信息(&M)"}},
    {"MenuLocalMessage", {"&Local Message", "本机信息(&L)"}},
    {"MenuStun", {"Stun/&Die Information", "遥晕遥毙选项(&D)"}},
    {"MenuBank", {"&Batch ChannelEdit", "批信道编辑(&B)"}},
    {"MenuProgram", {"&Program", "编程(&P)"}},
    {"MenuRead", {"&Read From Radio", "从对讲机读出数据(&R)"}},
    {"MenuWrite", {"&Write To Radio", "向对讲机写入数据(&W)"}},
    {"MenuPassword", {"&PassWord", "密码(&P)"}},
    {"MenuTool", {"&Tool", "工具(&T)"}},
    {"MenuRadioInformation", {"&Radio Information", "对讲机信息(&R)"}},
    {"MenuSetting", {"&Setting", "设置(&S)"}},
    {"MenuCom", {"Set &Com", "串口设置(&C)"}},
    {"MenuLanguage", {"Set &Language", "语言设置(&L)"}},
    {"MenuView", {"&View", "视图(&V)"}},
    {"MenuTree", {"Tree &View", "树视图(&V)"}},
    {"MenuToolBar", {"&Toolbar", "工具栏(&T)"}},
    {"MenuStatus", {"&Statusbar", "状态栏(&S)"}},
    {"MenuWindow", {"&Window", "窗口(&W)"}},
    {"MenuCeng", {"&Cascade", "层叠(&C)"}},
    {"MenuCloseAll", {"Close All &Windows", "关闭所有窗口(&W)"}},
    {"MenuHelp", {"&Help", "帮助(&H)"}},
    {"MenuHelpPage", {"&Help Topics", "帮助主题(&H)"}},
    {"MenuSupportBundle", {"Save Support &Bundle…", "保存支持包(&B)…"}},
    {"MenuAbout", {"&About", "关于BALDO-7(&A)"}},
};

struct ToolButton {
    const char* key;  // also the fixed caption, except "读取"
    const char* caption;
    BiText tip;
    ToolIcon icon;
};
constexpr ToolButton kToolButtons[] = {
    {"新建", "新建", {"New", "新建"}, ToolIcon::New},
    {"打开", "打开", {"Open", "打开"}, ToolIcon::Open},
    {"保存", "保存", {"Save", "保存"}, ToolIcon::Save},
    {"读取", "读频", {"Read", "读频"}, ToolIcon::Read},
    {"串口", "串口设置", {"Set Com", "串口设置"}, ToolIcon::Com},
    {"写频", "写频", {"Write", "写频"}, ToolIcon::Write},
    {"帮助", "帮助", {"Help", "帮助"}, ToolIcon::Help},
};

// Per editor window: its form name, Window-menu id (0: none) and open flag.
struct EditorSlot {
    EditorWindow kind;
    const char* form;
    int menuId;
    bool Document::*openFlag;
};
constexpr EditorSlot kEditorSlots[] = {
    {EditorWindow::ChannelInformation, "FormChannelInformation", kMenuIdChannelInformation,
     &Document::FormChannelInformationOpen},
    {EditorWindow::ChannelEdit, "FormChannelEdit", 0, &Document::FormChannelEditOpen},
    {EditorWindow::Option, "FormOption", kMenuIdOption, &Document::FormOptionOpen},
    {EditorWindow::KeySetting, "FormKeySetting", kMenuIdKeySetting, &Document::FormKeySettingOpen},
    {EditorWindow::ScanInformation, "FormScanInformation", kMenuIdScanInformation,
     &Document::FormScanInformationOpen},
    {EditorWindow::EmbedMessage, "FormEmbedMessage", kMenuIdEmbeddedMessage,
     &Document::FormEmbedMessageOpen},
    {EditorWindow::Tune, "FormTune", kMenuIdTune, &Document::FormTuneOpen},
};

// The service configuration: menu items and tree nodes (under the root, after the
// three everyone sees, in this order) that only it shows. A row waits for the form
// it opens (an editor or a tool of ShellParts; nullptr: nothing to wait for), so a
// window still to come keeps its row hidden. The commands are the menu items' own
// and TreeView1_NodeClick's; a tree node takes its text from the menu caption
// without the '&' unless the row gives one.
struct ServiceRow {
    const char* menuItem;  // nullptr: tree node only
    const char* treeKey;   // nullptr: menu item only
    const char* form;
    BiText treeText;
};
constexpr ServiceRow kServiceRows[] = {
    {"MenuScan", "TreeScan", "FormScanInformation", {}},
    {"MenuMessage", "TreeMessage", "FormEmbedMessage", {}},
    {"MenuLocalMessage", "TreeLocalMessage", "FormLocalMessage", {}},
    {"MenuStun", "TreeDtmf", "FormDtmf", {}},
    {nullptr, "TreeTuneData", "FormTune", {"Tune Data", "调谐数据"}},
    {nullptr, "TreeSpecial", "FormSpecial", {"Special Option", "特殊选项"}},
    {"MenuBank", nullptr, "FormBatchChannelEdit", {}},
    {"MenuPassword", nullptr, "FormPassword", {}},
    {"MenuPrint", nullptr, "FormPrint", {}},
    {"MenuPrintView", nullptr, "FormPrintView", {}},
    {"MenuHelpPage", nullptr, nullptr, {}},
};

const BiText* menuText(const char* name) {
    for (const MenuText& t : kMenuTexts)
        if (qstrcmp(t.name, name) == 0) return &t.text;
    return nullptr;
}

const EditorSlot& slotOf(EditorWindow kind) {
    for (const EditorSlot& s : kEditorSlots)
        if (s.kind == kind) return s;
    return kEditorSlots[0];  // every kind is in the table
}

int windowMenuId(EditorWindow kind) {
    return slotOf(kind).menuId;
}

// Qt's modified-mark placeholder, beside the file name before the closing bracket.
QString withModifiedMark(QString caption) {
    caption.insert(caption.size() - 1, QStringLiteral("[*]"));
    return caption;
}

// One user action's changed bytes; the window puts them back or again.
class MemoryStep : public QUndoCommand {
public:
    MemoryStep(MDIFormMain& window, MemoryChange change)
        : window_(window), change_(std::move(change)) {}
    void undo() override { window_.applyStep(change_, true); }
    void redo() override {
        // Pushing a step that has just happened must not apply it again.
        if (pushed_) window_.applyStep(change_, false);
        pushed_ = true;
    }

private:
    MDIFormMain& window_;
    MemoryChange change_;
    bool pushed_ = false;
};

// The tree panel reports its own resizes so the layout follows (toolbar and
// status bar toggles change its height without resizing the main window).
class TreePanel : public QWidget {
public:
    TreePanel(std::function<void()> onResize) : onResize_(std::move(onResize)) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        onResize_();
    }

private:
    std::function<void()> onResize_;
};

}  // namespace

MDIFormMain::MDIFormMain(Document& doc, ShellServices services, ShellParts parts, QWidget* parent)
    : QMainWindow(parent),
      doc_(doc),
      settings_(services.settings),
      folder_(services.programFolder.isEmpty() ? ProgramFolder() : services.programFolder),
      parts_(std::move(parts)),
      serviceMode_(services.serviceMode),
      unattended_(services.unattended) {
    setObjectName(QStringLiteral("MDIFormMain"));
    // Every window's icon, the editor windows' title bars among them (without it
    // they would show the style's stand-in until their own icon is set).
    QApplication::setWindowIcon(applicationIcon());
    if (services.messages) {
        messages_ = services.messages;
    } else {
        ownMessages_ = std::make_unique<DialogMessageService>(this);
        messages_ = ownMessages_.get();
    }
    if (services.files) {
        chooser_ = services.files;
    } else {
        ownChooser_ = std::make_unique<DialogFileChooser>(this);
        chooser_ = ownChooser_.get();
    }
    files_ = std::make_unique<FileCommands>(
        doc_, *chooser_, *messages_, folder_,
        FileCommands::Hooks{[this] { commitGrid(); }, [this] { editorReset(); },
                            [this] { return askUnsaved(); },
                            [this](const QString& path) { fileTaken(path); }});

    undoStack_ = new QUndoStack(this);
    doc_.onChangeRecorded = [this](MemoryChange change) {
        undoStack_->push(new MemoryStep(*this, std::move(change)));
        refreshModifiedMark();
    };
    setAcceptDrops(true);
    backupFolder_ = services.backupFolder.isEmpty() ? DefaultBackupFolder() : services.backupFolder;
    files_->setBackupFolder(backupFolder_);

    area_ = new QMdiArea;
    area_->setObjectName(QStringLiteral("MDIClient"));
    area_->setBackground(QColor(128, 128, 128));
    connect(area_, &QMdiArea::subWindowActivated, this, &MDIFormMain::onSubWindowActivated);

    buildMenus();
    buildToolbar();
    buildTreePanel();
    buildStatusBar();

    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(PictureTree);
    row->addWidget(area_, 1);
    setCentralWidget(central);

    Timer1.setInterval(kTimerInterval);
    connect(&Timer1, &QTimer::timeout, this, &MDIFormMain::Timer1_Timer);
    resize(twips(15000), twips(10500));
}

MDIFormMain::~MDIFormMain() {
    // Editors talk to this window while they close; close them while it is whole.
    Timer1.stop();
    closeAllEditors();
    doc_.onChangeRecorded = nullptr;
    delete help_;
}

bool MDIFormMain::startUp() {
    const StartUpResult result = RunStartUp(doc_, *settings_, folder_);
    switchQtTranslation();
    if (!result.ok) {
        // Also for whoever started the program from a terminal or a script.
        std::fprintf(stderr, "baldo7: %s\n", result.message.toLocal8Bit().constData());
        if (!unattended_) messages_->show(MsgIcon::Error, appTitle(), result.message);
        return false;
    }
    serviceMode_ = serviceMode_ || ReadServiceMode(*settings_);
    for (const ServiceRow& row : kServiceRows)
        if (QAction* a = row.menuItem ? findChild<QAction*>(QLatin1String(row.menuItem)) : nullptr)
            a->setVisible(serviceRowShown(row.form));
    applyCaptions();
    layoutTree(kSeparatorStart);
    if (QTreeWidgetItem* root = TreeView1->topLevelItem(0)) root->setExpanded(true);
    doc_.ChildWindowState = 0;
    const QByteArray geometry = ReadWindowGeometry(*settings_);
    if (geometry.isEmpty() || !RestoreFittedGeometry(this, geometry)) FitToScreen(this);
    recent_ = ReadRecentFiles(*settings_);
    MenuRecent->setEnabled(!recent_.isEmpty());
    files_->setStartFolder(ReadLastFolder(*settings_));
    openEditorWindow(EditorWindow::ChannelInformation);
    startFreshHistory();
    refreshPanels();
    Timer1.start();
    return true;
}

bool MDIFormMain::openFile(const QString& path) {
    if (!files_->Open(path)) return false;
    startFreshHistory();
    refreshPanels();
    return true;
}

UnsavedAnswer MDIFormMain::askUnsaved() {
    commitGrid();
    doc_.commitChange();
    if (!doc_.isModified()) return UnsavedAnswer::Unmodified;
    const bool en = doc_.IsEnglish;
    const Message question{
        MsgIcon::Question,
        appTitle(),
        uiText(shelltexts::kSaveChanges, en).arg(QString::fromStdString(doc_.CurrentFileName)),
        MsgButtons::SaveDiscardCancel,
        {uiText(shelltexts::kSaveButton, en), uiText(shelltexts::kDiscardButton, en),
         uiText(shelltexts::kCancelButton, en)}};
    switch (messages_->show(question)) {
        case MsgAnswer::Save:
            if (!files_->Save()) return UnsavedAnswer::Stop;
            doc_.markUnmodified();
            refreshModifiedMark();
            return UnsavedAnswer::GoOn;
        case MsgAnswer::Discard:
            return UnsavedAnswer::GoOn;
        default:
            return UnsavedAnswer::Stop;
    }
}

void MDIFormMain::closeEvent(QCloseEvent* event) {
    if (askUnsaved() == UnsavedAnswer::Stop) {
        event->ignore();
        return;
    }
    StoreWindowGeometry(*settings_, saveGeometry());
    QMainWindow::closeEvent(event);
}

namespace {
// The one local .rdat file a drag carries, or "".
QString droppedDataFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return QString();
    const QUrl url = mime->urls().front();
    if (!url.isLocalFile()) return QString();
    const QString path = url.toLocalFile();
    return path.endsWith(QLatin1String(".rdat"), Qt::CaseInsensitive) ? path : QString();
}
}  // namespace

void MDIFormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedDataFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MDIFormMain::dropEvent(QDropEvent* event) {
    const QString path = droppedDataFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // After the drop has finished: the questions are modal.
    QTimer::singleShot(0, this, [this, path] { openFile(path); });
}

void MDIFormMain::fileTaken(const QString& path) {
    recent_ = WithRecentFile(recent_, path);
    StoreRecentFiles(*settings_, recent_);
    StoreLastFolder(*settings_, files_->startFolder());
    MenuRecent->setEnabled(true);
}

void MDIFormMain::fillRecentMenu() {
    recent_ = ExistingFiles(recent_);
    StoreRecentFiles(*settings_, recent_);
    MenuRecent->clear();
    for (int i = 0; i < recent_.size(); ++i) {
        const QString path = recent_[i];
        QAction* a = MenuRecent->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        a->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        connect(a, &QAction::triggered, this, [this, path] { openFile(path); });
    }
}

bool MDIFormMain::backupsOn() const {
    return settings_->value(QStringLiteral("Backups"), true).toBool();
}

bool MDIFormMain::backUp(BackupKind kind, bool askToGoOn, BackupRange range, const Document* from) {
    if (!backupsOn()) return true;
    const QDateTime now = QDateTime::currentDateTime();
    QString error;
    if (!WriteBackup(from ? *from : doc_, backupFolder_, kind, now, &error, range).isEmpty()) {
        PruneBackups(backupFolder_, now);
        return true;
    }
    const QString where = QDir::toNativeSeparators(backupFolder_) + QStringLiteral("\n") + error;
    if (!askToGoOn) {
        messages_->show(MsgIcon::Warning, appTitle(),
                        uiText(shelltexts::kBackupFailed, doc_.IsEnglish).arg(where));
        return false;
    }
    return messages_->show(MsgIcon::Warning, appTitle(),
                           uiText(shelltexts::kBackupGoOn, doc_.IsEnglish).arg(where),
                           MsgButtons::OkCancel) == MsgAnswer::Ok;
}

void MDIFormMain::refreshModifiedMark() {
    setWindowModified(doc_.isModified());
}

bool MDIFormMain::serviceRowShown(const char* form) const {
    if (!serviceMode_) return false;
    if (!form) return true;
    for (const EditorSlot& s : kEditorSlots)
        if (qstrcmp(s.form, form) == 0) {
            auto type = parts_.editors.find(s.kind);
            return type != parts_.editors.end() && type->second.create;
        }
    auto tool = parts_.tools.find(QString::fromLatin1(form));
    return tool != parts_.tools.end() && tool->second;
}

// ---- building -----------------------------------------------------------------

void MDIFormMain::buildMenus() {
    QMenuBar* bar = menuBar();
    auto menu = [&](QMenu*& m, const char* name, QMenu* parentMenu = nullptr) {
        m = parentMenu ? parentMenu->addMenu(QString()) : bar->addMenu(QString());
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto item = [&](QAction*& a, const char* name, QMenu* m, const QKeySequence& key, bool shown,
                    void (MDIFormMain::*slot)()) {
        a = m->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
        a->setVisible(shown);
        if (slot) connect(a, &QAction::triggered, this, slot);
        return a;
    };
    const QKeySequence none;

    menu(MenuFile, "MenuFile");
    item(MenuNew, "MenuNew", MenuFile, QKeySequence(Qt::CTRL | Qt::Key_N), true,
         &MDIFormMain::MenuNew_Click);
    item(MenuOpen, "MenuOpen", MenuFile, QKeySequence(Qt::CTRL | Qt::Key_O), true,
         &MDIFormMain::MenuOpen_Click);
    item(MenuSave, "MenuSave", MenuFile, QKeySequence(Qt::CTRL | Qt::Key_S), true,
         &MDIFormMain::MenuSave_Click);
    item(MenuSaveAs, "MenuSaveAs", MenuFile, none, true, &MDIFormMain::MenuSaveAs_Click);
    menu(MenuRecent, "MenuRecent", MenuFile);
    connect(MenuRecent, &QMenu::aboutToShow, this, &MDIFormMain::fillRecentMenu);
    item(MenuBackups, "MenuBackups", MenuFile, none, true, &MDIFormMain::MenuBackups_Click);
    MenuFile->addSeparator();
    QAction* csvItem = nullptr;
    item(csvItem, "MenuImportChannels", MenuFile, none, true, nullptr);
    connect(csvItem, &QAction::triggered, this, [this] {
        if (parts_.importChannels) parts_.importChannels(*this);
    });
    item(csvItem, "MenuExportChannels", MenuFile, none, true, nullptr);
    connect(csvItem, &QAction::triggered, this, [this] {
        if (parts_.exportChannels) parts_.exportChannels(*this);
    });
    MenuFile->addSeparator();
    // The print items are shown only in the service configuration.
    item(MenuPrint, "MenuPrint", MenuFile, QKeySequence(Qt::CTRL | Qt::Key_P), false, nullptr);
    // A cell being typed in the grid goes on paper too.
    connect(MenuPrint, &QAction::triggered, this, [this] {
        commitGrid();
        runTool(QStringLiteral("FormPrint"));
    });
    item(MenuPrintView, "MenuPrintView", MenuFile, none, false, nullptr);
    connect(MenuPrintView, &QAction::triggered, this, [this] {
        commitGrid();
        runTool(QStringLiteral("FormPrintView"));
    });
    MenuFile->addSeparator();
    item(MenuExit, "MenuExit", MenuFile, none, true, nullptr);
    connect(MenuExit, &QAction::triggered, this, &QWidget::close);

    menu(MenuMachine, "MenuMachine");
    item(MenuModelInformation, "MenuModelInformation", MenuMachine, none, true,
         &MDIFormMain::MenuModelInformation_Click);

    menu(MenuEdit, "MenuEdit");
    item(MenuUndo, "MenuUndo", MenuEdit, QKeySequence(Qt::CTRL | Qt::Key_Z), true,
         &MDIFormMain::MenuUndo_Click);
    item(MenuRedo, "MenuRedo", MenuEdit, QKeySequence(Qt::CTRL | Qt::Key_Y), true,
         &MDIFormMain::MenuRedo_Click);
    MenuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    MenuUndo->setEnabled(false);
    MenuRedo->setEnabled(false);
    connect(undoStack_, &QUndoStack::canUndoChanged, MenuUndo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, MenuRedo, &QAction::setEnabled);
    MenuEdit->addSeparator();
    item(MenuChannel, "MenuChannel", MenuEdit, none, true, nullptr);
    connect(MenuChannel, &QAction::triggered, this,
            [this] { openEditorWindow(EditorWindow::ChannelInformation); });
    item(MenuOption, "MenuOption", MenuEdit, none, true, nullptr);
    connect(MenuOption, &QAction::triggered, this,
            [this] { openEditorWindow(EditorWindow::Option); });
    item(MenuKey, "MenuKey", MenuEdit, none, true, nullptr);
    connect(MenuKey, &QAction::triggered, this,
            [this] { openEditorWindow(EditorWindow::KeySetting); });
    item(MenuScan, "MenuScan", MenuEdit, none, false, nullptr);
    connect(MenuScan, &QAction::triggered, this,
            [this] { TreeView1_NodeClick(QStringLiteral("TreeScan")); });
    item(MenuMessage, "MenuMessage", MenuEdit, none, false, nullptr);
    connect(MenuMessage, &QAction::triggered, this,
            [this] { TreeView1_NodeClick(QStringLiteral("TreeMessage")); });
    item(MenuLocalMessage, "MenuLocalMessage", MenuEdit, none, false, nullptr);
    connect(MenuLocalMessage, &QAction::triggered, this, [this] {
        serviceRead(&Document::LocalMessageMode, QStringLiteral("FormLocalMessage"));
    });
    item(MenuStun, "MenuStun", MenuEdit, none, false, nullptr);
    connect(MenuStun, &QAction::triggered, this,
            [this] { serviceRead(&Document::StunDieMode, QStringLiteral("FormDtmf")); });
    item(MenuBank, "MenuBank", MenuEdit, none, false, nullptr);
    connect(MenuBank, &QAction::triggered, this,
            [this] { runTool(QStringLiteral("FormBatchChannelEdit")); });

    menu(MenuProgram, "MenuProgram");
    item(MenuRead, "MenuRead", MenuProgram, QKeySequence(Qt::CTRL | Qt::Key_R), true,
         &MDIFormMain::MenuRead_Click);
    item(MenuWrite, "MenuWrite", MenuProgram, QKeySequence(Qt::CTRL | Qt::Key_W), true,
         &MDIFormMain::MenuWrite_Click);
    item(MenuPassword, "MenuPassword", MenuProgram, none, false, nullptr);
    connect(MenuPassword, &QAction::triggered, this,
            [this] { runTool(QStringLiteral("FormPassword")); });

    menu(MenuTool, "MenuTool");
    MenuTool->menuAction()->setVisible(false);
    item(MenuRadioInformation, "MenuRadioInformation", MenuTool, none, false, nullptr);

    menu(MenuSetting, "MenuSetting");
    item(MenuCom, "MenuCom", MenuSetting, none, true, &MDIFormMain::MenuCom_Click);
    item(MenuLanguage, "MenuLanguage", MenuSetting, none, true, &MDIFormMain::MenuLanguage_Click);

    menu(MenuView, "MenuView");
    item(MenuTree, "MenuTree", MenuView, none, true, nullptr);
    item(MenuToolBar, "MenuToolBar", MenuView, none, true, nullptr);
    item(MenuStatus, "MenuStatus", MenuView, none, true, nullptr);
    for (QAction* a : {MenuTree, MenuToolBar, MenuStatus}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    connect(MenuTree, &QAction::toggled, this, [this](bool on) { PictureTree->setVisible(on); });
    connect(MenuToolBar, &QAction::toggled, this, [this](bool on) { Toolbar1->setVisible(on); });
    connect(MenuStatus, &QAction::toggled, this, [this](bool on) { StatusBar1->setVisible(on); });

    menu(MenuWindow, "MenuWindow");
    item(MenuCeng, "MenuCeng", MenuWindow, none, true, &MDIFormMain::MenuCeng_Click);
    item(MenuCloseAll, "MenuCloseAll", MenuWindow, none, true, &MDIFormMain::MenuCloseAll_Click);
    windowEntriesSeparator_ = MenuWindow->addSeparator();
    windowEntriesSeparator_->setVisible(false);

    menu(MenuHelp, "MenuHelp");
    item(MenuHelpPage, "MenuHelpPage", MenuHelp, none, false, nullptr);
    connect(MenuHelpPage, &QAction::triggered, this,
            [this] { showHelpTopic(QStringLiteral("general.htm")); });
    item(MenuSupportBundle, "MenuSupportBundle", MenuHelp, none, true,
         &MDIFormMain::MenuSupportBundle_Click);
    item(MenuAbout, "MenuAbout", MenuHelp, none, true, &MDIFormMain::MenuAbout_Click);

    // F1 anywhere in the program opens the help file at its first page.
    helpKey_ = new QAction(this);
    helpKey_->setObjectName(QStringLiteral("HelpKey"));
    helpKey_->setShortcut(QKeySequence(Qt::Key_F1));
    helpKey_->setShortcutContext(Qt::ApplicationShortcut);
    connect(helpKey_, &QAction::triggered, this,
            [this] { showHelpTopic(QStringLiteral("general.htm")); });
    addAction(helpKey_);
}

void MDIFormMain::buildToolbar() {
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(32, 32));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->toggleViewAction()->setEnabled(false);  // the View menu is the one switch
    for (const ToolButton& b : kToolButtons) {
        QAction* a = Toolbar1->addAction(toolbarIcon(b.icon), QString::fromUtf8(b.caption));
        const QString key = QString::fromUtf8(b.key);
        a->setObjectName(key);
        a->setData(key);
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        toolButtons_[key] = a;
        if (key == QStringLiteral("保存") || key == QStringLiteral("写频"))
            Toolbar1->addSeparator();
    }
}

void MDIFormMain::buildTreePanel() {
    PictureTree = new TreePanel([this] { requestRelayout(); });
    PictureTree->setObjectName(QStringLiteral("PictureTree"));
    FrameTree = new QFrame(PictureTree);
    FrameTree->setObjectName(QStringLiteral("FrameTree"));
    static_cast<QFrame*>(FrameTree)->setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(QStringLiteral("BALDO-7"), FrameTree);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    TreeView1 = new QTreeWidget(FrameTree);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(true);
    TreeView1->setIndentation(twips(200));  // room for the longest English node
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node, int) {
        if (node) TreeView1_NodeClick(node->data(0, Qt::UserRole).toString());
    });
    PictureSeparator = new QWidget(PictureTree);
    PictureSeparator->setObjectName(QStringLiteral("PictureSeparator"));
    PictureSeparator->setCursor(Qt::SplitHCursor);
    PictureSeparator->installEventFilter(this);
    layoutTree(kSeparatorStart);
}

void MDIFormMain::buildStatusBar() {
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel;
        panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        panels_[i]->setMinimumWidth(twips(1500));
        panels_[i]->setContentsMargins(4, 0, 4, 0);
    }
    StatusBar1->addWidget(panels_[0], 2);
    StatusBar1->addWidget(panels_[1], 1);
    StatusBar1->addPermanentWidget(panels_[2]);
    StatusBar1->addPermanentWidget(panels_[3]);
    StatusBar1->installEventFilter(this);
}

// ---- captions and panels ------------------------------------------------------

void MDIFormMain::applyCaptions() {
    const bool en = doc_.IsEnglish;
    for (const MenuText& t : kMenuTexts) {
        const QString name = QString::fromLatin1(t.name);
        if (QMenu* m = findChild<QMenu*>(name)) {
            m->setTitle(uiText(t.text, en));
        } else if (QAction* a = findChild<QAction*>(name)) {
            a->setText(uiText(t.text, en));
        }
    }
    helpFolder_ = QDir(folder_).filePath(en ? QStringLiteral("help/en/HTML")
                                            : QStringLiteral("help/zh/HTML"));
    for (const ToolButton& b : kToolButtons)
        toolButtons_[QString::fromUtf8(b.key)]->setToolTip(uiText(b.tip, en));

    TreeView1->clear();
    auto* root = new QTreeWidgetItem(TreeView1, {QStringLiteral("BALDO-7")});
    root->setData(0, Qt::UserRole, QStringLiteral("BALDO-7"));
    const struct {
        const char* key;
        BiText text;
    } nodes[] = {{"TreeChannelInforamtion", shelltexts::kTreeChannel},
                 {"TreeOption", shelltexts::kTreeOption},
                 {"TreeKey", shelltexts::kTreeKey}};
    for (const auto& n : nodes) {
        auto* child = new QTreeWidgetItem(root, {uiText(n.text, en)});
        child->setData(0, Qt::UserRole, QString::fromLatin1(n.key));
    }
    for (const ServiceRow& row : kServiceRows) {
        if (!row.treeKey || !serviceRowShown(row.form)) continue;
        QString text;
        if (row.treeText.en)
            text = uiText(row.treeText, en);
        else if (const BiText* caption = row.menuItem ? menuText(row.menuItem) : nullptr)
            text = uiText(*caption, en).remove(QLatin1Char('&'));
        auto* child = new QTreeWidgetItem(root, {text});
        child->setData(0, Qt::UserRole, QString::fromLatin1(row.treeKey));
    }
    root->setExpanded(true);
    panels_[1]->setText(portPanelText());
    setWindowTitle(withModifiedMark(captionText()));
}

// "136 - 174 MHz", or words saying the band is unknown (a blank or foreign radio).
static QString bandRange(const Document& doc, const QString& dash) {
    if (!BandOfImage(doc.radioImage)) return uiText(shelltexts::kBandUnknown, doc.IsEnglish);
    return QString::number(doc.BandLowMHz) + dash + QString::number(doc.BandTxHighMHz) +
           QStringLiteral(" MHz");
}

QString MDIFormMain::captionText() const {
    return QStringLiteral("BALDO-7[") + QString::fromStdString(doc_.ModelType) +
           QStringLiteral(": ") + bandRange(doc_, QStringLiteral(" - ")) +
           uiText(shelltexts::kCaptionFileName, doc_.IsEnglish) +
           QString::fromStdString(doc_.CurrentFileName) + QStringLiteral("]");
}

QString MDIFormMain::modelPanelText() const {
    return QString::fromStdString(doc_.ModelType) + QStringLiteral("[") +
           bandRange(doc_, QStringLiteral("-")) + QStringLiteral("]");
}

QString MDIFormMain::portPanelText() const {
    const QString prefix = uiText(shelltexts::kPortPanel, doc_.IsEnglish);
    if (!doc_.ComPortName.empty()) {
        QString name = QString::fromStdString(doc_.ComPortName);
        if (IsSimulatedPort(name)) name = uiText(shelltexts::kSimulatedPanel, doc_.IsEnglish);
        // A device name already says what it is in English; the Chinese label stays.
        return doc_.IsEnglish ? name : prefix + QLatin1Char(' ') + name;
    }
    return prefix + QString::number(doc_.ComPortNumber);
}

void MDIFormMain::refreshPanels() {
    const QDateTime now = QDateTime::currentDateTime();
    panels_[2]->setText(QLocale().toString(now.date(), QLocale::ShortFormat));
    panels_[3]->setText(QLocale().toString(now.time(), QLocale::ShortFormat));
    setWindowTitle(withModifiedMark(captionText()));
    refreshModifiedMark();
    panels_[0]->setText(modelPanelText());
}

void MDIFormMain::Timer1_Timer() {
    refreshPanels();
    if (relayoutPending_) {
        Timer1.stop();
        Timer1.setInterval(kTimerInterval);
        Timer1.start();
        layoutTree(separatorLeftTwips());
        relayoutPending_ = false;
    }
}

void MDIFormMain::switchQtTranslation() {
    // Qt's own buttons and file dialogs follow the program's language.
    if (qtTranslator_) {
        QCoreApplication::removeTranslator(qtTranslator_);
        delete qtTranslator_;
        qtTranslator_ = nullptr;
    }
    if (doc_.IsEnglish) return;
    auto* t = new QTranslator(this);
    if (t->load(QStringLiteral("qtbase_zh_CN"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(t);
        qtTranslator_ = t;
    } else {
        delete t;
    }
}

// ---- tree panel ---------------------------------------------------------------

void MDIFormMain::layoutTree(int x) {
    separatorTwips_ = x;
    const int panelWidth = x + 100;
    PictureTree->setFixedWidth(twips(panelWidth));
    const int panelHeight = PictureTree->height() * kTwipsPerPixel;
    QRect sep(twips(x), 0, twips(50), PictureSeparator->height());
    if (panelHeight >= 500) sep.setHeight(twips(panelHeight - 500));
    PictureSeparator->setGeometry(sep);

    QRect frame(0, twips(10), FrameTree->width(), FrameTree->height());
    if (panelWidth >= 100) frame.setWidth(twips(panelWidth - 100));
    if (panelHeight >= 520) frame.setHeight(twips(panelHeight - 520));
    FrameTree->setGeometry(frame);
    const int frameWidth = frame.width() * kTwipsPerPixel;
    const int frameHeight = frame.height() * kTwipsPerPixel;
    Label1->setGeometry(0, twips(120), frame.width(), twips(400));
    QRect tree(0, twips(600), TreeView1->width(), TreeView1->height());
    if (frameWidth >= 120) tree.setWidth(twips(frameWidth - 120));
    if (frameHeight >= 100) tree.setHeight(twips(frameHeight - 100) - twips(600));
    TreeView1->setGeometry(tree);
}

int MDIFormMain::separatorLeftTwips() const {
    return separatorTwips_;
}

int MDIFormMain::clampSeparator(int x) const {
    const int half = width() * kTwipsPerPixel / 2;
    return std::max(kSeparatorMin, std::min(x, half));
}

void MDIFormMain::requestRelayout() {
    if (PictureTree->height() == 0) return;
    relayoutPending_ = true;
    Timer1.stop();
    Timer1.setInterval(1);
    Timer1.start();
}

void MDIFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    requestRelayout();
}

bool MDIFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PictureSeparator) {
        if (event->type() == QEvent::MouseButtonPress) {
            dragging_ = true;
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            dragging_ = false;
            return true;
        }
        if (event->type() == QEvent::MouseMove && dragging_) {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint client = mapFromGlobal(me->globalPosition().toPoint());
            layoutTree(clampSeparator(client.x() * kTwipsPerPixel));
            return true;
        }
    } else if (watched == StatusBar1 && event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
        if (me->button() == Qt::RightButton && (me->modifiers() & all) == all)
            doc_.StunEnableVisible = !doc_.StunEnableVisible;
    } else if (event->type() == QEvent::Close) {
        // An editor that closes itself (its Close button) takes its sub-window along.
        for (auto it = open_.begin(); it != open_.end(); ++it) {
            if (it->widget != watched || !it->sub) continue;
            QPointer<QMdiSubWindow> sub = it->sub;
            QPointer<QWidget> widget = it->widget;
            QTimer::singleShot(0, this, [sub, widget] {
                if (sub && (!widget || !widget->isVisible())) sub->close();
            });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- editors ------------------------------------------------------------------

QWidget* MDIFormMain::editorWidget(EditorWindow kind) const {
    auto it = open_.find(kind);
    return it != open_.end() && it->sub ? it->widget.data() : nullptr;
}

QMdiSubWindow* MDIFormMain::editorSubWindow(EditorWindow kind) const {
    auto it = open_.find(kind);
    return it != open_.end() ? it->sub.data() : nullptr;
}

void MDIFormMain::setOpenFlag(EditorWindow kind, bool open) {
    doc_.*slotOf(kind).openFlag = open;
}

void MDIFormMain::openEditorWindow(EditorWindow kind) {
    // Every editor but the channel edit dialog (the grid's own) closes the tune window.
    if (kind != EditorWindow::ChannelEdit && kind != EditorWindow::Tune) closeTune();
    if (QMdiSubWindow* sub = editorSubWindow(kind)) {
        bringToFront(sub);
        return;
    }
    auto type = parts_.editors.find(kind);
    if (type == parts_.editors.end() || !type->second.create) return;

    QWidget* widget = type->second.create(doc_, *this, nullptr);
    if (!widget) return;
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWidget(widget);
    freeMainShortcuts(sub);
    area_->addSubWindow(sub);
    widget->installEventFilter(this);
    open_[kind] = OpenEditor{sub, widget};
    setOpenFlag(kind, true);

    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates, Qt::WindowStates now) {
                if (now & Qt::WindowMinimized)
                    doc_.ChildWindowState = 1;
                else if (now & Qt::WindowMaximized)
                    doc_.ChildWindowState = 2;
                else
                    doc_.ChildWindowState = 0;
            });
    connect(sub, &QObject::destroyed, this, [this, kind, sub] { forgetEditor(kind, sub); });
    connect(widget, &QObject::destroyed, sub, [sub] { sub->close(); });

    // A remembered minimised state opens the window normal.
    const int state = doc_.ChildWindowState == 1 ? 0 : doc_.ChildWindowState;
    if (state == 2)
        sub->showMaximized();
    else
        sub->show();
    area_->setActiveSubWindow(sub);
}

void MDIFormMain::bringToFront(QMdiSubWindow* sub) {
    if (sub->isMinimized()) sub->showNormal();
    area_->setActiveSubWindow(sub);
    sub->raise();
}

void MDIFormMain::freeMainShortcuts(QMdiSubWindow* sub) {
    // A sub-window's Close key is Ctrl+W on some desktops; it would make Write To
    // Radio ambiguous (and dead) whenever an editor has the focus. Ctrl+F4 stays.
    QMenu* system = sub->systemMenu();
    if (!system) return;
    const QList<QKeySequence> mine = {MenuNew->shortcut(), MenuOpen->shortcut(),
                                      MenuSave->shortcut(), MenuRead->shortcut(),
                                      MenuWrite->shortcut()};
    for (QAction* a : system->actions()) {
        QList<QKeySequence> keys = a->shortcuts();
        const auto taken = [&mine](const QKeySequence& k) { return mine.contains(k); };
        if (std::any_of(keys.begin(), keys.end(), taken)) {
            keys.erase(std::remove_if(keys.begin(), keys.end(), taken), keys.end());
            a->setShortcuts(keys);
        }
    }
}

void MDIFormMain::forgetEditor(EditorWindow kind, QMdiSubWindow* sub) {
    auto it = open_.find(kind);
    if (it == open_.end() || (it->sub && it->sub != sub)) return;
    open_.erase(it);
    setOpenFlag(kind, false);
    if (const int id = windowMenuId(kind)) removeWindowMenuEntry(id);
}

void MDIFormMain::closeAllEditors() {
    // Synchronously: an editor reset opens new windows straight after.
    for (int guard = 0; guard < 32; ++guard) {
        const QList<QMdiSubWindow*> subs = area_->subWindowList();
        if (subs.isEmpty()) break;
        QPointer<QMdiSubWindow> sub = subs.front();
        sub->close();
        delete sub.data();
    }
}

void MDIFormMain::editorReset() {
    closeAllEditors();
    openEditorWindow(EditorWindow::ChannelInformation);
}

void MDIFormMain::commitGrid() {
    QWidget* grid = editorWidget(EditorWindow::ChannelInformation);
    auto type = parts_.editors.find(EditorWindow::ChannelInformation);
    if (grid && type != parts_.editors.end() && type->second.commit) type->second.commit(grid);
}

void MDIFormMain::closeTune() {
    if (QMdiSubWindow* tune = editorSubWindow(EditorWindow::Tune)) {
        tune->close();
        delete tune;
    }
}

void MDIFormMain::editorsDecodeNewImage() {
    // The open editors decode the new image.
    for (const EditorSlot& slot : kEditorSlots) {
        QWidget* w = editorWidget(slot.kind);
        auto type = parts_.editors.find(slot.kind);
        if (w && type != parts_.editors.end() && type->second.analyse) type->second.analyse(w);
    }
    refreshPanels();
}

// ---- undo history -------------------------------------------------------------

void MDIFormMain::startFreshHistory() {
    undoStack_->clear();
    doc_.startHistory();
}

void MDIFormMain::applyStep(const MemoryChange& change, bool undo) {
    doc_.applyChange(change, undo);
    AnalyseModel(doc_);
    AnalyseSoftwareData(doc_);  // the password fields follow their restored bytes
    editorsDecodeNewImage();
    // The editors keep no copy: what they normalised while redrawing is part of
    // the restored state, not a new step.
    doc_.settleChange();
}

void MDIFormMain::commitOpenEditors() {
    for (const EditorSlot& slot : kEditorSlots) {
        QWidget* w = editorWidget(slot.kind);
        auto type = parts_.editors.find(slot.kind);
        if (w && type != parts_.editors.end() && type->second.commit) type->second.commit(w);
    }
    doc_.commitChange();
}

void MDIFormMain::MenuUndo_Click() {
    // A cell being edited (grid or tune window) is committed first, so Undo takes
    // back that edit.
    commitOpenEditors();
    undoStack_->undo();
}

void MDIFormMain::MenuRedo_Click() {
    commitOpenEditors();
    undoStack_->redo();
}

void MDIFormMain::onSubWindowActivated(QMdiSubWindow* sub) {
    if (!sub) return;
    for (auto it = open_.begin(); it != open_.end(); ++it) {
        if (it->sub == sub) {
            if (const int id = windowMenuId(it.key())) checkWindowMenuEntry(id);
            return;
        }
    }
}

void MDIFormMain::openEditor(EditorKind kind) {
    switch (kind) {
        case EditorKind::ChannelInformation:
            openEditorWindow(EditorWindow::ChannelInformation);
            break;
        case EditorKind::ChannelEdit:
            openEditorWindow(EditorWindow::ChannelEdit);
            break;
        case EditorKind::Option:
            openEditorWindow(EditorWindow::Option);
            break;
        case EditorKind::KeySetting:
            openEditorWindow(EditorWindow::KeySetting);
            break;
    }
}

// ---- Window menu --------------------------------------------------------------

void MDIFormMain::addWindowMenuEntry(int id, const QString& caption) {
    if (QAction* existing = windowEntries_.value(id)) {
        existing->setText(caption);
        return;
    }
    QAction* a = MenuWindow->addAction(caption);
    a->setObjectName(QStringLiteral("WindowEntry%1").arg(id));
    a->setData(id);
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, id] {
        // Only to the front: unlike the menus and the tree, this leaves the tune window.
        for (auto it = open_.begin(); it != open_.end(); ++it) {
            if (windowMenuId(it.key()) == id && it->sub) {
                bringToFront(it->sub);
                break;
            }
        }
        checkWindowMenuEntry(id);
    });
    windowEntries_[id] = a;
    windowEntriesSeparator_->setVisible(true);
}

void MDIFormMain::removeWindowMenuEntry(int id) {
    if (QAction* a = windowEntries_.take(id)) {
        MenuWindow->removeAction(a);
        a->deleteLater();
    }
    windowEntriesSeparator_->setVisible(!windowEntries_.isEmpty());
}

void MDIFormMain::checkWindowMenuEntry(int id) {
    for (auto it = windowEntries_.begin(); it != windowEntries_.end(); ++it)
        it.value()->setChecked(it.key() == id);
}

void MDIFormMain::MenuCeng_Click() {
    area_->cascadeSubWindows();
}

void MDIFormMain::MenuCloseAll_Click() {
    closeAllEditors();
}

// ---- commands -----------------------------------------------------------------

void MDIFormMain::TreeView1_NodeClick(const QString& key) {
    closeTune();
    if (key == QLatin1String("TreeChannelInforamtion")) {
        openEditorWindow(EditorWindow::ChannelInformation);
    } else if (key == QLatin1String("TreeOption")) {
        openEditorWindow(EditorWindow::Option);
    } else if (key == QLatin1String("TreeKey")) {
        openEditorWindow(EditorWindow::KeySetting);
    } else if (key == QLatin1String("TreeScan") || key == QLatin1String("TreeMessage")) {
        const EditorWindow kind = key == QLatin1String("TreeScan") ? EditorWindow::ScanInformation
                                                                   : EditorWindow::EmbedMessage;
        const bool wasOpen = editorSubWindow(kind) != nullptr;
        openEditorWindow(kind);
        if (!wasOpen && editorSubWindow(kind)) MenuCeng_Click();
    } else if (key == QLatin1String("TreeLocalMessage")) {
        serviceRead(&Document::LocalMessageMode, QStringLiteral("FormLocalMessage"));
    } else if (key == QLatin1String("TreeDtmf")) {
        serviceRead(&Document::StunDieMode, QStringLiteral("FormDtmf"));
    } else if (key == QLatin1String("TreeTuneData")) {
        openEditorWindow(EditorWindow::Tune);
    } else if (key == QLatin1String("TreeSpecial")) {
        serviceRead(&Document::SpecialMode, QStringLiteral("FormSpecial"));
    }
}

void MDIFormMain::beginExchange() {
    doc_.TransferOK = false;
}

void MDIFormMain::serviceRead(bool Document::*mode, const QString& tool) {
    beginExchange();
    closeTune();
    if (!parts_.showProcess || !parts_.tools.count(tool)) return;
    doc_.ReadMode = true;
    doc_.*mode = true;
    runServiceTransfer();
    if (!doc_.TransferOK) return;
    // What the radio holds is no edit: not a step of its own, nor part of the tool's.
    doc_.settleChange();
    runTool(tool);
}

void MDIFormMain::runTool(const QString& tool) {
    auto it = parts_.tools.find(tool);
    if (it == parts_.tools.end() || !it->second) return;
    // A modal tool's changes are one step, whatever the tool records itself.
    DocumentEdit edit(doc_);
    it->second(*this);
}

void MDIFormMain::Toolbar1_ButtonClick(const QString& key) {
    // The toolbar carries on whatever goes wrong inside a command.
    try {
        if (key == QStringLiteral("新建"))
            MenuNew_Click();
        else if (key == QStringLiteral("打开"))
            MenuOpen_Click();
        else if (key == QStringLiteral("保存"))
            MenuSave_Click();
        else if (key == QStringLiteral("读取"))
            MenuRead_Click();
        else if (key == QStringLiteral("串口"))
            MenuCom_Click();
        else if (key == QStringLiteral("写频"))
            MenuWrite_Click();
        else if (key == QStringLiteral("帮助"))
            helpKey_->trigger();
    } catch (...) {
    }
}

void MDIFormMain::MenuNew_Click() {
    if (files_->New()) startFreshHistory();
}
void MDIFormMain::MenuOpen_Click() {
    if (files_->Open()) startFreshHistory();
}
bool MDIFormMain::openStartFile(const QString& path) {
    if (!files_->OpenPath(path)) return false;
    startFreshHistory();
    refreshPanels();
    return true;
}
void MDIFormMain::MenuSave_Click() {
    if (files_->Save()) doc_.markUnmodified();
    refreshModifiedMark();
}
void MDIFormMain::MenuSaveAs_Click() {
    if (files_->SaveAs()) doc_.markUnmodified();
    refreshModifiedMark();
}

void MDIFormMain::MenuModelInformation_Click() {
    FormModelInformation dialog(doc_, *messages_, this);
    dialog.askUnsaved = [this] { return askUnsaved(); };
    dialog.exec();
    if (!doc_.ReloadTemplate) return;
    doc_.ReloadTemplate = false;
    if (!LoadTemplateImage(doc_, folder_).ok()) {
        messages_->show(MsgIcon::Error, appTitle(),
                        uiText(shelltexts::kTemplateMissing, doc_.IsEnglish)
                            .arg(QDir::toNativeSeparators(TemplatePath(doc_, folder_))));
        AnalyseModel(doc_);  // the limits go back to what the unchanged image says
        return;
    }
    WriteModelBytes(doc_.radioImage, RebuildModelBytes(doc_.BandHighMHz, doc_.BandLowMHz));
    doc_.forgetFile();  // new data for the model: Save must not replace the old file
    editorReset();
    startFreshHistory();
    refreshPanels();
}

void MDIFormMain::MenuLanguage_Click() {
    FormLanguage dialog(doc_, *settings_, this);
    dialog.exec();
    if (!dialog.languageChanged()) return;
    closeAllEditors();
    switchQtTranslation();
    applyCaptions();
    openEditorWindow(EditorWindow::ChannelInformation);
    if (help_) help_->setHelpFolder(helpFolder_, uiText(shelltexts::kHelpWindow, doc_.IsEnglish));
}

void MDIFormMain::MenuAbout_Click() {
    frmAbout about(doc_.IsEnglish, this);
    about.exec();
}

void MDIFormMain::MenuBackups_Click() {
    FormBackups window(ListBackups(backupFolder_), doc_.IsEnglish, this);
    if (window.exec() == QDialog::Accepted && !window.chosenPath().isEmpty())
        openFile(window.chosenPath());
}

void MDIFormMain::MenuSupportBundle_Click() {
    commitGrid();
    SupportBundleCommand(doc_, *settings_, *chooser_, *messages_);
}

void MDIFormMain::MenuCom_Click() {
    if (parts_.showComPort) parts_.showComPort(*this);
    panels_[1]->setText(portPanelText());
}

void MDIFormMain::MenuRead_Click() {
    beginExchange();
    if (askUnsaved() == UnsavedAnswer::Stop) return;
    doc_.ReadMode = true;
    if (parts_.showProcess) parts_.showProcess(*this, doc_);
    noteExchange(doc_.TransferOK, BackupRange::Data);
    if (doc_.TransferOK) {
        // The radio's data, not the open file's: Save asks for a name.
        doc_.forgetFile();
        startFreshHistory();
        backUp(BackupKind::Read, false);
    }
    refreshPanels();
}

void MDIFormMain::MenuWrite_Click() {
    beginExchange();
    commitGrid();
    doc_.commitChange();
    if (!backUp(BackupKind::BeforeWrite, true)) return;
    doc_.ReadMode = false;
    // The unsaved mark stays: the edits are in the radio, not yet in the file.
    if (parts_.showProcess) parts_.showProcess(*this, doc_);
    noteExchange(false, BackupRange::Data);
    refreshPanels();
}

void MDIFormMain::noteExchange(bool completedRead, BackupRange range) {
    if (completedRead)
        lastRead_ = LastRead{range, PortSetting(doc_)};
    else
        lastRead_.reset();
}

void MDIFormMain::runServiceTransfer() {
    beginExchange();
    if (!parts_.showProcess) return;
    const BackupRange range = BackupRangeOf(doc_);
    if (doc_.ReadMode) {
        parts_.showProcess(*this, doc_);
        noteExchange(doc_.TransferOK, range);
        if (doc_.TransferOK && range != BackupRange::Data) backUp(BackupKind::Read, false, range);
        return;
    }
    if (!keepWhatTheRadioHolds(range)) return;
    // The password change: a plain write, with Write To Radio's own backup.
    if (range == BackupRange::Data) {
        MenuWrite_Click();
        return;
    }
    if (!backUp(BackupKind::BeforeWrite, true, range)) return;
    parts_.showProcess(*this, doc_);
    noteExchange(false, range);
}

bool MDIFormMain::keepWhatTheRadioHolds(BackupRange range) {
    if (!backupsOn()) return true;
    if (lastRead_ && lastRead_->range == range && lastRead_->port == PortSetting(doc_)) return true;
    // A copy takes the read: the document keeps what is about to be sent.
    Document radio = doc_;
    radio.onChangeRecorded = nullptr;
    radio.ReadMode = true;
    radio.TransferOK = false;
    parts_.showProcess(*this, radio);
    noteExchange(false, range);
    if (!radio.TransferOK) {
        messages_->show(MsgIcon::Warning, appTitle(),
                        uiText(shelltexts::kRadioNotKept, doc_.IsEnglish));
        return false;
    }
    if (range == BackupRange::Data) AnalyseModel(radio);
    return backUp(BackupKind::Read, true, range, &radio);
}

void MDIFormMain::showHelpTopic(const QString& topic) {
    if (!help_) {
        help_ = new HelpWindow(nullptr);
        help_->setAttribute(Qt::WA_QuitOnClose, false);
    }
    help_->setHelpFolder(helpFolder_, uiText(shelltexts::kHelpWindow, doc_.IsEnglish));
    if (!help_->isVisible()) {
        // Over the main window and wholly on its screen; until the help window has
        // been shown, the main window's frame stands in for its own.
        const QRect frame = frameGeometry(), client = geometry();
        const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                               frame.right() - client.right(), frame.bottom() - client.bottom());
        help_->setGeometry(
            PlaceWindow(help_->size(), frame.center(), screen()->availableGeometry(), margins));
    }
    help_->showTopic(topic, uiText(shelltexts::kHelpMissing, doc_.IsEnglish).arg(topic));
}

}  // namespace baldo7
