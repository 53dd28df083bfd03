#pragma once
#include <SFML/Graphics/Color.hpp>
#include <string>

// The five sides, in the order every table of the game uses.
enum Faction : int { Red = 0, Yellow = 1, Blue = 2, Purple = 3, White = 4 };
constexpr int kFactionCount = 5;

enum Weapon : int { Cannon = 0, RocketLauncher = 1, Laser = 2 };

// Everything that sets one faction apart. Every rule reads its faction's advantage here.
struct FactionRules {
    const char* config_key;       // spelling of config.json paths: "red"
    const char* level_name;       // spelling of levels.json and the level cards: "Red"
    sf::Color colour;             // hull, shells, rocket smoke, tracks, territory
    int weapon;
    float unit_price_factor;      // of the price of a unit
    float income_factor;          // per income tick, on the player's side
    float opponent_income_factor; // per income tick and per income upgrade, on the opponent's side
    float base_charge_factor;     // of every unit's charge against this faction's base
    float upgrade_price_factor;   // of the price of every upgrade, the laser's included
    float dodge_price_factor;     // of the price of a dodge level, in place of the factor above
    bool buys_projectile_speed;   // the player's panel offers projectile speed
};

extern const FactionRules kFactions[kFactionCount];

inline bool isFaction(int faction) { return faction >= 0 && faction < kFactionCount; }
// The rules of a faction; a number outside the five has no advantage.
const FactionRules& factionRules(int faction);

// "red" .. "white": the spelling of config.json paths.
const char* factionConfigKey(int faction);
// "Red" .. "White": the spelling of levels.json and the level cards.
const char* factionLevelName(int faction);
// A levels.json faction name, exact case; anything else means Red.
int factionFromLevelName(const std::string& name);

// Unit colour of a faction (white outside the five).
sf::Color factionColour(int faction);

constexpr float kUnitPrice = 50.0f;  // a unit's price before the faction's factor
// What a unit of a faction costs.
float unitPrice(int faction);
