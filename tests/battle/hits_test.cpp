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
    list.emplace_back(player, 1);
    list.back().id = game.next_unit_id++;
    list.back().body.setPosition(position);
    return list.back();
}

Projectile& addShell(Game& game, bool player, sf::Vector2f position, float damage = 0.6f) {
    game.projectiles.reserve(64);
    game.projectiles.push_back(makeShell(position, {0, player ? -1.0f : 1.0f}, player, sf::Color::Red, 400, 1));
    game.projectiles.back().damage_amount = damage;
    return game.projectiles.back();
}

Projectile& addRocket(Game& game, bool player, sf::Vector2f position, sf::Vector2f velocity) {
    Projectile& rocket = addShell(game, player, position);
    rocket.is_rocket = rocket.homing = 1;
    rocket.velocity = velocity;
    rocket.life_remaining = 99999.0f;
    rocket.max_speed = 1000;
    return rocket;
}

LaserBeam& addBeam(Game& game, bool owner_is_player, sf::Vector2f start, sf::Vector2f end) {
    LaserBeam beam;
    beam.start = start;
    beam.end = end;
    beam.life = beam.max_life = 0.2f;
    beam.active = 1;
    beam.owner = 999;  // no such unit: a beam outlives its owner
    beam.owner_is_player = owner_is_player;
    beam.tick_interval = 0.1f;
    game.laser_beams.reserve(64);
    game.laser_beams.push_back(beam);
    return game.laser_beams.back();
}
}  // namespace

TEST(Hits, RocketBlastDamagesEveryOpposingUnitWithin60AndTheBase) {
    GameFixture fixture;
    Game& game = *fixture.game;
    // 20 pixels below the enemy base: close enough to detonate there.
    Projectile& rocket = addRocket(game, true, {450, -560}, {0, -100});
    Turret& left = addUnit(game, false, {400, -560});
    Turret& right = addUnit(game, false, {500, -560});
    Turret& far = addUnit(game, false, {450, -499});
    Turret& own = addUnit(game, true, {450, -560});
    addRocket(game, true, {450, 300}, {0, -100});  // touches nothing
    float money = game.enemy_money;
    resolveHits(game);
    EXPECT_TRUE(rocket.hit);
    EXPECT_FLOAT_EQ(left.hp, 0.4f);
    EXPECT_FLOAT_EQ(right.hp, 0.4f);
    EXPECT_FLOAT_EQ(far.hp, 1.0f);
    EXPECT_FLOAT_EQ(own.hp, 1.0f);
    EXPECT_FLOAT_EQ(game.enemy_money, money - 0.6f);
    EXPECT_FALSE(game.projectiles[1].hit);
}

TEST(Hits, ShellStrikesOnlyTheFirstUnitAndBasesWithinTheirMargins) {
    GameFixture fixture;
    Game& game = *fixture.game;
    Turret& first = addUnit(game, false, {450, 100});
    Turret& second = addUnit(game, false, {452, 100});
    addShell(game, true, {450, 100});
    resolveHits(game);
    EXPECT_FLOAT_EQ(first.hp, 0.4f);
    EXPECT_FLOAT_EQ(second.hp, 1.0f);
    game.enemy_turrets.clear();
    game.projectiles.clear();

    // The enemy base ends at y -580, the player base starts at y 1180.
    addShell(game, true, {450, -576});
    addShell(game, true, {450, -574});
    addShell(game, false, {450, 1171});
    addShell(game, false, {450, 1169});
    addShell(game, false, {450, 1200});  // inside the rectangle
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
    Projectile& rocket = addRocket(game, true, {450, 500}, {0, -100});
    addUnit(game, false, {450, 100});
    retargetRockets(game, 0.02f);
    EXPECT_EQ(rocket.target, sf::Vector2f(450, 100));
    EXPECT_FALSE(rocket.target_is_base);

    game.enemy_turrets.clear();
    retargetRockets(game, 0.02f);
    EXPECT_EQ(rocket.target, sf::Vector2f(450, 100));

    addUnit(game, false, {600, 500});  // straight to the right
    retargetRockets(game, 0.02f);
    EXPECT_EQ(rocket.target, sf::Vector2f(600, 500));
    float heading = std::atan2(rocket.velocity.y, rocket.velocity.x);
    EXPECT_NEAR(heading, -3.14159f / 2 + 0.05f, 1e-4f);  // 2.5 rad/s towards it
    EXPECT_NEAR(std::hypot(rocket.velocity.x, rocket.velocity.y), 124.0f, 1e-3f);  // +400 x 0.02 per step

    Projectile& lost = addRocket(game, false, {450, 500}, {0, 0});
    game.player_turrets.clear();
    retargetRockets(game, 0.02f);
    EXPECT_EQ(lost.target, sf::Vector2f(450, 1180));  // nearest point of the player base
    EXPECT_TRUE(lost.target_is_base);
    EXPECT_NEAR(std::hypot(lost.velocity.x, lost.velocity.y), 108.0f, 1e-3f);  // a stalled rocket restarts at 100
}

