#include "app/game.h"
#include "battle/hex_grid.h"
#include "content/factions.h"
#include "support.h"

#include <gtest/gtest.h>

namespace {
const sf::Color kFieldHex(40, 40, 60, 120);
const sf::Color kAbandonedHex(0, 0, 0, 255);

Turret& addUnit(Game& game, bool player, float x, float y) {
    auto& list = player ? game.player_turrets : game.enemy_turrets;
    list.emplace_back(player, 0);
    list.back().id = game.next_unit_id++;
    list.back().body.setPosition(x, y);
    return list.back();
}

// One frame of the floor, as the match update runs it.
void floorStep(Game& game, float dt) {
    updateHexTerritory(game);
    fadeHexCells(game, dt);
}

void settle(Game& game) {
    for (int i = 0; i < 4; ++i) floorStep(game, 0.1f);
}

bool inField(const HexCell& cell) {
    return -228 <= cell.centre.x && cell.centre.x <= 1128 && -628 <= cell.centre.y && cell.centre.y <= 1228;
}

// The in-field cell nearest to a point.
HexCell& cellNear(Game& game, float x, float y) {
    HexCell* best = &game.hex_cells[0];
    for (HexCell& cell : game.hex_cells) {
        sf::Vector2f d = cell.centre - sf::Vector2f(x, y), b = best->centre - sf::Vector2f(x, y);
        if (d.x * d.x + d.y * d.y < b.x * b.x + b.y * b.y) best = &cell;
    }
    return *best;
}
}  // namespace

TEST(HexGrid, BuiltOnceAtStartAcrossTheWholeField) {
    testing::internal::CaptureStdout();
    GameFixture fixture;
    std::string out = testing::internal::GetCapturedStdout();
    Game& game = *fixture.game;
    EXPECT_NE(out.find("Hex grid initialized with 1617 cells\n"), std::string::npos);
    ASSERT_EQ(game.hex_cells.size(), 1617u);
    ASSERT_EQ(game.hex_shapes.size(), 1617u);
    EXPECT_TRUE(game.hex_grid_enabled);

    // 33 columns per row; odd rows are shifted by half a spacing.
    EXPECT_NEAR(game.hex_cells[0].centre.x, -256, 1e-3);
    EXPECT_NEAR(game.hex_cells[0].centre.y, -656, 1e-3);
    EXPECT_NEAR(game.hex_cells[33].centre.x, -256 + 24.248, 1e-3);
    EXPECT_NEAR(game.hex_cells[33].centre.y, -614, 1e-3);

    const sf::ConvexShape& shape = game.hex_shapes[40];
    EXPECT_EQ(shape.getPointCount(), 6u);
    EXPECT_NEAR(shape.getPoint(0).x, 0, 1e-3);  // the first corner points straight up
    EXPECT_NEAR(shape.getPoint(0).y, -28, 1e-3);
    EXPECT_EQ(shape.getOutlineColor(), sf::Color(60, 60, 80, 60));
    for (size_t i = 0; i < game.hex_cells.size(); ++i) {
        const HexCell& cell = game.hex_cells[i];
        sf::Color expected = inField(cell) ? kFieldHex : sf::Color(20, 20, 30, 30);
        ASSERT_EQ(cell.current, expected) << i;
        ASSERT_EQ(game.hex_shapes[i].getFillColor(), expected) << i;
        ASSERT_EQ(cell.fade, 1.0f);
    }
}

TEST(HexGrid, OnePlayerUnitClaimsEverythingBehindIt) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.player_faction = Blue;
    addUnit(game, true, 450, 600);

    // The colour moves in place: each step closes a smoothstep share of what is left.
    HexCell& behind = cellNear(game, 450, 900);
    floorStep(game, 0.1f);  // fade 0.25, share 0.15625
    EXPECT_EQ(behind.current, sf::Color(33, 33, 90, 120));
    floorStep(game, 0.1f);  // fade 0.5, share 0.5
    EXPECT_EQ(behind.current, sf::Color(16, 16, 172, 120));
    floorStep(game, 0.1f);
    floorStep(game, 0.1f);

    for (size_t i = 0; i < game.hex_cells.size(); ++i) {
        const HexCell& cell = game.hex_cells[i];
        if (!inField(cell)) continue;
        bool claimed = 600 <= cell.centre.y && cell.centre.y <= 1200;
        ASSERT_EQ(cell.current, claimed ? sf::Color(0, 0, 255, 120) : kFieldHex) << i;
        ASSERT_EQ(cell.owner, claimed ? 1.0f : 0.0f);
        ASSERT_EQ(game.hex_shapes[i].getFillColor(), cell.current);
    }
}

TEST(HexGrid, SameFactionEnemyUsesTheReplacementColour) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.player_faction = Purple;
    game.enemy_faction = Purple;
    addUnit(game, false, 450, 0);
    settle(game);
    EXPECT_EQ(cellNear(game, 450, -300).current, sf::Color(150, 50, 150, 120));
    EXPECT_EQ(cellNear(game, 450, -300).owner, -1.0f);
    EXPECT_EQ(cellNear(game, 450, 300).current, kFieldHex);

    game.enemy_faction = White;  // different factions: the enemy's own colour
    floorStep(game, 0.1f);       // owners are unchanged, so nothing restarts
    EXPECT_EQ(cellNear(game, 450, -300).current, sf::Color(150, 50, 150, 120));
}

TEST(HexGrid, ContestedCellsGoToTheSideWithMoreUnitsNearby) {
    GameFixture fixture;
    Game& game = *fixture.game;
    HexCell& contested = cellNear(game, 450, 200);
    sf::Vector2f c = contested.centre;
    addUnit(game, true, c.x, c.y - 50);
    settle(game);
    ASSERT_EQ(contested.owner, 1.0f);

    // The enemy front passes the player front: both cover the cell, with one unit each nearby.
    addUnit(game, false, c.x, c.y + 50);
    settle(game);
    EXPECT_EQ(contested.owner, 0.0f);
    EXPECT_EQ(contested.current, kFieldHex);
    // An overlapping cell far from every unit is even too (none against none).
    EXPECT_EQ(cellNear(game, 1000, c.y).owner, 0.0f);

    addUnit(game, false, c.x + 10, c.y + 40);
    settle(game);
    EXPECT_EQ(contested.owner, -1.0f);
    EXPECT_EQ(contested.current, sf::Color(200, 50, 50, 120));  // both sides Red: the replacement colour
}

TEST(HexGrid, AbandonedCellsTurnBlackAndAnEmptyFieldResets) {
    GameFixture fixture;
    Game& game = *fixture.game;
    Turret& unit = addUnit(game, true, 450, 600);
    settle(game);
    unit.body.setPosition(450, 900);  // the front falls back
    settle(game);
    EXPECT_EQ(cellNear(game, 450, 700).current, kAbandonedHex);
    EXPECT_EQ(cellNear(game, 450, 700).owner, 0.0f);
    EXPECT_EQ(cellNear(game, 450, 1000).current, sf::Color(255, 0, 0, 120));

    game.player_turrets.clear();
    for (int i = 0; i < 3; ++i) floorStep(game, 0.1f);
    EXPECT_NE(cellNear(game, 450, 1000).current, kFieldHex);
    floorStep(game, 0.1f);  // 0.4 s after the field emptied
    EXPECT_EQ(cellNear(game, 450, 1000).current, kFieldHex);
    EXPECT_EQ(cellNear(game, 450, 1000).owner, 0.0f);
    // Abandoned cells are owned by nobody, so the reset leaves them black.
    EXPECT_EQ(cellNear(game, 450, 700).current, kAbandonedHex);
}
