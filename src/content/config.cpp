#include "content/config.h"
#include "content/config_keys.h"
#include "content/files.h"
#include "content/json_positions.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <sstream>
#include <type_traits>

namespace {
Config* holder = nullptr;

void warnConfig(const std::string& path) {
    std::cerr << "Warning: Could not get config value for: " << path << std::endl;
}

// A number an int cannot hold (or an array holding one) would convert with undefined
// results; it counts as a value that cannot be converted.
bool fitsInt(const nlohmann::json& value) {
    if (value.is_array()) {
        for (const nlohmann::json& entry : value)
            if (!fitsInt(entry)) return false;
        return true;
    }
    if (value.is_number_unsigned()) return value.get<std::uint64_t>() <= std::uint64_t(INT_MAX);
    if (value.is_number_integer()) return value.get<std::int64_t>() >= INT_MIN && value.get<std::int64_t>() <= INT_MAX;
    if (value.is_number_float()) return value.get<double>() > double(INT_MIN) - 1 && value.get<double>() < double(INT_MAX) + 1;
    return true;
}

// Every float the game uses must be finite: an overflowing number gives the default.
bool fitsFloat(const nlohmann::json& value) {
    return !value.is_number() || std::abs(value.get<double>()) <= double(std::numeric_limits<float>::max());
}

template <typename T>
bool fits(const nlohmann::json& value) {
    if constexpr (std::is_same_v<T, float>) return fitsFloat(value);
    else if constexpr (std::is_same_v<T, bool>) return true;
    else return fitsInt(value);
}

// Reads one value by JSON pointer; the default when absent, the default and a
// warning when the pointer is malformed or the value cannot be converted.
template <typename T>
T readValue(const nlohmann::json& document, const std::string& path, const T& fallback) {
    try {
        nlohmann::json::json_pointer pointer(path);
        if (!document.contains(pointer)) return fallback;
        const nlohmann::json& value = document.at(pointer);
        if (!fits<T>(value)) {
            warnConfig(path);
            return fallback;
        }
        return value.get<T>();
    } catch (const nlohmann::json::exception&) {
        warnConfig(path);
        return fallback;
    }
}

std::string sideName(bool is_player) { return is_player ? "player" : "enemy"; }

std::uint8_t lowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }
}  // namespace

Config& Config::instance() {
    if (!holder) {
        auto* created = new Config();
        created->load();
        holder = created;
    }
    return *holder;
}

void Config::forget() {
    delete holder;
    holder = nullptr;
}

void Config::load() {
    std::ifstream stream(findDataFile(file_name));
    if (!stream.is_open()) return;
    std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    // A broken file must not stop the game: say so once and play on defaults.
    auto refuse = [&](const std::string& why) {
        document = nullptr;
        std::cerr << "Error parsing " << file_name << ": " << why << " (using built-in defaults)" << std::endl;
    };
    if (tooDeepOffset(text) < text.size())
        return refuse("nested more than " + std::to_string(kMaxJsonNesting) + " deep");
    try {
        std::istringstream in(text);
        in >> document;  // as the stream reads it: what follows the value is not looked at
    } catch (const nlohmann::json::exception& error) {
        refuse(error.what());
    }
}

bool Config::contains(const std::string& path) const {
    try {
        return document.contains(nlohmann::json::json_pointer(path));
    } catch (const nlohmann::json::exception&) {
        return false;
    }
}

void Config::noteRead(const std::string& path) const {
    if (findConfigKey(path)) return;
    if (std::find(unlisted_reads.begin(), unlisted_reads.end(), path) == unlisted_reads.end())
        unlisted_reads.push_back(path);
}

float Config::getFloat(const std::string& path, float fallback) const {
    noteRead(path);
    return readValue<float>(document, path, fallback);
}

int Config::getInt(const std::string& path, int fallback) const {
    noteRead(path);
    return readValue<int>(document, path, fallback);
}

bool Config::getBool(const std::string& path, bool fallback) const {
    noteRead(path);
    return readValue<bool>(document, path, fallback);
}

std::vector<int> Config::getIntArray(const std::string& path, const std::vector<int>& fallback) const {
    noteRead(path);
    return readValue<std::vector<int>>(document, path, fallback);
}

float turretFloat(bool is_player, const std::string& key, float fallback) {
    return Config::instance().getFloat("/turret/" + sideName(is_player) + "/" + key, fallback);
}

int turretInt(bool is_player, const std::string& key, int fallback) {
    return Config::instance().getInt("/turret/" + sideName(is_player) + "/" + key, fallback);
}

float factionStat(bool is_player, const std::string& faction_key, const std::string& key, float fallback) {
    std::string path = "/turret/" + sideName(is_player) + "/" + faction_key + "/" + key;
    Config::instance().getFloat(path, fallback);  // read twice, as the stat table always was
    return Config::instance().getFloat(path, fallback);
}

float upgradeParam(const std::string& stat, const std::string& key, float fallback) {
    return Config::instance().getFloat("/upgrades/" + stat + "/" + key, fallback);
}

sf::Color colourFromArray(const std::vector<int>& entries, sf::Color short_fallback) {
    if (entries.size() < 3) return sf::Color(short_fallback.r, short_fallback.g, short_fallback.b, 255);
    return sf::Color(lowByte(entries[0]), lowByte(entries[1]), lowByte(entries[2]), 255);
}

sf::Color uiColourFromArray(const std::vector<int>& entries) {
    if (entries.size() >= 4)
        return sf::Color(lowByte(entries[0]), lowByte(entries[1]), lowByte(entries[2]), lowByte(entries[3]));
    if (entries.size() == 3) return sf::Color(lowByte(entries[0]), lowByte(entries[1]), lowByte(entries[2]), 255);
    return sf::Color(255, 255, 255, 255);
}

sf::Color turretColor(bool is_player, const std::string& which) {
    struct ColourKey {
        const char* which;
        std::vector<int> default_array;
        sf::Color short_fallback;
    };
    // The body colour is the odd one out: a missing key gives black, a short array the side colour.
    static const ColourKey keys[] = {
        {"body_color", {0, 0, 0}, sf::Color::Black},
        {"body_outline_color", {50, 50, 50}, sf::Color(50, 50, 50)},
        {"barrel/color", {255, 255, 255}, sf::Color::White},
        {"barrel/outline_color", {100, 100, 100}, sf::Color(100, 100, 100)},
    };
    for (const ColourKey& key : keys) {
        if (which != key.which) continue;
        sf::Color short_fallback = key.short_fallback;
        if (which == "body_color") short_fallback = is_player ? sf::Color(80, 180, 255) : sf::Color(255, 90, 70);
        std::vector<int> entries =
            Config::instance().getIntArray("/turret/" + sideName(is_player) + "/" + which, key.default_array);
        return colourFromArray(entries, short_fallback);
    }
    return sf::Color::White;
}

sf::Color uiColor(const std::string& name) {
    return uiColourFromArray(Config::instance().getIntArray("/ui/colors/" + name, {255, 255, 255}));
}

int windowAntialiasingSetting() {
    int level = Config::instance().getInt("/window/antialiasing", -1);
    return level < 0 ? -1 : std::min(level, 16);
}
