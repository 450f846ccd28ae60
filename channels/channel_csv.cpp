#include "channels/channel_csv.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

#include "channels/channel_record.h"
#include "channels/channel_texts.h"
#include "core/pick_lists.h"
#include "core/texts.h"

namespace baldo7 {

namespace {

// Column positions in kCsvColumns.
enum Col {
    kLocation = 0,
    kFrequency = 2,
    kDuplex = 3,
    kOffset = 4,
    kTone = 5,
    kRToneFreq = 6,
    kCToneFreq = 7,
    kDtcsCode = 8,
    kDtcsPolarity = 9,
    kRxDtcsCode = 10,
    kCrossMode = 11,
    kMode = 12,
    kTStep = 13,
    kSkip = 14,
    kPower = 15,
    kBusyLock = 21,
    kScrambleType = 22,
    kScrambler = 23,
    kCompander = 24,
    kCdcssMode = 25,
    kRxToneCode = 26,
    kTxToneCode = 27,
    kColumnCount = 28
};

constexpr const char* kOn = "On";
constexpr const char* kOffText = "Off";
const PickList kCdcssModes = {"Normal Code", "Special Code"};

// What unused tone columns hold.
constexpr const char* kDefaultCtcss = "88.5";
constexpr const char* kDefaultDcs = "023";
constexpr const char* kDefaultPolarity = "NN";
constexpr const char* kDefaultCrossMode = "Tone->Tone";

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    const char* space = " \t\r\n";
    const auto first = s.find_first_not_of(space);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(space) - first + 1);
}

// ---- writing ---------------------------------------------------------------------

ToneCode toneOfText(const std::string& text);

std::string quoted(const std::string& field, char delimiter) {
    if (field.find_first_of(std::string("\"\r\n") + delimiter) == std::string::npos) return field;
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string joinRow(const std::vector<std::string>& fields, char delimiter) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) line += delimiter;
        line += quoted(fields[i], delimiter);
    }
    return line + "\n";
}

std::string headerLine(char delimiter) {
    return joinRow(std::vector<std::string>(kCsvColumns.begin(), kCsvColumns.end()), delimiter);
}

// 10 Hz units as MHz with six decimals: 14512500 -> "145.125000".
std::string unitsToMHz(std::int64_t units) {
    std::string fraction = std::to_string(units % kUnitsPerMHz);
    fraction.insert(0, std::size_t(kFrequencyDecimals) - fraction.size(), '0');
    return std::to_string(units / kUnitsPerMHz) + "." + fraction + "0";
}

// One side of a channel's tone pair, read off the tone text the editors show.
struct ToneSide {
    enum Kind { None, Ctcss, Dcs } kind = None;
    std::string value;  // "88.5" or "023"
    char polarity = 'N';
};

ToneSide toneSide(ToneCode code) {
    const std::string text = ToneToText(code, true, '.');
    if (text == texts::kNone.en) return {};
    if (text[0] == 'D') return {ToneSide::Dcs, text.substr(1, 3), text[4] == 'I' ? 'R' : 'N'};
    return {ToneSide::Ctcss, text, 'N'};
}

// "0x8885": high byte first, with a prefix no spreadsheet takes for a number.
std::string toneCodeText(ToneCode code) {
    static const char* hex = "0123456789ABCDEF";
    return {'0',
            'x',
            hex[code.high >> 4],
            hex[code.high & 0xF],
            hex[code.low >> 4],
            hex[code.low & 0xF]};
}

// Blank when the tone text alone reads back to the stored bytes.
std::string toneCodeField(ToneCode code) {
    return toneOfText(ToneToText(code, true, '.')) == code ? std::string() : toneCodeText(code);
}

void exportTones(std::vector<std::string>& f, ToneCode rxCode, ToneCode txCode) {
    f[kRxToneCode] = toneCodeField(rxCode);
    f[kTxToneCode] = toneCodeField(txCode);
    const ToneSide rx = toneSide(rxCode), tx = toneSide(txCode);
    f[kRToneFreq] = f[kCToneFreq] = kDefaultCtcss;
    f[kDtcsCode] = f[kRxDtcsCode] = kDefaultDcs;
    f[kDtcsPolarity] = kDefaultPolarity;
    f[kCrossMode] = kDefaultCrossMode;
    using K = ToneSide;
    if (rx.kind == K::None && tx.kind == K::None) {
        f[kTone] = "";
    } else if (tx.kind == K::Ctcss && rx.kind == K::None) {
        f[kTone] = "Tone";
        f[kRToneFreq] = tx.value;
    } else if (tx.kind == K::Ctcss && rx.kind == K::Ctcss && tx.value == rx.value) {
        f[kTone] = "TSQL";
        f[kRToneFreq] = f[kCToneFreq] = tx.value;
    } else if (tx.kind == K::Dcs && rx.kind == K::Dcs && tx.value == rx.value &&
               tx.polarity == rx.polarity) {
        f[kTone] = "DTCS";
        f[kDtcsCode] = tx.value;
        f[kDtcsPolarity] = std::string(2, tx.polarity);
    } else {
        f[kTone] = "Cross";
        auto kindText = [](const ToneSide& s) {
            return s.kind == K::Ctcss ? "Tone" : s.kind == K::Dcs ? "DTCS" : "";
        };
        f[kCrossMode] = std::string(kindText(tx)) + "->" + kindText(rx);
        if (tx.kind == K::Ctcss) f[kRToneFreq] = tx.value;
        if (rx.kind == K::Ctcss) f[kCToneFreq] = rx.value;
        if (tx.kind == K::Dcs) f[kDtcsCode] = tx.value;
        if (rx.kind == K::Dcs) f[kRxDtcsCode] = rx.value;
        f[kDtcsPolarity] = std::string{tx.polarity, rx.polarity};
    }
}

