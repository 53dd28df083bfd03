#pragma once
#include <string>

// The five sides, in the order every table of the game uses.
enum Faction : int { Red = 0, Yellow = 1, Blue = 2, Purple = 3, White = 4 };
constexpr int kFactionCount = 5;

inline bool isFaction(int faction) { return faction >= 0 && faction < kFactionCount; }

// "red" .. "white": the spelling of config.json paths.
const char* factionConfigKey(int faction);
// "Red" .. "White": the spelling of levels.json and the level cards.
const char* factionLevelName(int faction);
// A levels.json faction name, exact case; anything else means Red.
int factionFromLevelName(const std::string& name);
