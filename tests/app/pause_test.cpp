#include "app/screen.h"
#include "app/update.h"
#include "battle/battle_support.h"
#include "battle/turret.h"
#include "content/levels.h"
#include "events.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {
constexpr float kDt = 1.0f / 64;  // exact in microseconds, so frame counts are exact too

// One unit of the level's wave at 3 s; both sides have money for anything.
const char* const kLevel = R"({"faction": "Blue", "enemy_initial_money": 1000, "enemy_income": 10,
                               "waves": [{"time": 3, "count": 1, "interval": 0, "lane": 1}]})";

struct PauseTest : BattleTest {
    void SetUp() override {
        game.game_started = game.faction_confirmed = true;
        stdoutOf([&] { startLevel(game, nlohmann::json::parse(kLevel)); });
    }
    void step(int frames) {
        for (int i = 0; i < frames; ++i) {
            clock.advance(kDt);
            update(game, kDt);
        }
    }
    void pressP() {
        stdoutOf([&] { keyPress(game, sf::Keyboard::P); });
    }
};

// Everything of the match that a frame can change.
auto matchState(const Game& game) {
    std::vector<sf::Vector2f> units, shots;
    for (const auto* list : {&game.player_turrets, &game.enemy_turrets})
        for (const Turret& unit : *list) units.push_back(unit.body.getPosition());
    for (const Projectile& shot : game.projectiles) shots.push_back(shot.shape.getPosition());
    const Turret& first = game.player_turrets.at(0);
    return std::make_tuple(game.player_money, game.enemy_money, units, shots, game.match_clock.elapsedMicroseconds(),
                           game.income_clock.elapsedMicroseconds(), first.fire_clock.elapsedMicroseconds(),
                           first.base_hit_clock.elapsedMicroseconds(), game.wave_index, game.spawn_timer,
                           game.effects.particles.size(), game.effects.track_marks.size(),
                           game.player_upgrades.levels[Range]);
}
}  // namespace

TEST_F(PauseTest, NothingMovesOrPaysWhilePausedAndTheNextWaveComesAsLateAsThePauseWasLong) {
    spawnPlayerTurret(game, 0);
    step(64);  // 1 s: one income tick, the unit on its way
    ASSERT_TRUE(game.enemy_turrets.empty());
    game.selection = {game.player_turrets[0].id};
    pressP();
    ASSERT_TRUE(game.paused);
    const auto before = matchState(game);
    const std::int64_t paused_at = game.match_clock.elapsedMicroseconds();

    // Ten paused seconds of trying to change the match: spawn keys, an order, a held
    // click on the panel's range button.
    game.panel_x = 0;
    game.input.mouse = {50, 40 + 105 + 10};
    game.input.left_button = true;
    for (int second = 0; second < 10; ++second) {
        for (auto key : {sf::Keyboard::Q, sf::Keyboard::W, sf::Keyboard::U}) keyPress(game, key);
        press(game, 700, 100, sf::Mouse::Right);
        step(64);
    }
    EXPECT_TRUE(matchState(game) == before);
    EXPECT_EQ(game.player_turrets.size(), 1u);
    EXPECT_FALSE(game.player_turrets[0].move_order);

    pressP();
    EXPECT_FALSE(game.paused);
    // The wave due 2 s after the pause began comes 2 s (128 frames) after the resume.
    step(127);
    EXPECT_TRUE(game.enemy_turrets.empty());
    step(1);
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

    std::string out = stdoutOf([&] { keyPress(game, sf::Keyboard::P); });
    EXPECT_EQ(out, "⏸ 游戏已暂停\n");
    EXPECT_TRUE(game.paused && matchClocksHeld());
    // The camera keys still move the view while the match stands still.
    game.input.key_up = true;
    float camera = game.camera_target.y;
    step(1);
    EXPECT_FLOAT_EQ(game.camera_target.y, camera - 8);

    out = stdoutOf([&] { keyPress(game, sf::Keyboard::Escape); });  // abandons the paused match
    EXPECT_NE(out.find("🔄 返回关卡选择界面，所有状态已重置"), std::string::npos);
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);
    EXPECT_FALSE(game.paused || matchClocksHeld());
}