TEST(LaserBeams, TicksFollowAndAnEnemyBeamCostsThePlayerFivePerTickAtTheBase) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.lasers.enemy_damage = 0.7f;
    game.lasers.player_damage = 0.3f;
    LaserBeam& enemy_beam = addBeam(game, false, {450, 1100}, {450, 1190});
    addBeam(game, true, {450, -500}, {450, -585});
    float player = game.player_money, enemy = game.enemy_money;
    updateLaserBeams(game, 0.06f);
    EXPECT_FLOAT_EQ(game.player_money, player);  // no tick yet
    updateLaserBeams(game, 0.06f);
    EXPECT_FLOAT_EQ(game.player_money, player - 5.0f);
    EXPECT_FLOAT_EQ(game.enemy_money, enemy - 0.3f);
    EXPECT_EQ(enemy_beam.end, sf::Vector2f(450, 1180));  // follows to the base point

    Turret& target = addUnit(game, true, {460, 1000});
    updateLaserBeams(game, 0.06f);
    EXPECT_EQ(game.laser_beams[0].end, sf::Vector2f(460, 1000));
    EXPECT_FLOAT_EQ(target.hp, 1.0f);
    game.laser_beams[0].tick_timer = 0.1f;
    game.laser_beams[0].life = 0.1f;
    updateLaserBeams(game, 0.01f);
    EXPECT_FLOAT_EQ(target.hp, 0.3f);
    updateLaserBeams(game, 0.1f);
    EXPECT_TRUE(game.laser_beams.empty());  // both beams ran out of life and were swept
}

TEST(DeadUnits, SweepKeepsInspectedUnitSelectionAndOrdersOnLivingUnits) {
    GameFixture fixture;
    Game& game = *fixture.game;
    for (int i = 0; i < 4; ++i) addUnit(game, true, {400.0f + 20 * i, 900});
    Turret& victim = addUnit(game, false, {450, 100});
    Turret& survivor = addUnit(game, false, {480, 100});
    UnitId ids[4];
    for (int i = 0; i < 4; ++i) ids[i] = game.player_turrets[i].id;
    game.selection = {ids[0], ids[2], ids[3]};
    game.player_turrets[2].attack_order = 1;
    game.player_turrets[2].attack_target = victim.id;
    game.player_turrets[3].attack_order = 1;
    game.player_turrets[3].attack_target = survivor.id;
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
    EXPECT_FALSE(game.player_turrets[0].attack_order);
    EXPECT_EQ(game.player_turrets[0].attack_target, kNoUnit);
    EXPECT_TRUE(game.player_turrets[1].attack_order);
    EXPECT_EQ(game.player_turrets[1].attack_target, game.enemy_turrets[0].id);

    game.player_turrets[0].hp = 0;
    removeDeadTurrets(game);
    EXPECT_EQ(game.inspected_unit, -1);
}

TEST(ProjectileSweeps, FirstDropsSpentShellsSecondAlsoDropsHits) {
    GameFixture fixture;
    Game& game = *fixture.game;
    addShell(game, true, {0, 0}).life_remaining = 0;
    addShell(game, true, {1, 0}).hit = 1;
    addShell(game, true, {2, 0});
    addRocket(game, true, {3, 0}, {0, -1});
    sweepSpentProjectiles(game);
    ASSERT_EQ(game.projectiles.size(), 3u);
    EXPECT_EQ(game.projectiles[0].shape.getPosition().x, 1);
    sweepFinishedProjectiles(game);
    ASSERT_EQ(game.projectiles.size(), 2u);
    EXPECT_EQ(game.projectiles[0].shape.getPosition().x, 2);
    EXPECT_EQ(game.projectiles[1].shape.getPosition().x, 3);
}
