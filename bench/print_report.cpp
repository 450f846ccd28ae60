// bench_print: `baldo7ctl print` of a full report to PDF next to `baldo7ctl show` of
// the same file, each a fresh process as a user runs it. Show loads the file and
// writes text; print also starts a windowless GUI, lays the report out with fonts
// and writes the PDF. Runs alternate; medians are compared. Target: at most 5.
// Exit status 1 when the ratio is over it, 2 when a command fails.
#include <QCoreApplication>
#include <QTemporaryDir>

#include "bench/ctl_bench.h"
#include "functions/embedded_message.h"

using namespace baldo7;
using namespace baldo7::bench;

namespace {
constexpr double kTarget = 5.0;
constexpr char kName[] = "bench_print";
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const QString ctl = QCoreApplication::applicationDirPath() + "/baldo7ctl";
    QTemporaryDir dir;
    const QString data = dir.filePath("plan.rdat");
    // A message too, so that every section has text to draw.
    const bool made = makeDocument(ctl, data, [](Document& doc) {
        SetEmbeddedMessage(doc.radioImage, {"BALDO-7 BENCH", "SIXTEEN CHANNELS"});
    });
    if (!made) return 2;

    const QStringList show{"show", data};
    const QStringList en{"print", data, "-o", dir.filePath("en.pdf")};
    const QStringList zh{"print", data, "-o", dir.filePath("zh.pdf"), "--lang", "zh"};
    std::vector<double> showS, enS, zhS;
    for (int i = 0; i < runs + 1; ++i) {
        const double s = timeRun(kName, ctl, show), e = timeRun(kName, ctl, en),
                     z = timeRun(kName, ctl, zh);
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
