#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

struct Game;

// One hexagon of the territory floor.
struct HexCell {
    sf::Vector2f centre;
    sf::Color current;
    sf::Color target;
    float owner = 0;    // 1 player, -1 enemy, 0 nobody
    float fade = 1.0f;  // 0..1; 1 means no fade in progress
};

void buildHexGrid(Game& game);
// Every cell back to nobody's, as on a fresh field.
void clearHexTerritory(Game& game);
void updateHexTerritory(Game& game);
void fadeHexCells(Game& game, float dt);
