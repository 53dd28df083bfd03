#include "battle/battle_rand.h"
#include "battle/battle_support.h"
#include "events.h"

#include <cstdlib>

using Units = BattleTest;

TEST_F(Units, LaneKeysSpawnFactionUnitsAndRedPaysAQuarter) {
    const int weapons[kFactionCount] = {Cannon, RocketLauncher, Cannon, Cannon, Laser};
    for (int faction = 0; faction < kFactionCount; ++faction) {
        game.player_faction = faction;
        keyPress(game, sf::Keyboard::Key::E);
        EXPECT_EQ(game.player_turrets.back().weapon, weapons[faction]);
        EXPECT_EQ(game.player_turrets.back().body.getFillColor(), factionColour(faction));
    }
    EXPECT_EQ(game.player_turrets.back().position, sf::Vector2f(520, 1200));
    EXPECT_FLOAT_EQ(game.player_money, 1000 - 12.5f - 4 * 50);

    game.player_faction = Red;
    game.player_money = 12.5f;
    spawnPlayerTurret(game, 1);
    game.player_money = 12.4f;
    spawnPlayerTurret(game, 1);
    spawnPlayerTurret(game, 3);  // no such lane
    EXPECT_EQ(game.player_turrets.size(), 6u);
    EXPECT_FLOAT_EQ(game.player_money, 12.4f);
}

TEST_F(Units, EnemySpawnPaysEvenWhenBlockedAndIsFreeOnTheNetwork) {
    game.enemy_faction = Red;
    keyPress(game, sf::Keyboard::Key::I);
    placeUnit(game.enemy_turrets[0], {450, -586});  // 14 pixels from the spawn point
    keyPress(game, sf::Keyboard::Key::I);
    EXPECT_EQ(game.enemy_turrets.size(), 1u);
    EXPECT_FLOAT_EQ(game.enemy_money, 1000 - 2 * 12.5f);
    placeUnit(game.enemy_turrets[0], {450, -585});
    game.network_mode = true;  // not connected: the key still spawns here, for free
    game.enemy_money = 0;
    keyPress(game, sf::Keyboard::Key::I);
    EXPECT_EQ(game.enemy_turrets.size(), 2u);
    EXPECT_EQ(game.enemy_turrets[1].position, sf::Vector2f(450, -600));
}

TEST_F(Units, PlayerBonusesAreAddedAgainOnEverySpawnWithinBounds) {
    spawnPlayerTurret(game, 0);
    game.player_upgrades.range_bonus = 10;
    game.player_upgrades.dodge_bonus = 0.5f;
    game.player_upgrades.fire_rate_bonus = 0.35f;
    applyPlayerUpgrades(game);
    spawnPlayerTurret(game, 1);
    spawnPlayerTurret(game, 2);
    const Turret& first = game.player_turrets[0];
    EXPECT_FLOAT_EQ(first.range, 90 + 30);
    EXPECT_FLOAT_EQ(game.player_turrets[2].range, 90 + 10);
    EXPECT_FLOAT_EQ(first.dodge, 0.9f);
    EXPECT_FLOAT_EQ(first.fire_rate, 0.02f);
}

namespace {
// A rocket unit (fire reach 90, movement reach 50) facing one foe of the lane at an
// edge distance; returns how far the unit moved along y in one pass of 0.1 s.
float engagedMove(Game& game, bool player, float edge, float foe_range) {
    game.player_turrets.clear();
    game.enemy_turrets.clear();
    float ahead = player ? -1.0f : 1.0f;
    addUnit(game, !player, 1, {450, 500 + ahead * (24 + edge)}).range = foe_range;
    addUnit(game, player, 1, {450, 500}, RocketLauncher);
    if (player) updatePlayerTurrets(game, 0.1f);
    else updateEnemyTurrets(game, 0.1f);
    return (player ? game.player_turrets : game.enemy_turrets)[0].position.y - 500;
}
}  // namespace

using Movement = BattleTest;
using Push = BattleTest;
using Targeting = BattleTest;

TEST_F(Movement, FourCasesWhenEngagedAndTheirMirror) {
    game.player_projectile_speed = game.enemy_projectile_speed = 50;
    EXPECT_NEAR(engagedMove(game, true, 70, 80), 5.5f, 1e-4f);    // outranged: back off
    EXPECT_NEAR(engagedMove(game, true, 70, 60), 0, 1e-4f);       // a step would not bring it in
    EXPECT_NEAR(engagedMove(game, true, 54, 40), -5.5f, 1e-4f);   // a step brings it in
    EXPECT_NEAR(engagedMove(game, true, 40, 30), 0, 1e-4f);       // safe at reach
    EXPECT_NEAR(engagedMove(game, true, 40, 60), -5.5f, 1e-4f);   // close in on the longer gun
    EXPECT_NEAR(engagedMove(game, true, 40, 45), 3.85f, 1e-4f);   // ease back
    EXPECT_NEAR(engagedMove(game, false, 70, 80), -5.5f, 1e-4f);
    EXPECT_NEAR(engagedMove(game, false, 54, 40), 5.5f, 1e-4f);
    EXPECT_NEAR(engagedMove(game, false, 40, 45), -3.85f, 1e-4f);
}

