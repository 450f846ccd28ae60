// The printed report of a document: which sections, and the texts each shows, taken
// from the same decoders and pick lists the editors use. No Qt: the renderers lay the
// texts out, this unit decides what they say.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/document.h"
#include "core/texts.h"

namespace baldo7 {

// The sections in report order; a selection is a set of these bits.
enum ReportSection : unsigned {
    kSectionOptions = 1,
    kSectionKeys = 2,
    kSectionMessage = 4,
    kSectionChannels = 8,
};
constexpr unsigned kAllSections =
    kSectionOptions | kSectionKeys | kSectionMessage | kSectionChannels;

namespace print_texts {
constexpr BiText kOptions{"Optional Features", "可选功能"};
constexpr BiText kKeys{"Key Assignment", "键设定"};
constexpr BiText kMessage{"Embedded Message", "嵌入信息"};
constexpr BiText kChannels{"Channel Information", "信道信息"};
constexpr BiText kModel{"Model", "机型"};
constexpr BiText kBand{"Frequency Band", "频段"};
constexpr BiText kTxUpTo{"transmit up to", "发射至"};
constexpr BiText kBandUnknown{"unknown", "未知"};
constexpr BiText kFile{"File", "文件"};
constexpr BiText kDate{"Date", "日期"};
constexpr BiText kLine1{"Line 1", "第一行"};
constexpr BiText kLine2{"Line 2", "第二行"};
constexpr BiText kNoMessage{"(none)", "（无）"};
constexpr BiText kOn{"On", "开"};
}  // namespace print_texts

// The command line's names of the sections: "options", "keys", "message", "channels".
// A comma-separated list of them gives its selection; an unknown or empty name gives
// nothing and names it in `unknown`.
std::optional<unsigned> ParseReportSections(const std::string& list,
                                            std::string* unknown = nullptr);

struct ReportField {
    std::string label;
    std::string value;
};

struct ReportBlock {
    ReportSection section;
    std::string title;
    std::vector<ReportField> fields;
};

// Channel rows hold one text per header; an empty channel has its number only.
struct ReportTable {
    std::string title;
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    // Columns whose cells wrap onto more lines and share the width the others leave;
    // the other columns are as wide as their widest cell and never wrapped.
    std::vector<std::size_t> wrapping;
};

struct Report {
    bool isEnglish = true;
    std::string title;                 // the product name
    std::vector<ReportField> heading;  // model, band, file, date
    std::vector<ReportBlock> blocks;   // options, keys, message: those selected
    std::optional<ReportTable> channels;
};

// The report of `sections` in the document's language and decimal separator. Reading
// only: values that an editor would repair on opening are shown repaired but the
// document is not changed. `date` is printed as given.
Report BuildReport(const Document& doc, unsigned sections, const std::string& date);

}  // namespace baldo7
