#pragma once
#include <functional>
#include <string>

struct Game;

// Scripted players of rising skill that play a level through the real game.
enum class PlayerScript {
    Idle,    // never touches a key
    Novice,  // one unit down every lane every four seconds while the money lasts
    Steady,  // also meets every lane the enemy comes down, and buys some income
    Strong,  // as Steady with a tighter rhythm, and buys upgrades for its weapon
};
constexpr int kPlayerScriptCount = 4;

const char* scriptName(PlayerScript script);

struct Playtest {
    std::string config_json;  // "" leaves config.json out
    std::string levels_json;
    int level_index = 0;
    int faction = 0;
    PlayerScript script = PlayerScript::Idle;
    unsigned seed = 1;
    float time_limit = 300;  // match seconds
    // Every match after the first starts with the income the return to the level
    // selection leaves, the lower of the two; the first match has 10.
    float player_income = 5;
    // Watches the match after every frame without changing it; false ends the playtest.
    std::function<bool(const Game&)> after_frame;
};

enum class Outcome { Victory, Defeat, Undecided };

struct PlaytestResult {
    Outcome outcome = Outcome::Undecided;
    float seconds = 0;  // match time when the results appeared, or the limit
};

// Plays one level as the faction: main menu, faction card, confirmation and level card
// are clicked, then the script presses the lane keys and buys upgrades between frames
// of 1/60 s under a manual clock. Every random source is seeded, so a seed replays the
// same match.
PlaytestResult playLevel(const Playtest& test);

// A file of the source tree's data directory.
std::string shippedData(const std::string& name);
