// bench_csv_import: `baldo7ctl import` of a 16-row CSV next to `baldo7ctl show` of the
// same document, each a fresh process as a user runs it. Both load a data file and
// start the same program, so the ratio shows what reading the rows and writing the
// output add. Runs alternate; medians are compared. Target: at most 2.
// Exit status 1 when the ratio is over it, 2 when a command fails.
#include <QCoreApplication>
#include <QTemporaryDir>

#include "bench/ctl_bench.h"

using namespace baldo7;
using namespace baldo7::bench;

namespace {
constexpr double kTarget = 2.0;
constexpr char kName[] = "bench_csv_import";
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const QString ctl = QCoreApplication::applicationDirPath() + "/baldo7ctl";
    QTemporaryDir dir;
    const QString data = dir.filePath("plan.rdat");
    const QString csv = dir.filePath("plan.csv");
    const QString out = dir.filePath("out.rdat");
    if (!makeDocument(ctl, data) || timeRun(kName, ctl, {"export", data, "-o", csv}) < 0) return 2;

    const QStringList show{"show", data};
    const QStringList import{"import", csv, "-o", out, "--base", data, "--force"};
    std::vector<double> showS, importS;
    for (int i = 0; i < runs + 1; ++i) {
        const double s = timeRun(kName, ctl, show), m = timeRun(kName, ctl, import);
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
