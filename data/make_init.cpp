// Build-time tool: turns the readable template source (init_dat.txt) into the
// 1041-byte Init.dat. Usage: make_init SOURCE OUTPUT
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr long kSize = 1041;

bool parseNumber(const std::string& text, long& value, int base) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, base);
    return end && *end == '\0';
}

bool parseOffset(const std::string& text, long& value) {
    const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
    return parseNumber(hex ? text.substr(2) : text, value, hex ? 16 : 10);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_init SOURCE OUTPUT\n";
        return 1;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "make_init: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<unsigned char> bytes(kSize, 0xFF);
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& why) {
        std::cerr << argv[1] << ":" << lineNo << ": " << why << "\n";
        return 1;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string range;
        if (!(words >> range)) continue;
        long first = 0, last = 0;
        const auto dots = range.find("..");
        if (!parseOffset(range.substr(0, dots), first)) return fail("bad offset");
        last = first;
        if (dots != std::string::npos && !parseOffset(range.substr(dots + 2), last))
            return fail("bad offset");
        if (first < 0 || last >= kSize || last < first) return fail("offset outside the file");
        std::vector<unsigned char> values;
        for (std::string word; words >> word;) {
            long v = 0;
            if (!parseNumber(word, v, 16) || v < 0 || v > 0xFF) return fail("bad byte " + word);
            values.push_back(static_cast<unsigned char>(v));
        }
        const long count = last - first + 1;
        if (values.size() != 1 && static_cast<long>(values.size()) != count)
            return fail("byte count does not match the range");
        for (long i = 0; i < count; ++i)
            bytes[static_cast<std::size_t>(first + i)] = values.size() == 1 ? values[0] : values[i];
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), kSize);
    if (!out) {
        std::cerr << "make_init: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
