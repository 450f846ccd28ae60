// The program's style: standard icons that look as the platform style's do, made
// only when shown, so that opening the main window loads no image format plugin.
#include <QFile>
#include <QMdiSubWindow>
#include <QStyleFactory>

#include "app/standard_parts.h"
#include "shell/app_style.h"
#include "shell_test_support.h"

using namespace baldo7;

namespace {

// The image format plugins this process has loaded (Linux: its memory map).
QStringList loadedImagePlugins() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return {QStringLiteral("?")};
    QStringList found;
    for (const QByteArray& line : maps.readAll().split('\n'))
        if (line.contains("/imageformats/")) found << QString::fromLocal8Bit(line);
    return found;
}

}  // namespace

class AppStyleTest : public QObject {
    Q_OBJECT

private slots:
    // First, before anything in this process has drawn an icon from a file.
    void theMainWindowLoadsNoImagePlugin() {
        if (!QFile::exists(QStringLiteral("/proc/self/maps")))
            QSKIP("needs the process memory map");
        QApplication::setStyle(new AppStyle(QApplication::style()->name()));
        QTemporaryDir dir;
        shelltest::MainWindowRig rig;
        rig.start(dir.filePath(QStringLiteral("settings.ini")), false, QStringLiteral("1"),
                  StandardShellParts());
        QVERIFY(rig.win->findChild<QMdiSubWindow*>());  // the channel grid is open
        QCoreApplication::processEvents();
        QCOMPARE(loadedImagePlugins(), QStringList());
    }

    void iconsLookAsThePlatformStylesDo() {
        AppStyle style(QStringLiteral("Fusion"));
        std::unique_ptr<QStyle> platform(QStyleFactory::create(QStringLiteral("Fusion")));
        const QStyle::StandardPixmap icons[] = {QStyle::SP_ToolBarHorizontalExtensionButton,
                                                QStyle::SP_TitleBarMenuButton,
                                                QStyle::SP_TitleBarCloseButton,
                                                QStyle::SP_MessageBoxWarning,
                                                QStyle::SP_DialogOkButton,
                                                QStyle::SP_ArrowRight};
        for (const QStyle::StandardPixmap which : icons) {
            const QIcon ours = style.standardIcon(which);
            const QIcon theirs = platform->standardIcon(which);
            QVERIFY(!ours.isNull());
            QCOMPARE(ours.availableSizes(), theirs.availableSizes());
            for (const int side : {8, 16, 32}) {
                const QSize size(side, side);
                QCOMPARE(ours.actualSize(size), theirs.actualSize(size));
                QCOMPARE(ours.pixmap(size).toImage(), theirs.pixmap(size).toImage());
                QCOMPARE(ours.pixmap(size, QIcon::Disabled).toImage(),
                         theirs.pixmap(size, QIcon::Disabled).toImage());
            }
            // A copy made before the icon was first drawn draws the same.
            const QIcon copy = style.standardIcon(which);
            QIcon detached = copy;
            detached.addPixmap(QPixmap());  // forces a copy of the icon's engine
            QCOMPARE(detached.pixmap(QSize(16, 16)).toImage(),
                     theirs.pixmap(QSize(16, 16)).toImage());
        }
    }
};

QTEST_MAIN(AppStyleTest)
#include "app_style_test.moc"
