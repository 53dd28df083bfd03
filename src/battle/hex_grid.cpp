#include "battle/hex_grid.h"
#include "app/game.h"
#include "app/log.h"
#include "battle/battle_math.h"
#include "battle/unit_grid.h"
#include "content/factions.h"

#include <algorithm>
#include <cmath>

namespace {
const sf::Color kFieldHex(40, 40, 60, 120);      // in the field at start, reset, or contested evenly
const sf::Color kOuterHex(20, 20, 30, 30);       // outside the field
const sf::Color kAbandonedHex(0, 0, 0, 255);     // owned once, now in neither territory
const sf::Color kHexOutline(60, 60, 80, 60);

// Enemy territory colour when both sides play the same faction, by that faction.
const sf::Color kSameFactionEnemy[kFactionCount] = {sf::Color(200, 50, 50), sf::Color(200, 200, 50),
                                                    sf::Color(50, 50, 200), sf::Color(150, 50, 150),
                                                    sf::Color(200, 200, 50)};

// Territory is only ever coloured inside the field and one hexagon radius around it.
bool inField(const WorldBounds& bounds, sf::Vector2f p, float margin) {
    return bounds.min_x - margin <= p.x && p.x <= bounds.max_x + margin && bounds.min_y - margin <= p.y &&
           p.y <= bounds.max_y + margin;
}

sf::Color withAlpha(sf::Color colour, std::uint8_t alpha) {
    colour.a = alpha;
    return colour;
}

sf::Color enemyTerritoryColour(const Game& game) {
    sf::Color player = factionColour(game.player_faction);
    sf::Color enemy = factionColour(game.enemy_faction);
    if (player != enemy) return enemy;
    return isFaction(game.enemy_faction) ? kSameFactionEnemy[game.enemy_faction] : kSameFactionEnemy[White];
}

int unitsNear(const Game& game, const std::vector<Turret>& units, sf::Vector2f centre, float reach) {
    int count = 0;
    forEachNear(game, units, centre, reach, [&](int i) {
        sf::Vector2f d = units[size_t(i)].position - centre;
        if (battleHypot(d.x, d.y) < reach) ++count;
    });
    return count;
}

void startFade(HexCell& cell, float owner, sf::Color target) {
    cell.owner = owner;
    cell.target = target;
    cell.fade = 0;
}

// With no unit on the field every owned cell returns to the plain field colour.
void resetOwnedCells(Game& game) {
    for (HexCell& cell : game.hex_cells)
        if (cell.owner != 0) startFade(cell, 0, kFieldHex);
}

std::uint8_t blendChannel(std::uint8_t current, std::uint8_t target, float s) {
    return std::uint8_t(float(current) + (float(target) - float(current)) * s);
}
}  // namespace

void buildHexGrid(Game& game) {
    game.hex_radius = 28.0f;
    game.hex_spacing_x = 48.496f;
    game.hex_spacing_y = 42.0f;
    const WorldBounds& bounds = game.world_bounds;
    int cols = int((bounds.max_x - bounds.min_x + 112) / game.hex_spacing_x) + 4;
    int rows = int((bounds.max_y - bounds.min_y + 112) / game.hex_spacing_y) + 4;
    game.hex_cells.clear();
    game.hex_shapes.clear();
    game.hex_cells.reserve(size_t(rows) * size_t(cols));
    game.hex_shapes.reserve(size_t(rows) * size_t(cols));
    float x0 = bounds.min_x - 56;
    float y0 = bounds.min_y - 56;

    // Pointy-top: the first corner points straight up.
    sf::Vector2f corners[6];
    for (int k = 0; k < 6; ++k) {
        float angle = float(k) / 6 * kTwoPiTo5Places - kHalfPiTo4Places;
        corners[k] = {battleCos(angle) * game.hex_radius, battleSin(angle) * game.hex_radius};
    }

    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            sf::Vector2f centre(game.hex_spacing_x * float(c) + x0, game.hex_spacing_y * float(r) + y0);
            if (r % 2 == 1) centre.x += game.hex_spacing_x * 0.5f;
            sf::Color colour = inField(bounds, centre, game.hex_radius) ? kFieldHex : kOuterHex;
            game.hex_cells.push_back({centre, colour, colour, 0.0f, 1.0f});

            sf::ConvexShape shape(6);
            for (int k = 0; k < 6; ++k) shape.setPoint(size_t(k), corners[k]);
            shape.setPosition(centre);
            shape.setFillColor(colour);
            shape.setOutlineColor(kHexOutline);
            shape.setOutlineThickness(1.2f);
            game.hex_shapes.push_back(shape);
        }
    }
    game.hex_grid_enabled = 1;
    logLine("Hex grid initialized with ", game.hex_cells.size(), " cells");
}

