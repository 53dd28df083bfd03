#include "content/factions.h"
#include "support.h"
#include "ui/picture.h"
#include "ui/results.h"

#include <gtest/gtest.h>

namespace {
std::string checkOutput(Game& game) {
    game.game_over = false;
    return stdoutOf([&] { checkMatchEnd(game); });
}
}  // namespace

using Results = GameTest;

TEST_F(Results, VictoryAndDefeatTextsAndTheStatusLine) {
    game.player_faction = Red;
    game.enemy_faction = Blue;
    game.player_money = 12.9f;
    game.enemy_money = -3.7f;
    game.player_income = 10;
    game.results_timer = 2;
    game.results_duration = 9;
    game.sounds.bgm_playing = 1;
    EXPECT_EQ(checkOutput(game), "游戏结束，显示结算画面\n");
    EXPECT_EQ(utf8Of(game.status_text), "你: 12 敌: -3\n收入: 10\nQ/W/E 三路出兵");
    EXPECT_EQ(utf8Of(game.results_text),
              "🏆 胜 利 ！\n\n联邦的'自由'是孤独的自由。共和国告诉你——我们在一起，所以不可战胜。\n\n—— 赤红共和国\n\n"
              "💀 蓝色联邦：\n联邦不会倒下。我们只是在等待下一个机会。");
    EXPECT_EQ(game.results_text.getFillColor(), sf::Color(100, 255, 100, 255));
    sf::FloatRect bounds = game.results_text.getLocalBounds();
    EXPECT_EQ(game.results_text.getPosition(), sf::Vector2f((900 - bounds.width) / 2, (600 - bounds.height) / 2 - 50));
    EXPECT_TRUE(game.game_over);
    EXPECT_EQ(sf::Vector2f(game.results_timer, game.results_duration), sf::Vector2f(0, 3));
    EXPECT_EQ(game.sounds.bgm_playing, 0);

    game.player_faction = game.enemy_faction = Yellow;
    game.player_money = -5;
    game.enemy_money = 20;
    checkOutput(game);
    EXPECT_EQ(utf8Of(game.results_text),
              "💀 失 败 ……\n\n市场波动而已。联合体会在下一轮交易中赢回来。\n\n—— 黄色联合体\n\n"
              "🏆 黄色联合体：\n联合体只能有一个CEO。这个人是我。");
    EXPECT_EQ(game.results_text.getFillColor(), sf::Color(255, 100, 100, 255));
    EXPECT_TRUE(game.game_over);

    game.player_faction = White;
    game.enemy_faction = Purple;
    game.enemy_money = -0.5f;  // both below zero: the local side wins
    checkOutput(game);
    EXPECT_EQ(utf8Of(game.results_text).rfind("🏆 胜 利 ！\n\n真理会，你重写的是谎言。", 0), 0u);

    game.player_money = 0;
    game.enemy_money = -0.0f;
    EXPECT_EQ(checkOutput(game), "");
    EXPECT_FALSE(game.game_over);
    EXPECT_EQ(utf8Of(game.status_text), "你: 0 敌: 0\n收入: 10\nQ/W/E 三路出兵");

    // Indexes outside the faction table never index it.
    EXPECT_EQ(taunt(White, 7), "信者得救，疑者受罚。今天，圣所的光证明了它的审判。");
    EXPECT_EQ(taunt(-1, Red) + factionDisplayName(5) + defeatLine(-1), "");
}

// The CJK font has no trophy: the results show the symbol font's trophy in its place.
TEST_F(Results, TheTrophyIsDrawnFromTheSymbolFont) {
    game.game_started = game.faction_confirmed = game.level_running = true;
    game.hex_grid_enabled = 0;
    game.player_faction = Blue;
    game.enemy_money = -1;
    checkOutput(game);
    sf::Image frame = renderedFrame(game);
    unsigned size = game.results_text.getCharacterSize();
    EXPECT_GT(game.symbol_font.getGlyph(0x1F3C6, size, false).bounds.width, 10);
    EXPECT_EQ(textMismatch(frame, game.symbol_font, "🏆", size, game.results_text.getFillColor(),
                           game.results_text.findCharacterPos(0)), 0);
    // The layout is kept between frames, and made again when the results change.
    const std::string skull = "💀 败";
    game.results_text.setString(sf::String::fromUtf8(skull.begin(), skull.end()));
    frame = renderedFrame(game);
    EXPECT_EQ(textMismatch(frame, game.symbol_font, "💀", size, game.results_text.getFillColor(),
                           game.results_text.findCharacterPos(0)), 0);
}
