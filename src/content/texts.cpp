#include "content/texts.h"

#include <nlohmann/json.hpp>

// Made at build time from data/lang/*.json.
extern const char kChineseCatalogue[];
extern const char kEnglishCatalogue[];

namespace {
Catalogue parseCatalogue(const char* json_text) {
    Catalogue entries;
    nlohmann::json json = nlohmann::json::parse(json_text, nullptr, false);
    if (!json.is_object()) return entries;
    for (auto it = json.begin(); it != json.end(); ++it)
        if (it.value().is_string()) entries.emplace(it.key(), it.value().get<std::string>());
    return entries;
}

const std::string* find(const Catalogue* entries, std::string_view key) {
    if (!entries) return nullptr;
    auto it = entries->find(key);
    return it == entries->end() ? nullptr : &it->second;
}

template <typename Word>
std::string fill(const std::string& pattern, const Word* words, std::size_t count) {
    std::string filled;
    filled.reserve(pattern.size() + 16);
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        bool slot = pattern[at] == '{' && at + 2 < pattern.size() && pattern[at + 2] == '}' && pattern[at + 1] >= '0' &&
                    pattern[at + 1] <= '9';
        std::size_t index = slot ? std::size_t(pattern[at + 1] - '0') : count;
        if (index < count) {
            filled += words[index];
            at += 2;
        } else {
            filled += pattern[at];
        }
    }
    return filled;
}
}  // namespace

bool isLanguage(std::string_view language) { return language == "zh" || language == "en"; }

const Catalogue& catalogue(std::string_view language) {
    static const Catalogue chinese = parseCatalogue(kChineseCatalogue);
    static const Catalogue english = parseCatalogue(kEnglishCatalogue);
    return language == "en" ? english : chinese;
}

Texts textsIn(std::string_view language) {
    std::string code = isLanguage(language) ? std::string(language) : "zh";
    return {code, &catalogue(code), &catalogue("zh")};
}

const std::string& text(const Texts& texts, std::string_view key) {
    if (const std::string* found = find(texts.shown, key)) return *found;
    if (const std::string* found = find(texts.chinese, key)) return *found;
    // Kept so the reference stays valid; only a key missing from both lands here.
    thread_local std::string missing;
    missing = key;
    return missing;
}

std::string fillText(const Texts& texts, std::string_view key, std::initializer_list<std::string_view> words) {
    return fill(text(texts, key), words.begin(), words.size());
}

const std::string& dataText(const Texts& texts, std::string_view key, const std::string& written) {
    const std::string* design = find(texts.chinese, key);
    if (!design || *design != written) return written;
    const std::string* found = find(texts.shown, key);
    return found ? *found : written;
}

namespace {
// The key of a level's text, built in a buffer kept between calls: the match header asks
// every frame, and this way asks without allocating.
const std::string& levelKey(const char* prefix, const std::string& name) {
    thread_local std::string key;
    key.assign(prefix);
    key += name;
    return key;
}
}  // namespace

const std::string& levelName(const Texts& texts, const std::string& name) {
    return dataText(texts, levelKey("level.name.", name), name);
}

const std::string& levelDescription(const Texts& texts, const std::string& name, const std::string& description) {
    return dataText(texts, levelKey("level.description.", name), description);
}

std::string chineseText(const Phrase& phrase) { return phraseText(textsIn("zh"), phrase); }

std::string phraseText(const Texts& texts, const Phrase& phrase) {
    return fill(text(texts, phrase.key), phrase.words.data(), phrase.words.size());
}
