// bench_csv_import: `baldo7ctl import` of a 16-row CSV next to `baldo7ctl show` of the
// same document, each a fresh process as a user runs it. Both load a data file and
// start the same program, so the ratio shows what reading the rows and writing the
// output add. Runs alternate; medians are compared. Target: at most 2.
// Exit status 1 when the ratio is over it, 2 when a command fails.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "channels/channel_csv.h"
#include "channels/channel_record.h"
#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"
#include "shell/data_store.h"

using namespace baldo7;

namespace {

constexpr double kTarget = 2.0;

// Seconds for one run, or a negative value when it failed.
double timeRun(const QString& program, const QStringList& args) {
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "bench_csv_import: %s %s failed: %s\n", qPrintable(program),
                     qPrintable(args.join(' ')), p.readAllStandardError().constData());
        return -1;
    }
    return double(t.nsecsElapsed()) * 1e-9;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Sixteen channels in use, with tones of every kind and split transmit sides.
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
    return SaveDataFile(doc, path);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const QString ctl = QCoreApplication::applicationDirPath() + "/baldo7ctl";
    QTemporaryDir dir;
    const QString data = dir.filePath("plan.rdat");
    const QString csv = dir.filePath("plan.csv");
    const QString out = dir.filePath("out.rdat");
    if (!makeDocument(ctl, data) || timeRun(ctl, {"export", data, "-o", csv}) < 0) return 2;

    const QStringList show{"show", data};
    const QStringList import{"import", csv, "-o", out, "--base", data, "--force"};
    std::vector<double> showS, importS;
    for (int i = 0; i < runs + 1; ++i) {
        const double s = timeRun(ctl, show), m = timeRun(ctl, import);
        if (s < 0 || m < 0) return 2;
        if (i == 0) continue;  // warms the caches
        showS.push_back(s);
        importS.push_back(m);
    }
    const double s = median(showS), m = median(importS), ratio = m / s;
    std::printf("bench_csv_import: baldo7ctl, 16 channels, %d runs each (medians)\n", runs);
    std::printf("  show   %.4f s\n", s);
    std::printf("  import %.4f s  ratio %.2f  %s\n", m, ratio,
                ratio <= kTarget ? "within 2" : "OVER 2");
    return ratio <= kTarget ? 0 : 1;
}
