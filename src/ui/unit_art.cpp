#include "ui/unit_art.h"
#include "app/frontend.h"
#include "app/display.h"
#include "app/game.h"
#include "content/factions.h"
#include "ui/faction_marks.h"
#include "ui/unit_frame.h"
#include "ui/unit_sprites.h"

#include <cmath>

UnitFrame::UnitFrame(sf::Vector2f unit_position, float theta_degrees) : position(unit_position), theta(theta_degrees) {
    float radians = degreesToRadians(theta_degrees);
    forward = {std::sin(radians), -std::cos(radians)};
    lateral = {std::cos(radians), std::sin(radians)};
    states.transform.translate(unit_position);
    rotateDegrees(states.transform, theta_degrees);
}

sf::Transformable placed(sf::Vector2f position, float rotation, sf::Vector2f origin) {
    sf::Transformable placement;
    placement.setPosition(position);
    setRotationDegrees(placement, rotation);
    placement.setOrigin(origin);
    return placement;
}

ShapeStyle filled(sf::Color fill) { return ShapeStyle{fill, sf::Color::White, 0}; }

ShapeStyle outlined(sf::Color fill, sf::Color outline, float thickness) { return ShapeStyle{fill, outline, thickness}; }

void drawDisc(Canvas& canvas, sf::Vector2f centre, float radius, std::size_t points, const ShapeStyle& style,
              const sf::RenderStates& states) {
    drawCircle(canvas, radius, points, placed(centre, 0, {radius, radius}), style, states);
}

void drawLine(Canvas& canvas, sf::Vector2f from, sf::Color from_colour, sf::Vector2f to, sf::Color to_colour,
              const sf::RenderStates& states) {
    const sf::Vertex line[2] = {sf::Vertex{from, from_colour}, sf::Vertex{to, to_colour}};
    drawVertices(canvas, line, 2, sf::PrimitiveType::Lines, states);
}

namespace {
struct FactionArt {
    void (*body)(Canvas&, const UnitFrame&);
    void (*barrel)(Canvas&, const UnitFrame&);
};

// In faction order: Red, Yellow, Blue, Purple, White.
const FactionArt kFactionArt[kFactionCount] = {
    {drawRedBody, drawRedBarrel},       {drawYellowBody, drawYellowBarrel}, {drawBlueBody, drawBlueBarrel},
    {drawPurpleBody, drawPurpleBarrel}, {drawWhiteBody, drawWhiteBarrel},
};

// A grey tube 3 x 20 from the centre; in the unit frame it spans local y 0 to 20.
void drawDefaultBarrel(Canvas& canvas, const UnitFrame& frame) {
    drawRectangle(canvas, {3, 20}, placed(frame.position, frame.theta, {1.5f, 0}),
                  outlined(sf::Color(200, 200, 200), sf::Color(150, 150, 150), 0.5f));
}

// With marks on, each dot is its side's faction mark instead of a round dot.
void drawMinimapDots(Canvas& canvas, const std::vector<Turret>& units, const WorldBounds& bounds, float width,
                     sf::Color colour, int mark) {
    float span_x = bounds.max_x - bounds.min_x;
    float span_y = bounds.max_y - bounds.min_y;
    for (const Turret& unit : units) {
        sf::Vector2f position = unit.position;
        float nx = (position.x - bounds.min_x) / span_x;
        float ny = (position.y - bounds.min_y) / span_y;
        // Nothing clamps the dot: a unit off the field shows off the map.
        sf::Vector2f centre(width - 160 + 10 + 130 * nx, 20 + 80 * ny);
        if (isFaction(mark))
            drawFactionMark(canvas, mark, centre, 5, 0, ShapeStyle{colour});
        else
            drawRound(canvas, centre, 2, colour);
    }
}
}  // namespace

void drawFactionArt(Canvas& canvas, int faction, const UnitFrame& frame) {
    kFactionArt[faction].body(canvas, frame);
    kFactionArt[faction].barrel(canvas, frame);
}

void drawUnit(Game& game, Canvas& canvas, const Turret& unit) {
    int faction = unit.is_player ? game.player_faction : game.enemy_faction;
    sf::Vector2f position = unit.position;
    float theta = unit.barrel_degrees;
    if (!isFaction(faction)) {
        sf::RenderStates at;
        at.transform.translate(position);
        drawShape(canvas, unit.body, at);
        drawDefaultBarrel(canvas, UnitFrame(position, theta));
        return;
    }
    UnitSprites& sprites = game.frontend->unit_sprites;
    if (canvas.batched && canvas.fast_paths && drawUnitSprite(sprites, canvas, faction, position, theta)) return;
    drawFactionArt(canvas, faction, UnitFrame(position, theta));
}

void drawMinimap(Game& game, Canvas& canvas) {
    float width = windowWidth(game);
    drawRectangle(canvas, {150, 100}, placed({width - 160, 10}), filled(sf::Color(0, 0, 0, 180)));
    bool marks = game.settings.faction_marks;
    drawMinimapDots(canvas, game.player_turrets, game.world_bounds, width, sf::Color(0, 255, 0),
                    marks ? game.player_faction : -1);
    drawMinimapDots(canvas, game.enemy_turrets, game.world_bounds, width, sf::Color(255, 0, 0),
                    marks ? game.enemy_faction : -1);
}
