#include "content/waves.h"
#include "app/game.h"
#include "battle/battle_rand.h"
#include "battle/turret.h"
#include "content/factions.h"
#include "content/levels.h"
#include "content/upgrades.h"


namespace {
// The wave timer advances by a fixed step per frame, not by the frame time.
constexpr float kSpawnTimerStep = 0.016f;

// A wave lane outside 0..2 other than -1 (random) names no lane; such a wave is passed
// over like a wave of no units, so the waves after it still come.
bool isPlayableLane(long long lane) { return lane == -1 || (lane >= 0 && lane <= 2); }

void endWave(Game& game) {
    game.wave_index += 1;
    game.wave_spawned = 0;
    game.spawn_timer = 0;
}

void attemptSpawn(Game& game, const nlohmann::json& wave) {
    long long lane = levelInteger(wave, "lane", -1);
    if (lane == -1) lane = battleRand() % 3;
    // The attempt counts even when the spawn point is blocked and nothing appears.
    if (game.enemy_money >= unitPrice(game.enemy_faction)) {
        spawnEnemyTurret(game, static_cast<int>(lane));
        game.wave_spawned += 1;
    }
    game.spawn_timer = 0;
}

void runUnitWaves(Game& game) {
    if (game.wave_list.empty()) return;
    float t = game.match_clock.elapsedSeconds();
    if (game.wave_index >= game.wave_list.size()) {
        game.wave_index = 0;
        game.spawn_timer = 0;
        game.wave_spawned = 0;
        game.match_clock.restart();
        t = 0;
    }
    const nlohmann::json& wave = game.wave_list[game.wave_index];
    // The wave's time gates every frame: after a clock restart a wave in progress pauses.
    if (t >= levelNumber(wave, "time", 0.0)) {
        if (game.wave_spawned >= levelInteger(wave, "count", 1) || !isPlayableLane(levelInteger(wave, "lane", -1)))
            endWave(game);
        else if (game.spawn_timer >= levelNumber(wave, "interval", 0.5))
            attemptSpawn(game, wave);
    }
    game.spawn_timer += kSpawnTimerStep;
}

// Price of the next level of a schedule entry's type; an unknown type costs nothing.
float scheduleCost(const Game& game, int stat) {
    if (stat < 0) return 0;
    UpgradeStat upgrade = UpgradeStat(stat);
    return upgradePrice(upgrade, game.enemy_upgrades) * factionDiscount(upgrade, game.enemy_faction);
}

void runUpgradeSchedule(Game& game) {
    if (game.upgrade_schedule.empty()) return;
    float t = game.match_clock.elapsedSeconds();
    if (game.schedule_index >= game.upgrade_schedule.size()) {
        game.schedule_index = 0;
        game.match_clock.restart();  // also the time base of the waves
        t = 0;
    }
    while (game.schedule_index < game.upgrade_schedule.size()) {
        const nlohmann::json& entry = game.upgrade_schedule[game.schedule_index];
        if (t < levelNumber(entry, "time", 0.0)) return;
        long long code = levelInteger(entry, "type", 0);
        int stat = code >= 0 && code <= 5 ? statFromLevelCode(static_cast<int>(code)) : -1;
        if (scheduleCost(game, stat) > game.enemy_money) return;  // the entry waits for money
        // Every level checks the money again, so fewer levels than asked may be bought;
        // an unknown type buys nothing and the entry is still consumed.
        long long levels = levelInteger(entry, "levels", 1);
        for (long long i = 0; stat >= 0 && i < levels && scheduleCost(game, stat) <= game.enemy_money; ++i)
            enemyBuyUpgrade(game, static_cast<int>(code));
        game.schedule_index += 1;
    }
}
}  // namespace

void runWaves(Game& game) {
    if (game.network_mode) return;
    runUnitWaves(game);
    runUpgradeSchedule(game);
}
