#include "battle/battle_rand.h"
#include "battle/battle_support.h"
#include "battle/state_digest.h"
#include "content/levels.h"

#include <cstdlib>
#include <cstring>
#include <tuple>

namespace {
// What must come out the same: the battle's digest, every cell's owner, and the next
// rand() draw (so that both runs took as many draws).
using Outcome = std::tuple<std::uint64_t, std::vector<float>, int>;

// A fresh game, every random source seeded, set up by `setup` and stepped by `frame` and update at a
// fixed dt, once walking the lists and once with the grid.
void expectSameBothWays(const std::function<void(Game&)>& setup, const std::function<void(Game&, int)>& frame,
                        int frames, float dt, const std::string& config = "", const std::string& levels = "") {
    Outcome results[2];
    for (bool use_grid : {false, true}) {
        testing::internal::CaptureStdout();
        SteppedGame run(config, levels);
        Game& game = run.game;
        game.use_spatial_grid = use_grid;
        enterMatch(game);
        seedBattleRand(11);
        game.rng.seed(12);
        game.effects.rng.seed(13);
        setup(game);
        for (int i = 0; i < frames; ++i) {
            frame(game, i);
            run.step(dt);
        }
        std::vector<float> owners;
        for (const HexCell& cell : game.hex_cells) owners.push_back(cell.owner);
        results[use_grid] = {battleDigest(game), owners, battleRand()};
        testing::internal::GetCapturedStdout();
    }
    EXPECT_EQ(std::get<0>(results[0]), std::get<0>(results[1])) << "the battles differ";
    EXPECT_EQ(std::get<1>(results[0]), std::get<1>(results[1])) << "the cells' owners differ";
    EXPECT_EQ(std::get<2>(results[0]), std::get<2>(results[1])) << "the runs took different numbers of draws";
}

// Units stacked far off, enough that a nearest search walks the cells, not the whole list.
void padPastWholeWalk(Game& game, sf::Vector2f far_off) {
    while (game.player_turrets.size() <= kWalkedWhole) addUnit(game, true, 0, far_off);
}

// Rows of units of all lanes over a side's half, fronts close across the middle line.
void addArmy(Game& game, bool player, int count, float spacing) {
    for (int i = 0; i < count; ++i) {
        float depth = 20 + spacing * float(i / 36);
        addUnit(game, player, i % 3, {-180 + spacing * float(i % 36), 300 + (player ? depth : -depth)},
                i % 7 == 0 ? RocketLauncher : i % 7 == 3 ? Laser : Cannon);
    }
}
}  // namespace

using GridQueries = BattleTest;

// Seeded levels played by a script on both sides for 60 s of game time: spawns in every
// lane, upgrades, a move order; the level's waves and extra spawns for the enemy.
TEST(UnitGridReplay, SeededMatchesEndBitForBitTheSameWithAndWithoutTheGrid) {
    const std::string config = shippedData("config.json"), levels = shippedData("levels.json");
    for (int level : {0, 4, 7}) {
        SCOPED_TRACE("level " + std::to_string(level));
        int faction = level == 0 ? Yellow : level == 4 ? Red : White;
        auto setup = [&](Game& game) {
            game.player_faction = faction;
            startLevel(game, game.all_levels[size_t(level)]);
            game.player_money = game.enemy_money = 1e5f;  // nobody wins before the minute is up
        };
        auto script = [](Game& game, int frame) {
            if (frame % 20 == 0) spawnPlayerTurret(game, frame / 20 % 3);
            if (frame % 45 == 0) spawnEnemyTurret(game, frame / 45 % 3);
            if (frame % 300 == 150) buyPlayerUpgrade(game, PanelButton(frame / 300 % 5));
            if (frame == 900 && !game.player_turrets.empty()) {
                game.player_turrets[0].move_order = 1;
                game.player_turrets[0].move_target = {200, 100};
            }
        };
        expectSameBothWays(setup, script, 1800, 1.0f / 30, config, levels);
    }
}

