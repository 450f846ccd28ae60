// What the baldo7ctl benchmarks share: timing one run of the program as a user runs
// it, the median, and a data file with sixteen channels in use.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "channels/channel_record.h"
#include "channels/frequency_entry.h"
#include "channels/tone_entry.h"
#include "storage/data_store.h"

namespace baldo7::bench {

// Seconds for one run, or a negative value when it failed (said on stderr).
inline double timeRun(const char* bench, const QString& program, const QStringList& args) {
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s: %s %s failed: %s\n", bench, qPrintable(program),
                     qPrintable(args.join(' ')), p.readAllStandardError().constData());
        return -1;
    }
    return double(t.nsecsElapsed()) * 1e-9;
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A new data file from the template with sixteen channels in use, tones of every
// kind and split transmit sides; `more` may change the document before it is saved.
template <typename More>
bool makeDocument(const QString& ctl, const QString& path, More more) {
    QProcess p;
    p.start(ctl, {"new", "-o", path, "--force"});
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
    more(doc);
    return SaveDataFile(doc, path);
}

inline bool makeDocument(const QString& ctl, const QString& path) {
    return makeDocument(ctl, path, [](Document&) {});
}

}  // namespace baldo7::bench
