#include "app/frontend.h"
#include "app/game.h"
#include "app/render_parts.h"

#include <cmath>
#include <string>

namespace {
// The title stands clear of the back button, as the settings screen's does.
constexpr float kReplayTitleX = 220;

sf::Text& placed(sf::Text& text, sf::Vector2f at) {
    text.setPosition(at);
    return text;
}

void drawBox(Canvas& canvas, sf::Vector2f at, sf::Vector2f size, sf::Color fill) {
    sf::Transformable placement;
    placement.setPosition(at);
    drawRectangle(canvas, size, placement, ShapeStyle{fill, sf::Color(150, 150, 200), 1});
}
}  // namespace

void drawReplaysButton(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    drawBox(canvas, {kReplaysButtonX, kReplaysButtonY}, {kReplaysButtonWidth, kReplaysButtonHeight},
            sf::Color(60, 60, 80));
    sf::Text& label = keptText(game, game.frontend->screen_texts.replays_button, text(game.texts, "replays.button"), 18,
                               sf::Color::White);
    float width = partsOf(label.getLocalBounds()).width;
    drawDirect(canvas,
               placed(label, {std::floor(kReplaysButtonX + (kReplaysButtonWidth - width) / 2), kReplaysButtonY + 8}));
}

// Newest first, a row a replay; the wheel scrolls; the notice says why one could not be played.
void drawReplayList(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    ScreenTexts& texts = game.frontend->screen_texts;
    const ReplayShelf& shelf = game.shelf;
    drawShape(canvas, game.back_button);
    drawDirect(canvas, game.frontend->back_text);
    drawDirect(canvas,
               placed(keptText(game, texts.replays_title, text(game.texts, "replays.title"), 28, sf::Color::White),
                      {kReplayTitleX, 30}));
    for (int row = 0; row < kReplayRowsShown; ++row) {
        std::size_t index = std::size_t(shelf.first_shown + row);
        if (index >= shelf.listings.size()) break;
        float y = kReplayRowY + kReplayRowHeight * float(row);
        drawBox(canvas, {kReplayRowX, y}, {kReplayRowWidth, kReplayRowHeight - 4}, sf::Color(40, 40, 60));
        sf::Text& line = keptText(game, texts.replay_rows[std::size_t(row)], shelf.listings[index].line, 16,
                                  sf::Color(220, 220, 230));
        drawDirect(canvas, placed(line, {kReplayRowX + 12, y + 5}));
    }
    const std::string& hint = text(game.texts, shelf.listings.empty() ? "replays.none" : "replays.hint");
    sf::Text& hint_text = keptText(game, texts.replays_hint, hint, 14, sf::Color(130, 130, 160));
    drawDirect(canvas, placed(hint_text, {kReplayRowX, kReplayRowY + kReplayRowHeight * kReplayRowsShown + 6}));
    if (!shelf.notice.empty())
        drawDirect(canvas, placed(keptText(game, texts.replays_notice, shelf.notice, 16, sf::Color(255, 110, 80)),
                                  {kReplayRowX, 60}));
}

// "回放 2×" at the top of a replay; at the end of one that was left, the tug of war.
void drawReplayBadge(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    ScreenTexts& texts = game.frontend->screen_texts;
    const ReplayShelf& shelf = game.shelf;
    std::string words =
        fillText(game.texts, shelf.paused ? "replays.badge_paused" : "replays.badge", {std::to_string(shelf.speed)});
    sf::Text& badge = keptText(game, texts.replay_badge, words, 20, sf::Color(255, 220, 120));
    drawDirect(canvas, placed(badge, {1120, 118}));  // under the minimap
    if (!shelf.ended || game.game_over) return;
    drawRectangle(canvas, {900, 600}, sf::Transformable(), ShapeStyle{sf::Color(0, 0, 0, 180)});
    drawBox(canvas, {100, 100}, {700, 400}, sf::Color(20, 20, 40, 220));
    sf::Text& end = keptText(game, texts.replay_end, text(game.texts, "replays.end"), 20, sf::Color::White);
    drawDirect(canvas, placed(end, {130, 150}));
    drawMoneyPanel(game, 220);
}
