// The compare window from the main window's menus: a data file and the built-in
// simulated radio set against the open data, in both languages; and the Help of the
// windows the File and Program menus open.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "app/standard_parts.h"
#include "channels/channel_record.h"
#include "compare/form_compare.h"
#include "shell/help_window.h"
#include "storage/data_store.h"
#include "tests/shell/shell_test_support.h"

using namespace baldo7;
using shelltest::onModal;

namespace {

struct Shown {
    QString summary;
    QList<QStringList> rows;  // header first
};

// Runs `f` once the modal window named `name` is up (after any window before it).
template <typename F>
void atModal(const QString& name, F f) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, name, f] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w->objectName() != name) return;
        poll->stop();
        poll->deleteLater();
        f(w);
    });
    poll->start();
}

// Reads the compare window once it is the modal one (after the transfer window, for
// the radio), then closes it.
void readCompareWindow(Shown* shown) {
    atModal("FormCompare", [shown](QWidget* w) {
        shown->summary = w->findChild<QLabel*>("LabelSummary")->text();
        auto* grid = w->findChild<QTableWidget*>("GridDifferences");
        QStringList header;
        for (int c = 0; c < grid->columnCount(); ++c)
            header << grid->horizontalHeaderItem(c)->text();
        shown->rows = {header};
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < grid->columnCount(); ++c) row << grid->item(r, c)->text();
            shown->rows << row;
        }
        QTest::mouseClick(w->findChild<QPushButton*>("CommandClose"), Qt::LeftButton);
    });
}

}  // namespace

class CompareFormsTest : public QObject, public shelltest::MainWindowRig {
    Q_OBJECT
    QTemporaryDir tmp;

    void start(bool english) {
        MainWindowRig::start(tmp.filePath("baldo7.ini"), english, "simulated-radio",
                             StandardShellParts());
    }
    void run(const char* command) { win->findChild<QAction*>(command)->trigger(); }

private slots:
    void aFileInEitherLanguage() {
        for (bool english : {true, false}) {
            start(english);
            Document other = *doc;
            SetRxFrequency(other.radioImage, 2, FrequencyToBytes(146.5));
            ApplyNewChannelDefaults(other.radioImage, 2);
            SetTxPower(other.radioImage, 2, 0);
            other.radioImage[304] = 2;  // time out timer 30 s
            const QString path = tmp.filePath("other.rdat");
            QVERIFY(SaveDataFile(other, path));
            const RadioImage before = doc->radioImage;

            chooser.answerWith(path);
            Shown shown;
            readCompareWindow(&shown);
            run("MenuCompareFile");
            const QList<QStringList> expected =
                english
                    ? QList<QStringList>{{"Where", "Field", "Open data", "other.rdat"},
                                         {"Channel 2", "In Use", "no", "yes"},
                                         {"Function Setup", "Time Out Timer(TOT)[s]", "180", "30"}}
                    : QList<QStringList>{{"位置", "项目", "当前数据", "other.rdat"},
                                         {"信道 2", "使用中", "否", "是"},
                                         {"功能设定", "超时定时器(TOT)[秒]", "180", "30"}};
            QCOMPARE(shown.rows, expected);
            QCOMPARE(shown.summary,
                     english ? QString("2 difference(s).") : QString("共有 2 处差异。"));
            QVERIFY(doc->radioImage == before);
            QVERIFY(messages.shown.isEmpty());

            // The open data against its own copy: said plainly.
            QVERIFY(SaveDataFile(*doc, path));
            readCompareWindow(&shown);
            run("MenuCompareFile");
            QCOMPARE(shown.summary, english ? QString("No differences: the two are the same.")
                                            : QString("没有差异：两者完全相同。"));
            QCOMPARE(shown.rows.size(), 1);
        }
        // A file that is not a data file is refused, and no window opens.
        QFile bad(tmp.filePath("bad.rdat"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(1057, 0x11));
        bad.close();
        chooser.answerWith(bad.fileName());
        run("MenuCompareFile");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QString("错误的文件！"));
    }

