#include "app/game.h"
#include "app/loop.h"
#include "app/screen.h"
#include "events.h"
#include "support.h"

#include <gtest/gtest.h>

namespace {
// The battlefield view starts centred on (450, 300) in a 1280 x 720 window.
sf::Vector2i windowPointOf(sf::Vector2f field) { return {int(field.x) + 190, int(field.y) + 60}; }

Turret& addUnit(Game& game, bool player, sf::Vector2f position) {
    auto& list = player ? game.player_turrets : game.enemy_turrets;
    list.emplace_back(player, 0);
    list.back().id = game.next_unit_id++;
    list.back().body.setPosition(position);
    return list.back();
}

void confirmFaction(Game& game, int card) {
    click(game, 160 + 195 * card + 90, 270 + 90);
    click(game, 5, 5);
}
}  // namespace

TEST(ScreenFlow, MenuToFactionToLevelSelectionAndBack) {
    GameFixture fixture;
    Game& game = *fixture.game;
    EXPECT_EQ(currentScreen(game), Screen::MainMenu);
    EXPECT_EQ(game.single_button.getPosition(), sf::Vector2f(440, 215));
    EXPECT_EQ(game.network_button.getPosition(), sf::Vector2f(440, 375));
    EXPECT_EQ(game.window.getSize(), sf::Vector2u(1280, 720));

    click(game, 100, 100);  // beside both buttons
    EXPECT_EQ(currentScreen(game), Screen::MainMenu);
    click(game, 450, 220);
    EXPECT_EQ(currentScreen(game), Screen::FactionSelect);
    EXPECT_TRUE(game.game_started);
    EXPECT_FALSE(game.network_mode);

    testing::internal::CaptureStdout();
    click(game, 159, 300);  // left of the first card
    EXPECT_EQ(game.hovered_faction, -1);
    click(game, 160 + 195 * 2 + 179, 270 + 179);  // last pixel of the Blue card
    EXPECT_EQ(game.hovered_faction, 2);
    EXPECT_EQ(currentScreen(game), Screen::FactionSelect);
    click(game, 1000, 10, sf::Mouse::Right);  // any click anywhere confirms
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Selected Blue\n"), std::string::npos);
    EXPECT_NE(out.find("Faction confirmed: 2\n"), std::string::npos);
    EXPECT_EQ(game.player_faction, 2);
    EXPECT_NE(game.enemy_faction, 2);
    EXPECT_GE(game.enemy_faction, 0);
    EXPECT_LE(game.enemy_faction, 4);
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);

    move(game, 30, 30);
    EXPECT_EQ(game.back_button.getFillColor(), sf::Color(80, 80, 100));
    move(game, 300, 300);
    EXPECT_EQ(game.back_button.getOutlineColor(), sf::Color(150, 150, 200));
    click(game, 30, 30);
    EXPECT_EQ(currentScreen(game), Screen::FactionSelect);
    EXPECT_EQ(game.hovered_faction, -1);
}

TEST(ScreenFlow, NetworkButtonOpensTheLobby) {
    GameFixture fixture;
    Game& game = *fixture.game;
    click(game, 640, 440, sf::Mouse::Middle);  // any button
    EXPECT_EQ(currentScreen(game), Screen::Lobby);
    EXPECT_TRUE(game.network_mode);
    EXPECT_TRUE(game.lobby_active);
    click(game, 700, 440);  // neither HOST nor JOIN
    EXPECT_EQ(currentScreen(game), Screen::Lobby);
}

TEST(ScreenFlow, OnlyTenLevelCardsAreClickable) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.all_levels.clear();
    for (int i = 0; i < 12; ++i) game.all_levels.push_back({{"name", "L" + std::to_string(i)}});
    click(game, 450, 220);
    confirmFaction(game, 0);
    ASSERT_EQ(game.shown_levels.size(), 12u);

    click(game, 90 + 250 * 2 + 5, 110 + 150 * 3 + 5);  // where a twelfth card would be
    click(game, 90 + 250 + 5, 110 + 150 * 3 + 5);      // where the eleventh would be
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);

    testing::internal::CaptureStdout();
    click(game, 90 + 5, 110 + 150 * 3 + 5);  // the tenth card
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Starting level: 9 - L9\n"), std::string::npos);
    EXPECT_TRUE(game.level_running);
    EXPECT_EQ(currentScreen(game), Screen::Match);
}