std::vector<std::string> channelFields(const RadioImage& image, int channel) {
    std::vector<std::string> f(kColumnCount);
    f[kLocation] = std::to_string(channel);
    const ChannelView v = DecodeChannel(image, channel, true, '.');
    if (!v.inUse) return f;
    const std::int64_t rx = BytesToUnits(RxFrequencyBytes(image, channel));
    f[kFrequency] = unitsToMHz(rx);
    f[kOffset] = unitsToMHz(0);
    if (!v.txInUse) {
        f[kDuplex] = "off";
    } else {
        const std::int64_t tx = BytesToUnits(TxFrequencyBytes(image, channel));
        if (tx != rx) {
            f[kDuplex] = tx > rx ? "+" : "-";
            f[kOffset] = unitsToMHz(tx > rx ? tx - rx : rx - tx);
        }
    }
    exportTones(f, v.rxTone, v.txTone);
    f[kMode] = v.spacingIndex ? "FM" : "NFM";
    f[kTStep] = "5.00";
    f[kSkip] = v.scanAdd ? "" : "S";
    f[kPower] = PowerList(true)[std::size_t(v.powerIndex)];
    f[kBusyLock] = BusyLockList(true)[std::size_t(v.busyLockIndex)];
    f[kScrambleType] = ScrambleTypeList()[std::size_t(v.scrambleTypeIndex)];
    f[kScrambler] = v.scrambleOn ? kOn : kOffText;
    f[kCompander] = v.compand ? kOn : kOffText;
    f[kCdcssMode] = kCdcssModes[std::size_t(v.cdcssModeIndex)];
    return f;
}

// ---- reading ---------------------------------------------------------------------

struct Record {
    int line;
    std::vector<std::string> fields;
    // A quote opened in this row is never closed: the row is read with that quote as
    // a plain character and refused, and the rows after it are read as they stand.
    bool unclosedQuote = false;
};

// Splits the text into records: quoted fields (with "" for a quote and line breaks
// inside), comment lines, and rows that hold nothing dropped; with `keepBlankCells`
// a row of blank cells (an empty channel copied out of the grid) is kept.
std::vector<Record> readRecords(const std::string& text, char delimiter,
                                bool keepBlankCells = false) {
    std::vector<Record> records;
    std::size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    int line = 1;
    while (i < text.size()) {
        Record r{line, {}};
        if (text[i] == '#') {
            while (i < text.size() && text[i] != '\n' && text[i] != '\r') ++i;
        } else {
            // A quote found never to close is taken as a plain character on a second
            // reading; should another fail then, every quote of the row is (so a row is
            // read at most three times, however many quotes it holds).
            std::size_t plainQuote = std::string::npos;
            bool quotesPlain = false;
            const std::size_t start = i;
            for (;;) {
                std::string field;
                bool inQuotes = false;
                std::size_t quoteAt = 0;
                for (; i < text.size(); ++i) {
                    const char c = text[i];
                    if (inQuotes) {
                        if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                            field += '"';
                            ++i;
                        } else if (c == '"') {
                            inQuotes = false;
                        } else {
                            if (c == '\n' ||
                                (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
                                ++line;
                            field += c;
                        }
                    } else if (c == '"' && trim(field).empty() && !quotesPlain && i != plainQuote) {
                        inQuotes = true;
                        quoteAt = i;
                        field.clear();
                    } else if (c == delimiter) {
                        r.fields.push_back(trim(field));
                        field.clear();
                    } else if (c == '\n' || c == '\r') {
                        break;
                    } else {
                        field += c;
                    }
                }
                if (!inQuotes) {
                    r.fields.push_back(trim(field));
                    break;
                }
                if (plainQuote == std::string::npos)
                    plainQuote = quoteAt;
                else
                    quotesPlain = true;
                r = Record{r.line, {}, true};
                line = r.line;
                i = start;
            }
        }
        // End of line: "\r\n", "\n" or "\r".
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
        ++line;
        const bool blank = std::all_of(r.fields.begin(), r.fields.end(),
                                       [](const std::string& f) { return f.empty(); });
        if (!blank || (keepBlankCells && r.fields.size() > 1)) records.push_back(std::move(r));
    }
    return records;
}

// Column positions of a header record; -1 for a column it lacks.
using ColumnMap = std::array<int, kColumnCount>;

ColumnMap mapColumns(const std::vector<std::string>& header, int* recognised) {
    ColumnMap map;
    map.fill(-1);
    *recognised = 0;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = upper(header[i]);
        for (int c = 0; c < kColumnCount; ++c) {
            if (map[c] < 0 && name == upper(kCsvColumns[std::size_t(c)])) {
                map[c] = int(i);
                ++*recognised;
            }
        }
    }
    return map;
}

// The first line that is not blank or a comment.
std::string firstLine(const std::string& text) {
    std::size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", i), text.size());
        const std::string line = text.substr(i, end - i);
        if (!trim(line).empty() && line[0] != '#') return line;
        i = end + 1;
    }
    return {};
}

// The grid's columns after CH, in the order it shows and copies them.
enum GridCol { kGridRx, kGridTx, kGridDecode, kGridEncode, kGridPower, kGridScan, kGridSpacing };
constexpr int kGridColumnCount = 7;
using GridMap = std::array<int, kGridColumnCount>;

