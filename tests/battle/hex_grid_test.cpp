#include "battle/battle_support.h"

namespace {
const sf::Color kFieldHex(40, 40, 60, 120);
const sf::Color kAbandonedHex(0, 0, 0, 255);

// Frames of the floor, as the match update runs them.
void floorSteps(Game& game, int frames) {
    for (int i = 0; i < frames; ++i) {
        updateHexTerritory(game);
        fadeHexCells(game, 0.1f);
    }
}

bool inField(const HexCell& cell) {
    return -228 <= cell.centre.x && cell.centre.x <= 1128 && -628 <= cell.centre.y && cell.centre.y <= 1228;
}

HexCell& cellNear(Game& game, float x, float y) {
    auto distance = [&](const HexCell& cell) { return vectorLength(cell.centre - sf::Vector2f(x, y)); };
    return *std::min_element(game.hex_cells.begin(), game.hex_cells.end(),
                             [&](const HexCell& a, const HexCell& b) { return distance(a) < distance(b); });
}
}  // namespace

TEST(HexGrid, BuiltOnceAtStartAcrossTheWholeField) {
    testing::internal::CaptureStdout();
    GameFixture fixture;
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Hex grid initialized with 1617 cells\n"), std::string::npos);
    Game& game = *fixture.game;
    ASSERT_EQ(game.hex_cells.size(), 1617u);
    ASSERT_EQ(game.hex_shapes.size(), 1617u);
    // 33 columns per row; odd rows are shifted by half a spacing.
    EXPECT_LT(vectorLength(game.hex_cells[0].centre - sf::Vector2f(-256, -656)), 1e-3f);
    EXPECT_LT(vectorLength(game.hex_cells[33].centre - sf::Vector2f(-256 + 24.248f, -614)), 1e-3f);
    for (size_t i = 0; i < game.hex_cells.size(); ++i) {
        sf::Color expected = inField(game.hex_cells[i]) ? kFieldHex : sf::Color(20, 20, 30, 30);
        ASSERT_EQ(game.hex_cells[i].current, expected) << i;
        ASSERT_EQ(game.hex_shapes[i].getFillColor(), expected) << i;
    }
}

using HexTerritory = BattleTest;

TEST_F(HexTerritory, OnePlayerUnitClaimsWhatIsBehindItAndAbandonedCellsTurnBlack) {
    game.player_faction = Blue;
    Turret& unit = addUnit(game, true, 0, {450, 600});
    // The colour moves in place: each step closes a smoothstep share of what is left.
    HexCell& behind = cellNear(game, 450, 900);
    floorSteps(game, 1);  // fade 0.25, share 0.15625
    EXPECT_EQ(behind.current, sf::Color(33, 33, 90, 120));
    floorSteps(game, 1);  // fade 0.5, share 0.5
    EXPECT_EQ(behind.current, sf::Color(16, 16, 172, 120));
    floorSteps(game, 2);
    for (size_t i = 0; i < game.hex_cells.size(); ++i) {
        const HexCell& cell = game.hex_cells[i];
        if (!inField(cell)) continue;
        bool claimed = 600 <= cell.centre.y && cell.centre.y <= 1200;
        ASSERT_EQ(cell.current, claimed ? sf::Color(0, 0, 255, 120) : kFieldHex) << i;
        ASSERT_EQ(game.hex_shapes[i].getFillColor(), cell.current);
    }

    placeUnit(unit, {450, 900});  // the front falls back
    floorSteps(game, 4);
    EXPECT_EQ(cellNear(game, 450, 700).current, kAbandonedHex);
    EXPECT_EQ(cellNear(game, 450, 700).owner, 0.0f);
    game.player_turrets.clear();
    floorSteps(game, 3);
    EXPECT_NE(cellNear(game, 450, 1000).current, kFieldHex);
    floorSteps(game, 1);  // 0.4 s after the field emptied
    EXPECT_EQ(cellNear(game, 450, 1000).current, kFieldHex);
    EXPECT_EQ(cellNear(game, 450, 1000).owner, 0.0f);
    // Abandoned cells are owned by nobody, so the reset leaves them black.
    EXPECT_EQ(cellNear(game, 450, 700).current, kAbandonedHex);
}

TEST_F(HexTerritory, ContestedCellsGoToTheSideWithMoreUnitsNearby) {
    HexCell& contested = cellNear(game, 450, 200);
    sf::Vector2f c = contested.centre;
    addUnit(game, true, 0, {c.x, c.y - 50});
    floorSteps(game, 4);
    ASSERT_EQ(contested.owner, 1.0f);
    // The enemy front passes the player front: both cover the cell, with one unit each nearby.
    addUnit(game, false, 0, {c.x, c.y + 50});
    floorSteps(game, 4);
    EXPECT_EQ(std::make_pair(contested.owner, contested.current), std::make_pair(0.0f, kFieldHex));
    EXPECT_EQ(cellNear(game, 1000, c.y).owner, 0.0f);  // none against none is even too

    addUnit(game, false, 0, {c.x + 10, c.y + 40});
    floorSteps(game, 4);
    // Both sides Red: the replacement colour.
    EXPECT_EQ(std::make_pair(contested.owner, contested.current), std::make_pair(-1.0f, sf::Color(200, 50, 50, 120)));
}
