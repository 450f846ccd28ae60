// bench_print: `baldo7ctl print` of a full report to PDF next to `baldo7ctl show` of
// the same file, each a fresh process as a user runs it. Show loads the file and
// writes text; print also starts a windowless GUI, lays the report out with fonts
// and writes the PDF. Runs alternate; medians are compared. Target: at most 5.
// Exit status 1 when the ratio is over it, 2 when a command fails.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "channels/channel_record.h"
#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"
#include "functions/embedded_message.h"
#include "shell/data_store.h"

using namespace baldo7;

namespace {

constexpr double kTarget = 5.0;

// Seconds for one run, or a negative value when it failed.
double timeRun(const QString& program, const QStringList& args) {
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "bench_print: %s %s failed: %s\n", qPrintable(program),
                     qPrintable(args.join(' ')), p.readAllStandardError().constData());
        return -1;
    }
    return double(t.nsecsElapsed()) * 1e-9;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Sixteen channels in use and a message: every row and section has text to draw.
bool makeDocument(const QString& ctl, const QString& path) {
    QProcess p;
    p.start(ctl, {"new", "-o", path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return false;
    Document doc;
    if (!LoadDataFile(doc, path).ok()) return false;
    const char* tones[] = {"None", "88.5", "D023N", "D754I", "100.0", "254.1", "67.0", "D411N"};
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        CommitRxFrequency(doc, ch, "14" + std::to_string(ch % 10) + ".125");
        CommitTxFrequency(doc, ch, "14" + std::to_string((ch + 3) % 10) + ".525");
        SetRxTone(doc.radioImage, ch, ToneFromText(tones[ch % 8], '.').code);
        SetTxTone(doc.radioImage, ch, ToneFromText(tones[(ch + 3) % 8], '.').code);
    }
    SetEmbeddedMessage(doc.radioImage, {"BALDO-7 BENCH", "SIXTEEN CHANNELS"});
    return SaveDataFile(doc, path);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const QString ctl = QCoreApplication::applicationDirPath() + "/baldo7ctl";
    QTemporaryDir dir;
    const QString data = dir.filePath("plan.rdat");
    if (!makeDocument(ctl, data)) return 2;

    const QStringList show{"show", data};
    const QStringList en{"print", data, "-o", dir.filePath("en.pdf")};
    const QStringList zh{"print", data, "-o", dir.filePath("zh.pdf"), "--lang", "zh"};
    std::vector<double> showS, enS, zhS;
    for (int i = 0; i < runs + 1; ++i) {
        const double s = timeRun(ctl, show), e = timeRun(ctl, en), z = timeRun(ctl, zh);
        if (s < 0 || e < 0 || z < 0) return 2;
        if (i == 0) continue;  // warms the caches
        showS.push_back(s);
        enS.push_back(e);
        zhS.push_back(z);
    }
    const double s = median(showS), e = median(enS), z = median(zhS);
    const double ratio = std::max(e, z) / s;
    std::printf("bench_print: baldo7ctl, 16 channels, all sections, %d runs each (medians)\n",
                runs);
    std::printf("  show            %.4f s\n", s);
    std::printf("  print PDF (en)  %.4f s  ratio %.2f\n", e, e / s);
    std::printf("  print PDF (zh)  %.4f s  ratio %.2f\n", z, z / s);
    std::printf("  worst ratio %.2f  %s\n", ratio, ratio <= kTarget ? "within 5" : "OVER 5");
    return ratio <= kTarget ? 0 : 1;
}
