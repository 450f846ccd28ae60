// Settings, start-up and the file commands, without the main window.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "core/data_file.h"
#include "shell/file_commands.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell_test_support.h"
#include "storage/data_store.h"

using namespace baldo7;
using shelltest::binFolder;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class SettingsFilesTest : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;

    QString iniPath() const { return tmp.filePath(QStringLiteral("settings.ini")); }

private slots:
    void readSettings_data() {
        QTest::addColumn<QVariant>("language");
        QTest::addColumn<QVariant>("port");
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");
        const QVariant missing;
        QTest::newRow("nothing stored") << missing << missing << false << 1 << "";
        QTest::newRow("English, port 3") << QVariant("True") << QVariant("3") << true << 3 << "";
        QTest::newRow("lower-case true is Chinese")
            << QVariant("true") << QVariant("12") << false << 12 << "";
        QTest::newRow("False, empty port") << QVariant("False") << QVariant("") << false << 1 << "";
        QTest::newRow("digits then junk")
            << QVariant("True ") << QVariant("4x") << false << 4 << "";
        QTest::newRow("device name")
            << QVariant("True") << QVariant("/dev/ttyUSB0") << true << 0 << "/dev/ttyUSB0";
    }
    void readSettings() {
        QFETCH(QVariant, language);
        QFETCH(QVariant, port);
        QFile::remove(iniPath());
        {
            QSettings s(iniPath(), QSettings::IniFormat);
            if (language.isValid()) s.setValue("SoftWare/Olvis/BALDO-7/Language", language);
            if (port.isValid()) s.setValue("SoftWare/Olvis/BALDO-7/ComPort", port);
        }
        QSettings s(iniPath(), QSettings::IniFormat);
        Document doc;
        doc.ComPortNumber = 99;
        ReadSettings(doc, s);
        QTEST(doc.IsEnglish, "english");
        QTEST(doc.ComPortNumber, "number");
        QTEST(QString::fromStdString(doc.ComPortName), "name");
    }

    void storedValuesSurviveARestart() {
        QFile::remove(iniPath());
        Document doc;
        doc.ComPortName = "/dev/pts/7";
        {
            QSettings s(iniPath(), QSettings::IniFormat);
            QVERIFY(StoreLanguage(s, true));
            QVERIFY(StoreComPort(s, doc));
        }
        QSettings s(iniPath(), QSettings::IniFormat);
        QCOMPARE(ReadRegistryString(s, "Language"), QString("True"));
        Document back;
        ReadSettings(back, s);
        QVERIFY(back.IsEnglish);
        QCOMPARE(back.ComPortName, std::string("/dev/pts/7"));

        doc.ComPortName.clear();
        doc.ComPortNumber = 5;
        QVERIFY(StoreComPort(s, doc));
        ReadSettings(back, s);
        QCOMPARE(back.ComPortNumber, 5);
        QVERIFY(back.ComPortName.empty());
    }

    // The values sit directly in the program's own key (HKCU\Software\Olvis\BALDO-7
    // on Windows, the top of the INI file elsewhere); a file of the earlier layout,
    // with its values in a nested group, is still read.
    void valuesSitInTheProgramsOwnKey() {
        QFile::remove(iniPath());
        Document doc;
        doc.ComPortNumber = 4;
        {
            QSettings s(iniPath(), QSettings::IniFormat);
            s.setValue("SoftWare/Olvis/BALDO-7/Language", "False");
            s.setValue("SoftWare/Olvis/BALDO-7/ComPort", "7");
            Document old;
            ReadSettings(old, s);
            QCOMPARE(old.ComPortNumber, 7);
            QVERIFY(StoreLanguage(s, true));
            QVERIFY(StoreComPort(s, doc));
        }
        QSettings s(iniPath(), QSettings::IniFormat);
        QCOMPARE(s.value("Language").toString(), QString("True"));
        QCOMPARE(s.value("ComPort").toString(), QString("4"));
        QCOMPARE(s.childGroups(), QStringList());
        Document back;
        ReadSettings(back, s);
        QVERIFY(back.IsEnglish);
        QCOMPARE(back.ComPortNumber, 4);
    }

    void aStoreThatCannotBeWrittenFailsQuietly() {
        QSettings s(QStringLiteral("/proc/baldo7-no-such-dir/settings.ini"), QSettings::IniFormat);
        QVERIFY(!StoreLanguage(s, true));
        Document doc;
        ReadSettings(doc, s);
        QCOMPARE(doc.IsEnglish, false);
        QCOMPARE(doc.ComPortNumber, 1);
    }

    void startUpLoadsTheTemplateAndTheSeparator() {
        QSettings s(tmp.filePath("empty.ini"), QSettings::IniFormat);
        Document doc;
        doc.CurrentFileName = "old.rdat";
        doc.ReloadTemplate = true;
        const StartUpResult r = RunStartUp(doc, s, binFolder(), QLocale(QLocale::German));
        QVERIFY2(r.ok, qPrintable(r.message));
        QCOMPARE(doc.DecimalSeparator, ',');
        QCOMPARE(doc.CurrentFileName, std::string("new.rdat"));
        QVERIFY(!doc.ReloadTemplate);
        QVERIFY(!doc.ModelType.empty());
        QVERIFY(doc.BandLowMHz > 0);
        RunStartUp(doc, s, binFolder(), QLocale(QLocale::English));
        QCOMPARE(doc.DecimalSeparator, '.');
    }

    void startUpStopsWithoutAWholeTemplate_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("missing") << -1;
        QTest::newRow("short by one byte") << 1040;
        QTest::newRow("empty") << 0;
    }
    void startUpStopsWithoutAWholeTemplate() {
        QFETCH(int, size);
        QTemporaryDir folder;
        if (size >= 0)
            writeAll(folder.filePath("Init.dat"),
                     readAll(QStringLiteral(BALDO7_INIT_DAT)).left(size));
        QSettings s(tmp.filePath("empty.ini"), QSettings::IniFormat);
        Document doc;
        const StartUpResult r = RunStartUp(doc, s, folder.path());
        QVERIFY(!r.ok);
        QVERIFY(r.message.contains("Init.dat"));
    }
};

