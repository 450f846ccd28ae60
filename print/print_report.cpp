#include "print/print_report.h"

#include "channels/channel_record.h"
#include "channels/channel_texts.h"
#include "core/model_band.h"
#include "core/pick_lists.h"
#include "functions/embedded_message.h"
#include "functions/function_setup.h"
#include "functions/key_setting.h"

namespace baldo7 {

namespace {

namespace pt = print_texts;

const struct {
    const char* name;
    ReportSection section;
} kSectionNames[] = {{"options", kSectionOptions},
                     {"keys", kSectionKeys},
                     {"message", kSectionMessage},
                     {"channels", kSectionChannels}};

std::string pick(const PickList& list, int index) {
    return index >= 0 && index < static_cast<int>(list.size())
               ? list[static_cast<std::size_t>(index)]
               : std::string();
}

std::string onOff(bool on, bool en) {
    return (on ? pt::kOn : texts::kOff).pick(en);
}

std::string bandText(const Document& doc) {
    if (!BandOfImage(doc.radioImage)) return pt::kBandUnknown.pick(doc.IsEnglish);
    std::string s = std::to_string(doc.BandLowMHz) + "-" + std::to_string(doc.BandHighMHz) + "MHz";
    if (doc.BandTxHighMHz != doc.BandHighMHz)
        s += std::string(" (") + pt::kTxUpTo.pick(doc.IsEnglish) + " " +
             std::to_string(doc.BandTxHighMHz) + "MHz)";
    return s;
}

ReportBlock optionsBlock(const Document& doc) {
    namespace ot = option_texts;
    const bool en = doc.IsEnglish;
    const OptionView v = DecodeOption(doc.radioImage);
    ReportBlock b{kSectionOptions, pt::kOptions.pick(en), {}};
    b.fields = {{ot::kTot.pick(en), pick(TotList(en), v.tot)},
                {ot::kTotWarning.pick(en), pick(TotWarningList(en), v.totWarning)},
                {ot::kSquelch.pick(en), pick(SquelchList(), v.squelch)},
                {ot::kVoice.pick(en), pick(VoiceList(en), v.voice)}};
    const std::uint8_t bits = doc.radioImage[addr::kOptionBits];
    for (OptionCheck check : kOptionChecks)
        b.fields.push_back(
            {OptionCheckCaption(check).pick(en), onOff(OptionChecked(bits, check), en)});
    return b;
}

ReportBlock keysBlock(const Document& doc) {
    const bool en = doc.IsEnglish;
    const std::uint8_t byte = doc.radioImage[addr::kKeySet];
    const PickList list = KeyFunctionList(en);
    ReportBlock b{kSectionKeys, pt::kKeys.pick(en), {}};
    for (int key : {kKeyPf1, kKeyPf2})
        b.fields.push_back({key_texts::kKeyLabels[key], pick(list, KeyFunctionIndex(byte, key))});
    return b;
}

// A message line is one byte per character, 20..126. Codes below the space would
// vanish on paper; they print as their control pictures (U+2414 for 20).
std::string printable(const std::string& line) {
    std::string out;
    for (unsigned char c : line) {
        if (c >= 0x20) {
            out += static_cast<char>(c);
        } else {
            const unsigned picture = 0x2400 + c;
            out += static_cast<char>(0xE0 | (picture >> 12));
            out += static_cast<char>(0x80 | ((picture >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (picture & 0x3F));
        }
    }
    return out;
}

ReportBlock messageBlock(const Document& doc) {
    const bool en = doc.IsEnglish;
    if (!HoldsEmbeddedMessage(doc.radioImage))
        return {kSectionMessage, pt::kMessage.pick(en), {{"", pt::kNoMessage.pick(en)}}};
    const MessageLines lines = EmbeddedMessageLines(doc.radioImage);
    return {
        kSectionMessage,
        pt::kMessage.pick(en),
        {{pt::kLine1.pick(en), printable(lines[0])}, {pt::kLine2.pick(en), printable(lines[1])}}};
}

ReportTable channelTable(const Document& doc) {
    namespace ct = channel_texts;
    namespace et = channel_texts::edit;
    const bool en = doc.IsEnglish;
    const char sep = doc.DecimalSeparator;
    ReportTable t;
    t.title = pt::kChannels.pick(en);
    // The grid's columns but its "More" button, then what the edit dialog adds.
    for (int i = 0; i < 8; ++i) t.headers.push_back(ct::kColumnHeaders[i].pick(en));
    for (const BiText* h :
         {&et::kBusyLock, &et::kScrambleType, &et::kScramble, &et::kCompand, &et::kCdcssMode})
        t.headers.push_back(h->pick(en));

    const PickList power = PowerList(en), scan = ScanList(en), spacing = SpacingList(en, sep),
                   busy = BusyLockList(en), scrambleType = ScrambleTypeList();
    const PickList cdcss = {et::kNormalCode.pick(en), et::kSpecialCode.pick(en)};
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        const ChannelView v = DecodeChannel(doc.radioImage, ch, en, sep);
        std::vector<std::string> row(t.headers.size());
        row[0] = std::to_string(ch);
        if (v.inUse) {
            row[1] = v.rxText;
            row[2] = v.txText;
            row[3] = v.rxToneText;
            row[4] = v.txToneText;
            row[5] = pick(power, v.powerIndex);
            row[6] = pick(scan, v.scanListIndex());
            row[7] = pick(spacing, v.spacingIndex);
            row[8] = pick(busy, v.busyLockIndex);
            row[9] = pick(scrambleType, v.scrambleTypeIndex);
            row[10] = onOff(v.scrambleOn, en);
            row[11] = onOff(v.compand, en);
            row[12] = pick(cdcss, v.cdcssModeIndex);
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

}  // namespace

std::optional<unsigned> ParseReportSections(const std::string& list, std::string* unknown) {
    unsigned sections = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::string name = list.substr(start, comma - start);
        unsigned found = 0;
        for (const auto& s : kSectionNames)
            if (name == s.name) found = s.section;
        if (!found) {
            if (unknown) *unknown = name;
            return std::nullopt;
        }
        sections |= found;
        if (comma == std::string::npos) return sections;
        start = comma + 1;
    }
}

Report BuildReport(const Document& doc, unsigned sections, const std::string& date) {
    const bool en = doc.IsEnglish;
    Report r;
    r.isEnglish = en;
    r.title = texts::kAppTitle.pick(en);
    r.heading = {{pt::kModel.pick(en), doc.ModelType},
                 {pt::kBand.pick(en), bandText(doc)},
                 {pt::kFile.pick(en), doc.CurrentFileName},
                 {pt::kDate.pick(en), date}};
    if (sections & kSectionOptions) r.blocks.push_back(optionsBlock(doc));
    if (sections & kSectionKeys) r.blocks.push_back(keysBlock(doc));
    if (sections & kSectionMessage) r.blocks.push_back(messageBlock(doc));
    if (sections & kSectionChannels) r.channels = channelTable(doc);
    return r;
}

}  // namespace baldo7
