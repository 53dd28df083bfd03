#include "content/replay_start.h"
#include "app/game.h"
#include "battle/state_digest.h"
#include "content/config.h"

#include <cmath>
#include <ctime>
#include <limits>
#include <sstream>

#ifndef TARVEX_VERSION
#define TARVEX_VERSION "unknown"
#endif

using nlohmann::json;

namespace {
template <typename Engine>
std::string engineText(const Engine& engine) {
    std::ostringstream text;
    text << engine;
    return text.str();
}

json upgradesOf(const UpgradeState& state) {
    return {{"levels", state.levels},
            {"bonuses", {state.laser_upgrades, state.fire_rate_bonus, state.range_bonus, state.dodge_bonus,
                         state.move_speed_bonus, state.projectile_speed_bonus}}};
}

float* bonusesOf(UpgradeState& state, int i) {
    float* bonuses[] = {&state.laser_upgrades, &state.fire_rate_bonus, &state.range_bonus, &state.dodge_bonus,
                        &state.move_speed_bonus, &state.projectile_speed_bonus};
    return bonuses[i];
}

// A number a float holds: a larger one would not convert.
bool isFloat(const json& value) {
    return value.is_number() && std::abs(value.get<double>()) <= double(std::numeric_limits<float>::max());
}

bool readUpgrades(const json& value, UpgradeState& state) {
    if (!value.is_object()) return false;
    const json& levels = value.value("levels", json());
    const json& bonuses = value.value("bonuses", json());
    if (!levels.is_array() || levels.size() != kUpgradeStatCount || !bonuses.is_array() || bonuses.size() != 6)
        return false;
    for (int i = 0; i < kUpgradeStatCount; ++i) {
        if (!levels[i].is_number_integer()) return false;
        long long level = levels[i].get<long long>();
        if (level < 0 || level > kMaxUpgradeLevel) return false;
        state.levels[i] = int(level);
    }
    for (int i = 0; i < 6; ++i) {
        if (!isFloat(bonuses[i])) return false;
        *bonusesOf(state, i) = bonuses[i].get<float>();
    }
    return true;
}

// Both sides' values of a pair of fields, read only when both are finite numbers.
bool readPair(const json& economy, const char* key, float& player, float& enemy) {
    const json& pair = economy.value(key, json());
    if (!pair.is_array() || pair.size() != 2) return false;
    for (const json& value : pair)
        if (!isFloat(value)) return false;
    player = pair[0].get<float>();
    enemy = pair[1].get<float>();
    return true;
}

}  // namespace

void sampleMoneyCurve(ReplayLog& log, const Game& game, double before) {
    if (before < 0) log.money.clear();
    if (before < 0 || std::floor(log.game_time * 2) > std::floor(before * 2))
        log.money.push_back({game.player_money, game.enemy_money});
}

void clearFieldForMatch(Game& game) {
    Effects& effects = game.effects;
    effects.particles.clear();
    effects.muzzle_flashes.clear();
    effects.explosions.clear();
    effects.track_marks.clear();
    effects.spread = NormalSpread();
    clearHexTerritory(game);
}

json matchEconomy(const Game& game) {
    return {{"money", {game.player_money, game.enemy_money}},
            {"start_money", game.start_money},
            {"income", {game.player_income, game.enemy_income}},
            {"projectile_speed", {game.player_projectile_speed, game.enemy_projectile_speed}},
            {"projectile_lifetime", {game.player_projectile_lifetime, game.enemy_projectile_lifetime}},
            {"upgrades", {upgradesOf(game.player_upgrades), upgradesOf(game.enemy_upgrades)}},
            {"next_unit_id", game.next_unit_id}};
}

std::string applyMatchEconomy(Game& game, const json& economy) {
    bool read = readPair(economy, "money", game.player_money, game.enemy_money) &&
                readPair(economy, "start_money", game.start_money[0], game.start_money[1]) &&
                readPair(economy, "income", game.player_income, game.enemy_income) &&
                readPair(economy, "projectile_speed", game.player_projectile_speed, game.enemy_projectile_speed) &&
                readPair(economy, "projectile_lifetime", game.player_projectile_lifetime,
                         game.enemy_projectile_lifetime);
    const json& upgrades = economy.value("upgrades", json());
    read = read && upgrades.is_array() && upgrades.size() == 2 && readUpgrades(upgrades[0], game.player_upgrades) &&
           readUpgrades(upgrades[1], game.enemy_upgrades);
    const json& next_id = economy.value("next_unit_id", json());
    if (!read || !next_id.is_number_unsigned() || next_id.get<std::uint64_t>() > 0xffffffffu)
        return "its economy is missing or out of range";
    game.next_unit_id = UnitId(next_id.get<std::uint64_t>());
    return "";
}

void beginRecording(Game& game, int level, const json& level_data) {
    ReplayLog& log = game.replay;
    if (log.playing) return;
    log.recording = true;
    log.pending.clear();
    log.previous_frame_us = 0;
    log.game_time = 0;
    sampleMoneyCurve(log, game, -1);
    Replay& replay = log.replay;
    replay = Replay{};
    replay.game_version = TARVEX_VERSION;
    replay.build = thisBuild();
    replay.level = level;
    replay.level_name = game.level_name;
    replay.host = game.lobby.is_host;
    replay.player_faction = game.player_faction;
    replay.enemy_faction = game.enemy_faction;
    replay.recorded_at = std::int64_t(std::time(nullptr));
    const json& config = Config::instance().document;
    replay.config = config.is_null() ? json::object() : config;
    replay.levels = game.all_levels;
    replay.level_data = level_data.is_object() ? level_data : json::object();
    replay.economy = matchEconomy(game);
    if (level == 0)
        replay.link = {{"peer_version", game.link.peer_version},
                       {"round_trip_ms", game.link.round_trip_ms},
                       {"smoothed_round_trip_ms", game.link.smoothed_round_trip_ms},
                       {"share_battle", game.sync.share_battle}};
    replay.battle_rand = battleRandState();
    replay.units_rng = engineText(game.rng);
    replay.effects_rng = engineText(game.effects.rng);
}

