#include "content/factions.h"

namespace {
const char* const kConfigKeys[kFactionCount] = {"red", "yellow", "blue", "purple", "white"};
const char* const kLevelNames[kFactionCount] = {"Red", "Yellow", "Blue", "Purple", "White"};
}  // namespace

const char* factionConfigKey(int faction) { return isFaction(faction) ? kConfigKeys[faction] : "red"; }

const char* factionLevelName(int faction) { return isFaction(faction) ? kLevelNames[faction] : "Red"; }

int factionFromLevelName(const std::string& name) {
    for (int faction = 0; faction < kFactionCount; ++faction)
        if (name == kLevelNames[faction]) return faction;
    return Red;
}
