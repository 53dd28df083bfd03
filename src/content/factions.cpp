#include "content/factions.h"

// Red units cost a quarter; Yellow earns twice the income (three times as the opponent);
// a Blue base suffers a twentieth of each unit charge; Purple pays half for upgrades;
// White pays a tenth for dodge and cannot buy projectile speed.
const FactionRules kFactions[kFactionCount] = {
    {"red", "Red", sf::Color(255, 0, 0, 255), Cannon, 0.25f, 1, 1, 1, 1, 1, true},
    {"yellow", "Yellow", sf::Color(255, 255, 0, 255), RocketLauncher, 1, 2, 3, 1, 1, 1, true},
    {"blue", "Blue", sf::Color(0, 0, 255, 255), Cannon, 1, 1, 1, 0.05f, 1, 1, true},
    {"purple", "Purple", sf::Color(128, 0, 128, 255), Cannon, 1, 1, 1, 1, 0.5f, 0.5f, true},
    {"white", "White", sf::Color(255, 255, 255, 255), Laser, 1, 1, 1, 1, 1, 0.1f, false},
};

namespace {
// A number outside the five has no advantage; its paths and level name read as Red's.
const FactionRules kNoFaction = {"red", "Red", sf::Color(255, 255, 255, 255), Cannon, 1, 1, 1, 1, 1, 1, true};
}  // namespace

const FactionRules& factionRules(int faction) { return isFaction(faction) ? kFactions[faction] : kNoFaction; }

const char* factionConfigKey(int faction) { return factionRules(faction).config_key; }

const char* factionLevelName(int faction) { return factionRules(faction).level_name; }

int factionFromLevelName(const std::string& name) {
    for (int faction = 0; faction < kFactionCount; ++faction)
        if (name == kFactions[faction].level_name) return faction;
    return Red;
}

sf::Color factionColour(int faction) { return factionRules(faction).colour; }

float unitPrice(int faction) { return kUnitPrice * factionRules(faction).unit_price_factor; }
