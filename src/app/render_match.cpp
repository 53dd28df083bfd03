#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/render_parts.h"
#include "battle/effects_draw.h"
#include "battle/rocket_draw.h"
#include "ui/faction_marks.h"
#include "ui/unit_art.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
sf::Transformable at(sf::Vector2f position, sf::Vector2f origin = {}) {
    sf::Transformable placement;
    placement.setPosition(position);
    placement.setOrigin(origin);
    return placement;
}

// 255 x fraction as a colour byte, truncated; a fraction above 1 (a smoke puff in the
// first third of its life asks for up to 1.5) is held at 255.
std::uint8_t alphaOf(float fraction) {
    if (!(fraction > 0)) return 0;
    return static_cast<std::uint8_t>(std::min(255.0f, 255.0f * fraction));
}

float lifeFraction(float life, float max_life) { return max_life > 0 ? life / max_life : 0.0f; }

void drawSelectionRings(Game& game) {
    for (UnitId id : game.selection) {
        const Turret* unit = findUnit(game, id);
        if (!unit || unit->hp <= 0) continue;
        float radius = unit->radius + 8;
        Canvas& canvas = game.frontend->canvas;
        drawRound(canvas, unit->position, radius, sf::Color(100, 200, 255, 80));
        drawCircleOutline(canvas, unit->position, radius, 30, 2, sf::Color(100, 200, 255, 200));
    }
}

void drawFieldMarks(Game& game) {
    const WorldBounds& bounds = game.world_bounds;
    drawRectangle(game.frontend->canvas, {bounds.max_x - bounds.min_x, 2}, at({bounds.min_x, game.mid_line_y}),
                  ShapeStyle{sf::Color(255, 200, 100, 150)});
    for (float lane : game.lane_x)
        drawRectangle(game.frontend->canvas, {8, bounds.max_y - bounds.min_y}, at({lane - 4, bounds.min_y}),
                      ShapeStyle{sf::Color(180, 180, 180, 50)});
}

void drawBase(Canvas& canvas, const Rect& base, sf::Color fill, sf::Color outline) {
    drawRectangle(canvas, {base.width, base.height}, at({base.x, base.y}), ShapeStyle{fill, outline, 2});
}

void drawSmoke(Game& game) {
    for (const Projectile& projectile : game.projectiles)
        for (const SmokePuff& puff : projectile.smoke) {
            sf::Color colour(255, 255, 255, alphaOf(1.5f * lifeFraction(puff.life, puff.max_life)));
            drawRound(game.frontend->canvas, {puff.x, puff.y}, puff.size, colour);
        }
}

void drawProjectiles(Game& game) {
    for (const Projectile& projectile : game.projectiles) {
        if (projectile.is_rocket)
            drawRocket(game.frontend->canvas, projectile);
        else
            drawRound(game.frontend->canvas, projectile.position, projectile.radius, projectile.fill);
    }
}

void drawLaserBeams(Game& game) {
    for (const LaserBeam& beam : game.laser_beams) {
        sf::Vector2f d = beam.end - beam.start;
        if (!beam.active || std::hypot(d.x, d.y) < 0.001f) continue;
        sf::Color colour = beam.colour;
        colour.a = alphaOf(lifeFraction(beam.life, beam.max_life));
        const sf::Vertex line[2] = {sf::Vertex{beam.start, colour}, sf::Vertex{beam.end, colour}};
        drawVertices(game.frontend->canvas, line, 2, sf::PrimitiveType::Lines);
    }
}

// The inspected unit, or null (and the inspection dropped) when the index names none.
const Turret* inspectedUnit(Game& game) {
    const std::vector<Turret>& units = game.inspected_side ? game.player_turrets : game.enemy_turrets;
    if (game.inspected_unit >= 0 && size_t(game.inspected_unit) < units.size()) return &units[game.inspected_unit];
    game.inspected_unit = -1;
    return nullptr;
}

// Hit points, range, fire interval in ms and dodge in percent.
std::string unitInfoText(const Turret& unit) {
    return "HP: " + truncatedText(unit.hp) + "\nRange: " + truncatedText(unit.range) +
           "\nFireRate: " + truncatedText(unit.fire_rate * 1000.0f) + "ms" + "\nDodge: " +
           truncatedText(unit.dodge * 100.0f) + "%";
}

void drawInfoBox(Game& game) {
    const Turret* unit = inspectedUnit(game);
    if (!unit) return;
    Canvas& canvas = game.frontend->canvas;
    sf::Vector2f p = unit->position;
    drawCircle(canvas, 18, 30, at(p, {18, 18}), ShapeStyle{sf::Color(255, 255, 0, 80)});
    sf::Vector2f box(p.x - 90, p.y - 135);
    drawRectangle(canvas, {180, 110}, at(box), ShapeStyle{sf::Color(20, 20, 20, 200), sf::Color(255, 255, 255, 100), 2});
    std::array<float, 4> values = {unit->hp, unit->range, unit->fire_rate, unit->dodge};
    ScreenTexts& texts = game.frontend->screen_texts;
    if (!texts.info_built || values != texts.info_values) {
        texts.info = uiText(game, unitInfoText(*unit), 14, sf::Color::White, {});
        texts.info_values = values;
        texts.info_built = true;
    }
    texts.info.setPosition(box + sf::Vector2f(10, 10));
    drawDirect(canvas, texts.info);
    const sf::Color red(255, 0, 0);
    const sf::Vertex cross[4] = {sf::Vertex{{p.x - 10, p.y - 10}, red}, sf::Vertex{{p.x + 10, p.y + 10}, red},
                                 sf::Vertex{{p.x + 10, p.y - 10}, red}, sf::Vertex{{p.x - 10, p.y + 10}, red}};
    drawVertices(canvas, cross, 4, sf::PrimitiveType::Lines);
}
}  // namespace

void drawMatchWorld(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    flushCanvas(canvas);
    renderTarget(game).setView(letterboxed(game.world_view, renderTarget(game).getSize()));
    if (game.hex_grid_enabled) drawHexFloor(game, kBackground);
    drawSelectionRings(game);
    drawFieldMarks(game);
    drawEffects(game.effects, canvas);
    for (const Turret& unit : game.player_turrets) drawUnit(game, canvas, unit);
    for (const Turret& unit : game.enemy_turrets) drawUnit(game, canvas, unit);
    drawUnitMarks(game, canvas);  // after every unit, so the marks share one batch
    drawBase(canvas, game.player_base, sf::Color(0, 200, 0, 100), sf::Color(0, 255, 0));
    drawBase(canvas, game.enemy_base, sf::Color(200, 0, 0, 100), sf::Color(255, 0, 0));
    drawSmoke(game);
    drawProjectiles(game);
    drawLaserBeams(game);
    drawInfoBox(game);
    if (game.box_selecting || game.selection_box.getSize().x > 0) drawShape(canvas, game.selection_box);
    flushCanvas(canvas);
}
