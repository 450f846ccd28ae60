// baldo7ctl new: a data file from the template, optionally for another model and band.
#include <QFileInfo>
#include <QTextStream>

#include "cli/commands.h"
#include "cli/verb_parser.h"
#include "core/model_band.h"
#include "shell/data_store.h"

namespace baldo7::cli {

int runNew(const QStringList& args) {
    VerbParser verb("new", "Writes a new data file from the program's template (Init.dat).");
    QCommandLineParser& p = verb.parser();
    p.addOption({{"o", "output"}, "The data file to write.", "FILE.rdat"});
    p.addOption({"model", "Model type: VHF or UHF.", "VHF|UHF"});
    p.addOption({"band", "Frequency band as in the band list, e.g. 440-480MHz.", "TEXT"});
    if (auto stop = verb.parse(args)) return *stop;
    if (!p.isSet("output") || !p.positionalArguments().isEmpty()) {
        printError("new: give the output file with -o FILE.rdat and nothing else");
        return kExitUsage;
    }

    std::optional<Model> model;
    if (p.isSet("model")) {
        model = ModelFromText(p.value("model").toUpper().toStdString());
        if (!model) {
            printError("new: --model must be VHF or UHF");
            return kExitUsage;
        }
    }
    std::optional<BandRow> band;
    if (p.isSet("band")) {
        band = FindBandByText(p.value("band").toStdString());
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
    if (!SaveDataFile(doc, p.value("output"), &error)) {
        printError("new: cannot write " + p.value("output") + ": " + error);
        return kExitFile;
    }
    QTextStream(stdout) << QFileInfo(p.value("output")).fileName() << ": "
                        << QString::fromStdString(doc.ModelType) << " " << doc.BandLowMHz << "-"
                        << doc.BandHighMHz << "MHz\n";
    return kExitOk;
}

}  // namespace baldo7::cli
