#include "content/texts.h"
#include "support.h"

#include <filesystem>
#include <regex>
#include <set>

namespace {
std::set<std::string> slotsOf(const std::string& pattern) {
    std::set<std::string> slots;
    static const std::regex slot(R"(\{[0-9]\})");
    for (std::sregex_iterator it(pattern.begin(), pattern.end(), slot), end; it != end; ++it) slots.insert(it->str());
    return slots;
}

// Every quoted text key the game's code names: "menu.single", "settings.row.vsync", …
std::set<std::string> keysNamedInCode() {
    static const std::regex key(
        R"re("((?:menu|lobby|join|factions|levels|match|net|results|replays|settings|pause|faction)\.[a-z_0-9.]+)")re");
    std::set<std::string> keys;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TARVEX_SOURCE_DIR "/src")) {
        if (!entry.is_regular_file()) continue;
        std::string source = fileContents(entry.path().string());
        for (std::sregex_iterator it(source.begin(), source.end(), key), end; it != end; ++it) keys.insert((*it)[1]);
    }
    return keys;
}
}  // namespace

// Both catalogues hold the same keys with the same slots, and every key the code names is
// in them: no text can fall back to Chinese or show its key by a slip.
TEST(Texts, BothCataloguesHoldEveryKeyTheCodeNames) {
    const Catalogue& chinese = catalogue("zh");
    const Catalogue& english = catalogue("en");
    ASSERT_GT(chinese.size(), 150u);
    for (const auto& [key, words] : chinese) {
        auto found = english.find(key);
        ASSERT_NE(found, english.end()) << key << " has no English";
        EXPECT_EQ(slotsOf(found->second), slotsOf(words)) << key;
        EXPECT_FALSE(found->second.empty()) << key;
    }
    for (const auto& [key, words] : english) EXPECT_EQ(chinese.count(key), 1u) << key << " has no Chinese";
    std::set<std::string> named = keysNamedInCode();
    EXPECT_GT(named.size(), 60u);
    // A prefix the code completes at run time ("results.taunt.") names no key itself, nor
    // does a file name ("settings.json").
    for (const std::string& key : named) {
        if (key.back() == '.' || key.find(".json") != std::string::npos) continue;
        EXPECT_EQ(chinese.count(key), 1u) << key << " is named in the code but in no catalogue";
    }
}

// The design's words stay Chinese by default: a key the shown language lacks falls back to
// Chinese, one neither has shows as itself; slots fill in place, and a data text a modder
// changed is shown as written.
TEST(Texts, FallBackToChineseAndFillTheirSlots) {
    Catalogue shown{{"a", "{1} before {0}, {0} again, {2} stays"}};
    Catalogue chinese{{"a", "甲"}, {"b", "乙"}};
    Texts texts{"en", &shown, &chinese};
    EXPECT_EQ(text(texts, "b") + text(texts, "c"), "乙c");
    EXPECT_EQ(fillText(texts, "a", {"x", "y"}), "y before x, x again, {2} stays");
    EXPECT_EQ(phraseText(textsIn("en"), {"join.refused", {"10.0.0.9:55003"}}),
              "10.0.0.9:55003 refused the connection: no host is waiting there");
    EXPECT_EQ(chineseText({"join.refused", {"10.0.0.9:55003"}}), "连接被拒绝 10.0.0.9:55003：那里没有主机在等待");

    const Texts english = textsIn("en");
    EXPECT_EQ(levelName(english, "边境哨所") + "|" + levelName(english, "我的关卡") + "|" +
                  levelDescription(english, "边境哨所", "改过的描述") + "|" + textsIn("fr").language,
              "Border Outpost|我的关卡|改过的描述|zh");
}
