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
