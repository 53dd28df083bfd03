#pragma once
#include <string>
#include <vector>

// The complete table of config.json keys the game reads. The getters look every path up
// here, and `tarvex --check-data` judges a file by the same table.
enum class ConfigType {
    Number,    // any JSON number
    Integer,   // a whole number (a fraction would be truncated)
    Boolean,   // true or false
    Colour,    // [r, g, b], each 0..255
    UiColour,  // [r, g, b] or [r, g, b, a], each 0..255
};

enum class ConfigLimit {
    Any,
    NonNegative,  // below 0 no rule can use it
    Positive,     // 0 or below no rule can use it
    Percent,      // 0..100
};

struct ConfigKey {
    std::string path;  // JSON pointer, e.g. "/turret/player/red/hp"
    ConfigType type;
    ConfigLimit limit;
};

// Every key, with the side, faction and stat placeholders spelled out.
const std::vector<ConfigKey>& configKeys();
// The key at exactly this path, or null when the game never reads it.
const ConfigKey* findConfigKey(const std::string& path);
// Whether the path names an object on the way to some key ("/turret/player/barrel").
bool isConfigSection(const std::string& path);
