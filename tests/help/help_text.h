// The help pages as a reader sees them: the text without its tags and entities, and
// the cells of their tables. Both help suites compare program texts against this.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace helptext {

inline const std::filesystem::path kHelpDir{BALDO7_HELP_DIR};

inline std::filesystem::path treeOf(const std::string& language) {
    return kHelpDir / language / "HTML";
}

inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Tags dropped, the entities the pages use decoded, every run of blanks one blank.
inline std::string plainText(const std::string& html) {
    std::string text = std::regex_replace(html, std::regex("<[^>]*>"), "");
    static const std::pair<const char*, const char*> kEntities[] =
        {
            {"&hellip;", "…"}, {"&rsaquo;", "›"}, {"&rarr;", "→"}, {"&mdash;", "—"},
            {"&ndash;", "–"},  {"&middot;", "·"}, {"&nbsp;", " "}, {"&lt;", "<"},
            {"&gt;", ">"},     {"&quot;", "\""},  {"&yuml;", "ÿ"}, {"&ge;", "≥"},
            {"&amp;", "&"},  // last: "&amp;gt;" is the text "&gt;"
        };
    for (const auto& [entity, character] : kEntities)
        for (auto at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + std::char_traits<char>::length(character)))
            text.replace(at, std::char_traits<char>::length(entity), character);
    return std::regex_replace(text, std::regex("\\s+"), " ");
}

// The text of every table cell (header or data) of a page.
inline std::set<std::string> tableCells(const std::string& html) {
    const std::regex cell(R"(<t[dh][^>]*>([\s\S]*?)</t[dh]>)", std::regex::icase);
    std::set<std::string> cells;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), cell);
         it != std::sregex_iterator(); ++it) {
        std::string text = plainText((*it)[1].str());
        const auto first = text.find_first_not_of(' ');
        const auto last = text.find_last_not_of(' ');
        cells.insert(first == std::string::npos ? "" : text.substr(first, last - first + 1));
    }
    return cells;
}

}  // namespace helptext
