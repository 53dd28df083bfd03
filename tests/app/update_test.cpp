#include "app/screen.h"
#include "app/update.h"
#include "battle/battle_support.h"
#include "battle/turret.h"
#include "content/factions.h"

#include <gtest/gtest.h>

namespace {
// A confirmed single-player match whose clocks follow the test's manual time.
void startMatch(Game& game) {
    game.game_started = game.faction_confirmed = game.level_running = true;
    game.level_select_active = false;
    update(game, 0);
}

void step(Game& game, ManualClockSource& clock, float dt) {
    clock.advance(dt);
    update(game, dt);
}
}  // namespace

using MatchFrame = BattleTest;

TEST_F(MatchFrame, IncomeTickWithYellowFactorsAndCameraKeyStep) {
    game.player_faction = Yellow;
    game.enemy_faction = Red;
    game.player_income = game.enemy_income = 10;
    startMatch(game);
    float player = game.player_money, enemy = game.enemy_money;
    step(game, clock, 2.5f);
    EXPECT_FLOAT_EQ(game.player_money, player + 20);
    EXPECT_FLOAT_EQ(game.enemy_money, enemy + 10);
    step(game, clock, 0.9f);  // one tick per frame: the 1.5 s beyond it were dropped
    EXPECT_FLOAT_EQ(game.player_money, player + 20);
    game.player_faction = Blue;
    game.enemy_faction = Yellow;
    step(game, clock, 0.1f);
    EXPECT_FLOAT_EQ(game.player_money, player + 30);
    EXPECT_FLOAT_EQ(game.enemy_money, enemy + 40);

    // The camera keys move a fixed step per frame whatever the frame time.
    game.input.key_up = true;
    float start = game.camera_target.y;
    update(game, 0.001f);
    EXPECT_FLOAT_EQ(game.camera_target.y, start - 8);
    update(game, 0.25f);
    EXPECT_FLOAT_EQ(game.camera_target.y, start - 16);
    game.input.key_down = true;  // both held cancel out
    update(game, 0.1f);
    EXPECT_FLOAT_EQ(game.camera_target.y, start - 16);
}

TEST_F(MatchFrame, WholeMatchPlaysToAWinnerAndResetsToTheLevelSelection) {
    std::srand(5);
    game.player_faction = Yellow;  // rockets
    game.enemy_faction = Blue;     // shells; its base suffers 0.05 per unit charge, 1.0 per rocket
    startMatch(game);
    game.player_income = game.enemy_income = 0;  // money moves only by spending and hits
    game.player_money = 160;
    game.enemy_money = 60;
    for (int lane = 0; lane < 3; ++lane) spawnPlayerTurret(game, lane);
    spawnEnemyTurret(game, 1);

    const float dt = 1.0f / 64;
    int blasts_on_base = 0;
    for (int frame = 0; frame < 64 * 120 && game.enemy_money >= 0; ++frame) {
        float before = game.enemy_money;
        step(game, clock, dt);
        if (before - game.enemy_money >= 1.0f - 1e-4f) ++blasts_on_base;
    }
    EXPECT_TRUE(game.enemy_turrets.empty());    // shot down by rockets
    EXPECT_LT(game.player_turrets.size(), 3u);  // a shell got through too
    EXPECT_GE(blasts_on_base, 5);               // rockets on the base
    ASSERT_LT(game.enemy_money, 0);
    EXPECT_GE(game.player_money, 0);
    // The frame in which the enemy's money fell below zero ended the match as a victory.
    EXPECT_TRUE(game.game_over);  // the results themselves are the Results tests' concern

    game.player_upgrades.levels[Range] = 2;
    game.wave_list.emplace_back();
    game.wave_index = 1;
    sf::Vector2f frozen = game.player_turrets[0].body.getPosition();
    for (int frame = 0; frame < 191; ++frame) step(game, clock, dt);
    EXPECT_EQ(currentScreen(game), Screen::Results);
    EXPECT_EQ(game.player_turrets[0].body.getPosition(), frozen);  // the field stands still

    EXPECT_EQ(stdoutOf([&] { step(game, clock, dt); }), "🔄 返回关卡选择界面，所有状态已重置\n");  // 3 s of results
    EXPECT_FALSE(game.game_over || game.level_running);
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);
    EXPECT_EQ(game.results_timer + game.match_clock.elapsedSeconds(), 0);
    EXPECT_EQ(std::make_pair(game.player_faction, game.enemy_faction), std::make_pair(int(Yellow), int(Blue)));
    EXPECT_EQ(game.player_turrets.size() + game.enemy_turrets.size() + game.projectiles.size() +
                  game.laser_beams.size() + game.wave_list.size(), 0u);
    EXPECT_EQ(sf::Vector2f(game.player_money, game.enemy_money), sf::Vector2f(game.start_money[0], game.start_money[1]));
    EXPECT_EQ(sf::Vector2f(game.player_income, game.enemy_income), sf::Vector2f(5, 5));
    EXPECT_EQ(sf::Vector2f(game.player_projectile_speed, game.enemy_projectile_speed), sf::Vector2f(420, 420));
    EXPECT_EQ(game.player_upgrades.levels[Range] + int(game.wave_index), 0);
    EXPECT_EQ(game.shown_levels, game.all_levels);
}

