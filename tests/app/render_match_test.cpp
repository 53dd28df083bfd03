#include "app/game.h"
#include "content/factions.h"
#include "content/upgrades.h"
#include "support.h"
#include "ui/picture.h"

#include <gtest/gtest.h>

namespace {
const sf::Color kWhite = sf::Color::White;

void showMatch(Game& game, int player_faction) {
    game.game_started = game.faction_confirmed = game.level_running = true;
    game.player_faction = player_faction;
    game.hex_grid_enabled = 0;
    game.panel_x = 0;  // slid out
}

Turret& addUnit(Game& game, bool player, sf::Vector2f position) {
    auto& list = player ? game.player_turrets : game.enemy_turrets;
    list.emplace_back(player, 0);
    list.back().id = game.next_unit_id++;
    list.back().body.setPosition(position);
    return list.back();
}

// The battlefield view starts centred on (450, 300) in the 1280 x 720 window.
sf::Vector2f onScreen(sf::Vector2f field) { return field + sf::Vector2f(190, 60); }

std::string label(const Game& game, int button) { return game.button_labels[button].getString().toAnsiString(); }

// The panel's labels show last frame's prices until this frame's are written, so a
// second frame shows every label with the current prices.
sf::Image settledFrame(Game& game) {
    renderedFrame(game);
    return renderedFrame(game);
}
}  // namespace

TEST(HudDrawing, WhitePanelHasNoProjectileSpeedAndATenthDodgePrice) {
    GameFixture fixture;
    Game& game = *fixture.game;
    showMatch(game, White);
    sf::Image frame = settledFrame(game);
    EXPECT_EQ(label(game, ButtonFireRate), "Fire $100");
    EXPECT_EQ(label(game, ButtonDodge), "Dodge $10");
    EXPECT_EQ(label(game, ButtonLaserDamage), "LaserDmg $100");
    EXPECT_EQ(label(game, ButtonProjectileSpeed), "ProjSpeed");  // never rewritten for White
    // The dodge label is drawn with the buttons and once more with the fresh prices.
    EXPECT_EQ(textMismatch(frame, game.ui_font, "Dodge $10", 14, kWhite, {15, 40 + 150 + 5}, 2), 0);
    // Where the projectile-speed button would be, the panel shows through, as between buttons.
    EXPECT_TRUE(near(frame.getPixel(80, 40 + 195 + 16), frame.getPixel(80, 40 + 190)));
    EXPECT_TRUE(near(frame.getPixel(80, 40 + 240 + 16), sf::Color(80, 200, 200)));
    EXPECT_TRUE(near(frame.getPixel(80, 40 + 150 + 2), sf::Color(80, 80, 200)));
}

TEST(HudDrawing, PurplePanelPricesAtHalf) {
    GameFixture fixture;
    Game& game = *fixture.game;
    showMatch(game, Purple);
    game.player_upgrades.levels[FireRate] = 2;  // 100 x 1.5^2 = 225, half of it 112.5
    game.panel_scroll = 20;
    sf::Image frame = settledFrame(game);
    EXPECT_EQ(label(game, ButtonFireRate), "Fire $112");
    EXPECT_EQ(label(game, ButtonDodge), "Dodge $50");
    EXPECT_EQ(label(game, ButtonProjectileSpeed), "ProjSp $25");
    EXPECT_EQ(label(game, ButtonLaserDamage), "LaserDmg $50");
    EXPECT_EQ(textMismatch(frame, game.ui_font, "LaserDmg $50", 14, kWhite, {15, 40 + 330 + 5 - 20}), 0);
    EXPECT_EQ(textMismatch(frame, game.ui_font, "ProjSp $25", 14, kWhite, {15, 40 + 195 + 5 - 20}, 3), 0);
}

TEST(HudDrawing, MinimapDotsFollowTheWorldBoundsUnclamped) {
    GameFixture fixture;
    Game& game = *fixture.game;
    showMatch(game, Red);
    const WorldBounds& bounds = game.world_bounds;
    addUnit(game, true, {bounds.min_x, bounds.min_y});
    addUnit(game, false, {bounds.min_x - 0.2f * (bounds.max_x - bounds.min_x), bounds.max_y});
    sf::Image frame = renderedFrame(game);
    unsigned w = game.window.getSize().x;
    sf::Color map = frame.getPixel(w - 100, 60);
    // The dot's top-left corner is at (W - 152, 18): a radius-2 dot centred on (W - 150, 20).
    EXPECT_TRUE(near(frame.getPixel(w - 150, 20), sf::Color(0, 255, 0)));
    EXPECT_TRUE(near(frame.getPixel(w - 153, 20), map));
    EXPECT_TRUE(near(frame.getPixel(w - 150, 17), map));
    // Left of the map by a fifth of its width: drawn off the map, not pinned to its edge.
    EXPECT_TRUE(near(frame.getPixel(w - 176, 100), sf::Color(255, 0, 0)));
    EXPECT_TRUE(near(frame.getPixel(w - 150, 100), map));
}