// Units exactly on cell borders, beyond the field, stacked, and queried from such points, among
// shots at them in a scrambled order, shots that are no threat (spent, slow, the enemy's own) or at
// no place, and a row of shots with points just inside the watch behind them, a pixel apart.
TEST_F(GridQueries, AnswerAsTheListWalkOnCellBordersAndBeyondTheField) {
    const WorldBounds& b = game.world_bounds;
    std::vector<sf::Vector2f> points = {{b.min_x, b.min_y}, {b.min_x + 32, b.min_y + 64}, {b.min_x + 64, 300},
                                        {450, 300}, {450, 300}, {451, 316}, {-900, 300}, {450, 5000},
                                        {b.max_x, b.max_y}, {b.max_x + 1, b.min_y - 1}, {418, 332}};
    std::vector<sf::Vector2f> watchers = {{300, NAN}};
    auto shoot = [&](sf::Vector2f at, sf::Vector2f velocity, bool player = true) -> Projectile& {
        return game.projectiles.emplace_back(makeShell(at, velocity, player, sf::Color(), 1, 1));
    };
    for (size_t i = 0; i < points.size(); ++i) {
        for (bool player : {true, false}) addUnit(game, player, int(i % 3), points[i]);
        for (int k = 0; k < 24; ++k) {
            float angle = float((k * 7) % 24) * kPi / 12;
            sf::Vector2f from = points[i] + sf::Vector2f(std::cos(angle), std::sin(angle)) * float(40 + k % 5 * 60);
            shoot(from, (points[i] - from) * 2.0f + sf::Vector2f(float(k % 3 * 20), 0), k != 5).hit = k == 9;
        }
    }
    shoot({450, 250}, {0.5f, 0});
    shoot({NAN, 300}, {300, 0});
    for (int i = 0; i < 70; ++i)
        watchers.push_back(shoot({b.min_x + 200 + float(i), 200}, {300, 0}).position + sf::Vector2f(299.5f, 0));
    padPastWholeWalk(game, {b.max_x - 5, 0});
    auto answers = [&] {
        std::vector<int> out;
        std::vector<Threat> threats;
        auto threatsAt = [&](sf::Vector2f q) {  // as bits, so that NaN equals itself
            collectThreats(game, q, 15, false, threats);
            out.push_back(int(threats.size()));
            for (const Threat& t : threats)
                for (float value : {t.x, t.y, t.dir_x, t.dir_y, t.time}) std::memcpy(&out.emplace_back(), &value, 4);
        };
        for (sf::Vector2f q : watchers) threatsAt(q);
        for (sf::Vector2f p : points)
            for (sf::Vector2f offset : {sf::Vector2f(0, 0), sf::Vector2f(32, 0), sf::Vector2f(-15, 0), sf::Vector2f(0, -31)})
                for (float radius : {0.0f, 15.0f, 32.0f, 100.0f}) {
                    sf::Vector2f q = p + offset;
                    auto within = [&](int i) {
                        return vectorLength(game.enemy_turrets[size_t(i)].position - q) <= radius;
                    };
                    out.push_back(isBlocked(game, q, 1, nullptr));
                    out.push_back(firstNear(game, game.enemy_turrets, q, radius, within));
                    out.push_back(nearestNear(game, game.player_turrets, q, 0, INFINITY, INFINITY, [&](int i, float& d) {
                        d = vectorLength(game.player_turrets[size_t(i)].position - q);
                        return true;
                    }));
                    forEachNearInOrder(game, game.enemy_turrets, q, radius, [&](int i) {
                        if (within(i)) out.push_back(100 + i);
                    });
                    if (radius == 0) threatsAt(q);
                }
        return out;
    };
    std::vector<int> walked = answers();
    GridStep grid(game);
    ThreatStep incoming(game, false);
    ASSERT_NE(gridOf(game, game.player_turrets), nullptr);
    EXPECT_EQ(answers(), walked);
}

