#include "ui/unit_frame.h"

namespace {
const sf::Color kDeep(20, 10, 30);
const sf::Color kAbyss(10, 4, 22);
const sf::Color kFinFill(45, 20, 70);
const sf::Color kGlow(140, 70, 255, 180);
const sf::Color kSparkle(255, 230, 255, 180);

// A fin from its root at (0, 0) out along its +y; `side` mirrors it.
void drawFin(Canvas& canvas, sf::Vector2f root, float rotation, float side, float length, const ShapeStyle& style) {
    const sf::Vector2f corners[4] = {{0, 0}, {2.5f * side, 4}, {1 * side, length}, {0, length - 2}};
    drawPolygon(canvas, corners, 4, placed(root, rotation), style);
}

// A diamond gem with four sparkle bars at 45-degree steps.
void drawGem(Canvas& canvas, sf::Vector2f centre, float rotation, sf::Color outline) {
    drawDisc(canvas, centre, 2, 4, outlined(sf::Color::White, outline, 0.8f));
    for (int k = 0; k < 4; ++k)
        drawRectangle(canvas, {5, 0.4f}, placed(centre, rotation + 45.0f * k, {2.5f, 0.2f}), filled(kSparkle));
}
}  // namespace

void drawPurpleBody(Canvas& canvas, const UnitFrame& frame) {
    for (float turn : {0.0f, 45.0f})
        drawRectangle(canvas, {24, 24}, placed(frame.position, turn, {12, 12}), outlined(kDeep, kGlow, 1.2f));

    const sf::Vector2f shard[3] = {{-1, 0}, {0, -15}, {1, 0}};
    for (int k = 0; k < 4; ++k) {
        float direction = frame.theta + 45 + 90.0f * k;
        UnitFrame spoke(frame.position, direction);
        drawPolygon(canvas, shard, 3, placed(spoke.ahead(14), direction), filled(sf::Color(200, 130, 255, 60)));
    }

    drawLine(canvas, frame.ahead(4), sf::Color(255, 255, 255, 200), frame.ahead(12), sf::Color(180, 80, 255, 100));
    for (float side : {-1.0f, 1.0f})
        drawLine(canvas, frame.ahead(3, 5 * side), sf::Color(100, 50, 150), frame.ahead(11, 4 * side),
                 sf::Color(220, 150, 255));

    drawRectangle(canvas, {1.5f, 18}, placed(frame.ahead(12), frame.theta, {0.75f, 18}),
                  outlined(sf::Color::White, sf::Color(200, 100, 255), 0.5f));
    // The fins sweep forward beside the blade, so they are turned half a turn.
    for (float side : {-1.0f, 1.0f})
        drawFin(canvas, frame.ahead(12, 4 * side), frame.theta + 180, -side, 13,
                outlined(kFinFill, sf::Color(255, 120, 255), 0.7f));
    for (float side : {-1.8f, 1.8f})
        drawDisc(canvas, frame.ahead(12, side), 1, 4, filled(sf::Color(255, 200, 255)));

    drawGem(canvas, frame.ahead(18), frame.theta, sf::Color(255, 100, 255));
    drawDisc(canvas, frame.position, 3.5f, 8, outlined(kAbyss, sf::Color(255, 255, 255, 230), 1.0f));
}

void drawPurpleBarrel(Canvas& canvas, const UnitFrame& frame) {
    // In the unit frame the blade spans local y 0 to 20, like every barrel placed at the centre.
    drawRectangle(canvas, {1.5f, 20}, placed(frame.position, frame.theta, {0.75f, 0}),
                  outlined(sf::Color::White, kGlow, 0.5f));
    for (float side : {-1.0f, 1.0f})
        drawFin(canvas, frame.at(2 * side, 2), frame.theta, side, 14, outlined(kFinFill, kGlow, 0.7f));
    for (float side : {-1.8f, 1.8f})
        drawCircle(canvas, 1, 4, placed(frame.at(side, 6), frame.theta + 45, {1, 1}), filled(kSparkle));
    drawGem(canvas, frame.at(0, 20), frame.theta, kGlow);
}