TEST(MatchDrawing, InfoBoxShowsTheInspectedUnit) {
    GameFixture fixture;
    Game& game = *fixture.game;
    showMatch(game, Blue);  // art without red, to find the cross by its colour
    game.panel_x = game.panel_hidden_x;
    addUnit(game, true, {700, 640});
    Turret& unit = addUnit(game, true, {150, 500});
    unit.hp = 2.7f;
    unit.range = 95.5f;
    unit.fire_rate = 0.5f;
    unit.dodge = 0.125f;
    game.inspected_unit = 1;
    game.inspected_side = true;
    sf::Image frame = renderedFrame(game);
    sf::Vector2f text = onScreen({150 - 90 + 10, 500 - 135 + 10});
    EXPECT_EQ(textMismatch(frame, game.ui_font, "HP: 2\nRange: 95\nFireRate: 500ms\nDodge: 12%", 14, kWhite, text), 0);
    EXPECT_EQ(game.inspected_unit, 1);
    // The red cross runs corner to corner over the unit.
    sf::Vector2f centre = onScreen({150, 500});
    int red = 0;
    for (int dy = -11; dy <= 11; ++dy)
        for (int dx = -11; dx <= 11; ++dx) red += near(frame.getPixel(unsigned(centre.x + dx), unsigned(centre.y + dy)), {255, 0, 0}, 10);
    EXPECT_GE(red, 34);

    game.inspected_side = false;  // no enemy has that index
    frame = renderedFrame(game);
    EXPECT_EQ(game.inspected_unit, -1);
    EXPECT_GT(textMismatch(frame, game.ui_font, "HP: 2\nRange: 95\nFireRate: 500ms\nDodge: 12%", 14, kWhite, text), 0);
}

namespace {
void addShellWithSmoke(Game& game, sf::Vector2f at, sf::Vector2f direction, bool player) {
    Projectile shell = makeShell(at, direction, player, factionColour(player ? game.player_faction : game.enemy_faction),
                                 420, 1.0f);
    for (int i = 0; i < 12; ++i) {
        SmokePuff puff;
        puff.x = at.x - direction.x * 2.0f * float(i);
        puff.y = at.y - direction.y * 2.0f * float(i);
        puff.max_life = 0.3f;
        puff.life = 0.3f * float(12 - i) / 12;  // the newest puffs ask for alpha above 255
        puff.size = 0.6f + 0.1f * float(i);
        shell.smoke.push_back(puff);
    }
    game.projectiles.push_back(shell);
}

// The hex floor, both sides' art at many angles, shells and a rocket with smoke, beams, a selection,
// the info box, the slid-out panel and, on request, the results overlay.
void fillBusyMatch(Game& game, int player_faction, int enemy_faction, bool over) {
    showMatch(game, player_faction);
    game.hex_grid_enabled = 1;
    game.enemy_faction = enemy_faction;
    for (int i = 0; i < 8; ++i) {
        Turret& mine = addUnit(game, true, {120.0f + 90 * float(i), 420.0f + 17 * float(i % 3)});
        mine.barrel.setRotation(-40.0f + 11 * float(i));
        Turret& theirs = addUnit(game, false, {150.0f + 85 * float(i), 170.0f - 13 * float(i % 4)});
        theirs.barrel.setRotation(160.0f + 9 * float(i));
        game.selection.push_back(mine.id);
    }
    for (int i = 0; i < 6; ++i) addShellWithSmoke(game, {200.0f + 80 * float(i), 300}, {0.6f, i % 2 ? 0.8f : -0.8f}, i % 2);
    addShellWithSmoke(game, {640, 250}, {0, -1}, true);
    game.projectiles.back().is_rocket = 1;
    game.projectiles.back().rotation_deg = -90;
    game.laser_beams.push_back({{300, 400}, {340, 200}, 0.1f, 0.2f, 1, sf::Color(255, 60, 60), 1, 1});
    game.inspected_unit = 2;
    game.game_over = over;
}
}  // namespace

TEST(MatchDrawing, BatchedAndPerShapeDrawTheSamePicture) {
    GameFixture fixture;
    Game& game = *fixture.game;
    const int pairs[3][2] = {{Red, Yellow}, {Blue, Purple}, {White, Red}};
    for (const auto& pair : pairs) {
        game.player_turrets.clear();
        game.enemy_turrets.clear();
        game.projectiles.clear();
        game.selection.clear();
        fillBusyMatch(game, pair[0], pair[1], pair[0] == White);
        renderedFrame(game);  // settles the panel labels
        flame_phase = 0;      // each rocket drawn flickers its flame on
        sf::Image batched = renderedFrame(game, true);
        flame_phase = 0;
        sf::Image per_shape = renderedFrame(game, false);
        EXPECT_LE(differingPixels(batched, per_shape), 8) << pair[0] << " against " << pair[1];
    }
}
