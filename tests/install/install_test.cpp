// The program as `cmake --install` lays it out (into a temporary prefix, made by
// the install_tree fixture): the files, the programs run from there, the desktop
// integration checked by its own validators, and the manual pages against --help.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "baldo7_version.h"

namespace {

// The fixture's prefix, or another tree laid out the same way (the unpacked .deb).
const QString kPrefix = qEnvironmentVariable("BALDO7_PREFIX", QStringLiteral(BALDO7_PREFIX));

QString inPrefix(const QString& relative) {
    return QDir(kPrefix).filePath(relative);
}

struct RunResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program with no display at all: a program that wanted one would fail.
RunResult run(const QString& program, const QStringList& args,
              const QStringList& extraEnv = QStringList()) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    for (const QString& kv : extraEnv) env.insert(kv.section('=', 0, 0), kv.section('=', 1));
    p.setProcessEnvironment(env);
    p.start(program, args);
    RunResult r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("did not finish normally: ") + p.errorString();
        return r;
    }
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err += QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

TEST(InstalledTree, HoldsEveryFileAndOnlyTheProgramsInBin) {
    const QString data = QStringLiteral(BALDO7_DATADIR_NAME);
    QStringList expected = {
        "bin/baldo7",
        "bin/baldo7ctl",
        "bin/baldo7-sim",
        data + "/Init.dat",
        data + "/help/en/HTML/general.htm",
        data + "/help/zh/HTML/general.htm",
        "share/applications/com.olvis.baldo7.desktop",
        "share/mime/packages/baldo7.xml",
        "share/metainfo/com.olvis.baldo7.metainfo.xml",
        "share/icons/hicolor/scalable/apps/baldo7.svg",
        "share/icons/hicolor/scalable/mimetypes/application-x-baldo7-rdat.svg",
        "share/icons/hicolor/48x48/mimetypes/application-x-baldo7-rdat.png",
        "share/man/man1/baldo7.1.gz",
        "share/man/man1/baldo7ctl.1.gz",
        "share/man/man1/baldo7-sim.1.gz",
        "share/doc/baldo7/copyright",
        "share/doc/baldo7/changelog.gz",
        "lib/udev/rules.d/70-baldo7-cables.rules",
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/baldo7.png").arg(size);
    for (const QString& file : expected) {
        const QFileInfo info(inPrefix(file));
        EXPECT_TRUE(info.isFile() && info.size() > 0) << file.toStdString();
    }
    for (const char* program : {"bin/baldo7", "bin/baldo7ctl", "bin/baldo7-sim"})
        EXPECT_TRUE(QFileInfo(inPrefix(program)).isExecutable()) << program;
    // Nothing else in bin: no test programs, and the template only under share, so
    // that the programs below prove they find it there.
    QStringList bin =
        QDir(inPrefix("bin")).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    bin.sort();
    EXPECT_EQ(bin, QStringList({"baldo7", "baldo7-sim", "baldo7ctl"}));
}

TEST(InstalledPrograms, AnswerVersionAndHelpWithoutADisplay) {
    const struct {
        const char* program;
        const char* usage;
    } programs[] = {{"baldo7", "Usage: baldo7 "},
                    {"baldo7ctl", "Usage: baldo7ctl "},
                    {"baldo7-sim", "Usage: baldo7-sim "}};
    for (const auto& p : programs) {
        SCOPED_TRACE(p.program);
        const QString path = inPrefix(QStringLiteral("bin/") + QLatin1String(p.program));
        for (const char* flag : {"--version", "-v"}) {
            const RunResult v = run(path, {QLatin1String(flag)});
            EXPECT_EQ(v.exitCode, 0) << v.err.toStdString();
            EXPECT_EQ(v.out,
                      QLatin1String(p.program) + QStringLiteral(" " BALDO7_VERSION_TEXT "\n"));
        }
        const RunResult h = run(path, {"--help"});
        EXPECT_EQ(h.exitCode, 0) << h.err.toStdString();
        EXPECT_TRUE(h.out.startsWith(QLatin1String(p.usage))) << h.out.toStdString();
    }
    // A mistake is told on stderr, still without a window.
    const RunResult bad = run(inPrefix("bin/baldo7"), {"--bogus"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("--bogus")) << bad.err.toStdString();
}

TEST(InstalledPrograms, FindTheTemplateUnderShare) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString file = QDir(work.path()).filePath("radio.rdat");
    const RunResult made = run(inPrefix("bin/baldo7ctl"),
                               {"new", "-o", file, "--model", "UHF", "--band", "440-480MHz"});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const RunResult shown = run(inPrefix("bin/baldo7ctl"), {"show", file, "--json"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains("\"model\":\"UHF\"") && shown.out.contains("\"low\":440"))
        << shown.out.toStdString();

    // The window starts (it stops with exit code 2 when Init.dat is not found).
    const RunResult window = run(
        inPrefix("bin/baldo7"), {"--no-splash", "--exit-when-ready"},
        {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + QDir(work.path()).filePath("config")});
    EXPECT_EQ(window.exitCode, 0) << window.err.toStdString();
    EXPECT_EQ(window.out, "ready\n");
}

// A copy of the program with no template anywhere it looks: the reason on stderr,
// exit status 2, and with --exit-when-ready no dialog waiting for a click.
TEST(InstalledPrograms, AMissingTemplateIsToldOnStderrAndEndsTheRun) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString program = QDir(work.path()).filePath("bin/baldo7");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(program).path()));
    ASSERT_TRUE(QFile::copy(inPrefix("bin/baldo7"), program));
    for (const QStringList& args :
         {QStringList{"--no-splash", "--exit-when-ready"}, QStringList{"--exit-when-ready"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const RunResult r = run(program, args,
                                {"QT_QPA_PLATFORM=offscreen",
                                 "XDG_CONFIG_HOME=" + QDir(work.path()).filePath("config")});
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("baldo7: ") && r.err.contains("Init.dat"))
            << r.err.toStdString();
        EXPECT_FALSE(r.out.contains("ready"));
    }
}

