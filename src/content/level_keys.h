#pragma once
// The keys of levels.json the game reads, by the object they belong to; the loader,
// the wave driver and the level cards read these names, and `tarvex --check-data`
// judges a file by them.
#include <string>
#include <vector>

inline const std::vector<std::string> kLevelFileKeys = {"levels"};
inline const std::vector<std::string> kLevelKeys = {
    "name",          "description",         "faction", "difficulty", "player_bonus",
    "enemy_initial_money", "enemy_income",  "enemy_upgrade_level", "enemy_bonuses", "enemy_presets",
    "waves",         "upgrades",            "enemy_spawn_count",   "enemy_spawn_rate"};
inline const std::vector<std::string> kEnemyBonusKeys = {"fire_rate", "range", "dodge", "move_speed"};
inline const std::vector<std::string> kWaveKeys = {"time", "count", "interval", "lane", "unit_type"};
inline const std::vector<std::string> kScheduleKeys = {"time", "type", "levels"};
// Schedule "type" names, by level-file code.
inline const std::vector<std::string> kScheduleTypeNames = {"fire", "range", "dodge", "move", "income", "projSpeed"};
