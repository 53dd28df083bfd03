#include "app/frontend.h"
#include "battle/match.h"
#include "content/factions.h"
#include "support.h"
#include "ui/picture.h"

#include <gtest/gtest.h>

namespace {
std::string utf8Of(const sf::Text& text) {
    auto bytes = text.getString().toUtf8();
    return std::string(bytes.begin(), bytes.end());
}
}  // namespace

using Results = WindowedGameTest;

// The results over the field: green for a victory, red for a defeat, centred over the
// panel, with the symbol font's pictograph where the CJK font has none; the status line
// shows the money truncated toward zero. The layout is made again when the results change.
TEST_F(Results, TheResultsAndTheStatusLineAsDrawn) {
    game.game_started = game.faction_confirmed = game.level_running = true;
    game.hex_grid_enabled = 0;
    game.player_faction = Blue;
    game.player_income = 10;
    const ScreenTexts& texts = game.frontend->screen_texts;
    const sf::Text& results = texts.results;
    struct Case {
        float player_money, enemy_money;
        const char *status, *first_line;
        sf::Color colour;
    };
    for (Case c : {Case{12.9f, -3.7f, "你: 12 敌: -3\n收入: 10\nQ/W/E 三路出兵", "🏆 胜 利 ！\n", {100, 255, 100}},
                   Case{-0.5f, 20, "你: 0 敌: 20\n收入: 10\nQ/W/E 三路出兵", "💀 失 败 ……\n", {255, 100, 100}}}) {
        game.game_over = false;
        game.player_money = c.player_money;
        game.enemy_money = c.enemy_money;
        stdoutOf([&] { checkMatchEnd(game); });
        sf::Image frame = renderedFrame(game);
        EXPECT_EQ(texts.status.words, c.status);
        EXPECT_EQ(utf8Of(results).rfind(c.first_line, 0), 0u) << utf8Of(results);
        EXPECT_EQ(results.getFillColor(), c.colour);
        sf::FloatRect bounds = results.getLocalBounds();
        EXPECT_EQ(results.getPosition(), sf::Vector2f((900 - bounds.width) / 2, (600 - bounds.height) / 2 - 50));
        unsigned size = results.getCharacterSize();
        EXPECT_GT(game.frontend->symbol_font.getGlyph(results.getString()[0], size, false).bounds.width, 10);
        EXPECT_EQ(textMismatch(frame, game.frontend->symbol_font, std::string(c.first_line, 4), size, c.colour,
                               results.findCharacterPos(0)), 0);  // the pictograph, four bytes of UTF-8
    }
}