// A field of more than 64 columns of cells: a row's occupied cells span two words.
TEST_F(GridQueries, AnswerAsTheListWalkAcrossAFieldWiderThanOneWordOfCells) {
    game.world_bounds.max_x = 3000;
    std::vector<sf::Vector2f> points = {{-150, 300}, {1840, 300}, {1850, 320}, {2100, 1100}, {1845, -500}};
    for (size_t i = 0; i < points.size(); ++i) addUnit(game, true, int(i % 3), points[i]);
    padPastWholeWalk(game, {2990, -590});
    auto answers = [&] {
        std::vector<int> out;
        for (float x : {-200.0f, 1000.0f, 1700.0f, 1847.0f, 1849.0f, 3000.0f})
            for (float y : {-600.0f, 300.0f, 1200.0f}) {
                sf::Vector2f q(x, y);
                out.push_back(nearestNear(game, game.player_turrets, q, 0, INFINITY, INFINITY, [&](int i, float& d) {
                    d = vectorLength(game.player_turrets[size_t(i)].position - q);
                    return true;
                }));
                out.push_back(isBlocked(game, {x, 310}, 1, nullptr));
            }
        return out;
    };
    std::vector<int> walked = answers();
    GridStep grid(game);
    EXPECT_EQ(answers(), walked);
}

// A unit moved inside a step, or swept or added between steps, is found where it now stands.
TEST_F(GridQueries, UnitsMovedSweptOrAddedAreFoundWhereTheyNowStand) {
    addUnit(game, true, 0, {-100, -500});
    addUnit(game, true, 1, {500, 500});
    auto blocked = [&](sf::Vector2f p, int lane) {
        GridStep grid(game);
        return isBlocked(game, p, lane, nullptr);
    };
    {
        GridStep grid(game);
        EXPECT_TRUE(isBlocked(game, {-100, -490}, 0, nullptr));
        placeUnit(game.player_turrets[0], {1000, 1100});
        syncUnit(game, game.player_turrets[0]);
        EXPECT_FALSE(isBlocked(game, {-100, -490}, 0, nullptr));
        EXPECT_TRUE(isBlocked(game, {1000, 1090}, 0, nullptr));
    }
    game.player_turrets.erase(game.player_turrets.begin());  // the other unit takes its index
    EXPECT_FALSE(blocked({1000, 1090}, 0));
    EXPECT_TRUE(blocked({500, 490}, 1));
    addUnit(game, true, 2, {0, 0});
    EXPECT_TRUE(blocked({0, 10}, 2));
}

// A frame of a quarter minute carries units across several cells in one step.
TEST(UnitGridReplay, LargeStepsEmptySidesAndAThousandASideStepAlike) {
    struct Case { int player_units, enemy_units, frames; float spacing, dt; };
    for (Case c : {Case{40, 0, 3, 35, 15}, Case{0, 40, 3, 35, 15}, Case{0, 0, 2, 25, 1.0f / 60},
                   Case{1000, 1000, 2, 25, 1.0f / 60}}) {
        SCOPED_TRACE(std::to_string(c.player_units) + " against " + std::to_string(c.enemy_units));
        auto armies = [&](Game& game) {
            addArmy(game, true, c.player_units, c.spacing);
            addArmy(game, false, c.enemy_units, c.spacing);
        };
        expectSameBothWays(armies, [](Game&, int) {}, c.frames, c.dt);
    }
    // Pushes that reach across three cells, and across the whole field (walked).
    for (float push_radius : {70.0f, 400.0f}) {
        SCOPED_TRACE("push radius " + std::to_string(push_radius));
        auto crowd = [&](Game& game) {
            game.push_radius = push_radius;
            addArmy(game, true, 200, 14);
            addArmy(game, false, 200, 14);
        };
        expectSameBothWays(crowd, [](Game&, int) {}, 10, 1.0f / 60);
    }
}