// A first record of the grid's own headers (either language) gives their order.
std::optional<GridMap> gridHeader(const std::vector<std::string>& fields) {
    GridMap map;
    map.fill(-1);
    bool any = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].empty()) continue;
        int found = -1;
        for (int g = 0; g < kGridColumnCount && found < 0; ++g) {
            const BiText& name = channel_texts::kColumnHeaders[g + 1];
            if (upper(fields[i]) == upper(name.en) || fields[i] == name.zh) found = g;
        }
        if (found < 0 || map[std::size_t(found)] >= 0) return std::nullopt;
        map[std::size_t(found)] = int(i);
        any = true;
    }
    if (!any || map[kGridRx] < 0) return std::nullopt;
    return map;
}

struct Table {
    bool hasHeader = false;
    ColumnMap columns{};
    std::vector<Record> rows;
    // No header of ours: the grid's column order (a paste).
    GridMap grid{};
};

// Tabs, commas or semicolons (spreadsheets that write "," decimals separate with
// ";"): the one under which the header names the most columns wins.
Table readTable(const std::string& text) {
    const std::string head = firstLine(text);
    char delimiter = head.find('\t') != std::string::npos ? '\t' : ',';
    int best = 0;
    for (char d : {'\t', ',', ';'}) {
        int recognised = 0;
        const std::vector<Record> first = readRecords(head, d);
        if (first.empty()) continue;
        const ColumnMap map = mapColumns(first.front().fields, &recognised);
        if (map[kFrequency] >= 0 && recognised > best) {
            best = recognised;
            delimiter = d;
        }
    }
    Table t;
    t.rows = readRecords(text, delimiter);
    int recognised = 0;
    if (best > 0 && !t.rows.empty() &&
        (t.columns = mapColumns(t.rows.front().fields, &recognised))[kFrequency] >= 0) {
        t.rows.erase(t.rows.begin());
        t.hasHeader = true;
    } else {
        for (int c = 0; c < kColumnCount; ++c) t.columns[c] = c;
        t.rows = readRecords(text, delimiter, true);
        for (int g = 0; g < kGridColumnCount; ++g) t.grid[std::size_t(g)] = g;
        if (!t.rows.empty()) {
            if (const auto map = gridHeader(t.rows.front().fields)) {
                t.grid = *map;
                t.rows.erase(t.rows.begin());
            }
        }
    }
    return t;
}

// ---- one row into one channel ----------------------------------------------------

// A row read on its own, before it has a channel: the radio's own columns are
// filled in from the channel it lands on when the row leaves them blank.
struct RowPlan {
    CsvChannel values;
    std::optional<int> busyLock, scrambleType, cdcssMode;
    std::optional<bool> scrambleOn, compand;
};

struct RowError {
    CsvProblem problem;
    int column;  // in kCsvColumns
    std::string value;
    int low = 0, high = 0;
    int gridColumn = -1;  // GridCol, for a row in the grid's order
};

class RowReader {
public:
    RowReader(const Record& r, const ColumnMap& columns) : r_(r), columns_(columns) {}
    bool has(int c) const { return !get(c).empty(); }
    // The row reaches the column (it may still be blank).
    bool reaches(int c) const {
        const int at = columns_[std::size_t(c)];
        return at >= 0 && std::size_t(at) < r_.fields.size();
    }
    std::string get(int c) const {
        const int at = columns_[std::size_t(c)];
        return at >= 0 && std::size_t(at) < r_.fields.size() ? r_.fields[std::size_t(at)]
                                                             : std::string();
    }

private:
    const Record& r_;
    const ColumnMap& columns_;
};

// MHz with "," or "." as decimal mark, on a 10 Hz step.
std::optional<std::int64_t> parseMHz(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    const auto point = text.find('.');
    if (point != std::string::npos && text.size() - point - 1 > std::size_t(kFrequencyDecimals) &&
        text.find_first_not_of('0', point + 1 + kFrequencyDecimals) != std::string::npos)
        return std::nullopt;
    return ParseScaled(text, '.', kFrequencyDecimals);
}

// CTCSS in Hz with one decimal at most: every value the tone code shows as a tone
// (below 254.4 Hz) reads back to the same code.
std::optional<ToneCode> parseCtcss(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    const auto point = text.find('.');
    if (point != std::string::npos && text.size() - point - 1 > 1 &&
        text.find_first_not_of('0', point + 2) != std::string::npos)
        return std::nullopt;
    const auto tenths = ParseScaled(text, '.', 1);
    if (!tenths) return std::nullopt;
    const ToneCode code = CtcssTone(int(std::min<std::int64_t>(*tenths, 0xFFF)));
    if (*tenths > 0xFFF || ToneToText(code, true, '.') == texts::kNone.en) return std::nullopt;
    return code;
}

// Three octal digits ("023", also "23" from a spreadsheet that dropped the zero,
// "0023" or "D023"); polarity 'N' or 'R'.
std::optional<ToneCode> parseDcs(std::string code, char polarity) {
    code = upper(code);
    if (!code.empty() && code[0] == 'D') code.erase(0, 1);
    while (code.size() > 3 && code[0] == '0') code.erase(0, 1);
    if (code.empty() || code.size() > 3 || code.find_first_not_of("01234567") != std::string::npos)
        return std::nullopt;
    if (polarity != 'N' && polarity != 'R') return std::nullopt;
    return DcsTone(std::stoi(code), polarity == 'R');
}

// Index of `text` in `list`, ignoring case.
std::optional<int> listIndex(const PickList& list, const std::string& text) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (upper(list[i]) == upper(text)) return int(i);
    return std::nullopt;
}

