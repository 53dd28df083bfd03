#include "battle/effects_draw.h"
#include "battle/effects.h"
#include "ui/canvas.h"

#include <cmath>

namespace {
constexpr float kPi = 3.14159265f;
constexpr int kMaxPoints = 64;  // largest explosion ring drawn from a stack buffer

// Corner k of an n-point circle of radius 1, placed as SFML places a circle's points
// (the first one straight up), so the discs look like the circle shapes they stand for.
sf::Vector2f circlePoint(int k, int n) {
    float angle = float(k) * 2 * kPi / float(n) - kPi / 2;
    return {std::cos(angle), std::sin(angle)};
}

// Integer part of a channel value, kept in 0..255 (debris whose life was drawn above its
// maximum would otherwise blend outside the range and wrap).
sf::Uint8 channel(float value) {
    if (!(value > 0)) return 0;
    return value >= 255 ? 255 : sf::Uint8(value);
}

sf::Color blend(sf::Color from, sf::Color to, float t, float alpha) {
    return sf::Color(channel(float(from.r) + (float(to.r) - float(from.r)) * t),
                     channel(float(from.g) + (float(to.g) - float(from.g)) * t),
                     channel(float(from.b) + (float(to.b) - float(from.b)) * t), channel(alpha));
}

// The outline band of an n-point circle, mitred outwards as SFML draws shape outlines.
void drawCircleOutline(Canvas& canvas, sf::Vector2f centre, float radius, int points, float thickness,
                       sf::Color colour) {
    if (points < 3 || points > kMaxPoints || thickness == 0) return;
    float outer = radius + thickness / std::cos(kPi / float(points));
    sf::Vertex strip[2 * kMaxPoints + 2];
    for (int k = 0; k <= points; ++k) {
        sf::Vector2f direction = circlePoint(k % points, points);
        strip[2 * k] = sf::Vertex(centre + direction * radius, colour);
        strip[2 * k + 1] = sf::Vertex(centre + direction * outer, colour);
    }
    drawVertices(canvas, strip, size_t(2 * points + 2), sf::TriangleStrip);
}

void drawParticles(const Effects& effects, Canvas& canvas) {
    for (const EffectParticle& particle : effects.particles) {
        float t = 1 - particle.life / particle.max_life;
        sf::Color colour = blend(particle.colour, particle.end_colour, t, (1 - 0.3f * t) * 255);
        drawRound(canvas, {particle.x, particle.y}, particle.size, colour);
    }
}

void drawMuzzleFlashes(const Effects& effects, Canvas& canvas) {
    for (const MuzzleFlash& flash : effects.muzzle_flashes) {
        sf::Vector2f centre(flash.x, flash.y);
        drawRound(canvas, centre, flash.size, flash.colour);
        drawRoundOutline(canvas, centre, flash.size, 2.0f, sf::Color(255, 255, 200, sf::Uint8(flash.colour.a / 2)));
    }
}

void drawExplosion(const Explosion& explosion, Canvas& canvas) {
    sf::Vector2f centre(explosion.x, explosion.y);
    float f = explosion.life / explosion.max_life;
    float ring_radius = ((1 - f) * 1.5f + 1) * explosion.size / 2;
    for (const sf::CircleShape& ring : explosion.rings) {
        int points = int(ring.getPointCount());
        if (ring.getFillColor().a > 0) drawRound(canvas, centre, ring_radius, ring.getFillColor());
        drawCircleOutline(canvas, centre, ring_radius, points, ring.getOutlineThickness(),
                          sf::Color(255, 200, 100, channel(f * 150)));
    }
    for (const EffectParticle& debris : explosion.debris) {
        if (debris.life <= 0) continue;
        float t = 1 - debris.life / debris.max_life;
        // Debris grows more opaque as it ages.
        sf::Color colour = blend(debris.colour, debris.end_colour, t, t * 255 * 0.8f);
        drawRound(canvas, {debris.x, debris.y}, debris.size, colour);
    }
    drawRound(canvas, centre, explosion.size * 0.3f * (2 - f), sf::Color(255, 200, 100, channel(f * 80)));
}

void drawTrackMarks(const Effects& effects, Canvas& canvas) {
    for (const TrackMark& mark : effects.track_marks) {
        float f = mark.life / mark.max_life;
        float radius = f * mark.size;
        if (!(radius >= 0.5f)) continue;
        sf::Color colour(mark.colour.r, mark.colour.g, mark.colour.b, channel(float(mark.colour.a) * f));
        drawDecagon(canvas, {mark.x, mark.y}, radius, colour);
    }
}
}  // namespace

void drawEffects(const Effects& effects, Canvas& canvas) {
    drawParticles(effects, canvas);
    drawMuzzleFlashes(effects, canvas);
    for (const Explosion& explosion : effects.explosions)
        if (explosion.active) drawExplosion(explosion, canvas);
    if (effects.trail_enabled) drawTrackMarks(effects, canvas);
}
