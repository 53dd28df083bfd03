#include "app/game.h"
#include "battle/hits.h"
#include "support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
// The helpers hand out references into the lists; room for 64 keeps them valid.
Turret& addUnit(Game& game, bool player, sf::Vector2f position) {
    auto& list = player ? game.player_turrets : game.enemy_turrets;
    list.reserve(64);
    list.emplace_back(player, 1).id = game.next_unit_id++;
    list.back().body.setPosition(position);
    return list.back();
}

Projectile& addShot(Game& game, bool player, sf::Vector2f position, bool rocket = false) {
    game.projectiles.reserve(64);
    Projectile& shot = game.projectiles.emplace_back(
        makeShell(position, {0, player ? -1.0f : 1.0f}, player, sf::Color::Red, 100, rocket ? 99999.0f : 1));
    shot.damage_amount = 0.6f;
    shot.is_rocket = shot.homing = rocket;
    shot.max_speed = 1000;
    return shot;
}

// Owned by a unit that no longer exists: a beam outlives its owner.
void addBeam(Game& game, bool owner_is_player, sf::Vector2f start, sf::Vector2f end) {
    game.laser_beams.push_back({start, end, 0.2f, 0.2f, 1, sf::Color::White, 999, owner_is_player, 0, 0.1f});
}
}  // namespace

TEST(Hits, RocketBlastDamagesEveryOpposingUnitWithin60AndTheBase) {
    GameFixture fixture;
    Game& game = *fixture.game;
    Projectile& rocket = addShot(game, true, {450, -560}, true);  // 20 below the enemy base: detonates
    Turret& left = addUnit(game, false, {400, -560});
    Turret& right = addUnit(game, false, {500, -560});
    Turret& far = addUnit(game, false, {450, -499});
    Turret& own = addUnit(game, true, {450, -560});
    Projectile& clear = addShot(game, true, {450, 300}, true);
    float money = game.enemy_money;
    resolveHits(game);
    EXPECT_TRUE(rocket.hit);
    EXPECT_FALSE(clear.hit);
    EXPECT_FLOAT_EQ(left.hp, 0.4f);
    EXPECT_FLOAT_EQ(right.hp, 0.4f);
    EXPECT_FLOAT_EQ(far.hp + own.hp, 2.0f);
    EXPECT_FLOAT_EQ(game.enemy_money, money - 0.6f);
}

TEST(Hits, ShellStrikesOnlyTheFirstUnitAndBasesWithinTheirMargins) {
    GameFixture fixture;
    Game& game = *fixture.game;
    Turret& first = addUnit(game, false, {450, 100});
    Turret& second = addUnit(game, false, {452, 100});
    addShot(game, true, {450, 100});
    resolveHits(game);
    EXPECT_FLOAT_EQ(first.hp, 0.4f);
    EXPECT_FLOAT_EQ(second.hp, 1.0f);

    game.projectiles.clear();
    // The enemy base ends at y -580, the player base starts at y 1180.
    for (float y : {-576.0f, -574.0f}) addShot(game, true, {450, y});
    for (float y : {1171.0f, 1169.0f, 1200.0f}) addShot(game, false, {450, y});
    float player = game.player_money, enemy = game.enemy_money;
    resolveHits(game);
    const bool expected_hits[] = {true, false, true, false, true};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bool(game.projectiles[i].hit), expected_hits[i]) << i;
    EXPECT_FLOAT_EQ(game.enemy_money, enemy - 0.6f);
    EXPECT_FLOAT_EQ(game.player_money, player - 1.2f);
}

TEST(Hits, RocketKeepsItsDeadTargetsPlaceUntilAnOpponentAppears) {
    GameFixture fixture;
    Game& game = *fixture.game;
    Projectile& rocket = addShot(game, true, {450, 500}, true);
    addUnit(game, false, {450, 100});
    retargetRockets(game, 0.02f);
    game.enemy_turrets.clear();
    retargetRockets(game, 0.02f);
    EXPECT_EQ(rocket.target, sf::Vector2f(450, 100));
    EXPECT_FALSE(rocket.target_is_base);

    addUnit(game, false, {600, 500});  // straight to the right
    retargetRockets(game, 0.02f);
    EXPECT_EQ(rocket.target, sf::Vector2f(600, 500));
    EXPECT_NEAR(std::atan2(rocket.velocity.y, rocket.velocity.x), -3.14159f / 2 + 0.05f, 1e-4f);
    EXPECT_NEAR(std::hypot(rocket.velocity.x, rocket.velocity.y), 124.0f, 1e-3f);  // +400 x 0.02 per step
}

TEST(LaserBeams, TicksFollowAndAnEnemyBeamCostsThePlayerFivePerTickAtTheBase) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.lasers.enemy_damage = 0.7f;
    game.lasers.player_damage = 0.3f;
    addBeam(game, false, {450, 1100}, {450, 1190});
    addBeam(game, true, {450, -500}, {450, -585});
    float player = game.player_money, enemy = game.enemy_money;
    updateLaserBeams(game, 0.06f);
    EXPECT_FLOAT_EQ(game.player_money, player);  // no tick yet
    updateLaserBeams(game, 0.06f);
    EXPECT_FLOAT_EQ(game.player_money, player - 5.0f);
    EXPECT_FLOAT_EQ(game.enemy_money, enemy - 0.3f);
    EXPECT_EQ(game.laser_beams[0].end, sf::Vector2f(450, 1180));  // follows to the base point

    Turret& target = addUnit(game, true, {460, 1000});
    game.laser_beams[0].tick_timer = 0.035f;
    updateLaserBeams(game, 0.06f);
    EXPECT_EQ(game.laser_beams[0].end, sf::Vector2f(460, 1000));
    updateLaserBeams(game, 0.01f);
    EXPECT_FLOAT_EQ(target.hp, 0.3f);
    updateLaserBeams(game, 0.1f);
    EXPECT_TRUE(game.laser_beams.empty());  // both lived out their 0.2 s
}

TEST(DeadUnits, SweepKeepsInspectedUnitSelectionAndOrdersOnLivingUnits) {
    GameFixture fixture;
    Game& game = *fixture.game;
    UnitId ids[4];
    for (int i = 0; i < 4; ++i) ids[i] = addUnit(game, true, {400.0f + 20 * i, 900}).id;
    Turret& victim = addUnit(game, false, {450, 100});
    UnitId survivor = addUnit(game, false, {480, 100}).id;
    game.selection = {ids[0], ids[2], ids[3]};
    game.player_turrets[2].attack_order = game.player_turrets[3].attack_order = 1;
    game.player_turrets[2].attack_target = victim.id;
    game.player_turrets[3].attack_target = survivor;
    game.inspected_unit = 2;
    game.inspected_side = true;
    game.player_turrets[0].hp = 0;
    game.player_turrets[1].hp = -1;
    victim.hp = 0;

    removeDeadTurrets(game);
    ASSERT_EQ(game.player_turrets.size(), 2u);
    ASSERT_EQ(game.enemy_turrets.size(), 1u);
    EXPECT_EQ(game.inspected_unit, 0);
    EXPECT_EQ(game.player_turrets[0].id, ids[2]);
    EXPECT_EQ(game.selection, (std::vector<UnitId>{ids[2], ids[3]}));
    EXPECT_EQ(game.player_turrets[0].attack_order + game.player_turrets[0].attack_target, 0u);
    EXPECT_EQ(game.player_turrets[1].attack_target, survivor);

    game.player_turrets[0].hp = 0;
    removeDeadTurrets(game);
    EXPECT_EQ(game.inspected_unit, -1);
}