// The code a tone text reads back to, as the import builds it.
ToneCode toneOfText(const std::string& text) {
    if (text == texts::kNone.en) return kNoTone;
    const auto code =
        text[0] == 'D' ? parseDcs(text.substr(1, 3), text[4] == 'I' ? 'R' : 'N') : parseCtcss(text);
    return code ? *code : kNoTone;
}

std::optional<ToneCode> parseToneCode(std::string text) {
    text = upper(text);
    if (text.compare(0, 2, "0X") == 0) text.erase(0, 2);
    if (text.size() != 4 || text.find_first_not_of("0123456789ABCDEF") != std::string::npos)
        return std::nullopt;
    const unsigned long v = std::stoul(text, nullptr, 16);
    return ToneCode{std::uint8_t(v & 0xFF), std::uint8_t(v >> 8)};
}

std::optional<RowError> readToneColumns(const RowReader& row, CsvChannel& plan) {
    auto value = [&](int c, const char* fallback) {
        return row.has(c) ? row.get(c) : std::string(fallback);
    };
    const std::string polarity = upper(value(kDtcsPolarity, kDefaultPolarity));
    if (polarity.size() != 2 || polarity.find_first_not_of("NR") != std::string::npos)
        return RowError{CsvProblem::UnknownTone, kDtcsPolarity, row.get(kDtcsPolarity)};
    // Each side: "Tone", "DTCS" or "" (none).
    auto side = [&](const std::string& kind, bool transmit) -> std::optional<RowError> {
        ToneCode& out = transmit ? plan.txTone : plan.rxTone;
        if (kind.empty()) {
            out = kNoTone;
            return std::nullopt;
        }
        if (kind == "TONE") {
            const int c = transmit ? kRToneFreq : kCToneFreq;
            const auto code = parseCtcss(value(c, kDefaultCtcss));
            if (!code) return RowError{CsvProblem::UnknownTone, c, row.get(c)};
            out = *code;
            return std::nullopt;
        }
        const int c = transmit ? kDtcsCode : kRxDtcsCode;
        const auto code = parseDcs(value(c, kDefaultDcs), polarity[transmit ? 0 : 1]);
        if (!code) return RowError{CsvProblem::UnknownTone, c, row.get(c)};
        out = *code;
        return std::nullopt;
    };
    const std::string mode = upper(row.get(kTone));
    std::string tx, rx;
    if (mode == "TONE") {
        tx = "TONE";
    } else if (mode == "TSQL") {
        // One tone both ways, from cToneFreq.
        const auto code = parseCtcss(value(kCToneFreq, kDefaultCtcss));
        if (!code) return RowError{CsvProblem::UnknownTone, kCToneFreq, row.get(kCToneFreq)};
        plan.rxTone = plan.txTone = *code;
        return std::nullopt;
    } else if (mode == "DTCS") {
        const auto txCode = parseDcs(value(kDtcsCode, kDefaultDcs), polarity[0]);
        const auto rxCode = parseDcs(value(kDtcsCode, kDefaultDcs), polarity[1]);
        if (!txCode || !rxCode)
            return RowError{CsvProblem::UnknownTone, kDtcsCode, row.get(kDtcsCode)};
        plan.txTone = *txCode;
        plan.rxTone = *rxCode;
        return std::nullopt;
    } else if (mode == "CROSS") {
        const std::string cross = upper(value(kCrossMode, kDefaultCrossMode));
        const auto arrow = cross.find("->");
        if (arrow == std::string::npos)
            return RowError{CsvProblem::UnknownTone, kCrossMode, row.get(kCrossMode)};
        tx = cross.substr(0, arrow);
        rx = cross.substr(arrow + 2);
        const auto known = [](const std::string& k) {
            return k.empty() || k == "TONE" || k == "DTCS";
        };
        if (!known(tx) || !known(rx) || (tx.empty() && rx.empty()))
            return RowError{CsvProblem::UnknownTone, kCrossMode, row.get(kCrossMode)};
    } else if (!mode.empty()) {
        return RowError{CsvProblem::UnknownTone, kTone, row.get(kTone)};
    }
    if (auto e = side(tx, true)) return e;
    return side(rx, false);
}

// The tone columns, then the stored bytes where a code column holds the same tone.
std::optional<RowError> readTones(const RowReader& row, CsvChannel& plan) {
    if (auto e = readToneColumns(row, plan)) return e;
    for (const auto& [column, tone] :
         {std::pair{kRxToneCode, &plan.rxTone}, std::pair{kTxToneCode, &plan.txTone}}) {
        if (!row.has(column)) continue;
        const auto code = parseToneCode(row.get(column));
        if (!code) return RowError{CsvProblem::UnknownTone, column, row.get(column)};
        if (ToneToText(*code, true, '.') == ToneToText(*tone, true, '.')) *tone = *code;
    }
    return std::nullopt;
}

