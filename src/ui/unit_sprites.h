#pragma once
#include "content/factions.h"
#include "ui/canvas.h"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <array>

// A faction's unit art drawn once at every whole degree of aim, so a unit on the field is
// one quad instead of a couple of hundred small triangles. The cells hold the art already
// blended (premultiplied), so a quad laid over the field gives the picture the shapes give
// one by one. The art is drawn at the pixel scale of the view it is shown in and with its
// centre on a pixel corner; a unit's quad is placed on the nearest pixel corner, so its
// texels fall one to one on pixels.
constexpr int kSpriteTurns = 360;

struct FactionSprites {
    sf::RenderTexture atlas;
    bool ready = false;
    bool failed = false;                          // the atlas could not be made; draw the shapes
    float scale = 0;                              // pixels per field unit the cells were drawn for
    int cell = 0;                                 // side of a cell in pixels
    int columns = 0;
    std::array<sf::IntRect, kSpriteTurns> drawn;  // each cell's painted pixels, from the cell's centre
};

struct UnitSprites {
    std::array<FactionSprites, kFactionCount> factions;
};

// Draws the faction's unit at a position aiming at theta degrees as one quad of its
// pre-drawn cell. Returns false, drawing nothing, where the view is turned or stretched or
// the atlas cannot be made; the caller then draws the shapes.
bool drawUnitSprite(UnitSprites& sprites, Canvas& canvas, int faction, sf::Vector2f position, float theta);
