#pragma once
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The words the player reads, by key, in Chinese and English. The catalogues are
// data/lang/zh.json and data/lang/en.json, built into the game so it always has them.
// The log lines on standard output are not among them: they stay in Chinese.

using Catalogue = std::map<std::string, std::string, std::less<>>;

// The language shown, with Chinese behind it: a key the shown language lacks reads in
// Chinese, and a key neither has reads as itself, so a slip shows instead of crashing.
struct Texts {
    std::string language = "zh";
    const Catalogue* shown = nullptr;
    const Catalogue* chinese = nullptr;
};

// "zh" and "en".
bool isLanguage(std::string_view language);
// The texts of a language; any other code gives Chinese.
Texts textsIn(std::string_view language);
// A built-in catalogue, parsed once; Chinese for an unknown code.
const Catalogue& catalogue(std::string_view language);

const std::string& text(const Texts& texts, std::string_view key);
// The text with each {0}, {1}, … replaced by the words given in that place.
std::string fillText(const Texts& texts, std::string_view key, std::initializer_list<std::string_view> words);
// A text the data files or the battle give in the design's words (a level's name or
// description), in the shown language when the Chinese catalogue holds those very words
// under the key; a text changed by a modder stays as written.
const std::string& dataText(const Texts& texts, std::string_view key, const std::string& written);
// The shipped level's name and description, by the name levels.json gives it.
const std::string& levelName(const Texts& texts, const std::string& name);
const std::string& levelDescription(const Texts& texts, const std::string& name, const std::string& description);

// A line made in the simulation and shown later: its key and the words that fill it, so
// it is written in whatever language is shown when it is drawn.
struct Phrase {
    std::string key;
    std::vector<std::string> words;
};
std::string phraseText(const Texts& texts, const Phrase& phrase);
// The phrase in Chinese, as the log writes it.
std::string chineseText(const Phrase& phrase);
