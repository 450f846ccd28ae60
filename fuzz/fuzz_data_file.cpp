// Any bytes as a data file and as a template, then everything `baldo7ctl show
// --json` reports for what the loader took. A refused file leaves the outputs as
// they were; a taken one decodes without a fault into a well-formed report.
#include <QJsonArray>
#include <QJsonDocument>

#include "compare/document_description.h"
#include "core/data_file.h"
#include "core/model_band.h"
#include "core/software_data.h"
#include "fuzz/fuzz_check.h"

using namespace baldo7;

namespace {

using Decoder = bool (*)(const Bytes&, RadioImage&, SoftwareData&);

void loadAndShow(const Bytes& file, Decoder decode, std::size_t fileSize, char separator) {
    RadioImage image;
    image.fill(0xA5);
    SoftwareData software;
    software.fill(0x5A);
    const RadioImage imageBefore = image;
    const SoftwareData softwareBefore = software;
    if (!decode(file, image, software)) {
        FUZZ_CHECK(image == imageBefore && software == softwareBefore);
        return;
    }
    FUZZ_CHECK(file.size() >= fileSize);
    // As the loader does once a file is taken.
    Document doc;
    doc.IsEnglish = true;
    doc.DecimalSeparator = separator;
    doc.radioImage = image;
    doc.softwareData = software;
    AnalyseModel(doc);
    AnalyseSoftwareData(doc);
    const QJsonObject report = DescribeDocument(doc);
    FUZZ_CHECK(report["channels"].toArray().size() == 16);
    const QByteArray json = QJsonDocument(report).toJson(QJsonDocument::Compact);
    FUZZ_CHECK(QJsonDocument::fromJson(json).object() == report);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, data + size);
    const char separator = size > 0 && (data[size - 1] & 1) ? ',' : '.';
    loadAndShow(file, DecodeDataFile, kDataFileSize, separator);
    loadAndShow(file, DecodeTemplate, kTemplateFileSize, separator);
    return 0;
}
