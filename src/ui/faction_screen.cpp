#include "ui/faction_screen.h"
#include "app/game.h"

void drawFactionScreen(Game& game) {
    sf::Vector2u size = game.window.getSize();
    float x0 = (float(size.x) - 960) / 2;
    float y0 = (float(size.y) - 180) / 2;
    for (int i = 0; i < 5; ++i) {
        sf::RectangleShape card({180, 180});
        card.setPosition(x0 + 195 * float(i), y0);
        card.setFillColor(sf::Color(25, 25, 45, 230));
        card.setOutlineColor(factionColour(i));
        card.setOutlineThickness(i == game.hovered_faction ? 4 : 2);
        drawShape(game.canvas, card);
    }
    flushCanvas(game.canvas);
    game.window.display();
}
