#include "battle/geometry.h"
#include "ui/unit_frame.h"

#include <array>
#include <cmath>

namespace {
const sf::Color kFrame(60, 110, 190, 200);
const sf::Color kPod(30, 60, 120);
const sf::Color kPodFin(20, 40, 80);
const sf::Color kDark(10, 30, 60);
const sf::Color kBarrelLight(40, 80, 160);
const sf::Color kGlow(50, 220, 110, 180);
const sf::Color kTailGlow(40, 160, 80, 140);
const sf::Color kHighlight(255, 240, 200);
const sf::Color kMuzzleGlow(80, 180, 255, 150);
const sf::Color kIce(107, 203, 255);

sf::Vector2f polar(float radius, float degrees) {
    float radians = degreesToRadians(degrees);
    return {radius * std::cos(radians), radius * std::sin(radians)};
}

void drawArcs(Canvas& canvas, const UnitFrame& frame) {
    for (float radius : {18.0f, 12.0f}) {
        std::array<sf::Vertex, 50> arc;
        for (int i = 0; i < 50; ++i) arc[i] = sf::Vertex{polar(radius, 35 + 110.0f * i / 49), kFrame};
        drawVertices(canvas, arc.data(), arc.size(), sf::PrimitiveType::LineStrip, frame.states);
    }
}

// Pods ride the radius-16 arc; each carries a fin and a dark plate pointing away from the centre.
void drawPods(Canvas& canvas, const UnitFrame& frame) {
    for (int i = 0; i < 5; ++i) {
        float degrees = 35 + 27.5f * i;
        float outward = degrees - 90;  // turns a shape's +y onto the radius
        drawDisc(canvas, polar(16, degrees), 2, 12, outlined(kPod, kFrame, 0.5f), frame.states);
        drawRectangle(canvas, {1.8f, 5}, placed(polar(17.5f, degrees), outward, {0.9f, 0}), filled(kPodFin),
                      frame.states);
        drawRectangle(canvas, {2.4f, 1}, placed(polar(22.5f, degrees), outward, {1.2f, 0}), filled(kDark),
                      frame.states);
    }
}

// Five bars down the axis, 9 wide in the middle and 1.5 narrower per step out, 2 thick,
// with round ends.
void drawBarColumn(Canvas& canvas, const UnitFrame& frame) {
    const float thickness = 2;
    for (int i = -2; i <= 2; ++i) {
        float half = (9 - 1.5f * std::abs(i)) / 2 - thickness / 2;  // to the centre of each end cap
        float axial = 4.0f * i;
        drawRectangle(canvas, {2 * half, thickness}, placed({-half, axial - thickness / 2}), filled(kBarrelLight),
                      frame.states);
        for (float end : {-half, half})
            drawDisc(canvas, {end, axial}, thickness / 2, 12, filled(kBarrelLight), frame.states);
    }
}

void drawStar(Canvas& canvas, const UnitFrame& frame) {
    std::array<sf::Vector2f, 10> points;
    for (int k = 0; k < 10; ++k) points[k] = polar(k % 2 == 0 ? 8.0f : 3.6f, 36.0f * k - 90 + 180);
    drawPolygon(canvas, points.data(), points.size(), placed({0, 0}), outlined(kHighlight, kFrame, 0.7f), frame.states);
}
}  // namespace

void drawBlueBody(Canvas& canvas, const UnitFrame& frame) {
    drawArcs(canvas, frame);
    drawPods(canvas, frame);
    drawRectangle(canvas, {1.6f, 27}, placed({-0.8f, -10}), filled(kGlow), frame.states);
    drawBarColumn(canvas, frame);
    const sf::Vector2f tail[4] = {{-4, 17}, {0, 23}, {4, 17}, {0, 14}};
    drawPolygon(canvas, tail, 4, placed({0, 0}), outlined(kTailGlow, kGlow, 0.6f), frame.states);
    drawStar(canvas, frame);
}

void drawBlueBarrel(Canvas& canvas, const UnitFrame& frame) {
    drawRectangle(canvas, {2.5f, 24}, placed(frame.position, frame.theta, {1.25f, 0}),
                  outlined(kPod, kIce, 0.8f));
    const std::uint8_t fin_alpha[3] = {180, 140, 100};
    const float fin_at[3] = {5, 12, 19};
    for (int i = 0; i < 3; ++i) {
        sf::Color fill = kIce;
        fill.a = fin_alpha[i];
        drawRectangle(canvas, {6, 1}, placed(frame.ahead(fin_at[i]), frame.theta, {3, 0.5f}),
                      outlined(fill, sf::Color(150, 230, 255, 100), 0.3f));
    }
    for (float side : {-3.5f, 3.5f})
        drawRectangle(canvas, {1.2f, 10}, placed(frame.ahead(12, side), frame.theta, {0.6f, 5}),
                      outlined(kBarrelLight, kMuzzleGlow, 0.4f));
    drawDisc(canvas, frame.ahead(24), 2.5f, 12, outlined(kIce, sf::Color(200, 240, 255), 0.5f));
}
