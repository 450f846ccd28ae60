// docs/memory-map.md against core/memory_map.h: every row of the page names an entry
// of kMemoryMap with its addresses, every entry has its row, and no other address on
// the page is one the map does not know.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "core/memory_map.h"

using namespace baldo7;

namespace {

std::string readDoc() {
    std::ifstream in(BALDO7_MEMORY_MAP_DOC);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t number(const std::string& text) {
    return static_cast<std::size_t>(std::stoul(text, nullptr, 0));
}

}  // namespace

TEST(MemoryMap, DocumentMatchesHeader) {
    const std::string doc = readDoc();
    ASSERT_FALSE(doc.empty()) << BALDO7_MEMORY_MAP_DOC;

    std::map<std::string, AddressRange> header;
    for (const MemoryMapEntry& e : kMemoryMap) {
        EXPECT_TRUE(header.emplace(e.name, e.range).second) << "named twice: " << e.name;
        // Inside the image or inside the service memory, never across.
        const bool image = e.range.end <= kImageSize;
        const bool service = e.range.first >= kServiceBase && e.range.end <= kRadioMemorySize;
        EXPECT_TRUE(e.range.first < e.range.end && (image || service)) << e.name;
    }

    // | 0x0A80–0x0B7F (2688–2943) | `name` | 256 | ...   the decimal part is optional.
    const std::regex row(
        R"(^\| (0x[0-9A-F]{4})(?:–(0x[0-9A-F]{4}))?(?: \((\d+)(?:–(\d+))?\))? \| `(\w+)` \| (\d+) \|)");
    std::set<std::string> documented;
    std::string prose;
    std::istringstream lines(doc);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, row)) {
            prose += line + "\n";
            continue;
        }
        const std::string name = m[5];
        SCOPED_TRACE(line);
        EXPECT_TRUE(documented.insert(name).second) << "two rows for " << name;
        const auto it = header.find(name);
        if (it == header.end()) {
            ADD_FAILURE() << "no entry " << name << " in kMemoryMap";
            continue;
        }
        const AddressRange r = it->second;
        const std::size_t first = number(m[1]);
        const std::size_t last = m[2].matched ? number(m[2]) : first;
        EXPECT_EQ(first, r.first);
        EXPECT_EQ(last, r.last());
        EXPECT_EQ(number(m[6]), r.size());
        if (m[3].matched) {
            EXPECT_EQ(number(m[3]), r.first);
            EXPECT_EQ(m[4].matched ? number(m[4]) : number(m[3]), r.last());
        }
    }
    for (const auto& [name, range] : header)
        EXPECT_TRUE(documented.count(name)) << "no row for " << name;

    // Elsewhere on the page an address is where an entry or a tune table begins or ends.
    std::set<std::size_t> known;
    for (const MemoryMapEntry& e : kMemoryMap) known.insert({e.range.first, e.range.last()});
    for (int band : {136, 200, 400}) known.insert(static_cast<std::size_t>(TuneTableBase(band)));
    const std::regex address(R"(0x[0-9A-F]{4}\b)");
    for (std::sregex_iterator it(prose.begin(), prose.end(), address), end; it != end; ++it)
        EXPECT_TRUE(known.count(number(it->str()))) << it->str() << " is not in the memory map";
}
