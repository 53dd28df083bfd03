#pragma once

struct Game;
struct Turret;

// The six priced stats, indexing UpgradeState::levels.
enum UpgradeStat : int { FireRate = 0, Range = 1, Dodge = 2, Income = 3, MoveSpeed = 4, ProjectileSpeed = 5 };
constexpr int kUpgradeStatCount = 6;
// No side ever holds more levels of one stat: far beyond what any price allows, and it
// keeps every level-driven sum (laser damage, prices) finite and free of overflow.
constexpr int kMaxUpgradeLevel = 100;

// One row per stat: the three numberings of an upgrade kind live here and nowhere else.
struct UpgradeKind {
    UpgradeStat stat;
    const char* config_key;  // price table under /upgrades/<key>/
    const char* hud_label;   // side panel price label prefix
    int level_code;          // "type" of a levels.json upgrade schedule entry
    int wire_code;           // kind byte of MsgUpgrade
    float base_cost;         // defaults of the price table
    float cost_multiplier;
};
extern const UpgradeKind kUpgradeKinds[kUpgradeStatCount];

constexpr int kLaserDamageWireCode = 7;  // the laser upgrade has no stat and no level code

// The stat of a levels.json type code or a MsgUpgrade kind; -1 outside the tables.
int statFromLevelCode(int level_code);
int statFromWireCode(int wire_code);
// The stat of a MsgOldUpgrade kind (1 fire rate, 2 range, 3 dodge, 4 income); -1 otherwise.
int statFromOldWireCode(int old_code);

// Levels bought by one side and the bonuses they give. The player's bonuses are
// running totals (level x step); the enemy's grow by a fixed step per purchase.
struct UpgradeState {
    int levels[kUpgradeStatCount] = {};
    float laser_upgrades = 0;          // laser-damage upgrades bought, in steps of 1.0
    float fire_rate_bonus = 0;         // player: seconds off the firing interval; enemy: fraction removed
    float range_bonus = 0;             // pixels added to range
    float dodge_bonus = 0;             // added to dodge
    float move_speed_bonus = 0;        // pixels per second added to move_speed
    float projectile_speed_bonus = 0;  // added to the side's projectile speed
};

// Laser timing of both sides; every frame follows both sides' upgrade levels.
struct LaserValues {
    float base_interval = 0.1f;  // seconds between beam ticks before upgrades
    float base_damage = 0.1f;    // damage of one tick before upgrades
    float beam_life = 0.2f;      // seconds a beam lasts after its last refresh
    float player_interval = 0.1f;
    float enemy_interval = 0.1f;
    float player_damage = 0.1f;
    float enemy_damage = 0.1f;
};

// Buttons of the side panel, in the order a press tests them.
enum PanelButton : int {
    ButtonFireRate = 0, ButtonRange, ButtonDodge, ButtonProjectileSpeed, ButtonMove, ButtonIncome, ButtonLaserDamage
};
constexpr int kPanelButtonCount = 7;

// Price of the next level of a stat before any discount, from config.json on every call.
float upgradePrice(UpgradeStat stat, const UpgradeState& state);
// Multiplier a side of that faction pays for the stat.
float factionDiscount(UpgradeStat stat, int faction);
// The laser-damage upgrade's fixed price for a faction.
float laserDamagePrice(int faction);

// The player's panel purchase of one button; returns whether it was bought.
bool buyPlayerUpgrade(Game& game, PanelButton button);
// Once per running frame: the first button under the cursor on a fresh left press buys.
void upgradeButtonsStep(Game& game);

// The computer opponent's purchase by levels.json type code (0..5; others do nothing).
void enemyBuyUpgrade(Game& game, int level_code);
// A network opponent's purchase, mirrored out of enemy_money: MsgUpgrade kinds 1..7,
// or with old_message the MsgOldUpgrade kinds 1..4. Returns whether it was bought.
bool buyOpponentUpgrade(Game& game, int kind, bool old_message);
// The opponent-upgrade keys of network mode (kind 1 fire rate, 2 range, 3 dodge, 4 income);
// returns whether it was bought.
bool buyEnemyUpgradeByKey(Game& game, int kind);

// Brings a side that has bought nothing up to these levels, as if it had bought them,
// without paying and without telling anyone (a joining game that comes back to its match).
void restoreUpgradeLevels(Game& game, bool player_side, const int (&levels)[kUpgradeStatCount], int laser_upgrades);

// Pushes the enemy's upgrade state into its units, laser values and projectile speed.
void applyEnemyUpgrades(Game& game);
// Range, fire_rate, dodge and move_speed of one unit from the generic unit keys and a state.
void restatUnit(Turret& unit, const UpgradeState& state);
// Both sides' laser interval and damage, pushed into laser units and active beams.
void updateLasers(Game& game);
// Frame step: the enemy laser values follow the enemy's projectile_speed and fire_rate levels.
void applyEnemyLaserOverride(Game& game);
