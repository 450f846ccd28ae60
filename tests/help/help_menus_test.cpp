// Every command of the real main window, service configuration on, has its row in
// the menu table of the help's main page, under the caption the user sees in that
// language; the toolbar's buttons are named there by their tips. A command added
// without help, or renamed on one side only, fails here.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "app/standard_parts.h"
#include "tests/help/help_text.h"
#include "tests/shell/shell_test_support.h"

using namespace baldo7;

namespace {

// A caption as the menu shows it: "&New" is "New", "新建(&N)" is "新建(N)".
std::string shownCaption(const QString& text) {
    return QString(text).remove(QLatin1Char('&')).toStdString();
}

}  // namespace

class HelpMenusTest : public QObject, public shelltest::MainWindowRig {
    Q_OBJECT
    QTemporaryDir tmp;

    // The commands of `menu` and its submenus without a cell of their own in `cells`.
    void walk(const QList<QAction*>& actions, const std::set<std::string>& cells,
              QStringList& missing, int& commands) {
        for (QAction* a : actions) {
            if (a->isSeparator() || !a->isVisible()) continue;
            // The open windows and the recent files: entries, not commands.
            const QString name = a->objectName();
            if (name.startsWith(QLatin1String("WindowEntry")) ||
                name.startsWith(QLatin1String("RecentFile")))
                continue;
            ++commands;
            if (!cells.count(shownCaption(a->text())))
                missing << name + QStringLiteral(" \"") + a->text() + QLatin1Char('"');
            if (a->menu()) walk(a->menu()->actions(), cells, missing, commands);
        }
    }

private slots:
    void everyCommandHasItsHelp_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << true << "en";
        QTest::newRow("Chinese") << false << "zh";
    }
    void everyCommandHasItsHelp() {
        QFETCH(bool, english);
        QFETCH(QString, language);
        start(tmp.filePath("baldo7.ini"), english, "4", StandardShellParts(), QString(), true);
        const std::string page =
            helptext::readAll(helptext::treeOf(language.toStdString()) / "general.htm");

        QStringList missing;
        int commands = 0;
        walk(win->menuBar()->actions(), helptext::tableCells(page), missing, commands);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
        // Every menu with its items: the walk cannot pass for want of commands.
        QVERIFY2(commands > 40, qPrintable(QString::number(commands)));

        const std::string text = helptext::plainText(page);
        for (QAction* button : win->findChild<QToolBar*>("Toolbar1")->actions()) {
            if (button->isSeparator()) continue;
            QVERIFY2(text.find(button->toolTip().toStdString()) != std::string::npos,
                     qPrintable(button->toolTip()));
        }
    }
    void cleanupTestCase() { win.reset(); }
};

QTEST_MAIN(HelpMenusTest)
#include "help_menus_test.moc"
