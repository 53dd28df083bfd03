#include "app/render.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/render_parts.h"
#include "app/screen.h"
#include "battle/hex_floor_draw.h"
#include "ui/faction_screen.h"

#include <cmath>
#include <cstdint>

sf::Text uiText(const Game& game, const std::string& utf8, unsigned size, sf::Color colour, sf::Vector2f position) {
    sf::Text text = makeText(game.frontend->ui_font, sf::String::fromUtf8(utf8.begin(), utf8.end()), size);
    text.setFillColor(colour);
    text.setPosition(position);
    return text;
}

sf::Text& keptText(const Game& game, KeptText& kept, std::string_view utf8, unsigned size, sf::Color colour) {
    if (!kept.built || kept.words != utf8 || kept.text.getCharacterSize() != size ||
        kept.text.getFillColor() != colour) {
        kept.words.assign(utf8);
        kept.text = uiText(game, kept.words, size, colour, {0, 0});
        kept.built = true;
    }
    return kept.text;
}

std::string truncatedText(double value) {
    if (std::isnan(value)) return "0";
    const double limit = 9.2e18;
    if (value >= limit) return std::to_string(INT64_MAX);
    if (value <= -limit) return std::to_string(INT64_MIN);
    return std::to_string(static_cast<std::int64_t>(value));
}

sf::RenderTarget& renderTarget(Game& game) { return *game.frontend->canvas.target; }

void presentFrame(Game& game) {
    drawNetworkLines(game);
    drawFrameOverlay(game);
    flushCanvas(game.frontend->canvas);
    // Any other target (an off-screen texture) is shown by whoever set it.
    if (game.frontend->canvas.target == &game.frontend->window) game.frontend->window.display();
}

void render(Game& game) {
    sf::RenderTarget& target = renderTarget(game);
    sf::View screen = screenView(target.getSize());
    bool bars = screen.getViewport() != sf::FloatRect({0, 0}, {1, 1});
    Screen shown = currentScreen(game);
    bool floor_first = shown == Screen::MainMenu || shown == Screen::Match || shown == Screen::Results;
    if (bars || !floor_first || !floorCoversTarget(game)) target.clear(bars ? sf::Color::Black : kBackground);
    target.setView(screen);
    Canvas& canvas = game.frontend->canvas;
    if (bars) drawRectangle(canvas, {kLayoutWidth, kLayoutHeight}, sf::Transformable(), ShapeStyle{kBackground});
    switch (shown) {
        case Screen::MainMenu: drawMainMenu(game); break;
        case Screen::Lobby: drawLobby(game); return;  // presents while it holds the host list
        case Screen::FactionSelect: drawFactionScreen(game); return;  // presents the frame itself
        case Screen::LevelSelect: drawLevelSelect(game); break;
        case Screen::Replays: drawReplayList(game); break;
        case Screen::Settings: drawSettingsScreen(game); break;
        case Screen::Results:
        case Screen::Match:
            drawMatchWorld(game);
            drawHud(game);
            if (game.game_over) drawResultsOverlay(game);
            if (game.paused && !game.pause_menu) drawPauseOverlay(game);
            if (game.pause_menu) drawPauseMenu(game);
            if (game.rejoin.waiting) drawRejoinOverlay(game);
            if (game.replay.playing) drawReplayBadge(game);
            break;
    }
    presentFrame(game);
}
