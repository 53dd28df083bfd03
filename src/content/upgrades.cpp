#include "content/upgrades.h"
#include "app/game.h"
#include "battle/battle_math.h"
#include "content/config.h"
#include "content/factions.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    return static_cast<float>(base * battlePower(multiplier, state.levels[stat]));
}

namespace {
constexpr float kLaserDamagePrice = 100.0f;  // before the faction's factor
}  // namespace

float factionDiscount(UpgradeStat stat, int faction) {
    const FactionRules& rules = factionRules(faction);
    return stat == Dodge ? rules.dodge_price_factor : rules.upgrade_price_factor;
}

float laserDamagePrice(int faction) { return kLaserDamagePrice * factionRules(faction).upgrade_price_factor; }

namespace {
// Bonus gained per level (player) or per purchase (opponents); income has no bonus.
// The player's move and projectile steps are smaller than the opponent's, as designed.
constexpr float kPlayerBonusStep[kUpgradeStatCount] = {0.05f, 10.0f, 0.05f, 0.0f, 10.0f, 25.0f};
constexpr float kOpponentBonusStep[kUpgradeStatCount] = {0.05f, 10.0f, 0.05f, 0.0f, 15.0f, 50.0f};
constexpr float kIncomeStep = 5.0f;
constexpr float kEnemyBaseProjectileSpeed = 420.0f;
constexpr UpgradeStat kButtonStats[kPanelButtonCount - 1] = {FireRate, Range, Dodge, ProjectileSpeed, MoveSpeed, Income};

float* bonusOf(UpgradeState& state, UpgradeStat stat) {
    switch (stat) {
    case FireRate: return &state.fire_rate_bonus;
    case Range: return &state.range_bonus;
    case Dodge: return &state.dodge_bonus;
    case MoveSpeed: return &state.move_speed_bonus;
    case ProjectileSpeed: return &state.projectile_speed_bonus;
    case Income: break;
    }
    return nullptr;
}

// Every purchase: nothing happens when the money is short, otherwise it is paid first.
bool pay(float& money, float cost) {
    if (money < cost) return false;
    money -= cost;
    return true;
}

// The price a network opponent pays: only the faction's factor on every upgrade, unless
// the old message's rule also grants the dodge factor.
float opponentCost(const Game& game, UpgradeStat stat, bool dodge_discount) {
    float factor = dodge_discount ? factionDiscount(stat, game.enemy_faction)
                                  : factionRules(game.enemy_faction).upgrade_price_factor;
    return factor * upgradePrice(stat, game.enemy_upgrades);
}

// A network opponent's level: the bonus is set from the level, and the income step grows
// by the faction's opponent income factor.
bool buyOpponentStat(Game& game, UpgradeStat stat, bool dodge_discount) {
    if (game.enemy_upgrades.levels[stat] >= kMaxUpgradeLevel) return false;
    if (!pay(game.enemy_money, opponentCost(game, stat, dodge_discount))) return false;
    UpgradeState& state = game.enemy_upgrades;
    int level = ++state.levels[stat];
    if (stat == Income) {
        game.enemy_income += kIncomeStep * factionRules(game.enemy_faction).opponent_income_factor;
        return true;
    }
    *bonusOf(state, stat) = float(level) * kOpponentBonusStep[stat];
    if (stat == ProjectileSpeed) game.enemy_projectile_speed = kEnemyBaseProjectileSpeed + state.projectile_speed_bonus;
    applyEnemyUpgrades(game);
    return true;
}

bool buttonUnderCursor(const Game& game, int button) {
    const sf::RectangleShape& shape = game.upgrade_buttons[button];
    sf::FloatRect placed({game.panel_x + shape.getPosition().x, 40 + shape.getPosition().y - game.panel_scroll}, {shape.getSize().x, shape.getSize().y});
    return placed.contains(sf::Vector2f(game.input.mouse));
}

float laserInterval(const LaserValues& lasers, int level) {
    return std::max(0.02f, lasers.base_interval - 0.005f * float(level));
}

// Laser units of a side fire at that side's interval, and its beams tick at it.
void pushLaserInterval(Game& game, bool player_side) {
    float interval = player_side ? game.lasers.player_interval : game.lasers.enemy_interval;
    for (Turret& unit : player_side ? game.player_turrets : game.enemy_turrets)
        if (unit.weapon == Laser) unit.fire_rate = interval;
    for (LaserBeam& beam : game.laser_beams)
        if (beam.active && bool(beam.owner_is_player) == player_side) beam.tick_interval = interval;
}

// The enemy laser follows its projectile-speed level for the interval and its
// fire-rate level for the damage.
void setEnemyLaserFromUpgrades(Game& game) {
    const UpgradeState& state = game.enemy_upgrades;
    game.lasers.enemy_interval = laserInterval(game.lasers, state.levels[ProjectileSpeed]);
    game.lasers.enemy_damage = game.lasers.base_damage * float(1 + state.levels[FireRate]);
}
}  // namespace

