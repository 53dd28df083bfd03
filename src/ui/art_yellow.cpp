#include "battle/geometry.h"
#include "ui/unit_frame.h"

#include <cmath>

namespace {
sf::Color gold(std::uint8_t alpha) { return sf::Color(255, 215, 0, alpha); }

void drawDiamond(Canvas& canvas, sf::Vector2f centre, float half_width, float half_height, const ShapeStyle& style) {
    const sf::Vector2f corners[4] = {{0, -half_height}, {half_width, 0}, {0, half_height}, {-half_width, 0}};
    drawPolygon(canvas, corners, 4, placed(centre), style);
}

// The gun lights shared by body and barrel: a light bar, three light cells and the muzzle cross.
void drawGunLights(Canvas& canvas, const UnitFrame& frame) {
    drawRectangle(canvas, {2, 12}, placed(frame.ahead(4), frame.theta, {1, 6}), filled(sf::Color(255, 245, 200, 240)));
    const std::uint8_t cell_alpha[3] = {220, 180, 140};
    for (int i = 0; i < 3; ++i)
        drawRectangle(canvas, {8, 1.5f}, placed(frame.ahead(8.0f * (i + 1)), frame.theta, {4, 0.75f}),
                      outlined(gold(cell_alpha[i]), sf::Color(255, 255, 255, 180), 0.4f));
    for (float turn : {0.0f, 90.0f})
        drawRectangle(canvas, {7, 1.2f}, placed(frame.ahead(32), frame.theta + turn, {3.5f, 0.6f}),
                      filled(sf::Color(255, 255, 200)));
}

void drawPods(Canvas& canvas, const UnitFrame& frame) {
    for (int k = 0; k < 4; ++k) {
        float angle = degreesToRadians(45.0f + 90.0f * k);
        sf::Vector2f out(std::cos(angle), std::sin(angle));
        sf::Vector2f across(-out.y, out.x);
        drawDiamond(canvas, frame.position + out * 16.0f, 3, 4,
                    outlined(sf::Color(30, 28, 35), gold(180), 0.7f));
        for (float side : {-1.2f, 1.2f})
            drawDisc(canvas, frame.position + out * 20.5f + across * side, 1, 4,
                     outlined(sf::Color(255, 230, 130), sf::Color::White, 0.3f));
    }
}
}  // namespace

void drawYellowBody(Canvas& canvas, const UnitFrame& frame) {
    sf::Vector2f centre = frame.position;
    drawDisc(canvas, centre, 22, 32, outlined(sf::Color::Transparent, gold(45), 0.6f));
    drawDisc(canvas, centre, 16, 16, filled(sf::Color(25, 22, 15, 180)));

    drawDiamond(canvas, centre, 14, 20, outlined(sf::Color(15, 15, 18), gold(200), 1.2f));
    drawDiamond(canvas, centre, 20, 14, outlined(sf::Color(22, 22, 26), gold(160), 1.0f));
    drawDiamond(canvas, centre, 7, 7, outlined(gold(40), sf::Color(255, 235, 120, 230), 0.8f));

    const sf::Vector2f ray[3] = {{0, -1.5f}, {25, 0}, {0, 1.5f}};
    for (int k = 0; k < 8; ++k) drawPolygon(canvas, ray, 3, placed(centre, 45.0f * k), filled(gold(90)));

    for (float side : {-2.5f, 2.5f})
        drawRectangle(canvas, {1.8f, 32}, placed(frame.ahead(0, side), frame.theta, {0.9f, 16}),
                      outlined(sf::Color(10, 10, 12), gold(140), 0.6f));
    drawGunLights(canvas, frame);
    drawPods(canvas, frame);

    drawDisc(canvas, centre, 3.5f, 12, filled(sf::Color(15, 15, 15)));
    drawDisc(canvas, centre, 2.5f, 12, filled(sf::Color(255, 200, 50)));
    drawDisc(canvas, centre, 1.2f, 12, filled(sf::Color::White));
}

void drawYellowBarrel(Canvas& canvas, const UnitFrame& frame) {
    // Turned half a turn, the rails run from 16 behind the centre to 44 ahead of it.
    for (float side : {-2.5f, 2.5f})
        drawRectangle(canvas, {1.8f, 60}, placed(frame.ahead(0, side), frame.theta + 180, {0.9f, 16}),
                      outlined(sf::Color(10, 10, 12), gold(140), 0.6f));
    drawGunLights(canvas, frame);
}
