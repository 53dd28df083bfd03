#include "app/game.h"
#include "content/factions.h"
#include "support.h"
#include "ui/results.h"

#include <gtest/gtest.h>
#include <functional>

namespace {
std::string utf8Of(const sf::Text& text) {
    auto bytes = text.getString().toUtf8();
    return std::string(bytes.begin(), bytes.end());
}

std::string checkOutput(Game& game) {
    testing::internal::CaptureStdout();
    checkMatchEnd(game);
    return testing::internal::GetCapturedStdout();
}
}  // namespace

TEST(Results, VictoryTextPlacementAndState) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.player_faction = Red;
    game.enemy_faction = Blue;
    game.player_money = 10;
    game.enemy_money = -1;
    game.results_timer = 2;
    game.results_duration = 9;
    game.sounds.bgm_playing = 1;
    EXPECT_EQ(checkOutput(game), "游戏结束，显示结算画面\n");
    EXPECT_EQ(utf8Of(game.results_text),
              "🏆 胜 利 ！\n\n联邦的'自由'是孤独的自由。共和国告诉你——我们在一起，所以不可战胜。\n\n—— 赤红共和国\n\n"
              "💀 蓝色联邦：\n联邦不会倒下。我们只是在等待下一个机会。");
    EXPECT_EQ(game.results_text.getFillColor(), sf::Color(100, 255, 100, 255));
    sf::FloatRect bounds = game.results_text.getLocalBounds();
    EXPECT_EQ(game.results_text.getPosition(),
              sf::Vector2f((900 - bounds.width) / 2, (600 - bounds.height) / 2 - 50));
    EXPECT_TRUE(game.game_over);
    EXPECT_EQ(game.results_timer, 0);
    EXPECT_EQ(game.results_duration, 3);
    EXPECT_EQ(game.sounds.bgm_playing, 0);
}

TEST(Results, DefeatPutsTheLosersLineFirst) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.player_faction = game.enemy_faction = Yellow;
    game.player_money = -5;
    game.enemy_money = 20;
    checkOutput(game);
    EXPECT_EQ(utf8Of(game.results_text),
              "💀 失 败 ……\n\n市场波动而已。联合体会在下一轮交易中赢回来。\n\n—— 黄色联合体\n\n"
              "🏆 黄色联合体：\n联合体只能有一个CEO。这个人是我。");
    EXPECT_EQ(game.results_text.getFillColor(), sf::Color(255, 100, 100, 255));
    EXPECT_TRUE(game.game_over);

    game.game_over = false;
    game.player_faction = White;
    game.enemy_faction = Purple;
    game.enemy_money = -0.5f;  // both below zero: the local side wins
    checkOutput(game);
    EXPECT_EQ(utf8Of(game.results_text).rfind("🏆 胜 利 ！\n\n真理会，你重写的是谎言。", 0), 0u);
}

TEST(Results, StatusLineTruncatesAndZeroMoneyPlaysOn) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.player_money = 12.9f;
    game.enemy_money = -3.7f;
    game.player_income = 10;
    checkOutput(game);
    EXPECT_EQ(utf8Of(game.status_text), "你: 12 敌: -3\n收入: 10\nQ/W/E 三路出兵");

    game.game_over = false;
    game.player_money = 0;
    game.enemy_money = -0.0f;
    EXPECT_EQ(checkOutput(game), "");
    EXPECT_FALSE(game.game_over);
    EXPECT_EQ(utf8Of(game.status_text), "你: 0 敌: 0\n收入: 10\nQ/W/E 三路出兵");
}

TEST(Results, TauntTableEdges) {
    EXPECT_EQ(taunt(Purple, Purple), "你的版本已被淘汰。我是真理的新版本。");
    EXPECT_EQ(taunt(White, 7), "信者得救，疑者受罚。今天，圣所的光证明了它的审判。");
    EXPECT_EQ(taunt(-1, Red), "");
    EXPECT_EQ(factionDisplayName(White), "白昼圣所");
    EXPECT_EQ(factionDisplayName(5), "");
    EXPECT_EQ(defeatLine(Purple), "暂时的错误。真理会在下一版本修正。");
    EXPECT_EQ(defeatLine(-1), "");
}

namespace {
sf::Image drawnImage(const std::function<void(Canvas&)>& draw) {
    sf::RenderTexture target;
    target.create(900, 600);
    target.clear(sf::Color::Black);
    Canvas canvas;
    canvas.target = &target;
    draw(canvas);
    flushCanvas(canvas);
    target.display();
    return target.getTexture().copyToImage();
}
}  // namespace

// The CJK font has no trophy: the results show the symbol font's trophy in its place.
TEST(Results, TheTrophyIsDrawnFromTheSymbolFont) {
    GameFixture fixture;
    Game& game = *fixture.game;
    game.player_faction = Blue;
    game.enemy_money = -1;
    checkOutput(game);
    sf::Image results = drawnImage([&](Canvas& canvas) { drawResultsText(game, canvas); });
    sf::Text trophy(sf::String(sf::Uint32(0x1F3C6)), game.symbol_font, game.results_text.getCharacterSize());
    trophy.setFillColor(game.results_text.getFillColor());
    trophy.setPosition(game.results_text.findCharacterPos(0));
    sf::Image alone = drawnImage([&](Canvas& canvas) { drawDirect(canvas, trophy); });

    sf::FloatRect area = trophy.getGlobalBounds();
    int lit = 0;
    for (unsigned y = unsigned(area.top); y < unsigned(area.top + area.height); ++y)
        for (unsigned x = unsigned(area.left); x < unsigned(area.left + area.width); ++x) {
            EXPECT_EQ(results.getPixel(x, y), alone.getPixel(x, y));
            if (alone.getPixel(x, y).g > 128) ++lit;
        }
    EXPECT_GT(lit, 10);
}
