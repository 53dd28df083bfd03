#include "battle/effects_draw.h"
#include "battle/effects.h"
#include "ui/canvas.h"

namespace {
// Integer part of a channel value, kept in 0..255 (debris whose life was drawn above its
// maximum would otherwise blend outside the range and wrap).
std::uint8_t channel(float value) {
    if (!(value > 0)) return 0;
    return value >= 255 ? 255 : std::uint8_t(value);
}

sf::Color blend(sf::Color from, sf::Color to, float t, float alpha) {
    return sf::Color(channel(float(from.r) + (float(to.r) - float(from.r)) * t),
                     channel(float(from.g) + (float(to.g) - float(from.g)) * t),
                     channel(float(from.b) + (float(to.b) - float(from.b)) * t), channel(alpha));
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
        drawCircleOutline(canvas, centre, flash.size, 30, 2.0f,
                          sf::Color(255, 255, 200, std::uint8_t(flash.colour.a / 2)));
    }
}

void drawExplosion(const Explosion& explosion, Canvas& canvas) {
    sf::Vector2f centre(explosion.x, explosion.y);
    float f = explosion.life / explosion.max_life;
    float ring_radius = ((1 - f) * 1.5f + 1) * explosion.size / 2;
    for (const sf::CircleShape& ring : explosion.rings) {
        if (ring.getFillColor().a > 0) drawRound(canvas, centre, ring_radius, ring.getFillColor());
        drawCircleOutline(canvas, centre, ring_radius, ring.getPointCount(), ring.getOutlineThickness(),
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
