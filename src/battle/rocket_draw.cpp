#include "battle/rocket_draw.h"
#include "battle/geometry.h"
#include "battle/projectile.h"
#include "ui/canvas.h"

#include <SFML/Graphics/ConvexShape.hpp>
#include <SFML/Graphics/Transform.hpp>
#include <array>
#include <cmath>

namespace {

// The body and nose never change, so they are built once; the flames follow flame_phase.
sf::ConvexShape makeBody() {
    sf::ConvexShape body(24);
    for (int i = 0; i < 24; ++i) {
        float t = float(i) / 23.0f * kPiTo5Places;
        body.setPoint(i, {2.0f * std::cos(2 * t), 18.0f * std::sin(2 * t)});
    }
    body.setFillColor(sf::Color(255, 215, 0, 230));
    body.setOutlineColor(sf::Color(255, 185, 0, 180));
    body.setOutlineThickness(0.8f);
    return body;
}

sf::ConvexShape makeNose() {
    const sf::Vector2f points[5] = {{0, -20}, {-1.8f, -14}, {-2, -16}, {2, -16}, {1.8f, -14}};
    sf::ConvexShape nose(5);
    for (int i = 0; i < 5; ++i) nose.setPoint(i, points[i]);
    nose.setFillColor(sf::Color(255, 0, 0, 230));
    nose.setOutlineColor(sf::Color(200, 0, 0, 180));
    nose.setOutlineThickness(0.6f);
    return nose;
}

// One flame point: x across the exhaust, reach as a fraction of the flame length L.
struct FlamePoint {
    float x;
    float reach;
    sf::Color colour;
};

template <std::size_t N>
void drawFlame(Canvas& canvas, const std::array<FlamePoint, N>& points, float flame_length,
               const sf::RenderStates& states) {
    std::array<sf::Vertex, N> fan;
    for (std::size_t i = 0; i < N; ++i)
        fan[i] = sf::Vertex{{points[i].x, 18.0f + points[i].reach * flame_length}, points[i].colour};
    drawVertices(canvas, fan.data(), N, sf::PrimitiveType::TriangleFan, states);
}

const std::array<FlamePoint, 7> kOuterFlame = {{{0, 0, {255, 0, 0, 50}},
                                                {-3, 0.2f, {200, 0, 0, 25}},
                                                {-1.5f, 0.5f, {150, 0, 0, 15}},
                                                {0, 1.0f, {100, 0, 0, 8}},
                                                {1.5f, 0.5f, {150, 0, 0, 15}},
                                                {3, 0.2f, {200, 0, 0, 25}},
                                                {0, 0, {255, 0, 0, 50}}}};
const std::array<FlamePoint, 7> kMiddleFlame = {{{0, 0, {255, 50, 0, 220}},
                                                 {-2, 0.2f, {255, 20, 0, 180}},
                                                 {-1, 0.5f, {255, 0, 0, 130}},
                                                 {0, 0.8f, {200, 0, 0, 70}},
                                                 {1, 0.5f, {255, 0, 0, 130}},
                                                 {2, 0.2f, {255, 20, 0, 180}},
                                                 {0, 0, {255, 50, 0, 220}}}};
const std::array<FlamePoint, 5> kInnerFlame = {{{0, 0, {255, 255, 200, 180}},
                                                {-0.8f, 0.2f, {255, 200, 150, 130}},
                                                {0, 0.4f, {255, 150, 100, 80}},
                                                {0.8f, 0.2f, {255, 200, 150, 130}},
                                                {0, 0, {255, 255, 200, 180}}}};
}  // namespace

void drawRocket(Canvas& canvas, const Projectile& rocket) {
    if (!rocket.is_rocket) {
        drawRound(canvas, rocket.position, rocket.radius, rocket.fill);
        return;
    }
    static const sf::ConvexShape body = makeBody();
    static const sf::ConvexShape nose = makeNose();

    // Local -y points along the heading.
    sf::Transform transform;
    transform.translate(rocket.position);
    rotateDegrees(transform, rocket.rotation_deg + 90.0f);
    sf::RenderStates states(transform);

    drawShape(canvas, body, states);
    drawShape(canvas, nose, states);
    flame_phase += 0.15f;
    float flame_length = (std::cos(0.7f * flame_phase) * 0.1f + std::sin(flame_phase) * 0.15f + 1.0f) * 20.0f;
    drawFlame(canvas, kOuterFlame, flame_length, states);
    drawFlame(canvas, kMiddleFlame, flame_length, states);
    drawFlame(canvas, kInnerFlame, flame_length, states);
}
