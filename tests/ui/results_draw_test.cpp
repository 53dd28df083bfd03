#include "app/frontend.h"
#include "battle/match.h"
#include "content/factions.h"
#include "support.h"
#include "ui/picture.h"

#include <gtest/gtest.h>

namespace {
void endWith(Game& game, float player_money, float enemy_money) {
    game.game_over = false;
    game.player_money = player_money;
    game.enemy_money = enemy_money;
    stdoutOf([&] { checkMatchEnd(game); });
}

std::string utf8Of(const sf::Text& text) {
    auto bytes = text.getString().toUtf8();
    return std::string(bytes.begin(), bytes.end());
}
}  // namespace

using Results = WindowedGameTest;

// The results over the field: green for a victory, red for a defeat, centred over the
// panel, with the symbol font's trophy where the CJK font has none; the status line
// shows the money truncated toward zero.
TEST_F(Results, TheResultsAndTheStatusLineAsDrawn) {
    game.game_started = game.faction_confirmed = game.level_running = true;
    game.hex_grid_enabled = 0;
    game.player_faction = Blue;
    game.player_income = 10;
    endWith(game, 12.9f, -3.7f);
    sf::Image frame = renderedFrame(game);
    ScreenTexts& texts = game.frontend->screen_texts;
    EXPECT_EQ(texts.status.words, "你: 12 敌: -3\n收入: 10\nQ/W/E 三路出兵");
    const sf::Text& results = texts.results;
    EXPECT_EQ(utf8Of(results).rfind("🏆 胜 利 ！", 0), 0u);
    EXPECT_EQ(results.getFillColor(), sf::Color(100, 255, 100, 255));
    sf::FloatRect bounds = results.getLocalBounds();
    EXPECT_EQ(results.getPosition(), sf::Vector2f((900 - bounds.width) / 2, (600 - bounds.height) / 2 - 50));
    unsigned size = results.getCharacterSize();
    EXPECT_GT(game.frontend->symbol_font.getGlyph(0x1F3C6, size, false).bounds.width, 10);
    EXPECT_EQ(textMismatch(frame, game.frontend->symbol_font, "🏆", size, results.getFillColor(),
                           results.findCharacterPos(0)), 0);
    // The layout is kept between frames, and made again when the results change.
    endWith(game, -0.5f, 20);
    frame = renderedFrame(game);
    EXPECT_EQ(texts.status.words, "你: 0 敌: 20\n收入: 10\nQ/W/E 三路出兵");
    EXPECT_EQ(results.getFillColor(), sf::Color(255, 100, 100, 255));
    EXPECT_EQ(textMismatch(frame, game.frontend->symbol_font, "💀", size, results.getFillColor(),
                           results.findCharacterPos(0)), 0);
}