std::optional<RowError> readFrequencies(const Document& doc, const RowReader& row,
                                        CsvChannel& plan) {
    const auto rx = parseMHz(row.get(kFrequency));
    if (!rx) return RowError{CsvProblem::BadFrequency, kFrequency, row.get(kFrequency)};
    const std::int64_t low = std::int64_t(doc.BandLowMHz) * kUnitsPerMHz;
    if (*rx < low || *rx > std::int64_t(doc.BandHighMHz) * kUnitsPerMHz)
        return RowError{CsvProblem::RxOutOfBand, kFrequency, unitsToMHz(*rx), doc.BandLowMHz,
                        doc.BandHighMHz};
    plan.rx = UnitsToBytes(*rx);

    const std::string duplex = upper(row.get(kDuplex));
    if (duplex == "OFF") return std::nullopt;
    std::int64_t tx = *rx;
    if (duplex == "+" || duplex == "-" || duplex == "SPLIT") {
        const std::optional<std::int64_t> offset = row.has(kOffset) || duplex == "SPLIT"
                                                       ? parseMHz(row.get(kOffset))
                                                       : std::optional<std::int64_t>(0);
        if (!offset) return RowError{CsvProblem::BadFrequency, kOffset, row.get(kOffset)};
        tx = duplex == "+" ? *rx + *offset : duplex == "-" ? *rx - *offset : *offset;
    } else if (!duplex.empty()) {
        return RowError{CsvProblem::BadDuplex, kDuplex, row.get(kDuplex)};
    }
    if (tx < low || tx > std::int64_t(doc.BandTxHighMHz) * kUnitsPerMHz)
        return RowError{CsvProblem::TxOutOfBand, kDuplex,
                        tx < 0 ? "-" + unitsToMHz(-tx) : unitsToMHz(tx), doc.BandLowMHz,
                        doc.BandTxHighMHz};
    plan.hasTx = true;
    plan.tx = UnitsToBytes(tx);
    return std::nullopt;
}

// Power as channel lists write it. The radio has two levels: High, H, Hi and Low, L,
// Lo name them; a middle level (Mid, M) and watts are mapped and reported. Watts
// from 2 W up are High: a hand-held's low level is about 1 W or less, its high level
// several watts. A middle level is above Low, so High.
constexpr std::int64_t kHighFromMilliwatts = 2000;

struct PowerReading {
    int index = 1;
    bool mapped = false, watts = false;
};

std::optional<PowerReading> parsePower(const std::string& text) {
    const std::string name = upper(text);
    if (name == "HIGH" || name == "H" || name == "HI") return PowerReading{1};
    if (name == "LOW" || name == "L" || name == "LO") return PowerReading{0};
    if (name == "MID" || name == "M") return PowerReading{1, true};
    if (name.size() < 2 || name.back() != 'W') return std::nullopt;
    std::string number = trim(name.substr(0, name.size() - 1));
    std::replace(number.begin(), number.end(), ',', '.');
    const auto milliwatts = ParseScaled(number, '.', 3);
    if (!milliwatts) return std::nullopt;
    return PowerReading{*milliwatts >= kHighFromMilliwatts ? 1 : 0, true, true};
}

bool unsupportedMode(const std::string& mode) {
    for (const char* m : {"AM", "NAM", "WFM", "DV", "DMR", "USB", "LSB", "CW"})
        if (mode == m) return true;
    return false;
}

std::optional<RowError> readSettings(const RowReader& row, RowPlan& plan) {
    CsvChannel& v = plan.values;
    const std::string mode = upper(row.get(kMode));
    if (unsupportedMode(mode)) return RowError{CsvProblem::ModeUnsupported, kMode, row.get(kMode)};
    if (!mode.empty()) {
        const auto index = listIndex({"NFM", "FM"}, mode);
        if (!index) return RowError{CsvProblem::BadValue, kMode, row.get(kMode)};
        v.spacing = *index;
    }
    if (row.has(kPower)) {
        const auto power = parsePower(row.get(kPower));
        if (!power) return RowError{CsvProblem::BadValue, kPower, row.get(kPower)};
        v.power = power->index;
        if (power->mapped) v.powerMapped = row.get(kPower);
    }
    // S: not scanned; P (priority) is scanned too.
    const std::string skip = upper(row.get(kSkip));
    if (skip != "" && skip != "S" && skip != "P")
        return RowError{CsvProblem::BadValue, kSkip, row.get(kSkip)};
    v.scan = skip != "S";

    auto pick = [&](int c, const PickList& list,
                    std::optional<int>& out) -> std::optional<RowError> {
        if (!row.has(c)) return std::nullopt;
        out = listIndex(list, row.get(c));
        if (!out) return RowError{CsvProblem::BadValue, c, row.get(c)};
        return std::nullopt;
    };
    auto onOff = [&](int c, std::optional<bool>& out) -> std::optional<RowError> {
        std::optional<int> index;
        if (auto e = pick(c, {kOffText, kOn}, index)) return e;
        if (index) out = *index == 1;
        return std::nullopt;
    };
    if (auto e = pick(kBusyLock, BusyLockList(true), plan.busyLock)) return e;
    if (auto e = pick(kScrambleType, ScrambleTypeList(), plan.scrambleType)) return e;
    if (auto e = onOff(kScrambler, plan.scrambleOn)) return e;
    if (auto e = onOff(kCompander, plan.compand)) return e;
    return pick(kCdcssMode, kCdcssModes, plan.cdcssMode);
}

std::optional<RowError> readRow(const Document& doc, const RowReader& row, RowPlan& plan) {
    // A blank Frequency empties the channel; a row too short to hold one (stray
    // text pasted into the grid) is no channel at all.
    if (!row.has(kFrequency)) {
        if (!row.reaches(kFrequency)) return RowError{CsvProblem::BadFrequency, kFrequency, ""};
        plan.values.empty = true;
        return std::nullopt;
    }
    if (auto e = readFrequencies(doc, row, plan.values)) return e;
    if (auto e = readTones(row, plan.values)) return e;
    return readSettings(row, plan);
}