void clearHexTerritory(Game& game) {
    for (std::size_t i = 0; i < game.hex_cells.size(); ++i) {
        HexCell& cell = game.hex_cells[i];
        sf::Color colour = inField(game.world_bounds, cell.centre, game.hex_radius) ? kFieldHex : kOuterHex;
        cell = {cell.centre, colour, colour, 0.0f, 1.0f};
        if (i < game.hex_shapes.size()) game.hex_shapes[i].setFillColor(colour);
    }
}

void updateHexTerritory(Game& game) {
    const WorldBounds& bounds = game.world_bounds;
    if (game.player_turrets.empty() && game.enemy_turrets.empty()) {
        resetOwnedCells(game);
        return;
    }
    float player_front = bounds.max_y;
    for (const Turret& unit : game.player_turrets) player_front = std::min(player_front, unit.position.y);
    float enemy_front = bounds.min_y;
    for (const Turret& unit : game.enemy_turrets) enemy_front = std::max(enemy_front, unit.position.y);

    sf::Color player_colour = withAlpha(factionColour(game.player_faction), 120);
    sf::Color enemy_colour = withAlpha(enemyTerritoryColour(game), 120);
    bool players = !game.player_turrets.empty();
    bool enemies = !game.enemy_turrets.empty();
    float contest_reach = 3 * game.hex_radius;
    GridStep grid(game);

    for (HexCell& cell : game.hex_cells) {
        sf::Vector2f p = cell.centre;
        if (!inField(bounds, p, 28)) {
            if (cell.current.a >= 51) startFade(cell, 0, kOuterHex);
            continue;
        }
        float owner = 0;
        sf::Color colour = kAbandonedHex;
        if (players && player_front <= p.y && p.y <= bounds.max_y) {
            owner = 1.0f;
            colour = player_colour;
        }
        if (enemies && bounds.min_y <= p.y && p.y <= enemy_front) {
            if (owner == 1.0f) {
                // Both fronts reach this cell: the side with more units close by holds it.
                int near_players = unitsNear(game, game.player_turrets, p, contest_reach);
                int near_enemies = unitsNear(game, game.enemy_turrets, p, contest_reach);
                if (near_players > near_enemies) {
                    owner = 1.0f;
                    colour = player_colour;
                } else if (near_enemies > near_players) {
                    owner = -1.0f;
                    colour = enemy_colour;
                } else {
                    owner = 0;
                    colour = kFieldHex;
                }
            } else {
                owner = -1.0f;
                colour = enemy_colour;
            }
        }
        if (owner != cell.owner) startFade(cell, owner, colour);
    }
}

void fadeHexCells(Game& game, float dt) {
    size_t count = std::min(game.hex_cells.size(), game.hex_shapes.size());
    for (size_t i = 0; i < count; ++i) {
        HexCell& cell = game.hex_cells[i];
        if (cell.fade >= 1) continue;
        cell.fade = std::min(1.0f, cell.fade + 2.5f * dt);
        float s = cell.fade * cell.fade * (3 - 2 * cell.fade);
        // The current colour moves in place, so each frame closes part of what is left.
        cell.current.r = blendChannel(cell.current.r, cell.target.r, s);
        cell.current.g = blendChannel(cell.current.g, cell.target.g, s);
        cell.current.b = blendChannel(cell.current.b, cell.target.b, s);
        cell.current.a = blendChannel(cell.current.a, cell.target.a, s);
        game.hex_shapes[i].setFillColor(cell.current);
    }
}
