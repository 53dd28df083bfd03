#include "app/screen.h"
#include "battle/battle_support.h"
#include "events.h"

namespace {
// Clicks a battlefield point: the view starts centred on (450, 300) in the 1280 x 720 window.
void clickField(Game& game, float x, float y, sf::Mouse::Button button = sf::Mouse::Button::Left) {
    click(game, int(x) + 190, int(y) + 60, button);
}
}  // namespace

using ScreenFlow = GameTest;
using BattlefieldInput = GameTest;

TEST_F(ScreenFlow, MenuToFactionAndBackThenToTheTenthLevelCard) {
    game.all_levels.clear();
    for (int i = 0; i < 12; ++i) game.all_levels.push_back({{"name", "L" + std::to_string(i)}});
    click(game, 100, 100);  // beside both buttons
    EXPECT_EQ(currentScreen(game), Screen::MainMenu);
    click(game, 450, 220);
    EXPECT_EQ(currentScreen(game), Screen::FactionSelect);
    EXPECT_TRUE(game.game_started && !game.network_mode);

    testing::internal::CaptureStdout();
    click(game, 160 + 90, 360);  // Red, confirmed, then the level selection's back button
    click(game, 900, 650);
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);
    click(game, 60, 40);
    EXPECT_EQ(currentScreen(game), Screen::FactionSelect);
    click(game, 159, 300);  // left of the first card: the pick was forgotten, nothing is confirmed
    EXPECT_EQ(game.hovered_faction, -1);
    click(game, 160 + 195 * 2 + 179, 270 + 179);  // last pixel of the Blue card
    EXPECT_EQ(currentScreen(game), Screen::FactionSelect);
    click(game, 1000, 10, sf::Mouse::Button::Right);  // any click anywhere confirms
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Selected Red\nFaction confirmed: 0\nSelected Blue\nFaction confirmed: 2\n");
    EXPECT_TRUE(game.enemy_faction != 2 && game.enemy_faction >= 0 && game.enemy_faction <= 4) << game.enemy_faction;
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);
    ASSERT_EQ(game.shown_levels.size(), 12u);
    click(game, 90 + 250 * 2 + 5, 110 + 150 * 3 + 5);  // where a twelfth card would be
    click(game, 90 + 250 + 5, 110 + 150 * 3 + 5);      // where the eleventh would be
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);
    out = stdoutOf([&] { click(game, 90 + 5, 110 + 150 * 3 + 5); });  // the tenth card
    EXPECT_NE(out.find("Starting level: 9 - L9\n"), std::string::npos);
    EXPECT_EQ(currentScreen(game), Screen::Match);
}

