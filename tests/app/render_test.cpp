#include "app/game.h"
#include "content/factions.h"
#include "support.h"
#include "ui/picture.h"

#include <gtest/gtest.h>

namespace {
const sf::Color kBackground(30, 30, 50);
const sf::Color kWhite = sf::Color::White;

// A translucent fill over the cleared background, as alpha blending gives it.
sf::Color over(sf::Color fill, sf::Color below = kBackground) {
    auto mix = [&](int top, int bottom) { return sf::Uint8((top * fill.a + bottom * (255 - fill.a)) / 255); };
    return sf::Color(mix(fill.r, below.r), mix(fill.g, below.g), mix(fill.b, below.b));
}

std::string repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

}  // namespace

TEST(MenuDrawing, MainMenuButtonsSitAtTheirCorners) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.hex_grid_enabled = 0;
    sf::Image frame = renderedFrame(game);
    EXPECT_TRUE(near(frame.getPixel(5, 5), kBackground));
    struct Button {
        sf::Vector2u corner;
        sf::Color fill;
    };
    for (Button button : {Button{{440, 215}, sf::Color(60, 180, 60, 220)}, Button{{440, 375}, sf::Color(60, 100, 220, 220)}}) {
        unsigned x = button.corner.x, y = button.corner.y;
        EXPECT_TRUE(near(frame.getPixel(x, y), over(button.fill))) << x << "," << y;
        EXPECT_TRUE(near(frame.getPixel(x + 399, y + 129), over(button.fill)));
        EXPECT_TRUE(near(frame.getPixel(x - 1, y), kBackground));
        EXPECT_TRUE(near(frame.getPixel(x, y - 1), kBackground));
        EXPECT_TRUE(near(frame.getPixel(x + 400, y + 129), kBackground));
        EXPECT_TRUE(near(frame.getPixel(x + 399, y + 130), kBackground));
    }
    EXPECT_EQ(textMismatch(frame, game.ui_font, "单人\nvs AI", 24, kWhite, game.single_text.getPosition()), 0);
    EXPECT_EQ(textMismatch(frame, game.ui_font, "联机\n主机/加入", 24, kWhite, game.network_text.getPosition()), 0);
}

TEST(MenuDrawing, LobbyStatusAndHostRows) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.network_mode = game.lobby_active = true;
    sf::Image frame = renderedFrame(game);
    EXPECT_EQ(textMismatch(frame, game.ui_font, "Found hosts: 0", 18, kWhite, {300, 150}), 0);
    EXPECT_GT(textMismatch(frame, game.ui_font, "Found hosts: 1", 18, kWhite, {300, 150}), 0);

    game.lobby.found_hosts = {{sf::IpAddress(127, 0, 0, 1), 55003}, {sf::IpAddress(10, 1, 2, 3), 55004}};
    frame = renderedFrame(game);
    EXPECT_EQ(textMismatch(frame, game.ui_font, "Found hosts: 2", 18, kWhite, {300, 150}), 0);
    EXPECT_EQ(textMismatch(frame, game.ui_font, "127.0.0.1:55003", 16, kWhite, {300, 200}), 0);
    EXPECT_EQ(textMismatch(frame, game.ui_font, "10.1.2.3:55004", 16, kWhite, {300, 228}), 0);

    game.lobby.scanning = true;
    frame = renderedFrame(game);
    game.lobby.scanning = false;
    EXPECT_EQ(textMismatch(frame, game.ui_font, "Scanning LAN for hosts...", 18, kWhite, {300, 150}), 0);
}

TEST(MenuDrawing, LevelCardsReadTheirFieldsSafely) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.game_started = game.faction_confirmed = game.level_select_active = true;
    game.player_faction = Purple;
    enterLevelSelection(game);
    game.shown_levels.assign(11, nlohmann::json{{"name", "Later"}, {"faction", "Yellow"}});
    game.shown_levels[0] = {{"name", "Alpha"}, {"faction", "Blue"}, {"player_bonus", 150}};
    game.shown_levels[1] = {{"name", "Beta"}, {"difficulty", 3}, {"player_bonus", 20.9}};
    game.shown_levels[2] = {{"name", 5}, {"faction", 3}, {"difficulty", "hard"}, {"player_bonus", "x"}};
    game.shown_levels[3] = {{"difficulty", 0}, {"faction", "red"}};
    game.shown_levels[4] = {{"difficulty", 1e12}};
    sf::Image frame = renderedFrame(game);
    const sf::Font& font = game.ui_font;

    EXPECT_EQ(textMismatch(frame, font, "← 返回", 18, kWhite, {35, 28}), 0);
    EXPECT_EQ(textMismatch(frame, font, "选择关卡", 28, factionColour(Purple), {350, 30}), 0);
    EXPECT_EQ(textMismatch(frame, font, "共 11 关", 16, kWhite, {350, 70}), 0);

    const sf::Color star_colour(255, 255, 0), bonus_colour(100, 200, 100);
    EXPECT_EQ(textMismatch(frame, font, "Alpha", 16, kWhite, {100, 135}), 0);
    EXPECT_EQ(textMismatch(frame, font, "★", 14, star_colour, {100, 165}), 0);
    EXPECT_GT(textMismatch(frame, font, "★★", 14, star_colour, {100, 165}), 0);
    EXPECT_EQ(textMismatch(frame, font, "+$150", 12, bonus_colour, {100, 190}), 0);
    EXPECT_EQ(textMismatch(frame, font, "★★★", 14, star_colour, {350, 165}), 0);
    EXPECT_EQ(textMismatch(frame, font, "+$20", 12, bonus_colour, {350, 190}), 0);
    // Wrongly typed fields read as missing: "Level", one star, no bonus, a red outline.
    EXPECT_EQ(textMismatch(frame, font, "Level", 16, kWhite, {600, 135}), 0);
    EXPECT_EQ(textMismatch(frame, font, "★", 14, star_colour, {600, 165}), 0);
    EXPECT_EQ(textMismatch(frame, font, "+$0", 12, bonus_colour, {600, 190}), 0);
    EXPECT_TRUE(near(frame.getPixel(589, 175), sf::Color(255, 0, 0)));
    EXPECT_TRUE(near(frame.getPixel(89, 175), sf::Color(0, 0, 255)));
    // An unknown faction name outlines in white; difficulty 0 shows no star.
    EXPECT_TRUE(near(frame.getPixel(89, 325), kWhite));
    EXPECT_GT(textMismatch(frame, font, "★", 14, star_colour, {100, 315}), 0);
    EXPECT_EQ(textMismatch(frame, font, repeated("★", 10), 14, star_colour, {350, 315}), 0);

    // Ten cards at most: the tenth is outlined, the eleventh place stays empty.
    EXPECT_TRUE(near(frame.getPixel(89, 640), factionColour(Yellow)));
    EXPECT_TRUE(near(frame.getPixel(339, 640), kBackground));
    // The hint is centred on a width of 900 (with fewer cards nothing lies under it).
    game.shown_levels.resize(3);
    frame = renderedFrame(game);
    const std::string hint = "点击关卡开始游戏 | 点击返回按钮回到阵营选择";
    float hint_width = sf::Text(sf::String::fromUtf8(hint.begin(), hint.end()), font, 14).getLocalBounds().width;
    EXPECT_EQ(textMismatch(frame, font, hint, 14, sf::Color(100, 100, 130), {(900 - hint_width) / 2, 570}), 0);
}
