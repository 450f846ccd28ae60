// The help window opens pages by fixed topic paths in the current language's tree,
// and moves between pages by relative links; a missing page or a dead link shows the
// user an empty window. The pages quote the program's messages from its own text
// tables, so a message changed in the program and not in its help fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/texts.h"
#include "link/exchange_texts.h"
#include "shell/shell_texts.h"
#include "tests/help/help_text.h"

namespace fs = std::filesystem;
using helptext::plainText;
using helptext::readAll;
using helptext::treeOf;

namespace {

const char* const kLanguages[] = {"en", "zh"};
// The topics the program's Help buttons and menu ask for.
const char* const kTopics[] = {
    "general.htm",   "chinfo.htm",    "chEdit.htm",      "optfeatures.htm", "keyassign.htm",
    "Scan/Scan.htm", "embmsg.htm",    "Local/Local.htm", "Print.htm",       "chcopy.htm",
    "freqcopy.htm",  "qtdqtcopy.htm", "batchedit.htm",   "password.htm",    "stundie.htm",
    "tune.htm",      "special.htm",
};

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

namespace {

// The pages a page links to, as paths inside its tree.
std::set<std::string> linkedPages(const fs::path& tree, const std::string& page) {
    std::set<std::string> linked;
    const fs::path from = tree / page;
    for (const std::string& href : attributeValues(readAll(from), "href")) {
        if (hasScheme(href)) continue;
        const std::string file = href.substr(0, href.find('#'));
        if (file.empty()) continue;
        linked.insert((from.parent_path() / file)
                          .lexically_normal()
                          .lexically_relative(tree)
                          .generic_string());
    }
    return linked;
}

// The text as the program shows it, with its one placeholder filled as the page
// writes it and its line breaks as the page's blanks.
std::string shown(const baldo7::BiText& text, bool en, const baldo7::BiText& placeholder) {
    std::string s = text.pick(en);
    if (const auto at = s.find("%1"); at != std::string::npos)
        s.replace(at, 2, placeholder.pick(en));
    return std::regex_replace(s, std::regex("\\s+"), " ");
}

}  // namespace

TEST(HelpPages, QuoteTheProgramsMessagesAsItShowsThem) {
    using namespace baldo7;
    const BiText none{"", ""};
    const struct {
        BiText text;
        const char* page;
        BiText placeholder;
    } quotes[] = {
        // Exit, New, Open, Read and a model change ask it first.
        {shelltexts::kSaveChanges, "general.htm", {"NAME", "文件名"}},
        {shelltexts::kCoverData, "general.htm", none},
        {texts::kErrorFile, "general.htm", none},
        {shelltexts::kFrequencyCleared, "general.htm", none},
        {shelltexts::kModelWindow, "general.htm", none},
        {shelltexts::kLanguageLabel, "general.htm", none},
        {link_texts::kReadOk, "general.htm", none},
        {link_texts::kWriteOk, "general.htm", none},
        {link_texts::kReselectPort, "general.htm", none},
        {link_texts::kCheckConnection, "general.htm", none},
        {link_texts::kBandDifferent, "general.htm", none},
        {texts::kFrequencyOutOfRange, "chinfo.htm", none},
        {link_texts::kWindowVerify, "verify.htm", none},
        {link_texts::kVerifyIncomplete, "verify.htm", none},
        {shelltexts::kPortWindow, "setcom.htm", none},
        {shelltexts::kPortLabel, "setcom.htm", none},
        {shelltexts::kSimulatedPortText, "setcom.htm", none},
        {shelltexts::kSimulatedPanel, "setcom.htm", none},
        {link_texts::kReselectPort, "setcom.htm", none},
        {shelltexts::kBackupIsKept, "backups.htm", {"FILE", "文件名"}},
        {shelltexts::kRadioNotKept, "backups.htm", none},
    };
    for (const char* language : kLanguages) {
        const bool en = std::string(language) == "en";
        for (const auto& q : quotes) {
            const std::string text = shown(q.text, en, q.placeholder);
            SCOPED_TRACE(std::string(language) + "/" + q.page + ": " + text);
            EXPECT_NE(plainText(readAll(treeOf(language) / q.page)).find(text), std::string::npos);
        }
    }
}

TEST(HelpPages, EveryPageIsLinkedFromTheMainPageAndLinksBack) {
    for (const char* language : kLanguages) {
        const fs::path tree = treeOf(language);
        const std::set<std::string> fromMain = linkedPages(tree, "general.htm");
        for (const std::string& page : pagesIn(tree)) {
            if (page == "general.htm") continue;
            SCOPED_TRACE(std::string(language) + "/" + page);
            EXPECT_TRUE(fromMain.count(page));
            EXPECT_TRUE(linkedPages(tree, page).count("general.htm"));
        }
    }
}

TEST(HelpPages, NoPageKeepsAClaimTheProgramHasOutgrown) {
    const struct {
        const char* language;
        const char* claim;
    } outgrown[] = {
        // Print is in the File menu of the service configuration.
        {"en", "not offered with this radio"},
        {"zh", "本机型不提供"},
        // A read replaces the data only once it is complete.
        {"en", "mixture of the blocks already read"},
        {"zh", "一部分是已读出的新数据"},
        // Every change, a copy tool's among them, is an undo step.
        {"en", "There is no undo"},
        {"zh", "无法撤销"},
        // An insert that would push channel 16 out says so.
        {"en", "channel 16 is in use the keys do nothing"},
        {"zh", "第 16 信道有数据时按键不起作用"},
    };
    for (const auto& o : outgrown) {
        const fs::path tree = treeOf(o.language);
        for (const std::string& page : pagesIn(tree)) {
            SCOPED_TRACE(std::string(o.language) + "/" + page + ": " + o.claim);
            EXPECT_EQ(plainText(readAll(tree / page)).find(o.claim), std::string::npos);
        }
    }
}