TEST_F(BattlefieldInput, BoxSelectionOrdersInspectionAndWheel) {
    enterMatch(game);
    Turret& ordered = addUnit(game, true, 0, {400, 500});  // ordered while it was selected
    ordered.move_target = {400, 300};
    ordered.move_order = 1;
    Turret& second = addUnit(game, true, 0, {420, 520});
    Turret& apart = addUnit(game, true, 0, {700, 500});
    UnitId enemy_id = addUnit(game, false, 0, {450, 100}).id;
    addUnit(game, false, 0, {720, 500});
    auto orders = [](const Turret& unit) {  // the move order and its point, the attack order and its target
        return std::make_tuple(int(unit.move_order), unit.move_target, int(unit.attack_order), unit.attack_target);
    };
    auto allOrders = [&] { return std::make_tuple(orders(ordered), orders(second), orders(apart)); };

    // A right click with nothing selected, on the enemy or on the ground, changes nothing.
    const auto before = allOrders();
    for (sf::Vector2f point : {sf::Vector2f(455, 105), sf::Vector2f(600, 200)}) {
        clickField(game, point.x, point.y, sf::Mouse::Button::Right);
        EXPECT_TRUE(game.selection.empty() && !game.box_selecting && game.inspected_unit == -1);
        EXPECT_TRUE(allOrders() == before) << point.x;
    }

    press(game, 380 + 190, 480 + 60);
    move(game, 440 + 190, 540 + 60);
    EXPECT_EQ(game.selection_box.getSize(), sf::Vector2f(60, 60));
    release(game, 440 + 190, 540 + 60);
    ASSERT_EQ(game.selection.size(), 2u);
    EXPECT_EQ(game.selection[0], ordered.id);

    clickField(game, 455, 105, sf::Mouse::Button::Right);
    EXPECT_EQ(std::make_pair(int(ordered.attack_order), ordered.attack_target), std::make_pair(1, enemy_id));
    EXPECT_EQ(apart.attack_order, 0);  // not selected
    clickField(game, 600, 200, sf::Mouse::Button::Right);
    EXPECT_TRUE(orders(second) == std::make_tuple(1, sf::Vector2f(600, 200), 0, kNoUnit));

    clickField(game, 600, 200);  // empty ground drops the selection and every order
    EXPECT_TRUE(game.selection.empty());
    EXPECT_EQ(second.move_order, 0);
    EXPECT_EQ(game.selection_box.getSize(), sf::Vector2f(0, 0));

    // Inspection prefers the enemy where both sides are within reach.
    clickField(game, 710, 500);
    EXPECT_EQ(std::make_pair(game.inspected_unit, game.inspected_side), std::make_pair(1, false));
    clickField(game, 685, 500);  // within reach of the player unit only
    EXPECT_EQ(std::make_pair(game.inspected_unit, game.inspected_side), std::make_pair(2, true));
    clickField(game, 455, 105);  // an enemy far from the player's units
    EXPECT_EQ(std::make_pair(game.inspected_unit, game.inspected_side), std::make_pair(0, false));
    clickField(game, 100, 900);
    EXPECT_EQ(game.inspected_unit, -1);

    // The wheel moves the camera by 200 a notch, but not over the panel's strip, even while it is
    // hidden: there a notch scrolls the panel, whose start content fits, so it stays at the top.
    for (auto [x, notches, y] : {std::tuple(10, 1.0f, 300.0f), {600, 1.0f, 100.0f}, {600, -2.0f, 500.0f}, {10, -1.0f, 500.0f}}) {
        wheel(game, x, 300, notches);
        EXPECT_EQ(game.camera_target.y, y) << x << " " << notches;
        EXPECT_EQ(game.panel_scroll, 0);
    }
}

// The first screen rule that holds names the screen.
TEST_F(ScreenFlow, NetworkScreensFollowTheRuleAndEscDropsTheConnectionButNotARunningMatch) {
    click(game, 450, 380, sf::Mouse::Button::Middle);  // network, by any button
    EXPECT_EQ(currentScreen(game), Screen::Lobby);
    EXPECT_TRUE(game.network_mode && game.lobby_active);
    click(game, 700, 440);  // neither HOST nor JOIN
    EXPECT_EQ(currentScreen(game), Screen::Lobby);
    game.lobby.connected = game.opponent_ready = true;  // the flags alone: no socket is open
    ASSERT_EQ(currentScreen(game), Screen::FactionSelect);
    keyPress(game, sf::Keyboard::Key::Escape);
    EXPECT_EQ(currentScreen(game), Screen::Lobby);  // the connection is dropped
    EXPECT_TRUE(game.network_mode && game.lobby_active);
    EXPECT_FALSE(game.lobby.connected || game.opponent_ready);

    game.lobby.connected = true;
    game.faction_confirmed = game.level_select_active = game.game_over = true;
    EXPECT_EQ(currentScreen(game), Screen::LevelSelect);
    game.level_running = true;
    EXPECT_EQ(currentScreen(game), Screen::Results);
    game.game_over = false;
    ASSERT_EQ(currentScreen(game), Screen::Match);
    keyPress(game, sf::Keyboard::Key::Escape);
    EXPECT_EQ(currentScreen(game), Screen::Match);
    EXPECT_TRUE(game.lobby.connected);

    // The opponent left mid-match: the lobby shows over the old match, and Esc leaves
    // both behind, so single player starts from the faction selection.
    game.lobby.connected = false;
    spawnPlayerTurret(game, 1);
    ASSERT_EQ(currentScreen(game), Screen::Lobby);
    stdoutOf([&] { keyPress(game, sf::Keyboard::Key::Escape); });
    EXPECT_EQ(currentScreen(game), Screen::MainMenu);
    EXPECT_TRUE(game.player_turrets.empty());
    click(game, 450, 220);
    EXPECT_EQ(currentScreen(game), Screen::FactionSelect);
}