// A tone as the grid shows it: "None" / "无", "88.5", "D023N", "D023I"; blank is none.
std::optional<ToneCode> parseToneText(const std::string& text) {
    const std::string name = upper(text);
    if (name.empty() || name == upper(texts::kNone.en) || text == texts::kNone.zh) return kNoTone;
    if (name[0] != 'D') return parseCtcss(text);
    std::string digits = name.substr(1);
    char polarity = 'N';
    if (!digits.empty() && (digits.back() == 'N' || digits.back() == 'I' || digits.back() == 'R')) {
        polarity = digits.back() == 'N' ? 'N' : 'R';
        digits.pop_back();
    }
    return parseDcs(digits, polarity);
}

// Index of `text` in any of the lists (the grid's lists in both languages).
std::optional<int> anyListIndex(std::initializer_list<PickList> lists, const std::string& text) {
    for (const PickList& list : lists)
        if (const auto index = listIndex(list, text)) return index;
    return std::nullopt;
}

// A row in the grid's column order, as the grid shows it.
std::optional<RowError> readGridRow(const Document& doc, const Record& record, const GridMap& at,
                                    RowPlan& plan) {
    auto reaches = [&](int g) {
        return at[std::size_t(g)] >= 0 && std::size_t(at[std::size_t(g)]) < record.fields.size();
    };
    auto get = [&](int g) {
        return reaches(g) ? record.fields[std::size_t(at[std::size_t(g)])] : std::string();
    };
    auto error = [&](CsvProblem problem, int g, const std::string& value, int low = 0,
                     int high = 0) { return RowError{problem, kLocation, value, low, high, g}; };
    CsvChannel& v = plan.values;
    if (std::all_of(record.fields.begin(), record.fields.end(),
                    [](const std::string& f) { return f.empty(); })) {
        v.empty = true;
        return std::nullopt;
    }
    const std::int64_t low = std::int64_t(doc.BandLowMHz) * kUnitsPerMHz;
    const auto rx = parseMHz(get(kGridRx));
    if (!rx) return error(CsvProblem::BadFrequency, kGridRx, get(kGridRx));
    if (*rx < low || *rx > std::int64_t(doc.BandHighMHz) * kUnitsPerMHz)
        return error(CsvProblem::RxOutOfBand, kGridRx, unitsToMHz(*rx), doc.BandLowMHz,
                     doc.BandHighMHz);
    v.rx = UnitsToBytes(*rx);
    if (!reaches(kGridTx)) {
        // Only a receive frequency: the transmit side follows it, as typed into the grid.
        v.hasTx = true;
        v.tx = TxFollowingRx(*rx, doc.BandTxHighMHz);
    } else if (!get(kGridTx).empty()) {
        const auto tx = parseMHz(get(kGridTx));
        if (!tx) return error(CsvProblem::BadFrequency, kGridTx, get(kGridTx));
        if (*tx < low || *tx > std::int64_t(doc.BandTxHighMHz) * kUnitsPerMHz)
            return error(CsvProblem::TxOutOfBand, kGridTx, unitsToMHz(*tx), doc.BandLowMHz,
                         doc.BandTxHighMHz);
        v.hasTx = true;
        v.tx = UnitsToBytes(*tx);
    }
    for (const auto& [g, tone] : {std::pair{kGridDecode, &v.rxTone}, {kGridEncode, &v.txTone}}) {
        const auto code = parseToneText(get(g));
        if (!code) return error(CsvProblem::UnknownTone, g, get(g));
        *tone = *code;
    }
    if (!get(kGridPower).empty()) {
        if (const auto index = listIndex(PowerList(false), get(kGridPower))) {
            v.power = *index;
        } else {
            const auto power = parsePower(get(kGridPower));
            if (!power) return error(CsvProblem::BadValue, kGridPower, get(kGridPower));
            v.power = power->index;
            if (power->mapped) v.powerMapped = get(kGridPower);
        }
    }
    if (!get(kGridScan).empty()) {
        const auto index = anyListIndex({ScanList(true), ScanList(false)}, get(kGridScan));
        if (!index) return error(CsvProblem::BadValue, kGridScan, get(kGridScan));
        v.scan = *index == 0;
    }
    if (!get(kGridSpacing).empty()) {
        const auto index = anyListIndex({SpacingList(true, '.'),
                                         SpacingList(true, ','),
                                         SpacingList(false, '.'),
                                         SpacingList(false, ','),
                                         {"NFM", "FM"}},
                                        get(kGridSpacing));
        if (!index) return error(CsvProblem::BadValue, kGridSpacing, get(kGridSpacing));
        v.spacing = *index;
    }
    return std::nullopt;
}

// The row on its channel: own columns it leaves blank keep what the channel holds.
std::optional<RowError> settle(const Document& doc, const RowReader& row, const RowPlan& plan,
                               int channel, CsvChannel& out) {
    out = plan.values;
    out.channel = channel;
    if (out.empty) return std::nullopt;
    const ChannelView current = DecodeChannel(doc.radioImage, channel, true, '.');
    if (current.inUse) {
        out.busyLock = current.busyLockIndex;
        out.scrambleType = current.scrambleTypeIndex;
        out.scrambleOn = current.scrambleOn;
        out.compand = current.compand;
        out.cdcssMode = current.cdcssModeIndex;
    }
    out.busyLock = plan.busyLock.value_or(out.busyLock);
    out.scrambleType = plan.scrambleType.value_or(out.scrambleType);
    out.scrambleOn = plan.scrambleOn.value_or(out.scrambleOn);
    out.compand = plan.compand.value_or(out.compand);
    out.cdcssMode = plan.cdcssMode.value_or(out.cdcssMode);
    if (out.cdcssMode == 1 && !doc.SpecialCodeSupported)
        return RowError{CsvProblem::SpecialCodeUnsupported, kCdcssMode, row.get(kCdcssMode)};
    return std::nullopt;
}