    // The dealer's windows, the compare window and the import preview: their Help
    // button and F1 each open the window's own page at its part, in its language.
    void dialogsOpenTheirOwnHelpPage() {
        start(false);
        const QString data = tmp.filePath("other.rdat");
        QVERIFY(SaveDataFile(*doc, data));
        const QString csv = tmp.filePath("channels.csv");
        chooser.answerWith(csv);
        run("MenuExportChannels");
        const struct {
            const char* command;
            QString file;  // what the file dialog before it answers
            const char* dialog;
            QString topic;
        } cases[] = {
            {"MenuWriteSeveral", {}, "FormSeveralRadios", "dealer.htm#several"},
            {"MenuJobLog", {}, "FormJobLog", "dealer.htm#log"},
            {"MenuCompareFile", data, "FormCompare", "compare.htm#"},
            {"MenuCompareRadio", {}, "FormCompare", "compare.htm#"},
            {"MenuImportChannels", csv, "FormCsvPreview", "csv.htm#preview"},
        };
        for (const auto& c : cases) {
            if (!c.file.isEmpty()) chooser.answerWith(c.file);
            QStringList shown;  // by F1, then by the button
            // The radio is read through the transfer window first.
            if (c.command == QString("MenuCompareRadio"))
                atModal("FormProcess", [](QWidget* w) {
                    QTest::mouseClick(w->findChild<QPushButton*>("CommandRead"), Qt::LeftButton);
                });
            atModal(c.dialog, [&](QWidget* dialog) {
                const auto page = [this] {
                    HelpWindow* help = win->helpWindow();
                    if (!help || !help->isVisible()) return QString();
                    const QUrl source = help->browser()->source();
                    help->close();
                    return source.toLocalFile().section("/HTML/", 1) + '#' + source.fragment();
                };
                auto* button = dialog->findChild<QPushButton*>("CommandHelp");
                QVERIFY(button && button->isVisible());
                QCOMPARE(button->text(), QString("帮助(&H)"));
                dialog->activateWindow();
                QTRY_COMPARE(QApplication::activeWindow(), dialog);
                QTest::keyClick(dialog, Qt::Key_F1);
                shown << page();
                QTest::mouseClick(button, Qt::LeftButton);
                shown << page();
                static_cast<QDialog*>(dialog)->reject();
            });
            run(c.command);
            QCOMPARE(shown, QStringList({c.topic, c.topic}));
        }
        QVERIFY(win->helpWindow()->browser()->source().toLocalFile().contains("/help/zh/"));
    }

    // The built-in radio holds sample channels: the compare reads it into a copy and
    // leaves the open data alone; after a read the two are the same.
    void theBuiltInRadio() {
        start(true);
        const RadioImage before = doc->radioImage;
        Shown shown;
        onModal([&shown](QWidget* w) {
            QCOMPARE(w->objectName(), QString("FormProcess"));
            readCompareWindow(&shown);
            QTest::mouseClick(w->findChild<QPushButton*>("CommandRead"), Qt::LeftButton);
        });
        run("MenuCompareRadio");
        QVERIFY(shown.rows.size() > 1);
        QCOMPARE(shown.rows[0].last(), QString("Radio"));
        QCOMPARE(shown.rows[1].mid(0, 3), QStringList({"Channel 1", "In Use", "no"}));
        QVERIFY(doc->radioImage == before);
        QVERIFY(!win->isWindowModified());

        onModal([](QWidget* w) {
            QTest::mouseClick(w->findChild<QPushButton*>("CommandRead"), Qt::LeftButton);
        });
        win->MenuRead_Click();
        QVERIFY(win->lastTransfer().wentThrough());
        onModal([&shown](QWidget* w) {
            readCompareWindow(&shown);
            QTest::mouseClick(w->findChild<QPushButton*>("CommandRead"), Qt::LeftButton);
        });
        run("MenuCompareRadio");
        QCOMPARE(shown.summary, QString("No differences: the two are the same."));
    }
};

QTEST_MAIN(CompareFormsTest)
#include "compare_forms_test.moc"
