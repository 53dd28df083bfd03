#pragma once
#include "ui/canvas.h"

#include <SFML/Graphics/Transformable.hpp>
#include <cstddef>

// The frame a unit's art is drawn in: local x is lateral, local y axial, and local
// (0, -1) is where the barrel points. A local point (a, u) lies at
// position + (a cos θ - u sin θ, a sin θ + u cos θ).
struct UnitFrame {
    sf::Vector2f position;
    float theta = 0;          // barrel rotation, degrees
    sf::Vector2f forward;     // (sin θ, -cos θ)
    sf::Vector2f lateral;     // (cos θ, sin θ), local +x
    sf::RenderStates states;  // translate to the unit, then rotate by θ

    UnitFrame(sf::Vector2f unit_position, float theta_degrees);
    // World point of the local point (a, u).
    sf::Vector2f at(float a, float u) const { return position + lateral * a - forward * u; }
    // World point `distance` along the aim and `side` across it.
    sf::Vector2f ahead(float distance, float side = 0) const { return position + forward * distance + lateral * side; }
};

// Placement of a shape: position, rotation in degrees, origin.
sf::Transformable placed(sf::Vector2f position, float rotation = 0, sf::Vector2f origin = {});
ShapeStyle filled(sf::Color fill);
ShapeStyle outlined(sf::Color fill, sf::Color outline, float thickness);

// A circle of the given radius centred on a point.
void drawDisc(Canvas& canvas, sf::Vector2f centre, float radius, std::size_t points, const ShapeStyle& style,
              const sf::RenderStates& states = sf::RenderStates::Default);
// A two-point line.
void drawLine(Canvas& canvas, sf::Vector2f from, sf::Color from_colour, sf::Vector2f to, sf::Color to_colour,
              const sf::RenderStates& states = sf::RenderStates::Default);

// The faction's body art, then its barrel art, in the frame.
void drawFactionArt(Canvas& canvas, int faction, const UnitFrame& frame);

void drawRedBody(Canvas& canvas, const UnitFrame& frame);
void drawRedBarrel(Canvas& canvas, const UnitFrame& frame);
void drawYellowBody(Canvas& canvas, const UnitFrame& frame);
void drawYellowBarrel(Canvas& canvas, const UnitFrame& frame);
void drawBlueBody(Canvas& canvas, const UnitFrame& frame);
void drawBlueBarrel(Canvas& canvas, const UnitFrame& frame);
void drawPurpleBody(Canvas& canvas, const UnitFrame& frame);
void drawPurpleBarrel(Canvas& canvas, const UnitFrame& frame);
void drawWhiteBody(Canvas& canvas, const UnitFrame& frame);
void drawWhiteBarrel(Canvas& canvas, const UnitFrame& frame);