TEST(ScreenFlow, ScreenRuleFirstMatchWins) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.network_mode = true;  // a network game shows the lobby until connected
    game.lobby_active = true;
    EXPECT_EQ(currentScreen(game), Screen::Lobby);
    game.lobby.connected = true;
    EXPECT_EQ(currentScreen(game), Screen::FactionSelect);
    game.faction_confirmed = true;
    game.level_select_active = true;
    game.game_over = true;
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);
    game.level_running = true;
    EXPECT_EQ(currentScreen(game), Screen::Results);
    game.game_over = false;
    EXPECT_EQ(currentScreen(game), Screen::Match);
    game.lobby.connected = false;
    EXPECT_EQ(currentScreen(game), Screen::Lobby);
}

TEST(BattlefieldInput, WheelScrollsCameraButNeverThePanel) {
    GameFixture fixture;
    Game& game = *fixture.game;
    wheel(game, 10, 300, 1.0f);  // over the hidden panel strip
    EXPECT_EQ(game.panel_scroll, 0);
    EXPECT_EQ(game.camera_target.y, 300);
    wheel(game, 600, 300, 1.0f);
    EXPECT_EQ(game.camera_target.y, 100);
    wheel(game, 600, 300, -2.0f);
    EXPECT_EQ(game.camera_target.y, 500);
}

TEST(BattlefieldInput, BoxSelectionAndOrders) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.game_started = true;
    game.faction_confirmed = true;
    UnitId first_id = addUnit(game, true, {400, 500}).id;
    addUnit(game, true, {420, 520});
    addUnit(game, true, {700, 500});
    UnitId enemy_id = addUnit(game, false, {450, 100}).id;

    // A right click with nothing selected changes nothing.
    sf::Vector2i ground = windowPointOf({600, 200});
    click(game, ground.x, ground.y, sf::Mouse::Right);
    for (const Turret& unit : game.player_turrets) EXPECT_EQ(unit.move_order, 0);

    sf::Vector2i from = windowPointOf({380, 480});
    sf::Vector2i to = windowPointOf({440, 540});
    press(game, from.x, from.y);
    EXPECT_TRUE(game.box_selecting);
    move(game, to.x, to.y);
    EXPECT_EQ(game.selection_box.getSize(), sf::Vector2f(60, 60));
    release(game, to.x, to.y);
    ASSERT_EQ(game.selection.size(), 2u);
    EXPECT_EQ(game.selection[0], first_id);

    sf::Vector2i on_enemy = windowPointOf({455, 105});
    click(game, on_enemy.x, on_enemy.y, sf::Mouse::Right);
    EXPECT_EQ(game.player_turrets[0].attack_target, enemy_id);
    EXPECT_EQ(game.player_turrets[0].attack_order, 1);
    EXPECT_EQ(game.player_turrets[2].attack_order, 0);  // not selected

    click(game, ground.x, ground.y, sf::Mouse::Right);
    EXPECT_EQ(game.player_turrets[1].move_order, 1);
    EXPECT_EQ(game.player_turrets[1].move_target, sf::Vector2f(600, 200));
    EXPECT_EQ(game.player_turrets[1].attack_target, kNoUnit);

    // A left click on empty ground drops the selection and every order.
    press(game, ground.x, ground.y);
    release(game, ground.x, ground.y);
    EXPECT_TRUE(game.selection.empty());
    EXPECT_EQ(game.player_turrets[1].move_order, 0);
    EXPECT_EQ(game.selection_box.getSize(), sf::Vector2f(0, 0));
}

TEST(BattlefieldInput, InspectionPrefersEnemyUnits) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.game_started = true;
    game.faction_confirmed = true;
    game.level_running = true;
    addUnit(game, true, {400, 300});
    addUnit(game, false, {420, 300});
    addUnit(game, false, {800, 0});

    sf::Vector2i both = windowPointOf({410, 300});
    click(game, both.x, both.y);
    EXPECT_EQ(game.inspected_unit, 0);
    EXPECT_FALSE(game.inspected_side);

    sf::Vector2i own = windowPointOf({385, 300});  // within reach of the player unit only
    click(game, own.x, own.y);
    EXPECT_EQ(game.inspected_unit, 0);
    EXPECT_TRUE(game.inspected_side);

    // An enemy far from the player's units can be inspected too.
    sf::Vector2i far_enemy = windowPointOf({805, 5});
    click(game, far_enemy.x, far_enemy.y);
    EXPECT_EQ(game.inspected_unit, 1);
    EXPECT_FALSE(game.inspected_side);

    sf::Vector2i empty = windowPointOf({100, 900});
    click(game, empty.x, empty.y);
    EXPECT_EQ(game.inspected_unit, -1);
}

TEST(BattlefieldInput, ClosingTheWindowEndsTheLoop) {
    GameFixture fixture;
    Game& game = *fixture.game;
    sf::Event closed;
    closed.type = sf::Event::Closed;
    handleEvent(game, closed);
    EXPECT_FALSE(game.window.isOpen());
}
