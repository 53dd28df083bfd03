#include "battle/battle_support.h"
#include "battle/hits.h"

namespace {
Projectile& addShot(Game& game, bool player, sf::Vector2f position, bool rocket = false) {
    game.projectiles.reserve(64);
    Projectile& shot = game.projectiles.emplace_back(
        makeShell(position, {0, player ? -1.0f : 1.0f}, player, sf::Color::Red, 100, rocket ? 99999.0f : 1));
    shot.damage_amount = 0.6f;
    shot.is_rocket = shot.homing = rocket;
    shot.max_speed = 1000;
    return shot;
}
}  // namespace

using Hits = BattleTest;

TEST_F(Hits, RocketBlastDamagesEveryOpposingUnitWithin60AndTheBase) {
    Projectile& rocket = addShot(game, true, {450, -560}, true);  // 20 below the enemy base: detonates
    Turret& left = addUnit(game, false, 1, {400, -560});
    Turret& right = addUnit(game, false, 1, {500, -560});
    Turret& far = addUnit(game, false, 1, {450, -499});
    Turret& own = addUnit(game, true, 1, {450, -560});
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

TEST_F(Hits, ShellStrikesOnlyTheFirstUnitAndBasesWithinTheirMargins) {
    Turret& first = addUnit(game, false, 1, {450, 100});
    Turret& second = addUnit(game, false, 1, {452, 100});
    addShot(game, true, {450, 100});
    // The enemy base ends at y -580 (margin 5), the player base starts at y 1180 (margin 10).
    for (float y : {-576.0f, -574.0f}) addShot(game, true, {450, y});
    for (float y : {1171.0f, 1169.0f, 1200.0f}) addShot(game, false, {450, y});
    float player = game.player_money, enemy = game.enemy_money;
    resolveHits(game);
    EXPECT_FLOAT_EQ(first.hp, 0.4f);
    EXPECT_FLOAT_EQ(second.hp, 1.0f);
    const bool expected_hits[] = {true, true, false, true, false, true};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bool(game.projectiles[i].hit), expected_hits[i]) << i;
    EXPECT_FLOAT_EQ(game.enemy_money, enemy - 0.6f);
    EXPECT_FLOAT_EQ(game.player_money, player - 1.2f);
}

TEST_F(Hits, RocketKeepsItsDeadTargetsPlaceUntilAnOpponentAppears) {
    Projectile& rocket = addShot(game, true, {450, 500}, true);
    addUnit(game, false, 1, {450, 100});
    retargetRockets(game, 0.02f);
    game.enemy_turrets.clear();
    retargetRockets(game, 0.02f);
    EXPECT_EQ(rocket.target, sf::Vector2f(450, 100));
    addUnit(game, false, 1, {600, 500});  // straight to the right
    retargetRockets(game, 0.02f);
    EXPECT_NEAR(std::atan2(rocket.velocity.y, rocket.velocity.x), -3.14159f / 2 + 0.05f, 1e-4f);
}

TEST_F(Hits, LaserBeamsTickFollowAndAnEnemyBeamCostsThePlayerFivePerTickAtTheBase) {
    game.lasers.enemy_damage = 0.7f;
    game.lasers.player_damage = 0.3f;
    // Owned by units that no longer exist: a beam outlives its owner.
    game.laser_beams.push_back({{450, 1100}, {450, 1190}, 0.2f, 0.2f, 1, sf::Color::White, 999, false, 0, 0.1f});
    game.laser_beams.push_back({{450, -500}, {450, -585}, 0.2f, 0.2f, 1, sf::Color::White, 999, true, 0, 0.1f});
    float player = game.player_money, enemy = game.enemy_money;
    updateLaserBeams(game, 0.06f);
    EXPECT_FLOAT_EQ(game.player_money, player);  // no tick yet
    updateLaserBeams(game, 0.06f);
    EXPECT_FLOAT_EQ(game.player_money, player - 5.0f);
    EXPECT_FLOAT_EQ(game.enemy_money, enemy - 0.3f);
    EXPECT_EQ(game.laser_beams[0].end, sf::Vector2f(450, 1180));  // follows to the base point
    Turret& target = addUnit(game, true, 1, {460, 1000});
    game.laser_beams[0].tick_timer = 0.035f;
    updateLaserBeams(game, 0.06f);  // follows to the unit
    updateLaserBeams(game, 0.01f);  // and burns it at the next tick
    EXPECT_FLOAT_EQ(target.hp, 0.3f);
    updateLaserBeams(game, 0.1f);
    EXPECT_TRUE(game.laser_beams.empty());  // both lived out their 0.2 s
}

TEST_F(Hits, DeadUnitSweepKeepsInspectedUnitSelectionAndOrdersOnLivingUnits) {
    std::vector<Turret>& mine = game.player_turrets;
    for (float hp : {0.0f, -1.0f, 1.0f, 1.0f}) addUnit(game, true, 1, {400 + 20 * float(mine.size()), 900}).hp = hp;
    Turret& victim = addUnit(game, false, 1, {450, 100});
    victim.hp = 0;
    UnitId survivor = addUnit(game, false, 1, {480, 100}).id;
    std::vector<UnitId> living = {mine[2].id, mine[3].id};
    game.selection = {mine[0].id, living[0], living[1]};
    mine[2].attack_order = mine[3].attack_order = 1;
    mine[2].attack_target = victim.id;
    mine[3].attack_target = survivor;
    game.inspected_unit = 2;
    game.inspected_side = true;
    removeDeadTurrets(game);
    ASSERT_EQ(mine.size(), 2u);
    EXPECT_EQ(game.enemy_turrets.size(), 1u);
    EXPECT_EQ(game.inspected_unit, 0);  // found again by position
    EXPECT_EQ(game.selection, living);
    EXPECT_EQ(mine[0].attack_order + mine[0].attack_target, 0u);
    EXPECT_EQ(mine[1].attack_target, survivor);
    mine[0].hp = 0;
    removeDeadTurrets(game);
    EXPECT_EQ(game.inspected_unit, -1);
}
