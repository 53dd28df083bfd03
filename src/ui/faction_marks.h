#pragma once
#include "ui/canvas.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

struct Game;

// Each faction's shape, drawn where colour alone would tell the factions apart, so a
// colour-blind player tells them by shape: Red ▲, Yellow ●, Blue ■, Purple ◆, White ✚.
// `size` is about half the mark's width; it turns by `degrees` about its centre. A number
// outside the five has no mark.
void drawFactionMark(Canvas& canvas, int faction, sf::Vector2f centre, float size, float degrees,
                     const ShapeStyle& style);

// A small mark on every unit, turned with its body, when the settings ask for marks.
void drawUnitMarks(Game& game, Canvas& canvas);
