#include "content/upgrades.h"
#include "app/game.h"
#include "content/config.h"
#include "content/factions.h"

#include <cmath>

const UpgradeKind kUpgradeKinds[kUpgradeStatCount] = {
    {FireRate, "fire_rate", "Fire $", 0, 1, 100, 1.5f},
    {Range, "range", "Range $", 1, 2, 100, 1.4f},
    {Dodge, "dodge", "Dodge $", 2, 3, 100, 1.6f},
    {Income, "income", "Income $", 4, 5, 100, 1.3f},
    {MoveSpeed, "move_speed", "Move $", 3, 6, 100, 1.5f},
    {ProjectileSpeed, "projectile_speed", "ProjSp $", 5, 4, 50, 1.4f},
};

int statFromLevelCode(int level_code) {
    for (const UpgradeKind& kind : kUpgradeKinds)
        if (kind.level_code == level_code) return kind.stat;
    return -1;
}

int statFromWireCode(int wire_code) {
    for (const UpgradeKind& kind : kUpgradeKinds)
        if (kind.wire_code == wire_code) return kind.stat;
    return -1;
}

int statFromOldWireCode(int old_code) {
    static const int kOldCodes[] = {FireRate, Range, Dodge, Income};
    return old_code >= 1 && old_code <= 4 ? kOldCodes[old_code - 1] : -1;
}

float upgradePrice(UpgradeStat stat, const UpgradeState& state) {
    const UpgradeKind& kind = kUpgradeKinds[stat];
    double base = upgradeParam(kind.config_key, "base_cost", kind.base_cost);
    double multiplier = upgradeParam(kind.config_key, "cost_multiplier", kind.cost_multiplier);
    return static_cast<float>(base * std::pow(multiplier, state.levels[stat]));
}

float factionDiscount(UpgradeStat stat, int faction) {
    if (faction == Purple) return 0.5f;
    if (faction == White && stat == Dodge) return 0.1f;
    return 1.0f;
}

float laserDamagePrice(int faction) { return faction == Purple ? 50.0f : 100.0f; }

bool buyPlayerUpgrade(Game& game, PanelButton button) {
    (void)game;
    (void)button;
    return false;
}

void upgradeButtonsStep(Game& game) { (void)game; }

void enemyBuyUpgrade(Game& game, int level_code) {
    (void)game;
    (void)level_code;
}

bool buyOpponentUpgrade(Game& game, int kind, bool old_message) {
    (void)game;
    (void)kind;
    (void)old_message;
    return false;
}

void buyEnemyUpgradeByKey(Game& game, int kind) {
    (void)game;
    (void)kind;
}

void applyEnemyUpgrades(Game& game) { (void)game; }

void restatUnit(Turret& unit, const UpgradeState& state) {
    (void)unit;
    (void)state;
}

void updateLasers(Game& game) { (void)game; }

void applyEnemyLaserOverride(Game& game) { (void)game; }
