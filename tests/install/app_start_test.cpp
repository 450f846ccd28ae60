// What baldo7 does with its command line, and where it finds Init.dat.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/app_arguments.h"
#include "storage/data_store.h"

namespace {

using baldo7::AppAction;
using baldo7::parseAppArguments;

TEST(AppArguments, ActionsOptionsAndFile) {
    struct Case {
        QStringList args;
        bool skipQt;
        AppAction action;
        bool splash;
        bool exitWhenReady;
        QString file;
    };
    const Case cases[] = {
        {{}, false, AppAction::Run, true, false, ""},
        {{"--no-splash", "--exit-when-ready"}, false, AppAction::Run, false, true, ""},
        {{"radio.rdat"}, false, AppAction::Run, true, false, "radio.rdat"},
        {{"--no-splash", "my radio.rdat"}, false, AppAction::Run, false, false, "my radio.rdat"},
        {{"--", "-odd.rdat"}, false, AppAction::Run, true, false, "-odd.rdat"},
        {{"-"}, false, AppAction::Run, true, false, "-"},
        {{"-h"}, false, AppAction::Help, true, false, ""},
        {{"x.rdat", "--version"}, false, AppAction::Version, true, false, "x.rdat"},
        // The first of the two wins.
        {{"--version", "--help"}, false, AppAction::Version, true, false, ""},
        {{"-v", "-h"}, false, AppAction::Version, true, false, ""},
        // After "--" nothing is an option.
        {{"--", "--help"}, false, AppAction::Run, true, false, "--help"},
        {{"--bogus"}, false, AppAction::Error, true, false, ""},
        {{"--no-splash=1"}, false, AppAction::Error, false, false, ""},
        {{"a.rdat", "b.rdat"}, false, AppAction::Error, true, false, "a.rdat"},
        // Qt's own options are left to QApplication on the raw command line...
        {{"-platform", "offscreen", "x.rdat"}, true, AppAction::Run, true, false, "x.rdat"},
        {{"--style=fusion", "-reverse", "--version"}, true, AppAction::Version, true, false, ""},
        // ...which takes them away before the second reading; one that is left over
        // is a mistake.
        {{"-platform", "offscreen"}, false, AppAction::Error, true, false, ""},
        {{"--", "-reverse"}, true, AppAction::Run, true, false, "-reverse"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const auto parsed = parseAppArguments(c.args, c.skipQt);
        EXPECT_EQ(parsed.action, c.action);
        EXPECT_EQ(parsed.error.isEmpty(), c.action != AppAction::Error);
        if (c.action == AppAction::Error) continue;
        EXPECT_EQ(parsed.args.splash, c.splash);
        EXPECT_EQ(parsed.args.exitWhenReady, c.exitWhenReady);
        EXPECT_EQ(parsed.args.file, c.file);
    }
}

TEST(AppArguments, ErrorNamesTheArgumentAndHelpListsEveryOption) {
    EXPECT_TRUE(parseAppArguments({"--bogus"}).error.contains("'--bogus'"));
    const QString help = baldo7::appHelpText();
    for (const char* option : {"--help", "--version", "--no-splash", "--exit-when-ready"}) {
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
        EXPECT_NE(parseAppArguments({QLatin1String(option)}).action, AppAction::Error) << option;
    }
}

// The build tree and a copied folder keep Init.dat beside the program; an install
// keeps it in share/baldo7.
TEST(DataFolder, BesideTheProgramThenTheInstalledFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir dir(root.path());
    const QString bin = dir.filePath("bin");
    const QString share = dir.filePath("share/baldo7");
    const struct {
        bool beside;
        bool installed;
        QString expected;
    } cases[] = {
        {false, false, bin},  // the message then names the first place looked at
        {false, true, share},
        {true, true, bin},
        {true, false, bin},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.beside << c.installed);
        ASSERT_TRUE(QDir(bin).removeRecursively() && QDir().mkpath(bin));
        ASSERT_TRUE(QDir(share).removeRecursively() && QDir().mkpath(share));
        for (const auto& [wanted, folder] : {std::pair{c.beside, bin}, {c.installed, share}}) {
            if (!wanted) continue;
            QFile f(QDir(folder).filePath("Init.dat"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(baldo7::FindDataFolder(bin, "../share/baldo7"), c.expected);
    }
}

}  // namespace