// The easing step is d x k x dt x 2 with k up to 10: past 0.05 s a frame it would carry
// the view beyond its target, and at 0.1 s swing it about the target for ever.
TEST_F(MatchFrame, CameraEasesOntoItsTargetAtAnyFrameRate) {
    startMatch(game);
    const sf::Vector2f start = game.world_view.getCenter();
    const sf::Vector2f target = start + sf::Vector2f(0, 200);
    game.camera_target = target;
    step(game, clock, 1.0f / 60);  // as it always was: a third of the way at k = 10
    EXPECT_NEAR(game.world_view.getCenter().y, start.y + 200.0f / 3, 1e-3f);

    for (float dt : {0.04f, 0.1f, 0.5f}) {
        game.world_view.setCenter(start);
        for (int frame = 0; frame < 20; ++frame) {
            step(game, clock, dt);
            ASSERT_LE(game.world_view.getCenter().y, target.y) << dt << " frame " << frame;
        }
        EXPECT_NEAR(game.world_view.getCenter().y, target.y, 1.0f) << dt;
    }
    game.world_view.setCenter(target - sf::Vector2f(0, 3));  // near the target k = 2 L
    step(game, clock, 0.1f);
    EXPECT_EQ(game.world_view.getCenter(), target);
}

// A step of 27.5 pixels at 0.5 s would pass a point 20 pixels away and swing about it
// without ever coming within the 5 pixels that end the order.
TEST_F(MatchFrame, AMoveOrderArrivesAtLowFrameRates) {
    startMatch(game);
    for (float dt : {0.1f, 0.5f}) {
        game.player_turrets.clear();
        Turret& unit = addUnit(game, true, 1, {450, 500});
        unit.move_target = {450, 480};
        unit.move_order = 1;
        int frames = 0;
        for (; frames < 10 && game.player_turrets[0].move_order; ++frames) {
            step(game, clock, dt);
            if (game.player_turrets[0].move_order) {
                ASSERT_GE(game.player_turrets[0].body.getPosition().y, 480) << dt;
            }
        }
        EXPECT_LE(frames, 4) << dt;
        EXPECT_EQ(game.player_turrets[0].move_order, 0) << dt;
    }
}

// From 0.2 s a frame a beam used to live out its 0.2 s in the frame that fired it, before
// its first tick: lasers never hurt anyone.
TEST_F(MatchFrame, LasersBurnAtLowFrameRates) {
    startMatch(game);
    for (float dt : {0.1f, 0.5f}) {
        game.player_turrets.clear();
        game.enemy_turrets.clear();
        game.laser_beams.clear();
        // Two units standing still, each in the other's range.
        Turret& mine = addUnit(game, true, 1, {450, 500}, Laser);
        Turret& enemy = addUnit(game, false, 1, {450, 440}, Laser);
        mine.hp = enemy.hp = 100;
        mine.move_speed = enemy.move_speed = 0;
        for (int frame = 0; frame < 3; ++frame) step(game, clock, dt);
        EXPECT_LT(enemy.hp, 100 - 0.15f) << dt;  // at least two ticks of 0.1
        EXPECT_LT(mine.hp, 100 - 0.15f) << dt;
    }
    game.player_turrets.clear();  // with no one to refresh them the beams go in the next frame
    game.enemy_turrets.clear();
    ASSERT_FALSE(game.laser_beams.empty());
    step(game, clock, 0.5f);
    EXPECT_TRUE(game.laser_beams.empty());
}

// Two flight steps of a frame carry a shell 96 pixels at 10 frames a second, far more
// than the 28 across which a unit is struck: it used to fly through most targets.
TEST_F(MatchFrame, ShellsStrikeAtLowFrameRates) {
    startMatch(game);
    game.player_income = game.enemy_income = 0;
    for (float dt : {1.0f / 60, 0.05f, 0.1f, 0.2f}) {
        for (float gap : {40.0f, 55.0f, 70.0f, 85.0f, 100.0f}) {
            game.player_turrets.clear();
            game.enemy_turrets.clear();
            game.projectiles.clear();
            // A gun standing still before a target standing still that never fires back.
            Turret& gun = addUnit(game, true, 1, {450, 500});
            Turret& target = addUnit(game, false, 1, {450, 500 - gap});
            gun.move_speed = target.move_speed = 0;
            gun.recoil_distance = 0;
            target.fire_rate = 1e9f;
            target.hp = 100;
            game.player_projectile_speed = 480;
            game.player_projectile_lifetime = 1;
            for (float time = 0; time < 2.0f; time += dt) step(game, clock, dt);  // shots at 0.6, 1.2 and 1.8 s
            EXPECT_FLOAT_EQ(target.hp, 100 - 3) << "dt " << dt << " gap " << gap;
        }
    }
}
