// The help window opens pages by fixed topic paths in the current language's tree,
// and moves between pages by relative links; a missing page or a dead link shows the
// user an empty window.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kHelpDir{BALDO7_HELP_DIR};
const char* const kLanguages[] = {"en", "zh"};
// The topics the program's Help buttons and menu ask for.
const char* const kTopics[] = {
    "general.htm",   "chinfo.htm",    "chEdit.htm",      "optfeatures.htm", "keyassign.htm",
    "Scan/Scan.htm", "embmsg.htm",    "Local/Local.htm", "Print.htm",       "chcopy.htm",
    "freqcopy.htm",  "qtdqtcopy.htm", "batchedit.htm",   "password.htm",    "stundie.htm",
    "tune.htm",      "special.htm",
};

fs::path treeOf(const std::string& language) {
    return kHelpDir / language / "HTML";
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> attributeValues(const std::string& html, const std::string& name) {
    const std::regex re(name + R"(\s*=\s*["']([^"']*)["'])", std::regex::icase);
    std::vector<std::string> values;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), re); it != std::sregex_iterator();
         ++it)
        values.push_back((*it)[1].str());
    return values;
}

std::set<std::string> pagesIn(const fs::path& tree) {
    std::set<std::string> pages;
    for (const auto& entry : fs::recursive_directory_iterator(tree))
        if (entry.is_regular_file() && entry.path().extension() == ".htm")
            pages.insert(fs::relative(entry.path(), tree).generic_string());
    return pages;
}

bool hasScheme(const std::string& href) {
    const auto colon = href.find(':');
    return colon != std::string::npos && href.find('/') > colon;
}

}  // namespace

TEST(HelpPages, EveryTopicExistsInBothLanguagesAsUtf8Html) {
    for (const char* language : kLanguages) {
        for (const char* topic : kTopics) {
            SCOPED_TRACE(std::string(language) + "/" + topic);
            const fs::path page = treeOf(language) / topic;
            ASSERT_TRUE(fs::is_regular_file(page));
            const std::string html = readAll(page);
            EXPECT_NE(html.find("<body"), std::string::npos);
            // Without it the Chinese pages show as mojibake.
            EXPECT_NE(html.find("charset=utf-8"), std::string::npos);
        }
    }
}

TEST(HelpPages, BothLanguagesHaveTheSamePages) {
    EXPECT_EQ(pagesIn(treeOf("en")), pagesIn(treeOf("zh")));
}

TEST(HelpPages, EveryRelativeLinkReachesAnExistingPageAndAnchor) {
    for (const char* language : kLanguages) {
        const fs::path tree = treeOf(language);
        for (const std::string& page : pagesIn(tree)) {
            const fs::path from = tree / page;
            const std::string html = readAll(from);
            for (const std::string& href : attributeValues(html, "href")) {
                SCOPED_TRACE(std::string(language) + "/" + page + " -> " + href);
                if (hasScheme(href)) continue;
                ASSERT_FALSE(href.empty());
                const auto hash = href.find('#');
                const std::string file = href.substr(0, hash);
                const fs::path target = file.empty() ? from : from.parent_path() / file;
                ASSERT_TRUE(fs::is_regular_file(target));
                // A link must stay inside its own language's tree.
                const std::string inTree =
                    fs::relative(fs::canonical(target), fs::canonical(tree)).generic_string();
                EXPECT_NE(inTree.rfind("..", 0), 0u);
                if (hash == std::string::npos) continue;
                const auto anchors = attributeValues(readAll(target), "name");
                const std::string fragment = href.substr(hash + 1);
                EXPECT_NE(std::find(anchors.begin(), anchors.end(), fragment), anchors.end());
            }
        }
    }
}
