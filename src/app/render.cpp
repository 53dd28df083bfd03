#include "app/render.h"
#include "app/game.h"
#include "app/render_parts.h"
#include "app/screen.h"
#include "ui/faction_screen.h"

#include <cmath>
#include <cstdint>

sf::Text uiText(const Game& game, const std::string& utf8, unsigned size, sf::Color colour, sf::Vector2f position) {
    sf::Text text(sf::String::fromUtf8(utf8.begin(), utf8.end()), game.ui_font, size);
    text.setFillColor(colour);
    text.setPosition(position);
    return text;
}

std::string truncatedText(double value) {
    if (std::isnan(value)) return "0";
    const double limit = 9.2e18;
    if (value >= limit) return std::to_string(INT64_MAX);
    if (value <= -limit) return std::to_string(INT64_MIN);
    return std::to_string(static_cast<std::int64_t>(value));
}

void render(Game& game) {
    game.window.clear(sf::Color(30, 30, 50));
    game.window.setView(game.window.getDefaultView());
    switch (currentScreen(game)) {
        case Screen::MainMenu: drawMainMenu(game); break;
        case Screen::Lobby: drawLobby(game); return;  // presents while it holds the host list
        case Screen::FactionSelect: drawFactionScreen(game); return;  // presents the frame itself
        case Screen::LevelSelect: drawLevelSelect(game); break;
        case Screen::Results:
        case Screen::Match:
            drawMatchWorld(game);
            drawHud(game);
            if (game.game_over) drawResultsOverlay(game);
            break;
    }
    flushCanvas(game.canvas);
    game.window.display();
}
