#pragma once
#include <nlohmann/json.hpp>
#include <string>

struct Game;

// The one level used when levels.json cannot be opened.
nlohmann::json defaultLevel();
// Fills all_levels from the file (the default level when it cannot be opened).
void loadLevels(Game& game, const std::string& file_name);
// Resets the battlefield and applies one level to the match.
void startLevel(Game& game, const nlohmann::json& level);

// Readers of one key of a level, wave or schedule entry. A missing key, a value of the
// wrong JSON type, or an entry that is not an object at all gives the fallback, so a
// badly typed level can be shown and played without an exception.
std::string levelText(const nlohmann::json& entry, const char* key, const std::string& fallback);
double levelNumber(const nlohmann::json& entry, const char* key, double fallback);
// Any JSON number, truncated toward zero and held within the range of long long.
long long levelInteger(const nlohmann::json& entry, const char* key, long long fallback);
