#include "battle/battle_support.h"
#include "events.h"

namespace {
// One left press and release over a panel button, as the loop samples them.
void pressButton(Game& game, PanelButton button) {
    game.input.mouse = {20, int(40 + game.upgrade_buttons[button].getPosition().y + 10)};
    game.input.left_button = true;
    upgradeButtonsStep(game);
    upgradeButtonsStep(game);  // still held: no second purchase
    game.input.left_button = false;
    upgradeButtonsStep(game);
}
}  // namespace

using Upgrades = GameTest;

// The faction discounts and the other stats' steps are pinned by what the panel, schedule and opponents pay.
TEST_F(Upgrades, PricesGrowByLevel) {
    UpgradeState state;
    for (float price : {100.0f, 150.0f, 225.0f, 337.5f}) {
        EXPECT_FLOAT_EQ(upgradePrice(FireRate, state), price) << state.levels[FireRate];
        ++state.levels[FireRate];
    }
}

TEST_F(Upgrades, PanelButtonsChargeAndRaisePlayerStats) {
    game.player_faction = White;
    game.panel_x = game.panel_shown_x;
    Turret& unit = addUnit(game, true, 0, {380, 900});
    pressButton(game, ButtonFireRate);
    EXPECT_FLOAT_EQ(unit.fire_rate, 0.55f);
    // Each press and the money left after it: White may not buy projectile speed even with
    // money, pays a tenth for dodge and the full price for everything else.
    const std::pair<PanelButton, float> presses[] = {{ButtonProjectileSpeed, 900}, {ButtonDodge, 890},
        {ButtonRange, 790}, {ButtonMove, 690}, {ButtonMove, 540}, {ButtonIncome, 440}, {ButtonLaserDamage, 340},
        {ButtonLaserDamage, 240}};
    for (auto [button, money] : presses) {
        pressButton(game, button);
        EXPECT_FLOAT_EQ(game.player_money, money) << button;
    }
    EXPECT_FLOAT_EQ(game.player_upgrades.move_speed_bonus, 20);
    EXPECT_FLOAT_EQ(game.player_income, 15);
    EXPECT_FLOAT_EQ(game.lasers.player_damage, 0.3f);
}

TEST_F(Upgrades, ComputerOpponentStepsBonusesAndProjectileSpeed) {
    game.enemy_faction = Yellow;
    game.enemy_upgrades.move_speed_bonus = 5;  // preset by a level
    enemyBuyUpgrade(game, 3);
    EXPECT_FLOAT_EQ(game.enemy_upgrades.move_speed_bonus, 20);
    enemyBuyUpgrade(game, 4);
    EXPECT_FLOAT_EQ(game.enemy_income, 15);  // no Yellow factor on this path
    enemyBuyUpgrade(game, 5);
    EXPECT_FLOAT_EQ(game.enemy_projectile_speed, 520);
    applyEnemyUpgrades(game);
    EXPECT_FLOAT_EQ(game.enemy_projectile_speed, 570);
    enemyBuyUpgrade(game, 6);
    EXPECT_FLOAT_EQ(game.enemy_money, 1000 - 100 - 100 - 50);
}

// Only a White player is refused projectile speed; a White opponent buys it, at full price,
// and the next enemy spawn sets the speed back to the faction's own.
TEST_F(Upgrades, AWhiteOpponentBuysProjectileSpeedUntilTheNextEnemySpawn) {
    game.enemy_faction = White;
    enemyBuyUpgrade(game, 5);
    EXPECT_EQ(game.enemy_upgrades.levels[ProjectileSpeed], 1);
    EXPECT_FLOAT_EQ(game.enemy_projectile_speed, 420 + 50 + 50);
    EXPECT_TRUE(buyOpponentUpgrade(game, 4, false));
    EXPECT_EQ(game.enemy_upgrades.levels[ProjectileSpeed], 2);
    EXPECT_FLOAT_EQ(game.enemy_projectile_speed, 420 + 100 + 100);
    enemyBuyUpgrade(game, 1);  // range at full price
    EXPECT_FLOAT_EQ(game.enemy_money, 1000 - 50 - 70 - 100);
    EXPECT_FLOAT_EQ(game.enemy_projectile_speed, 420 + 100 + 100 + 100);  // every apply adds the bonus again

    spawnEnemyTurret(game, 0);
    EXPECT_FLOAT_EQ(game.enemy_projectile_speed, 1000);  // White's own speed: the default, no config.json here
    EXPECT_FLOAT_EQ(game.enemy_money, 1000 - 50 - 70 - 100 - 50);
}

TEST_F(Upgrades, NetworkOpponentAndKeysUseTheirOwnRules) {
    game.enemy_faction = White;
    EXPECT_TRUE(buyOpponentUpgrade(game, 3, true));   // old message: White's tenth
    EXPECT_TRUE(buyOpponentUpgrade(game, 3, false));  // new message: full price
    EXPECT_FLOAT_EQ(game.enemy_money, 1000 - 10 - 160);
    EXPECT_FLOAT_EQ(game.enemy_upgrades.dodge_bonus, 0.1f);
    EXPECT_FALSE(buyOpponentUpgrade(game, 7, false));
    buyOpponentUpgrade(game, 6, false);
    buyOpponentUpgrade(game, 6, false);
    EXPECT_FLOAT_EQ(game.enemy_upgrades.move_speed_bonus, 30);

    game.enemy_faction = Yellow;
    game.network_mode = true;
    float money = game.enemy_money;
    keyPress(game, sf::Keyboard::Key::Semicolon);
    EXPECT_FLOAT_EQ(game.enemy_income, 25);
    keyPress(game, sf::Keyboard::Key::L);  // a third dodge level, no tenth on this path
    EXPECT_FLOAT_EQ(money - game.enemy_money, 100 + 256);
}

TEST_F(Upgrades, EnemyRestatAndLaserTiming) {
    addUnit(game, false, 0, {380, 0});
    addUnit(game, false, 1, {450, 0}, Laser).range = 300;  // a faction value the restat replaces
    UpgradeState& enemy = game.enemy_upgrades;
    enemy.range_bonus = 20;
    enemy.fire_rate_bonus = 1.0f;
    enemy.levels[ProjectileSpeed] = 4;
    enemy.levels[FireRate] = 2;
    applyEnemyUpgrades(game);
    EXPECT_FLOAT_EQ(game.enemy_turrets[1].range, 110);
    EXPECT_FLOAT_EQ(game.enemy_turrets[1].fire_rate, 0.08f);
    EXPECT_FLOAT_EQ(game.enemy_turrets[0].fire_rate, 0.1f);  // the floor

    updateLasers(game);
    EXPECT_FLOAT_EQ(game.enemy_turrets[1].fire_rate, 0.09f);
    applyEnemyLaserOverride(game);
    EXPECT_FLOAT_EQ(game.enemy_turrets[1].fire_rate, 0.08f);
    EXPECT_FLOAT_EQ(game.lasers.enemy_damage, 0.3f);
}
