#include "shell/mdi_form_main.h"

#include <QFrame>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <functional>

#include "shell/main_window_tables.h"
#include "ui/ui_support.h"

namespace baldo7 {

using namespace mainwindow;

namespace {

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
    relayout_.start();
}

void MDIFormMain::TreeView1_NodeClick(const QString& key) {
    const auto entry = std::find_if(commands_.begin(), commands_.end(), [&key](const auto& e) {
        return e.command.tree && key == QLatin1String(e.command.tree);
    });
    // The tune window's own node brings it to the front: closing it would lose what
    // its tables hold. A click anywhere else on the tree, its root too, closes it.
    QMdiSubWindow* tune = editorSubWindow(EditorWindow::Tune);
    if (tune && entry != commands_.end() && entry->command.editor == EditorWindow::Tune) {
        bringToFront(tune);
        return;
    }
    closeTune();
    if (entry != commands_.end()) entry->action->trigger();
}

void MDIFormMain::fillTree(bool en) {
    TreeView1->clear();
    auto* root = new QTreeWidgetItem(TreeView1, {QStringLiteral("BALDO-7")});
    root->setData(0, Qt::UserRole, QStringLiteral("BALDO-7"));
    for (const CommandEntry& e : commands_) {
        if (!e.command.tree || !commandShown(e.command)) continue;
        auto* node =
            new QTreeWidgetItem(root, {uiText(e.command.text, en).remove(QLatin1Char('&'))});
        node->setData(0, Qt::UserRole, QString::fromLatin1(e.command.tree));
    }
    root->setExpanded(true);
}
}  // namespace baldo7
