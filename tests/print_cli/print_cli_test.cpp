// baldo7ctl print, run as a user runs it; the PDF read back with pdftotext.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "storage/data_store.h"
#include "tests/print/hand_made_document.h"
#include "tests/support/ctl_run.h"
#include "tests/support/pdf_text.h"

using namespace baldo7;

namespace {

QString pdfText(const QString& pdf) {
    QString error;
    const QString text = pdfToText(pdf, {"-layout", "-enc", "UTF-8"}, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return text;
}

// The line of the channel table that starts with the channel number.
QString channelLine(const QString& text, int channel) {
    const QRegularExpression re(QString("^ *%1( .*)?$").arg(channel),
                                QRegularExpression::MultilineOption);
    return re.match(text.mid(text.indexOf("Channel Information"))).captured(0);
}

class PrintCli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath("hand.rdat");
        ASSERT_EQ(ctl({"new", "-o", file}).exitCode, 0);
        Document doc;
        ASSERT_TRUE(LoadDataFile(doc, file).ok());
        MakeHandMade(doc);
        ASSERT_TRUE(SaveDataFile(doc, file));
    }

    QString print(const QStringList& options, int expectedExit = 0) {
        const QString out = dir.filePath("report.pdf");
        QFile::remove(out);
        const CtlRun r = ctl(QStringList{"print", file, "-o", out} + options);
        EXPECT_EQ(r.exitCode, expectedExit) << r.err.toStdString();
        return r.exitCode == 0 ? pdfText(out) : QString();
    }

    QTemporaryDir dir;
    QString file;
};

}  // namespace

TEST_F(PrintCli, WholeReportCarriesEveryChannelFunctionKeyAndTheMessage) {
    if (const QString why = whyPdfTextUnreadable(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const QByteArray before = [&] {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const QString text = print({});
    for (const auto& row : HandMadeChannelRows()) {
        const int ch = std::stoi(row[0]);
        const QString line = channelLine(text, ch);
        ASSERT_FALSE(line.isEmpty()) << "channel " << ch << "\n" << text.toStdString();
        // Receive, transmit and both tones in this order on the channel's own line.
        qsizetype at = 0;
        for (int col = 1; col <= 4; ++col) {
            if (row[col].empty()) continue;
            at = line.indexOf(QString::fromStdString(row[col]), at);
            EXPECT_GE(at, 0) << "channel " << ch << " column " << col << ": " << line.toStdString();
        }
        if (row[1].empty()) {
            EXPECT_EQ(line.trimmed(), QString::number(ch)) << "empty channel";
        }
    }
    for (const char* s :
         {"Optional Features", "Key Assignment", "Embedded Message", "Channel Information",
          "Time Out Timer(TOT)[s]", "Voice Prompt", "English", "Monitor", "Talk Around",
          "HELLO WORLD", "<&> 123", "hand.rdat", "136-174MHz", "Lock-out", "Special Code"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
    EXPECT_TRUE(text.contains(QRegularExpression("Time Out Timer\\(TOT\\)\\[s\\] +180")));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before) << "printing must not write the data file";
}

TEST_F(PrintCli, OnlyTheNamedSectionsAndTheChosenLanguage) {
    if (const QString why = whyPdfTextUnreadable(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const struct {
        QStringList options;
        std::vector<const char*> present, absent;
    } cases[] = {
        {{"--sections", "keys,channels"},
         {"Key Assignment", "Monitor", "Channel Information", "145.12500"},
         {"Optional Features", "Embedded Message", "HELLO WORLD", "Squelch Level"}},
        {{"--sections", "message"},
         {"Embedded Message", "HELLO WORLD"},
         {"Key Assignment", "Channel Information", "145.12500", "Optional Features"}},
        {{"--lang", "zh"},
         {"可选功能", "键设定", "嵌入信息", "信道信息", "监听", "脱网", "接收频率", "特殊亚音",
          "145.12500"},
         {"Optional Features", "Channel Information", "Monitor"}},
        {{"--lang", "zh", "--sections", "options"},
         {"可选功能", "超时定时器(TOT)[秒]", "英文"},
         {"信道信息", "键设定"}},
    };
    for (const auto& c : cases) {
        const QString text = print(c.options);
        for (const char* s : c.present)
            EXPECT_TRUE(text.contains(QString::fromUtf8(s)))
                << c.options.join(' ').toStdString() << ": " << s;
        for (const char* s : c.absent)
            EXPECT_FALSE(text.contains(QString::fromUtf8(s)))
                << c.options.join(' ').toStdString() << ": " << s;
    }
}

TEST_F(PrintCli, HtmlIsOneSelfContainedPage) {
    const QString out = dir.filePath("report.html");
    const CtlRun r = ctl({"print", file, "-o", out, "--lang", "zh"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(html.startsWith("<!DOCTYPE html>"));
    EXPECT_TRUE(html.contains("charset=\"utf-8\""));
    EXPECT_TRUE(html.contains("信道信息"));
    EXPECT_TRUE(html.contains("&lt;&amp;&gt; 123"));
    EXPECT_FALSE(html.contains("<&>"));
    EXPECT_FALSE(html.contains(QRegularExpression("src=|href=|url\\(")));
}

TEST_F(PrintCli, RefusalsAndTheirExitCodes) {
    const QString junk = dir.filePath("junk.rdat");
    writeBytes(junk, Bytes(1057, 0x41));
    const QString out = dir.filePath("r.pdf");
    const struct {
        QStringList args;
        int exit;
        const char* says;
    } cases[] = {
        {{"print", junk, "-o", out}, 2, "Error file"},
        {{"print", dir.filePath("missing.rdat"), "-o", out}, 2, "missing.rdat"},
        {{"print", file, "-o", out, "--sections", "keys,frequencies"}, 1, "frequencies"},
        {{"print", file, "-o", dir.filePath("r.txt")}, 1, ".pdf or .html"},
        {{"print", file, "-o", out, "--lang", "fr"}, 1, "--lang"},
        {{"print", file}, 1, "-o"},
        {{"print", file, "-o", dir.filePath("no/such/folder/r.pdf")}, 2, "cannot write"},
    };
    for (const auto& c : cases) {
        const CtlRun r = ctl(c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << c.args.join(' ').toStdString();
    }
}