// Qt reads the installed shared-mime-info package (XDG_DATA_DIRS is the prefix's
// share folder).
TEST(DesktopIntegration, DataFilesAreRecognisedByNameAndByHeader) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    auto write = [&](const QString& name, const QByteArray& bytes) {
        const QString path = QDir(work.path()).filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return path;
    };
    const QByteArray header("BALDO-7 Ver1.0.2");
    const QByteArray body(1041, '\xff');
    const struct {
        QString name;
        QByteArray bytes;
        bool ours;
    } cases[] = {
        {"radio.rdat", header + body, true},
        {"copy of radio.bin", header + body, true},  // renamed: the header still tells
        {"radio", header + body, true},
        {"notes.txt", QByteArray("BALDO-7 Ver1.0.1") + body, false},
        {"other.bin", QByteArray(1057, '\0'), false},
    };
    QMimeDatabase db;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString type = db.mimeTypeForFile(write(c.name, c.bytes)).name();
        EXPECT_EQ(type == "application/x-baldo7-rdat", c.ours) << type.toStdString();
    }
    EXPECT_EQ(db.mimeTypeForFile("unsaved.rdat", QMimeDatabase::MatchExtension).name(),
              "application/x-baldo7-rdat");
}

TEST(DesktopIntegration, DesktopEntryAndMetainfoPassTheirValidators) {
    const QString desktop = inPrefix("share/applications/com.olvis.baldo7.desktop");
    const RunResult d = run(QStringLiteral(DESKTOP_FILE_VALIDATE), {desktop});
    EXPECT_EQ(d.exitCode, 0) << (d.out + d.err).toStdString();
    // Hints (such as other categories HamRadio could go with) are advice, not faults.
    for (const QString& line : (d.out + d.err).split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(line.contains(QLatin1String(": hint: "))) << line.toStdString();

    const RunResult a = run(QStringLiteral(APPSTREAMCLI),
                            {"validate", "--no-net", "--pedantic",
                             inPrefix("share/metainfo/com.olvis.baldo7.metainfo.xml")});
    EXPECT_EQ(a.exitCode, 0) << (a.out + a.err).toStdString();

    // The metainfo shows the README's screenshots, which exist in both languages.
    QFile meta(inPrefix("share/metainfo/com.olvis.baldo7.metainfo.xml"));
    ASSERT_TRUE(meta.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(meta.readAll());
    for (const char* shot : {"docs/screenshot-en.png", "docs/screenshot-zh.png"}) {
        EXPECT_TRUE(text.contains(QLatin1String(shot))) << shot;
        EXPECT_TRUE(QFileInfo::exists(QDir(BALDO7_SOURCE).filePath(QLatin1String(shot)))) << shot;
    }
    EXPECT_TRUE(text.contains("<release version=\"" BALDO7_VERSION "\""));
}

// ---- manual pages against --help ------------------------------------------------

// Options a --help text defines: the lines that start with an option, up to the
// description.
QSet<QString> helpOptions(const QString& help) {
    static const QRegularExpression token(QStringLiteral("(?<![\\w-])(--?[A-Za-z][\\w-]*)"));
    QSet<QString> options;
    for (const QString& line : help.split('\n')) {
        const QString trimmed = line.trimmed();
        if (!line.startsWith(' ') || !trimmed.startsWith('-')) continue;
        const QString names = trimmed.section(QStringLiteral("  "), 0, 0);
        for (const auto& m : token.globalMatch(names)) options << m.captured(1);
    }
    return options;
}

// The man page as groups of its .TP tags: "" for the page's own options (the
// OPTIONS section and its subsections), and one group per subsection of COMMANDS.
QMap<QString, QSet<QString>> manOptions(const QString& page) {
    static const QRegularExpression token(QStringLiteral("(?<![\\w-])(--?[A-Za-z][\\w-]*)"));
    QMap<QString, QSet<QString>> groups;
    QString section, group;
    bool tagNext = false;
    for (QString line : page.split('\n')) {
        line.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        line.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")));
        if (line.startsWith(".SH ")) {
            section = line.mid(4).trimmed();
            group.clear();
        } else if (line.startsWith(".SS ") && section == "COMMANDS") {
            group = line.mid(4).trimmed();
            groups[group];
        } else if (line.startsWith(".TP")) {
            tagNext = section == "OPTIONS" || section == "COMMANDS";
        } else if (tagNext) {
            tagNext = false;
            for (const auto& m : token.globalMatch(line)) groups[group] << m.captured(1);
        }
    }
    return groups;
}

QString readManPage(const char* name) {
    QFile f(QDir(BALDO7_SOURCE).filePath(QStringLiteral("packaging/man/%1.1").arg(name)));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString helpOf(const QString& program, const QStringList& args) {
    return run(QDir(qEnvironmentVariable("BALDO7_BIN")).filePath(program), args).out;
}

// Sorted and joined, so that a difference reads plainly in the failure.
std::string sorted(const QSet<QString>& set) {
    QStringList list(set.begin(), set.end());
    list.sort();
    return list.join(' ').toStdString();
}

TEST(ManualPages, DocumentExactlyTheOptionsOfHelp) {
    for (const char* program : {"baldo7", "baldo7-sim"}) {
        SCOPED_TRACE(program);
        const auto man = manOptions(readManPage(program));
        ASSERT_EQ(man.keys(), QStringList({""}));
        const QSet<QString> help = helpOptions(helpOf(program, {"--help"}));
        EXPECT_GT(help.size(), 3);
        EXPECT_EQ(sorted(man.value("")), sorted(help));
    }
}

TEST(ManualPages, DocumentEveryCommandOfBaldo7ctlWithItsOptions) {
    const QString usage = helpOf("baldo7ctl", {"--help"});
    QStringList verbs;
    static const QRegularExpression verbLine(QStringLiteral("^  ([a-z]+) "),
                                             QRegularExpression::MultilineOption);
    const QString commands = usage.section(QStringLiteral("Commands:\n"), 1).section("\n\n", 0, 0);
    for (const auto& m : verbLine.globalMatch(commands)) verbs << m.captured(1);
    ASSERT_GE(verbs.size(), 4) << usage.toStdString();

    const auto man = manOptions(readManPage("baldo7ctl"));
    QStringList documented = man.keys();
    documented.removeAll(QString());
    QStringList expectedVerbs = verbs;
    expectedVerbs.sort();
    EXPECT_EQ(documented.join(' ').toStdString(), expectedVerbs.join(' ').toStdString());
    EXPECT_EQ(sorted(man.value("")), sorted(helpOptions(usage)));
    // Every command has -h/--help, told once for all.
    for (const QString& verb : verbs) {
        SCOPED_TRACE(verb.toStdString());
        QSet<QString> options = helpOptions(helpOf("baldo7ctl", {verb, "--help"}));
        EXPECT_TRUE(options.remove("--help"));
        options.remove("-h");
        EXPECT_EQ(sorted(man.value(verb)), sorted(options));
    }
}

}  // namespace
