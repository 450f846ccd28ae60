// baldo7ctl new: a data file from the template, optionally for another model and band.
#include <QFileInfo>
#include <QTextStream>

#include "cli/commands.h"
#include "cli/verb_parser.h"
#include "core/model_band.h"
#include "storage/data_store.h"

namespace baldo7::cli {

namespace {

// A band as the list writes it, in any letter case, with or without the unit and
// spaces: "440-480MHz", "440-480mhz", "440-480", "440 - 480 MHz".
std::optional<BandRow> findBand(QString text) {
    text.remove(' ');
    if (text.endsWith("mhz", Qt::CaseInsensitive)) text.chop(3);
    for (Model m : {Model::VHF, Model::UHF})
        for (const BandRow& row : BandRows(m))
            if (text.compare(QLatin1String(row.text).chopped(3), Qt::CaseInsensitive) == 0)
                return row;
    return std::nullopt;
}

}  // namespace

int runNew(const QStringList& args) {
    VerbParser verb("new", "Writes a new data file from the program's template (Init.dat).");
    QCommandLineParser& p = verb.parser();
    p.addPositionalArgument("file", "The data file to write (or give it with -o).", "[FILE.rdat]");
    p.addOption({{"o", "output"}, "The data file to write.", "FILE.rdat"});
    p.addOption({"model", "Model type: VHF or UHF.", "VHF|UHF"});
    p.addOption(
        {"band", "Frequency band as in the band list, e.g. 440-480MHz or 440-480.", "TEXT"});
    p.addOption({"force", "Replace FILE.rdat if it exists."});
    if (auto stop = verb.parse(args)) return *stop;
    const QStringList files = p.positionalArguments();
    if (p.isSet("output") + files.size() != 1) {
        printError("new: give one output file, FILE.rdat or -o FILE.rdat");
        return kExitUsage;
    }
    const QString output = p.isSet("output") ? p.value("output") : files.first();
    if (const QFileInfo info(output); (info.exists() || info.isSymLink()) && !p.isSet("force")) {
        printError("new: " + output + " exists; give --force to replace it");
        return kExitUsage;
    }

    std::optional<Model> model;
    if (p.isSet("model")) {
        model = ModelFromText(p.value("model").trimmed().toUpper().toStdString());
        if (!model) {
            printError("new: --model must be VHF or UHF");
            return kExitUsage;
        }
    }
    std::optional<BandRow> band;
    if (p.isSet("band")) {
        band = findBand(p.value("band").trimmed());
        if (!band || (model && band->model != *model)) {
            QStringList names;
            for (Model m : {Model::VHF, Model::UHF}) {
                if (model && m != *model) continue;
                for (const BandRow& row : BandRows(m)) names << row.text;
            }
            const QString what =
                band ? QString("%1 is a %2 band").arg(p.value("band"), ModelText(band->model))
                     : QString("unknown band '%1'").arg(p.value("band"));
            printError("new: " + what + "; " + (model ? ModelText(*model) : "the") + " bands are " +
                       names.join(", "));
            return kExitUsage;
        }
        model = band->model;
    } else if (model) {
        band = BandRows(*model).front();  // a model alone takes its first band, as the dialog does
    }

    Document doc;
    if (!loadTemplateInto(doc, "new")) return kExitFile;
    if (band) {
        const auto limits = ParseBandText(band->text);
        WriteModelBytes(doc.radioImage, RebuildModelBytes(limits->highMHz, limits->lowMHz));
        AnalyseModel(doc);
    }
    QString error;
    if (!SaveDataFile(doc, output, &error)) {
        printError("new: cannot write " + output + ": " + error);
        return kExitFile;
    }
    QTextStream(stdout) << QFileInfo(output).fileName() << ": "
                        << QString::fromStdString(ModelBandText(doc, true)) << "\n";
    return kExitOk;
}

}  // namespace baldo7::cli
