#include "ui/faction_marks.h"
#include "app/frontend.h"
#include "app/game.h"
#include "content/factions.h"

namespace {
// The marks' corners for a size of 1, about their centre. The cross is drawn as the
// shapes are, fanned from its centre, which sees all of it.
const sf::Vector2f kTriangle[] = {{0, -1.2f}, {1.04f, 0.6f}, {-1.04f, 0.6f}};
const sf::Vector2f kSquare[] = {{-0.85f, -0.85f}, {0.85f, -0.85f}, {0.85f, 0.85f}, {-0.85f, 0.85f}};
const sf::Vector2f kDiamond[] = {{0, -1.2f}, {1.2f, 0}, {0, 1.2f}, {-1.2f, 0}};
constexpr float kArm = 0.3f;
const sf::Vector2f kCross[] = {{-kArm, -1}, {kArm, -1}, {kArm, -kArm}, {1, -kArm}, {1, kArm},   {kArm, kArm},
                               {kArm, 1},   {-kArm, 1}, {-kArm, kArm}, {-1, kArm}, {-1, -kArm}, {-kArm, -kArm}};
constexpr std::size_t kCirclePoints = 16;

// On a unit: white with a dark edge, so it reads on every faction's body, white's too.
const ShapeStyle kOnUnit{sf::Color(255, 255, 255, 230), sf::Color(20, 20, 20, 230), 1};
constexpr float kOnUnitSize = 4.5f;
}  // namespace

void drawFactionMark(Canvas& canvas, int faction, sf::Vector2f centre, float size, float degrees,
                     const ShapeStyle& style) {
    sf::Transformable placement;
    placement.setPosition(centre);
    setRotationDegrees(placement, degrees);
    placement.setScale({size, size});
    // Scaled, an outline would scale too: it is given in pixels, so divided here.
    ShapeStyle scaled = style;
    scaled.outline_thickness = style.outline_thickness / size;
    switch (faction) {
        case Red: drawPolygon(canvas, kTriangle, std::size(kTriangle), placement, scaled); break;
        case Yellow:
            placement.setOrigin({1, 1});
            drawCircle(canvas, 1, kCirclePoints, placement, scaled);
            break;
        case Blue: drawPolygon(canvas, kSquare, std::size(kSquare), placement, scaled); break;
        case Purple: drawPolygon(canvas, kDiamond, std::size(kDiamond), placement, scaled); break;
        case White: drawPolygon(canvas, kCross, std::size(kCross), placement, scaled); break;
        default: break;
    }
}

void drawUnitMarks(Game& game, Canvas& canvas) {
    if (!game.settings.faction_marks) return;
    for (const Turret& unit : game.player_turrets)
        drawFactionMark(canvas, game.player_faction, unit.position, kOnUnitSize, unit.barrel_degrees, kOnUnit);
    for (const Turret& unit : game.enemy_turrets)
        drawFactionMark(canvas, game.enemy_faction, unit.position, kOnUnitSize, unit.barrel_degrees, kOnUnit);
}
