#include "shell/mdi_form_main.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTranslator>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>
#include <cstdio>

#include "core/model_band.h"
#include "shell/help_window.h"
#include "shell/main_window_tables.h"
#include "shell/settings.h"
#include "shell/shell_pictures.h"
#include "shell/shell_texts.h"
#include "shell/startup.h"
#include "storage/data_store.h"
#include "storage/recent_files.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

using namespace mainwindow;

namespace {

// Qt's modified-mark placeholder, beside the file name before the closing bracket.
QString withModifiedMark(QString caption) {
    caption.insert(caption.size() - 1, QStringLiteral("[*]"));
    return caption;
}

// The one local file a drag carries, or "".
QString droppedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return QString();
    const QUrl url = mime->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

bool isDataFile(const QString& path) {
    return path.endsWith(QLatin1String(".rdat"), Qt::CaseInsensitive);
}

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
    doc_.onChangeRecorded = [this](MemoryChange change) { pushStep(std::move(change)); };
    setAcceptDrops(true);
    backupFolder_ = services.backupFolder.isEmpty() ? DefaultBackupFolder() : services.backupFolder;
    files_->setBackupFolder(backupFolder_);

    area_ = new QMdiArea;
    area_->setObjectName(QStringLiteral("MDIClient"));
    area_->setBackground(QColor(128, 128, 128));
    // Scroll bars when an editor reaches past the workspace: every window can be
    // reached at any size and scale, and the editors' minimum sizes do not become the
    // main window's (which then could not fit a small or scaled screen).
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

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

    // The caption, the unsaved mark and the model follow the document; the date and
    // time panels the clock.
    observation_ = std::make_unique<DocumentObservation>(
        doc_, [this](const DocumentChange&) { refreshDocumentPanels(); });
    clock_.setSingleShot(true);
    connect(&clock_, &QTimer::timeout, this, &MDIFormMain::refreshClock);
    relayout_.setSingleShot(true);
    relayout_.setInterval(1);
    connect(&relayout_, &QTimer::timeout, this, [this] { layoutTree(separatorLeftTwips()); });
    resize(twips(15000), twips(10500));
}

MDIFormMain::~MDIFormMain() {
    // Editors talk to this window while they close; close them while it is whole.
    clock_.stop();
    closeAllEditors();
    doc_.onChangeRecorded = nullptr;
    delete help_.data();
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
    showCommands();
    applyCaptions();
    layoutTree(kSeparatorStart);
    if (QTreeWidgetItem* root = TreeView1->topLevelItem(0)) root->setExpanded(true);
    state_.ChildWindowState = 0;
    const QByteArray geometry = ReadWindowGeometry(*settings_);
    if (geometry.isEmpty() || !RestoreFittedGeometry(this, geometry)) FitToScreen(this);
    recent_ = ReadRecentFiles(*settings_);
    MenuRecent->setEnabled(!recent_.isEmpty());
    files_->setStartFolder(ReadLastFolder(*settings_));
    openEditorWindow(EditorWindow::ChannelInformation);
    startFreshHistory();
    refreshPanels();
    return true;
}

void MDIFormMain::closeEvent(QCloseEvent* event) {
    if (askUnsaved() == UnsavedAnswer::Stop) {
        event->ignore();
        return;
    }
    StoreWindowGeometry(*settings_, saveGeometry());
    QMainWindow::closeEvent(event);
}

const FileDrop* MDIFormMain::fileDropFor(const QString& path) const {
    for (const FileDrop& drop : parts_.fileDrops)
        if (path.endsWith(drop.suffix, Qt::CaseInsensitive)) return &drop;
    return nullptr;
}

void MDIFormMain::dragEnterEvent(QDragEnterEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (!path.isEmpty() && (isDataFile(path) || fileDropFor(path))) event->acceptProposedAction();
}

void MDIFormMain::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty()) return;
    if (isDataFile(path)) {
        event->acceptProposedAction();
        // After the drop has finished: the questions are modal.
        QTimer::singleShot(0, this, [this, path] { openFile(path); });
    } else if (const FileDrop* drop = fileDropFor(path)) {
        event->acceptProposedAction();
        auto open = drop->open;
        QTimer::singleShot(0, this, [this, open, path] { open(*this, path); });
    }
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
    applyCommandTexts(en);
    helpFolder_ = QDir(folder_).filePath(en ? QStringLiteral("help/en/HTML")
                                            : QStringLiteral("help/zh/HTML"));
    fillTree(en);
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
    refreshClock();
    refreshDocumentPanels();
}

void MDIFormMain::refreshDocumentPanels() {
    setWindowTitle(withModifiedMark(captionText()));
    refreshModifiedMark();
    panels_[0]->setText(modelPanelText());
}

void MDIFormMain::refreshClock() {
    const QDateTime now = QDateTime::currentDateTime();
    panels_[2]->setText(QLocale().toString(now.date(), QLocale::ShortFormat));
    panels_[3]->setText(QLocale().toString(now.time(), QLocale::ShortFormat));
    // Again as the minute turns.
    clock_.start(60000 - (now.time().second() * 1000 + now.time().msec()));
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
            state_.StunEnableVisible = !state_.StunEnableVisible;
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

QMargins MDIFormMain::frameMargins() const {
    const QRect frame = frameGeometry(), client = geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

void MDIFormMain::takeHelpBack() {
    if (!help_ || !help_->parentWidget()) return;
    // Still open unless the user closed it; it stays where it was.
    const bool open = !help_->isHidden();
    const QRect where = help_->geometry();
    help_->setParent(nullptr, Qt::Window);
    help_->setAttribute(Qt::WA_QuitOnClose, false);
    help_->setGeometry(where);
    if (open) help_->show();
}

void MDIFormMain::showHelpTopic(const QString& topic) {
    if (!help_) {
        help_ = new HelpWindow(nullptr);
        help_->setAttribute(Qt::WA_QuitOnClose, false);
    }
    help_->setHelpFolder(helpFolder_, uiText(shelltexts::kHelpWindow, doc_.IsEnglish));
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && help_->parentWidget() != modal) {
        // A modal dialog blocks every window but its own: the help becomes the
        // dialog's for as long as it is open, so that it can be scrolled, followed
        // and closed, and it goes beside the dialog, not over it.
        help_->setParent(modal, Qt::Window);
        help_->setAttribute(Qt::WA_QuitOnClose, false);
        help_->setGeometry(PlaceBeside(help_->size(), modal->frameGeometry(),
                                       modal->screen()->availableGeometry(), frameMargins(),
                                       twips(5000)));
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            connect(dialog, &QDialog::finished, this, &MDIFormMain::takeHelpBack,
                    Qt::UniqueConnection);
    } else if (!help_->isVisible()) {
        // Over the main window and wholly on its screen; until the help window has
        // been shown, the main window's frame stands in for its own.
        help_->setGeometry(PlaceWindow(help_->size(), frameGeometry().center(),
                                       screen()->availableGeometry(), frameMargins()));
    }
    help_->showTopic(topic, uiText(shelltexts::kHelpMissing, doc_.IsEnglish).arg(topic));
}
}  // namespace baldo7
