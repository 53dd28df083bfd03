#include "battle/geometry.h"
#include "ui/unit_frame.h"

#include <array>
#include <cmath>

namespace {

void drawWings(Canvas& canvas, const UnitFrame& frame) {
    for (float s : {-1.0f, 1.0f}) {
        std::array<sf::Vertex, 62> wing;
        for (int k = 0; k <= 30; ++k) {
            float t = k / 30.0f;
            float u = 50 * t - 10;
            float inner = (2 + 0.6f * u) * s;
            float outer = (2 + 15 * std::sin(kPi * t) + 0.6f * u) * s;
            wing[2 * k] = sf::Vertex{frame.at(inner, u), sf::Color(255, 255, 255, 240)};
            wing[2 * k + 1] = sf::Vertex{frame.at(outer, u), sf::Color(255, 255, 255, 0)};
        }
        drawVertices(canvas, wing.data(), wing.size(), sf::PrimitiveType::TriangleStrip);
    }
}

// A local point at an angle (degrees, in the unit frame) and a radius.
sf::Vector2f spoke(const UnitFrame& frame, float degrees, float radius) {
    float radians = degreesToRadians(degrees);
    return frame.at(radius * std::cos(radians), radius * std::sin(radians));
}
}  // namespace

void drawWhiteBody(Canvas& canvas, const UnitFrame& frame) {
    drawWings(canvas, frame);

    std::array<sf::Vertex, 14> star;
    star[0] = sf::Vertex{frame.position, sf::Color(255, 240, 100)};
    for (int k = 0; k <= 12; ++k)
        star[k + 1] = sf::Vertex{spoke(frame, 30.0f * k - 90, k % 2 == 0 ? 20.0f : 8.0f), sf::Color(200, 150, 0)};
    drawVertices(canvas, star.data(), star.size(), sf::PrimitiveType::TriangleFan);

    for (int k = 0; k < 6; ++k)
        drawLine(canvas, frame.position, sf::Color(255, 255, 255, 255), spoke(frame, 60.0f * k, 12),
                 sf::Color(255, 255, 255, 100));

    drawDisc(canvas, frame.position, 4, 30, filled(sf::Color(220, 20, 60)));
}

void drawWhiteBarrel(Canvas& canvas, const UnitFrame& frame) {
    drawRectangle(canvas, {3, 18}, placed(frame.ahead(12), frame.theta, {1.5f, 9}),
                  filled(sf::Color(255, 255, 255, 240)));
}
