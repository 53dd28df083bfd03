#include "battle/geometry.h"
#include "ui/unit_frame.h"

#include <array>
#include <cmath>

namespace {
const sf::Color kHullA(200, 55, 55);
const sf::Color kHullB(160, 35, 35);
const sf::Color kAxle(220, 80, 80);
const sf::Color kArmour(180, 50, 50, 180);
const sf::Color kMarks(230, 30, 30);
const sf::Color kTube(30, 30, 30);
const sf::Color kTubeEdge(50, 50, 50);

void line(Canvas& canvas, const UnitFrame& frame, sf::Vector2f from, sf::Vector2f to, sf::Color colour) {
    drawLine(canvas, from, colour, to, colour, frame.states);
}

// The left armour outlines; the right ones mirror them in x.
const std::array<sf::Vector2f, 6> kOuterArmour = {{{-12, -12}, {-15, -8}, {-16, -2}, {-15, 4}, {-13, 10}, {-12, 12}}};
const std::array<sf::Vector2f, 6> kInnerArmour = {{{-8, -16}, {-12, -12}, {-14, -6}, {-13, 2}, {-10, 10}, {-8, 16}}};

void drawArmour(Canvas& canvas, const UnitFrame& frame) {
    for (const auto* outline : {&kOuterArmour, &kInnerArmour})
        for (float mirror : {1.0f, -1.0f}) {
            std::array<sf::Vertex, 6> strip;
            for (size_t i = 0; i < strip.size(); ++i)
                strip[i] = sf::Vertex{{(*outline)[i].x * mirror, (*outline)[i].y}, kArmour};
            drawVertices(canvas, strip.data(), strip.size(), sf::PrimitiveType::LineStrip, frame.states);
        }
}

void drawRivets(Canvas& canvas, const UnitFrame& frame) {
    for (float x : {-12.0f, 12.0f})
        for (int j = 0; j < 2; ++j) {
            sf::Color colour = j == 0 ? kHullA : kHullB;
            colour.a = 120;
            // Each rivet is drawn twice, which deepens its colour.
            for (int pass = 0; pass < 2; ++pass)
                drawCircle(canvas, 1.5f, 5, placed({x + 4 * j - 1.5f, -1.5f}), filled(colour), frame.states);
        }
}

void drawExhaust(Canvas& canvas, const UnitFrame& frame) {
    for (float s : {-1.0f, 1.0f}) {
        std::array<sf::Vertex, 5> strip;
        for (int i = 0; i < 5; ++i) {
            float t = 0.25f * i;
            strip[i] = sf::Vertex{{(3 * t + 1.5f) * s, 14 * t + 18}, sf::Color(200, 60, 20, std::uint8_t(80 - 16 * i))};
        }
        drawVertices(canvas, strip.data(), strip.size(), sf::PrimitiveType::LineStrip, frame.states);
    }
}

// Half-width of the tube at t (0 breech, 1 muzzle): a taper, a straight waist, a flare to 7.
float tubeHalfWidth(float t) {
    if (t < 0.35f) return 3.5f - 1.3f * (t / 0.35f) * (t / 0.35f);
    if (t < 0.65f) return 2.2f;
    float s = (t - 0.65f) / 0.35f;
    return 2.2f + 4.8f * s * s * (3 - 2 * s);
}
}  // namespace

void drawRedBody(Canvas& canvas, const UnitFrame& frame) {
    line(canvas, frame, {-18, 0}, {18, 0}, kAxle);
    for (int k = -2; k <= 2; ++k)
        drawCircle(canvas, 2.5f, 6, placed({8.0f * k - 2.5f, -2.5f}), filled(sf::Color(220, 80, 80, 160)),
                   frame.states);
    line(canvas, frame, {-12, -12}, {-12, 12}, kHullA);
    line(canvas, frame, {12, -12}, {12, 12}, kHullA);
    line(canvas, frame, {-8, -16}, {-8, 16}, kHullB);
    line(canvas, frame, {8, -16}, {8, 16}, kHullB);
    drawArmour(canvas, frame);
    drawRivets(canvas, frame);
    line(canvas, frame, {0, -14}, {0, 14}, kMarks);
    line(canvas, frame, {-5, -8}, {-11, -2}, kMarks);
    line(canvas, frame, {5, -6}, {11, 0}, kMarks);
    drawExhaust(canvas, frame);
}

void drawRedBarrel(Canvas& canvas, const UnitFrame& frame) {
    constexpr int kSamples = 21;
    std::array<sf::Vertex, 2 * kSamples> tube;
    std::array<sf::Vertex, kSamples> left_edge, right_edge;
    for (int i = 0; i < kSamples; ++i) {
        float t = i / 20.0f;
        float w = tubeHalfWidth(t);
        sf::Vector2f left(-w, -20 * t), right(w, -20 * t);
        tube[2 * i] = sf::Vertex{left, kTube};
        tube[2 * i + 1] = sf::Vertex{right, kTube};
        left_edge[i] = sf::Vertex{left, kTubeEdge};
        right_edge[i] = sf::Vertex{right, kTubeEdge};
    }
    drawVertices(canvas, tube.data(), tube.size(), sf::PrimitiveType::TriangleStrip, frame.states);
    drawVertices(canvas, left_edge.data(), left_edge.size(), sf::PrimitiveType::LineStrip, frame.states);
    drawVertices(canvas, right_edge.data(), right_edge.size(), sf::PrimitiveType::LineStrip, frame.states);

    // The breech: a ring of 21 rim points (the last closes it), flattened across the axis.
    std::array<sf::Vertex, 22> breech;
    breech[0] = sf::Vertex{{0, 0}, sf::Color(255, 0, 0)};
    for (int k = 0; k <= 20; ++k) {
        float t = k / 20.0f;
        float angle = t * 2 * kPi;
        float radius = 4.5f + 0.8f * std::sin(kPi * t);
        breech[k + 1] = sf::Vertex{{0.3f * radius * std::cos(angle), radius * std::sin(angle)}, kTube};
    }
    drawVertices(canvas, breech.data(), breech.size(), sf::PrimitiveType::TriangleFan, frame.states);
}