// The record as the editors build a channel that was empty, then every field.
void writeChannel(Document& doc, const CsvChannel& plan) {
    RadioImage& image = doc.radioImage;
    const int channel = plan.channel;
    ClearChannel(image, channel);
    if (plan.empty) return;
    SetRxFrequency(image, channel, plan.rx);
    if (plan.hasTx) SetTxFrequency(image, channel, plan.tx);
    SetRxTone(image, channel, plan.rxTone);
    SetTxTone(image, channel, plan.txTone);
    ApplyNewChannelDefaults(image, channel);
    SetSpacing(image, channel, plan.spacing);
    SetTxPower(image, channel, plan.power);
    SetBusyLock(image, channel, plan.busyLock);
    SetScrambleType(image, channel, plan.scrambleType);
    SetScrambleOn(image, channel, plan.scrambleOn);
    SetCompand(image, channel, plan.compand);
    SetCdcssMode(doc, channel, plan.cdcssMode);
    SetScanAddBit(image, channel, plan.scan);
}

// Digits only; any number, so that 0 and 17 can be told apart from text.
std::optional<int> parseLocation(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

enum class Placement { ByLocation, Renumber, Paste };

CsvPlan planTable(const Document& doc, const Table& table, Placement placement, int first) {
    CsvPlan result;
    result.usable = true;
    if (placement == Placement::ByLocation && table.columns[kLocation] < 0)
        placement = Placement::Paste;  // no Location column: in order from channel 1
    std::map<int, int> lineOfChannel;  // channels taken so far
    int next = first;
    for (const Record& record : table.rows) {
        const RowReader row(record, table.columns);
        auto skip = [&](CsvProblem problem, int column, const std::string& value, int low = 0,
                        int high = 0, int gridColumn = -1) {
            CsvSkip s{record.line, problem, kCsvColumns[std::size_t(column)], 0, value, low, high};
            if (gridColumn >= 0) {
                s.gridColumn = gridColumn + 1;
                s.column = channel_texts::kColumnHeaders[s.gridColumn].en;
            }
            result.skipped.push_back(s);
        };
        auto refuse = [&](const RowError& e) {
            skip(e.problem, e.column, e.value, e.low, e.high, e.gridColumn);
        };

        // A pasted row has its place whatever becomes of it; a located one must name
        // a channel before anything else is read.
        int channel = 0;
        if (placement == Placement::Paste) {
            channel = next++;
            if (!IsChannelNumber(channel)) {
                skip(CsvProblem::BadLocation, kLocation, std::to_string(channel));
                continue;
            }
        } else if (placement == Placement::ByLocation) {
            const auto location = parseLocation(row.get(kLocation));
            if (location == 0) result.zeroBased = true;
            if (!location || !IsChannelNumber(*location)) {
                skip(CsvProblem::BadLocation, kLocation, row.get(kLocation));
                continue;
            }
            channel = *location;
        }
        if (record.unclosedQuote) {
            skip(CsvProblem::UnclosedQuote, kLocation, std::string());
            continue;
        }
        RowPlan plan;
        if (auto e = table.hasHeader ? readRow(doc, row, plan)
                                     : readGridRow(doc, record, table.grid, plan)) {
            refuse(*e);
            continue;
        }
        if (placement == Placement::Renumber) {
            if (!IsChannelNumber(next)) {
                skip(CsvProblem::NoChannelLeft, kLocation, row.get(kLocation));
                continue;
            }
            channel = next;
        }
        const auto earlier = lineOfChannel.find(channel);
        if (earlier != lineOfChannel.end()) {
            skip(CsvProblem::DuplicateLocation, kLocation, row.get(kLocation), earlier->second);
            continue;
        }
        CsvChannel landed;
        if (auto e = settle(doc, row, plan, channel, landed)) {
            refuse(*e);
            continue;
        }
        if (placement == Placement::Renumber) ++next;
        lineOfChannel[channel] = record.line;
        landed.line = record.line;
        result.rows.push_back(landed);
        result.taken.push_back(channel);
    }
    // The mapped power values of the rows that land, each text once.
    for (const CsvChannel& r : result.rows) {
        if (r.powerMapped.empty()) continue;
        auto known = std::find_if(
            result.powerMapped.begin(), result.powerMapped.end(),
            [&](const CsvPowerMapping& m) { return upper(m.given) == upper(r.powerMapped); });
        if (known == result.powerMapped.end())
            known = result.powerMapped.insert(
                result.powerMapped.end(),
                {r.powerMapped, parsePower(r.powerMapped)->watts, r.power, 0});
        ++known->count;
    }
    return result;
}

std::string fill(const std::string& pattern, const std::vector<std::string>& args) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t n =
            i + 1 < pattern.size() ? std::size_t(pattern[i + 1] - '1') : args.size();
        if (pattern[i] == '%' && n < args.size()) {
            out += args[n];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

// %1 value, %2 column, %3 low / earlier line, %4 high.
constexpr BiText kSummary{"Channels imported: %1. Rows skipped: %2.",
                          "已导入信道：%1。跳过的行：%2。"};
constexpr BiText kLinePrefix{"Line %1: ", "第%1行："};
constexpr BiText kProblemTexts[] = {
    {"Location \"%1\" is not a channel 1-16", "位置“%1”不是1-16的信道"},
    {"channel %1 was already given on line %3", "信道%1已在第%3行给出"},
    {"%2 \"%1\" is not a frequency in MHz on a 10 Hz step", "%2“%1”不是10Hz步进的MHz频率"},
    {"receive frequency %1 MHz is outside the band %3-%4 MHz", "接收频率%1MHz超出频段%3-%4MHz"},
    {"transmit frequency %1 MHz is outside the band %3-%4 MHz", "发射频率%1MHz超出频段%3-%4MHz"},
    {"unknown Duplex \"%1\"", "无法识别的Duplex“%1”"},
    {"unknown tone \"%1\" in %2", "%2中无法识别的亚音“%1”"},
    {"unknown %2 \"%1\"", "无法识别的%2“%1”"},
    {"this radio has no Special Code", "该对讲机不支持特殊亚音"},
    {"the radio cannot use Mode \"%1\" (it has FM and NFM only)",
     "对讲机不能使用Mode“%1”（只有FM和NFM）"},
    {"no channel left", "没有剩余的信道"},
    {"a quote (\") opened in this row is never closed", "此行中的引号（\"）没有闭合"},
};
// %1 count, %2 the values ("4.0W → High, 1.0W → Low").
constexpr BiText kWattsMapped[] = {
    {"1 power value given in watts was mapped: %2", "1个以瓦为单位的功率值已换算：%2"},
    {"%1 power values given in watts were mapped: %2", "%1个以瓦为单位的功率值已换算：%2"}};
constexpr BiText kLevelsMapped[] = {
    {"1 power value naming a middle level was mapped: %2", "1个中间档功率值已换算：%2"},
    {"%1 power values naming a middle level were mapped: %2", "%1个中间档功率值已换算：%2"}};

}  // namespace

std::string ExportChannelsCsv(const RadioImage& image, char delimiter) {
    std::string out = headerLine(delimiter);
    for (int ch = 1; ch <= kChannelCount; ++ch)
        if (ChannelInUse(image, ch)) out += joinRow(channelFields(image, ch), delimiter);
    return out;
}

std::string ExportChannelRows(const RadioImage& image, int first, int last, char delimiter) {
    std::string out = headerLine(delimiter);
    for (int ch = std::max(first, 1); ch <= std::min(last, kChannelCount); ++ch)
        out += joinRow(channelFields(image, ch), delimiter);
    return out;
}

CsvPlan PlanChannelsCsv(const Document& doc, const std::string& text,
                        const CsvImportOptions& options) {
    const Table table = readTable(text);
    if (!table.hasHeader) return {};
    return options.renumber ? planTable(doc, table, Placement::Renumber, options.first)
                            : planTable(doc, table, Placement::ByLocation, 1);
}

CsvPlan PlanPastedRows(const Document& doc, const std::string& text, int first) {
    return planTable(doc, readTable(text), Placement::Paste, std::max(first, 1));
}

void ApplyCsvPlan(Document& doc, const CsvPlan& plan) {
    for (const CsvChannel& row : plan.rows) writeChannel(doc, row);
}

CsvImport ImportChannelsCsv(Document& doc, const std::string& text,
                            const CsvImportOptions& options) {
    CsvPlan plan = PlanChannelsCsv(doc, text, options);
    ApplyCsvPlan(doc, plan);
    return plan;
}

CsvImport PasteChannelRows(Document& doc, const std::string& text, int first) {
    CsvPlan plan = PlanPastedRows(doc, text, first);
    ApplyCsvPlan(doc, plan);
    return plan;
}

std::string DescribeCsvProblem(const CsvSkip& skip, bool isEnglish) {
    const BiText& problem = kProblemTexts[int(skip.problem)];
    const std::string column =
        skip.gridColumn > 0 && skip.gridColumn < int(std::size(channel_texts::kColumnHeaders))
            ? channel_texts::kColumnHeaders[skip.gridColumn].pick(isEnglish)
            : skip.column;
    return fill(problem.pick(isEnglish),
                {skip.value, column, std::to_string(skip.low), std::to_string(skip.high)});
}

std::string DescribeCsvSkip(const CsvSkip& skip, bool isEnglish) {
    return fill(kLinePrefix.pick(isEnglish), {std::to_string(skip.line)}) +
           DescribeCsvProblem(skip, isEnglish);
}

std::string DescribePowerMapping(const CsvPlan& plan, bool isEnglish) {
    std::string out;
    for (const bool watts : {true, false}) {
        int count = 0;
        std::string values;
        for (const CsvPowerMapping& m : plan.powerMapped) {
            if (m.watts != watts) continue;
            count += m.count;
            values += (values.empty() ? "" : ", ") + m.given + " → " +
                      PowerList(isEnglish)[std::size_t(m.power)];
        }
        if (count == 0) continue;
        const BiText& line = (watts ? kWattsMapped : kLevelsMapped)[count == 1 ? 0 : 1];
        out +=
            (out.empty() ? "" : "\n") + fill(line.pick(isEnglish), {std::to_string(count), values});
    }
    return out;
}

std::string DescribeCsvImport(const CsvImport& result, bool isEnglish) {
    std::string text = fill(kSummary.pick(isEnglish), {std::to_string(result.taken.size()),
                                                       std::to_string(result.skipped.size())});
    const std::string power = DescribePowerMapping(result, isEnglish);
    if (!power.empty()) text += "\n" + power;
    for (const CsvSkip& skip : result.skipped) text += "\n" + DescribeCsvSkip(skip, isEnglish);
    return text;
}

}  // namespace baldo7
