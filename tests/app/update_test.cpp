#include "app/screen.h"
#include "battle/battle_rand.h"
#include "battle/battle_support.h"
#include "battle/state_digest.h"
#include "content/levels.h"
#include "events.h"

#include <tuple>

namespace {
// A confirmed single-player match whose clocks follow the test's manual time.
void startMatch(Game& game, int player_faction = Red, int enemy_faction = Red) {
    enterMatch(game, player_faction, enemy_faction);
    update(game, 0);
}

constexpr float kDt = 1.0f / 64;  // exact in microseconds, so frame counts are exact too

// One unit of the level's wave at 3 s; both sides have money for anything.
struct PauseTest : BattleTest {
    void SetUp() override {
        game.game_started = game.faction_confirmed = true;
        stdoutOf([&] { startLevel(game, nlohmann::json::parse(R"({"faction": "Blue", "enemy_initial_money": 1000,
            "enemy_income": 10, "waves": [{"time": 3, "count": 1, "interval": 0, "lane": 1}]})")); });
    }
    void pressP() { stdoutOf([&] { keyPress(game, sf::Keyboard::Key::P); }); }
};

// Everything of the match that a frame can change: the battle's digest and the clocks it leaves out.
auto matchState(const Game& game) {
    return std::make_tuple(battleDigest(game), game.match_clock.elapsedMicroseconds(), game.spawn_timer,
                           game.income_clock.elapsedMicroseconds(),
                           game.player_turrets.at(0).base_hit_clock.elapsedMicroseconds());
}
}  // namespace

using MatchFrame = BattleTest;

TEST_F(MatchFrame, IncomeTickWithYellowFactorsAndCameraKeyStep) {
    startMatch(game, Yellow, Red);
    game.player_income = game.enemy_income = 10;
    float player = game.player_money, enemy = game.enemy_money;
    auto money = [&] { return sf::Vector2f(game.player_money - player, game.enemy_money - enemy); };
    step(2.5f);
    EXPECT_EQ(money(), sf::Vector2f(20, 10));
    step(0.9f);  // one tick per frame: the 1.5 s beyond it were dropped
    EXPECT_EQ(money(), sf::Vector2f(20, 10));
    game.player_faction = Blue;
    game.enemy_faction = Yellow;
    step(0.1f);
    EXPECT_EQ(money(), sf::Vector2f(30, 40));

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
    seedBattleRand(5);
    startMatch(game, Yellow, Blue);  // rockets against shells; Blue's base suffers 0.05 per unit charge, 1.0 per rocket
    game.player_income = game.enemy_income = 0;  // money moves only by spending and hits
    game.player_money = 160;
    game.enemy_money = 60;
    for (int lane = 0; lane < 3; ++lane) spawnPlayerTurret(game, lane);
    spawnEnemyTurret(game, 1);

    int blasts_on_base = 0;
    for (int frame = 0; frame < 64 * 120 && game.enemy_money >= 0; ++frame) {
        float before = game.enemy_money;
        step(kDt);
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
    sf::Vector2f frozen = game.player_turrets[0].position;
    step(kDt, 191);
    EXPECT_EQ(currentScreen(game), Screen::Results);
    EXPECT_EQ(game.player_turrets[0].position, frozen);  // the field stands still

    EXPECT_EQ(stdoutOf([&] { step(kDt); }), "🔄 返回关卡选择界面，所有状态已重置\n");  // 3 s of results
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
    step(1.0f / 60);  // as it always was: a third of the way at k = 10
    EXPECT_NEAR(game.world_view.getCenter().y, start.y + 200.0f / 3, 1e-3f);

    for (float dt : {0.04f, 0.1f, 0.5f}) {
        game.world_view.setCenter(start);
        for (int frame = 0; frame < 20; ++frame) {
            step(dt);
            ASSERT_LE(game.world_view.getCenter().y, target.y) << dt << " frame " << frame;
        }
        EXPECT_NEAR(game.world_view.getCenter().y, target.y, 1.0f) << dt;
    }
    game.world_view.setCenter(target - sf::Vector2f(0, 3));  // near the target k = 2 L
    step(0.1f);
    EXPECT_EQ(game.world_view.getCenter(), target);
}

// Low frame rates used to break three things. A move step of 27.5 pixels at 0.5 s would pass
// a point 20 pixels away and swing about it without ever coming within the 5 that end the order.
TEST_F(MatchFrame, OrdersBeamsAndShellsWorkAtLowFrameRates) {
    startMatch(game);
    game.player_income = game.enemy_income = 0;
    for (float dt : {0.1f, 0.5f}) {
        game.player_turrets.clear();
        Turret& unit = addUnit(game, true, 1, {450, 500});
        unit.move_target = {450, 480};
        unit.move_order = 1;
        int frames = 0;
        for (; frames < 10 && unit.move_order; ++frames) {
            step(dt);
            ASSERT_TRUE(!unit.move_order || unit.position.y >= 480) << dt;  // never past the point
        }
        EXPECT_LE(frames, 4) << dt;
        EXPECT_EQ(unit.move_order, 0) << dt;
    }

    // From 0.2 s a frame a beam used to live out its 0.2 s in the frame that fired it, before
    // its first tick: lasers never hurt anyone.
    for (float dt : {0.1f, 0.5f}) {
        game.player_turrets.clear();
        game.enemy_turrets.clear();
        game.laser_beams.clear();
        // Two units standing still, each in the other's range.
        Turret& mine = addUnit(game, true, 1, {450, 500}, Laser);
        Turret& enemy = addUnit(game, false, 1, {450, 440}, Laser);
        mine.hp = enemy.hp = 100;
        mine.move_speed = enemy.move_speed = 0;
        step(dt, 3);
        EXPECT_LT(enemy.hp, 100 - 0.15f) << dt;  // at least two ticks of 0.1
        EXPECT_LT(mine.hp, 100 - 0.15f) << dt;
    }
    game.player_turrets.clear();  // with no one to refresh them the beams go in the next frame
    game.enemy_turrets.clear();
    ASSERT_FALSE(game.laser_beams.empty());
    step(0.5f);
    EXPECT_TRUE(game.laser_beams.empty());

    // Two flight steps of a frame carry a shell 96 pixels at 10 frames a second, far more
    // than the 28 across which a unit is struck: it used to fly through most targets.
    game.player_projectile_speed = 480;
    game.player_projectile_lifetime = 1;
    for (float dt : {1.0f / 60, 0.05f, 0.1f, 0.2f}) {
        for (float gap : {40.0f, 55.0f, 70.0f, 85.0f, 100.0f}) {
            game.player_turrets.clear();
            game.enemy_turrets.clear();
            game.projectiles.clear();
            // A gun standing still before a target standing still that never fires back.
            Turret& gun = addUnit(game, true, 1, {450, 500});
            Turret& target = addUnit(game, false, 1, {450, 500 - gap});
            gun.move_speed = target.move_speed = gun.recoil_distance = 0;
            target.fire_rate = 1e9f;
            target.hp = 100;
            for (float time = 0; time < 2.0f; time += dt) step(dt);  // shots at 0.6, 1.2 and 1.8 s
            EXPECT_FLOAT_EQ(target.hp, 100 - 3) << "dt " << dt << " gap " << gap;
        }
    }
}

TEST_F(PauseTest, NothingMovesOrPaysWhilePausedAndTheNextWaveComesAsLateAsThePauseWasLong) {
    spawnPlayerTurret(game, 0);
    step(kDt, 64);  // 1 s: one income tick, the unit on its way
    ASSERT_TRUE(game.enemy_turrets.empty());
    game.selection = {game.player_turrets[0].id};
    pressP();
    ASSERT_TRUE(game.paused);
    const auto before = matchState(game);
    const std::int64_t paused_at = game.match_clock.elapsedMicroseconds();

    // Ten paused seconds of trying to change the match: spawn keys, an order, a held click on Range.
    game.panel_x = 0;
    game.input.mouse = {50, 40 + 105 + 10};
    game.input.left_button = true;
    for (int second = 0; second < 10; ++second) {
        for (auto key : {sf::Keyboard::Key::Q, sf::Keyboard::Key::W, sf::Keyboard::Key::U}) keyPress(game, key);
        press(game, 700, 100, sf::Mouse::Button::Right);
        step(kDt, 64);
    }
    EXPECT_TRUE(matchState(game) == before);
    EXPECT_EQ(game.player_turrets.size(), 1u);
    EXPECT_FALSE(game.player_turrets[0].move_order);

    EXPECT_EQ(stdoutOf([&] { keyPress(game, sf::Keyboard::Key::P); }), "▶ 游戏继续\n");
    EXPECT_FALSE(game.paused);
    // The wave due 2 s after the pause began comes 2 s (128 frames) after the resume.
    step(kDt, 127);
    EXPECT_TRUE(game.enemy_turrets.empty());
    step(kDt);
    EXPECT_EQ(game.enemy_turrets.size(), 1u);
    EXPECT_EQ(game.player_upgrades.levels[Range], 0);  // the click held since the pause is no fresh press
    EXPECT_EQ(game.match_clock.elapsedMicroseconds(), paused_at + 2'000'000);
}

TEST_F(PauseTest, OnlyARunningSinglePlayerMatchPausesAndLeavingItEndsThePause) {
    for (bool network : {false, true}) {  // the level selection, then a network match
        game.level_running = network;
        game.level_select_active = !network;
        game.network_mode = game.lobby_active = game.lobby.connected = network;
        pressP();
        EXPECT_FALSE(game.paused) << network;
    }
    game.network_mode = game.lobby_active = game.lobby.connected = false;

    EXPECT_EQ(stdoutOf([&] { keyPress(game, sf::Keyboard::Key::P); }), "⏸ 游戏已暂停\n");
    EXPECT_TRUE(game.paused && matchClocksHeld());
    // The camera keys still move the view while the match stands still.
    game.input.key_up = true;
    float camera = game.camera_target.y;
    step(kDt);
    EXPECT_FLOAT_EQ(game.camera_target.y, camera - 8);

    EXPECT_EQ(stdoutOf([&] { pauseMenuClick(game, LeaveButton); }),  // abandons the paused match
              "🔄 返回关卡选择界面，所有状态已重置\n");
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);
    EXPECT_FALSE(game.paused || matchClocksHeld() || game.pause_menu);
}

// Esc pauses a single-player match under the menu and Esc again, or 继续, resumes it; no
// stray Esc loses a match. In a network match the menu leaves the battle running.
TEST_F(PauseTest, EscOpensThePauseMenuWhichPausesOnlyASinglePlayerMatch) {
    EXPECT_EQ(stdoutOf([&] { keyPress(game, sf::Keyboard::Key::Escape); }), "⏸ 游戏已暂停\n");
    EXPECT_TRUE(game.pause_menu && game.paused && matchClocksHeld());
    keyPress(game, sf::Keyboard::Key::Q);  // the menu takes the keys: no unit
    EXPECT_TRUE(game.player_turrets.empty());
    EXPECT_EQ(stdoutOf([&] { keyPress(game, sf::Keyboard::Key::Escape); }), "▶ 游戏继续\n");
    EXPECT_FALSE(game.pause_menu || game.paused);
    stdoutOf([&] { pauseMenuClick(game, PauseSettingsButton); });
    EXPECT_EQ(currentScreen(game), Screen::Settings);
    keyPress(game, sf::Keyboard::Key::Escape);  // back to the menu over the match, still paused
    EXPECT_TRUE(currentScreen(game) == Screen::Match && game.pause_menu && game.paused);
    stdoutOf([&] { pauseMenuClick(game, ContinueButton); });
    EXPECT_FALSE(game.pause_menu || game.paused);

    game.network_mode = game.lobby_active = game.lobby.connected = true;
    keyPress(game, sf::Keyboard::Key::Escape);
    EXPECT_TRUE(game.pause_menu && !game.paused);
    stdoutOf([&] { pauseMenuClick(game, LeaveButton); });  // 断开连接
    EXPECT_EQ(currentScreen(game), Screen::MainMenu);
    EXPECT_FALSE(game.network_mode || game.lobby.connected || game.pause_menu);
}