bool buyPlayerUpgrade(Game& game, PanelButton button) {
    if (button < 0 || button >= kPanelButtonCount) return false;
    UpgradeState& state = game.player_upgrades;
    int wire_code = kLaserDamageWireCode;
    if (button == ButtonLaserDamage) {
        if (!pay(game.player_money, laserDamagePrice(game.player_faction))) return false;
        state.laser_upgrades += 1.0f;
        updateLasers(game);
    } else {
        UpgradeStat stat = kButtonStats[button];
        if (stat == ProjectileSpeed && !factionRules(game.player_faction).buys_projectile_speed) return false;
        if (state.levels[stat] >= kMaxUpgradeLevel) return false;
        if (!pay(game.player_money, factionDiscount(stat, game.player_faction) * upgradePrice(stat, state))) return false;
        int level = ++state.levels[stat];
        if (stat == Income) {
            game.player_income += kIncomeStep;
        } else {
            *bonusOf(state, stat) = float(level) * kPlayerBonusStep[stat];
            applyPlayerUpgrades(game);
        }
        wire_code = kUpgradeKinds[stat].wire_code;
    }
    BattleEvent bought{BattleEventKind::UpgradeBought};
    bought.code = std::uint8_t(wire_code);
    bought.money = game.player_money;
    game.events.push_back(bought);
    return true;
}

void upgradeButtonsStep(Game& game) {
    bool fresh_press = game.input.left_button && !game.left_was_pressed;
    game.left_was_pressed = game.input.left_button;
    // A replay presses the buttons the recorded frame pressed, and no others.
    if (auto fed = takeFedCommand(game.replay, ReplayCommandKind::PanelPress)) {
        buyPlayerUpgrade(game, PanelButton(fed->value));
        return;
    }
    if (!fresh_press || game.replay.playing) return;
    for (int button = 0; button < kPanelButtonCount; ++button) {
        if (!buttonUnderCursor(game, button)) continue;
        recordCommand(game.replay, commandOf(ReplayCommandKind::PanelPress, 0, std::uint8_t(button)));
        buyPlayerUpgrade(game, PanelButton(button));
        return;
    }
}

void enemyBuyUpgrade(Game& game, int level_code) {
    int found = statFromLevelCode(level_code);
    if (found < 0) return;
    UpgradeStat stat = UpgradeStat(found);
    UpgradeState& state = game.enemy_upgrades;
    if (state.levels[stat] >= kMaxUpgradeLevel) return;
    if (!pay(game.enemy_money, factionDiscount(stat, game.enemy_faction) * upgradePrice(stat, state))) return;
    ++state.levels[stat];
    if (stat == Income) {
        game.enemy_income += kIncomeStep;
        return;
    }
    // The bonus grows by a step, so a bonus preset by the level adds to it.
    *bonusOf(state, stat) += kOpponentBonusStep[stat];
    if (stat == ProjectileSpeed) game.enemy_projectile_speed = state.projectile_speed_bonus + kEnemyBaseProjectileSpeed;
    applyEnemyUpgrades(game);
}

bool buyOpponentUpgrade(Game& game, int kind, bool old_message) {
    int stat = old_message ? statFromOldWireCode(kind) : statFromWireCode(kind);
    if (stat < 0) return false;
    return buyOpponentStat(game, UpgradeStat(stat), old_message);
}

bool buyEnemyUpgradeByKey(Game& game, int kind) {
    int stat = statFromOldWireCode(kind);
    return stat >= 0 && buyOpponentStat(game, UpgradeStat(stat), false);
}

void applyEnemyUpgrades(Game& game) {
    const UpgradeState& state = game.enemy_upgrades;
    // Cumulative: every run adds the bonus again, until the next enemy spawn resets the speed.
    game.enemy_projectile_speed += state.projectile_speed_bonus;
    setEnemyLaserFromUpgrades(game);
    pushLaserInterval(game, false);
    for (Turret& unit : game.enemy_turrets) {
        restatUnit(unit, state);
        if (unit.weapon == Laser) unit.fire_rate = game.lasers.enemy_interval;
    }
}

void restatUnit(Turret& unit, const UpgradeState& state) {
    bool side = unit.is_player;
    unit.range = turretFloat(side, "range", 90) + state.range_bonus;
    unit.fire_rate = std::max(0.1f, turretFloat(side, "fire_rate", 0.6f) * (1 - state.fire_rate_bonus));
    unit.dodge = turretFloat(side, "dodge", 0) + state.dodge_bonus;
    unit.move_speed = turretFloat(side, "move_speed", 55) + state.move_speed_bonus;
}

void updateLasers(Game& game) {
    LaserValues& lasers = game.lasers;
    lasers.player_interval = laserInterval(lasers, game.player_upgrades.levels[FireRate]);
    lasers.player_damage = lasers.base_damage + 0.1f * game.player_upgrades.laser_upgrades;
    lasers.enemy_interval = laserInterval(lasers, game.enemy_upgrades.levels[FireRate]);
    lasers.enemy_damage = lasers.base_damage + 0.1f * game.enemy_upgrades.laser_upgrades;
    pushLaserInterval(game, true);
    pushLaserInterval(game, false);
}

void applyEnemyLaserOverride(Game& game) {
    setEnemyLaserFromUpgrades(game);
    pushLaserInterval(game, false);
}

void restoreUpgradeLevels(Game& game, bool player_side, const int (&levels)[kUpgradeStatCount], int laser_upgrades) {
    float& money = player_side ? game.player_money : game.enemy_money;
    const float kept_money = money;
    const std::size_t kept_events = game.events.size();
    money = std::numeric_limits<float>::max();
    for (int button = 0; button < kPanelButtonCount; ++button) {
        bool laser = button == ButtonLaserDamage;
        UpgradeStat stat = laser ? FireRate : kButtonStats[button];
        int wanted = laser ? laser_upgrades : std::min(levels[stat], kMaxUpgradeLevel);
        for (int bought = 0; bought < wanted; ++bought) {
            if (player_side) buyPlayerUpgrade(game, PanelButton(button));
            else if (!laser) buyOpponentStat(game, stat, false);  // an opponent's laser damage is not mirrored
        }
    }
    money = kept_money;
    game.events.resize(kept_events);  // the purchases were made long ago
}
