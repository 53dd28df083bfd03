#include "app/render.h"
#include "app/game.h"
#include "app/screen.h"
#include "ui/faction_screen.h"

namespace {
void drawMainMenu(Game& game) {
    Canvas& canvas = game.canvas;
    if (game.hex_grid_enabled)
        for (const sf::ConvexShape& hex : game.hex_shapes) drawShape(canvas, hex);
    drawShape(canvas, game.single_button);
    drawShape(canvas, game.network_button);
    drawDirect(canvas, game.single_text);
    drawDirect(canvas, game.network_text);
}

void drawLobby(Game& game) {
    Canvas& canvas = game.canvas;
    drawShape(canvas, game.lobby.host_button);
    drawShape(canvas, game.lobby.join_button);
    drawDirect(canvas, game.lobby.host_text);
    drawDirect(canvas, game.lobby.join_text);
}

void drawLevelSelect(Game& game) {
    Canvas& canvas = game.canvas;
    drawShape(canvas, game.back_button);
    drawDirect(canvas, game.back_text);
    size_t cards = std::min<size_t>(game.shown_levels.size(), game.level_cards.size());
    for (size_t i = 0; i < cards; ++i) {
        sf::RectangleShape card = game.level_cards[i];
        card.setFillColor(sf::Color(30, 30, 50));
        card.setOutlineColor(sf::Color::White);
        card.setOutlineThickness(2);
        drawShape(canvas, card);
    }
}

void drawMatch(Game& game) {
    Canvas& canvas = game.canvas;
    game.window.setView(game.world_view);
    for (const auto* list : {&game.player_turrets, &game.enemy_turrets})
        for (const Turret& unit : *list) {
            drawShape(canvas, unit.body);
            drawShape(canvas, unit.barrel);
        }
    for (const Projectile& projectile : game.projectiles) drawShape(canvas, projectile.shape);
    flushCanvas(canvas);
    game.window.setView(game.window.getDefaultView());
    drawDirect(canvas, game.status_text);
}
}  // namespace

void render(Game& game) {
    game.window.clear(sf::Color(30, 30, 50));
    game.window.setView(game.window.getDefaultView());
    switch (currentScreen(game)) {
        case Screen::MainMenu: drawMainMenu(game); break;
        case Screen::Lobby: drawLobby(game); break;
        case Screen::FactionSelect: drawFactionScreen(game); return;  // presents the frame itself
        case Screen::LevelSelect: drawLevelSelect(game); break;
        case Screen::Results:
        case Screen::Match: drawMatch(game); break;
    }
    flushCanvas(game.canvas);
    game.window.display();
}