// The four file commands with the dialog answered by the test.
class FileCommandsTest : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    Document doc;
    ScriptedFileChooser chooser;
    ScriptedMessageService messages;
    int resets = 0;
    int commits = 0;
    std::unique_ptr<FileCommands> files;

private slots:
    void init() {
        doc = Document();
        QVERIFY(LoadTemplate(doc, binFolder()).ok());
        chooser.requests.clear();
        messages.shown.clear();
        messages.setAnswerer(nullptr);
        resets = commits = 0;
        files = std::make_unique<FileCommands>(
            doc, chooser, messages, binFolder(),
            FileCommands::Hooks{[this] { ++commits; }, [this] { ++resets; }, nullptr, nullptr});
    }

    void firstSaveAsksWithTheDefaultNameThenWritesSilently() {
        const QString path = tmp.filePath("radio1.rdat");
        chooser.answerWith(path);
        doc.radioImage[100] = 0xA5;
        doc.softwareData[16] = 0x3C;
        QVERIFY(files->Save());
        QCOMPARE(chooser.requests.size(), 1);
        QVERIFY(!chooser.requests[0].open);
        QCOMPARE(chooser.requests[0].defaultName, QString("new.rdat"));
        QCOMPARE(chooser.requests[0].filters,
                 QStringList({"对讲机数据文件(*.rdat)", "所有文件(*.*)"}));
        QCOMPARE(chooser.requests[0].title, QString("保存"));
        QCOMPARE(doc.CurrentFileName, std::string("radio1.rdat"));
        QCOMPARE(commits, 1);

        const QByteArray file = readAll(path);
        QCOMPARE(file.size(), 1057);
        QVERIFY(file.startsWith("BALDO-7 Ver1.0.2"));
        QCOMPARE(static_cast<quint8>(file[16 + 100]), quint8(0xA5));
        QCOMPARE(static_cast<quint8>(file[1056]), quint8(0x3C));

        doc.radioImage[100] = 0x11;
        QVERIFY(files->Save());
        QCOMPARE(chooser.requests.size(), 1);
        QCOMPARE(static_cast<quint8>(readAll(path)[16 + 100]), quint8(0x11));
    }

    void saveAsCancelledKeepsTheEarlierTarget() {
        const QString first = tmp.filePath("first.rdat");
        chooser.answerWith(first);
        QVERIFY(files->SaveAs());
        QCOMPARE(chooser.requests.last().title, QString("另存为"));
        QCOMPARE(chooser.requests.last().defaultName, QString());
        chooser.answerWith(QString());
        QVERIFY(!files->SaveAs());
        doc.radioImage[20] = 0x77;
        QVERIFY(files->Save());
        QCOMPARE(chooser.requests.size(), 2);
        QCOMPARE(static_cast<quint8>(readAll(first)[16 + 20]), quint8(0x77));
        QCOMPARE(doc.CurrentFileName, std::string("first.rdat"));
    }

    void openRestoresImageAndSoftwareDataByteForByte() {
        Document saved = doc;
        for (std::size_t i = 0; i < kImageSize; ++i) saved.radioImage[i] = std::uint8_t(i * 13);
        saved.ProgramPassword = "123456";
        saved.softwareData[16] = 0x42;
        const QString path = tmp.filePath("pattern.rdat");
        QVERIFY(SaveDataFile(saved, path));

        messages.setAnswerer([](const Message&) { return MsgAnswer::Ok; });
        chooser.answerWith(path);
        QVERIFY(files->Open());
        QCOMPARE(chooser.requests.last().open, true);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QString("覆盖当前数据？"));
        QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
        QVERIFY(doc.radioImage == saved.radioImage);
        QVERIFY(doc.softwareData == saved.softwareData);
        QCOMPARE(doc.ProgramPassword, std::string("123456"));
        QCOMPARE(doc.CurrentFilePath, path.toStdString());
        QCOMPARE(doc.CurrentFileName, std::string("pattern.rdat"));
        QCOMPARE(resets, 1);
    }

    // Nothing is read and the path and name stay whenever the open does not complete.
    void openThatDoesNotCompleteChangesNothing_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("coverAnswer");
        QTest::addColumn<QString>("message");
        QByteArray good = QByteArray(1057, '\x55');
        good.replace(0, 16, "BALDO-7 Ver1.0.2");
        QByteArray foreign = good;
        foreign.replace(0, 8, "OTHER-9 ");
        QTest::newRow("declined") << good << false << "";
        QTest::newRow("other product") << foreign << true << "错误的文件！";
        QTest::newRow("header only") << good.left(16) << true << "错误的文件！";
        QTest::newRow("one byte short") << good.left(1056) << true << "错误的文件！";
    }
    void openThatDoesNotCompleteChangesNothing() {
        QFETCH(QByteArray, content);
        QFETCH(bool, coverAnswer);
        QFETCH(QString, message);
        const QString path = tmp.filePath("candidate.rdat");
        writeAll(path, content);
        doc.CurrentFilePath = "/somewhere/kept.rdat";
        doc.CurrentFileName = "kept.rdat";
        const RadioImage before = doc.radioImage;
        const SoftwareData softBefore = doc.softwareData;
        std::string nameDuringQuestion;
        messages.setAnswerer([&](const Message&) {
            if (nameDuringQuestion.empty()) nameDuringQuestion = doc.CurrentFileName;
            return coverAnswer ? MsgAnswer::Ok : MsgAnswer::Cancel;
        });
        chooser.answerWith(path);
        QVERIFY(!files->Open());
        // The caption never showed the candidate, not even while the question was open.
        QCOMPARE(nameDuringQuestion, std::string("kept.rdat"));
        QVERIFY(doc.radioImage == before);
        QVERIFY(doc.softwareData == softBefore);
        QCOMPARE(doc.CurrentFilePath, std::string("/somewhere/kept.rdat"));
        QCOMPARE(doc.CurrentFileName, std::string("kept.rdat"));
        QCOMPARE(resets, 0);
        if (!message.isEmpty()) {
            QCOMPARE(messages.shown.last().text.section(QLatin1Char('\n'), 0, 0), message);
            QCOMPARE(messages.shown.last().title, QString("错误"));
            QCOMPARE(messages.shown.last().icon, MsgIcon::Error);
        }
    }

    void aNewerVersionOfTheFormatIsAccepted() {
        Document other = doc;
        other.radioImage[50] = 0x99;
        const QString path = tmp.filePath("v2.rdat");
        QVERIFY(SaveDataFile(other, path));
        QByteArray bytes = readAll(path);
        bytes.replace(8, 8, "Ver9.9.9");
        bytes.append("trailing");
        writeAll(path, bytes);
        messages.setAnswerer([](const Message&) { return MsgAnswer::Ok; });
        chooser.answerWith(path);
        QVERIFY(files->Open());
        QCOMPARE(doc.radioImage[50], std::uint8_t(0x99));
    }

    // The file named on the command line: no dialog, no question; a relative name
    // is kept as the absolute path a later Save writes to; a bad file is told and
    // leaves the template.
    void openPathLoadsWithoutAskingAndReportsABadFile() {
        Document other = doc;
        other.radioImage[70] = 0x5A;
        QVERIFY(SaveDataFile(other, tmp.filePath("start.rdat")));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(tmp.path());
        const bool opened = files->OpenPath("start.rdat");
        QDir::setCurrent(previous);
        QVERIFY(opened);
        QVERIFY(chooser.requests.isEmpty());
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(doc.radioImage[70], std::uint8_t(0x5A));
        QCOMPARE(doc.CurrentFileName, std::string("start.rdat"));
        QCOMPARE(doc.CurrentFilePath, tmp.filePath("start.rdat").toStdString());
        QCOMPARE(resets, 1);

        writeAll(tmp.filePath("short.rdat"), QByteArray("BALDO-7 Ver1.0.2"));
        QVERIFY(!files->OpenPath(tmp.filePath("short.rdat")));
        QVERIFY(!files->OpenPath(tmp.filePath("missing.rdat")));
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(doc.CurrentFileName, std::string("start.rdat"));
        QCOMPARE(doc.radioImage[70], std::uint8_t(0x5A));
        QCOMPARE(resets, 1);
    }

    // New data has no file of its own: Save asks for a name and never overwrites the
    // file that was open before.
    void newThenSaveAsksForAName() {
        Document tmpl;
        QVERIFY(LoadTemplate(tmpl, binFolder()).ok());
        const QString previous = tmp.filePath("target.rdat");
        doc.radioImage[40] = 0x5A;
        QVERIFY(SaveDataFile(doc, previous));
        const QByteArray before = readAll(previous);
        doc.CurrentFilePath = previous.toStdString();
        doc.CurrentFileName = "target.rdat";
        QVERIFY(files->New());
        QVERIFY(doc.radioImage == tmpl.radioImage);
        QCOMPARE(doc.CurrentFileName, std::string("new.rdat"));
        QCOMPARE(resets, 1);

        chooser.answerWith(QString());
        QVERIFY(!files->Save());
        QCOMPARE(chooser.requests.size(), 1);
        QCOMPARE(chooser.requests[0].defaultName, QString("new.rdat"));
        QCOMPARE(readAll(previous), before);

        const QString fresh = tmp.filePath("fresh.rdat");
        chooser.answerWith(fresh);
        QVERIFY(files->Save());
        QCOMPARE(readAll(previous), before);
        QCOMPARE(static_cast<quint8>(readAll(fresh)[16 + 40]), tmpl.radioImage[40]);
        QCOMPARE(doc.CurrentFileName, std::string("fresh.rdat"));
    }

    void aFailedWriteKeepsTheOldFileAndTarget() {
        const QString path = tmp.filePath("keep.rdat");
        chooser.answerWith(path);
        doc.radioImage[30] = 0x01;
        QVERIFY(files->Save());
        const QByteArray before = readAll(path);
        // Save As into a folder that does not exist: nothing written, old target kept.
        chooser.answerWith(tmp.filePath("missing-dir/new.rdat"));
        QVERIFY(!files->SaveAs());
        QCOMPARE(messages.shown.last().icon, MsgIcon::Error);
        QCOMPARE(doc.CurrentFilePath, path.toStdString());
        QCOMPARE(doc.CurrentFileName, std::string("keep.rdat"));
        QCOMPARE(readAll(path), before);
    }

    void aFailingDialogSaysUnknownError() {
        chooser.setAnswerer([](const FileDialogRequest&) {
            return FileDialogAnswer{FileDialogAnswer::Failed, {}};
        });
        doc.IsEnglish = true;
        QVERIFY(!files->Save());
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QString("Unknown error!"));
        QCOMPARE(chooser.requests[0].filters,
                 QStringList({"Radio data file(*.rdat)", "All file(*.*)"}));
        QVERIFY(doc.CurrentFilePath.empty());
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SettingsFilesTest settings;
    FileCommandsTest files;
    return QTest::qExec(&settings, argc, argv) | QTest::qExec(&files, argc, argv);
}

#include "settings_files_test.moc"