// Two units in a file and a shell coming at both: the front one advances 5.5 and steps
// 4.4 aside, the one it blocks does neither. A shell passing by and an own shell count for nothing.
TEST_F(Movement, SteersAsideFromAnIncomingShellUnlessBlockedAndBasesBlock) {
    const Turret& front = addUnit(game, true, 1, {450, 490});
    addUnit(game, true, 1, {450, 500});
    game.projectiles.push_back(makeShell({450, 400}, {0, 1}, false, sf::Color::Red, 200, 1));
    game.projectiles.push_back(makeShell({450, 400}, {1, 0}, false, sf::Color::Red, 200, 1));  // passes by
    game.projectiles.push_back(makeShell({450, 400}, {0, 1}, true, sf::Color::Red, 200, 1));   // own
    updatePlayerTurrets(game, 0.1f);
    EXPECT_FLOAT_EQ(front.position.x, 454.4f);
    EXPECT_FLOAT_EQ(front.position.y, 484.5f);
    EXPECT_EQ(game.player_turrets[1].position, sf::Vector2f(450, 500));

    EXPECT_TRUE(isBlocked(game, {0, -580 + 11.9f}, 2, &front));  // inside the grown enemy base
    EXPECT_FALSE(isBlocked(game, {0, -580 + 12}, 2, &front));
    EXPECT_FALSE(isBlocked(game, {0, -580 + 11.9f}, 2, nullptr));
}

TEST_F(Movement, AMoveOrderKeepsFiringAndEndsWithinFivePixels) {
    addUnit(game, false, 1, {450, 440}).range = 30;  // in reach, out of its own reach: no reason to move
    Turret& unit = addUnit(game, true, 1, {450, 500});
    unit.recoil_distance = 0;  // keeps the distances exact
    unit.move_target = {460.5f, 500};
    unit.move_order = 1;
    auto state = [&] { return std::make_tuple(unit.position, int(unit.move_order), game.projectiles.size()); };
    clock.advance(1);
    updatePlayerTurrets(game, 0.1f);
    EXPECT_EQ(state(), std::make_tuple(sf::Vector2f(455.5f, 500), 1, std::size_t(1)));  // 5.5 pixels on, 5 to go
    clock.advance(1);
    updatePlayerTurrets(game, 0.1f);
    EXPECT_EQ(state(), std::make_tuple(sf::Vector2f(455.5f, 500), 0, std::size_t(2)));
}

TEST_F(Push, StackedUnitsSeparateAndTheSturdierMovesLess) {
    Turret& sturdy = addUnit(game, true, 1, {450, 500});
    Turret& light = addUnit(game, true, 1, {450, 500});
    sturdy.hp = 300;
    light.hp = 100;
    seedBattleRand(3);
    pushPhysics(game, 0.1f);
    sf::Vector2f start(450, 500);
    EXPECT_GT(vectorLength(light.position - start), 0.5f);
    EXPECT_NEAR(vectorLength(sturdy.position - start) * 2, vectorLength(light.position - start), 1e-3f);
    for (int frame = 0; frame < 200; ++frame) pushPhysics(game, 0.016f);
    EXPECT_GE(vectorLength(sturdy.position - light.position), game.push_radius - 1);
}

TEST_F(Push, UnitsLeaveTheBaseTheyAttackTowardsTheField) {
    addUnit(game, true, 0, {450, -590}).push_velocity = {0, -80};
    addUnit(game, true, 0, {-100, -585});
    addUnit(game, false, 2, {900, 1175});
    pushPhysics(game, 0.016f);
    EXPECT_EQ(game.player_turrets[0].position, sf::Vector2f(450, -563));
    EXPECT_EQ(game.player_turrets[0].push_velocity, sf::Vector2f(0, 0));
    EXPECT_EQ(game.player_turrets[1].position, sf::Vector2f(-100, -563));
    EXPECT_EQ(game.enemy_turrets[0].position, sf::Vector2f(900, 1163));
}

TEST_F(Targeting, ReachOfEachWeapon) {
    game.player_projectile_speed = 50;
    Turret& unit = addUnit(game, true, 1, {450, 500});
    Turret& target = addUnit(game, false, 1, {450, 500 - 24 - 90});
    EXPECT_FALSE(canReach(game, unit, target));  // a cannon is held to how far its shells fly
    unit.weapon = RocketLauncher;
    EXPECT_TRUE(canReach(game, unit, target));  // exactly at reach
    placeUnit(target, target.position + sf::Vector2f(0, -0.5f));
    EXPECT_FALSE(canReach(game, unit, target));
}

TEST_F(Targeting, OtherLanesAreTargetedOnlyWhileUncovered) {
    // Time stands still, so no unit fires: the aim and the move show the choice.
    game.player_projectile_speed = 1000;
    addUnit(game, false, 1, {450, 400}).range = 40;
    addUnit(game, true, 0, {390, 450});
    updatePlayerTurrets(game, 0.1f);
    EXPECT_NEAR(game.player_turrets[0].barrel_degrees, 50.19f, 0.01f);  // aims at it
    EXPECT_EQ(game.player_turrets[0].position, sf::Vector2f(390, 450));  // in reach, out of its reach

    addUnit(game, true, 1, {450, 480});  // covers the enemy from its own lane
    updatePlayerTurrets(game, 0.1f);
    const Turret& moved = game.player_turrets[0];
    EXPECT_NEAR(moved.barrel_degrees, 0, 0.01f);  // aims at the base straight ahead
    EXPECT_GT(moved.position.x, 390);  // drives towards the other lane's enemy
    EXPECT_LT(moved.position.y, 450);
}
