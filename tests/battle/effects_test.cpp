#include "battle/battle_support.h"

TEST(Effects, CannonShotAddsEightySparksAndTwentySmokePuffs) {
    Effects effects;
    emitMuzzleSparks(effects, {100, 200}, effects.muzzle_particle_count, -90);
    emitMuzzleSmoke(effects, {100, 200}, effects.muzzle_particle_count / 4, -90);
    ASSERT_EQ(effects.particles.size(), 100u);
    for (size_t i = 0; i < 80; ++i) EXPECT_LT(effects.particles[i].vy, 0);  // the barrel points up the screen
    // Two updates per frame: every spark is gone after 0.1 s of wall time, the smoke is not.
    updateEffects(effects, 0.1f);
    updateEffects(effects, 0.1f);
    EXPECT_EQ(effects.particles.size(), 20u);
}

TEST(Effects, MuzzleFlashPeaksHalfwayAndExplosionsCarryRingsAndDebris) {
    Effects effects;
    addMuzzleFlash(effects, {5, 6});
    updateEffects(effects, 0.02f);
    updateEffects(effects, 0.02f);
    EXPECT_NEAR(effects.muzzle_flashes.at(0).size, 22.5f, 1e-3);
    updateEffects(effects, 0.04f);
    EXPECT_TRUE(effects.muzzle_flashes.empty());

    spawnExplosion(effects, {200, 300}, 60);
    const Explosion& explosion = effects.explosions.at(0);
    ASSERT_EQ(explosion.rings.size(), 2u);
    EXPECT_EQ(explosion.rings[1].getRadius(), 30.0f);
    size_t debris = explosion.debris.size();
    EXPECT_TRUE(debris >= 30 && debris < 50) << debris;
    updateEffects(effects, 0.4f);
    EXPECT_EQ(effects.explosions.at(0).debris.size(), debris);  // debris stays with its explosion
    updateEffects(effects, 0.4f);
    EXPECT_TRUE(effects.explosions.empty());
}

using Tracks = BattleTest;

TEST_F(Tracks, FollowMovementInTheSideColourAndFreezeWhenSwitchedOff) {
    game.enemy_faction = Blue;
    Turret& player = addUnit(game, true, 0, {100, 100});
    Turret& enemy = addUnit(game, false, 0, {300, 100});
    placeUnit(player, {103.7f, 100});
    placeUnit(enemy, {300, 100.05f});  // too little to leave a mark
    layTracks(game);
    std::vector<TrackMark>& marks = game.effects.track_marks;
    ASSERT_EQ(marks.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(marks[i].x, 100 + 3.7f * float(i) / 3, 1e-4);
        EXPECT_EQ(marks[i].colour, sf::Color(255, 0, 0, 200));
        EXPECT_NEAR(marks[i].vy, 1, 1e-6);  // barrel up: the mark drifts down
    }
    placeUnit(enemy, {300, 102.1f});
    layTracks(game);
    ASSERT_EQ(marks.size(), 5u);
    EXPECT_EQ(marks[3].colour, sf::Color(0, 0, 255, 200));

    // Trails switched off: no new marks, and the ones laid stand still.
    game.effects.trail_enabled = 0;
    placeUnit(player, {150, 100});
    layTracks(game);
    TrackMark first = marks[0];
    updateEffects(game.effects, 1.0f);
    ASSERT_EQ(marks.size(), 5u);
    EXPECT_EQ(std::make_pair(marks[0].life, marks[0].y), std::make_pair(first.life, first.y));
}
