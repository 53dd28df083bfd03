#include "app/game.h"
#include "battle/battle_rand.h"
#include "battle/combat.h"
#include "battle/unit_grid.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kBaseGap = 5.0f;  // pixels left between a pushed-out unit and the base

// Keeps a unit out of the base it attacks. The unit leaves towards the field, to just
// past the base's near edge, keeping its x: moving it to a fixed distance from the base
// centre would drag units along the wide, flat base and leave them inside it.
void excludeFromBase(const Game& game, Turret& unit) {
    const Rect& base = opposingBase(game, unit);
    sf::Vector2f position = unit.position;
    float r = unit.radius;
    bool inside = position.x >= base.x - r && position.x < base.x + base.width + r && position.y >= base.y - r &&
                  position.y < base.y + base.height + r;
    if (!inside) return;
    float centre_y = base.y + base.height / 2;
    float dy = position.y - centre_y;
    float away = dy > 0 ? 1.0f : dy < 0 ? -1.0f : (unit.is_player ? 1.0f : -1.0f);
    sf::Vector2f outside(position.x, centre_y + away * (base.height / 2 + r + kBaseGap));
    placeUnit(unit, clampIntoField(game, outside));
    unit.push_velocity = {};
}

// The sturdier unit of a pair is moved less.
void pushPair(Game& game, Turret& a, Turret& b) {
    sf::Vector2f d = a.position - b.position;
    float distance = vectorLength(d);
    if (distance > game.push_radius) return;
    if (distance < 1) {
        // Stacked units get a random direction; y is drawn before x.
        d.y = float(battleRand() % 100 - 50) / 50.0f;
        d.x = float(battleRand() % 100 - 50) / 50.0f;
        distance = 1;
    }
    float strength = std::min(game.push_max, (1 - distance / game.push_radius) * game.push_force);
    sf::Vector2f n = d / distance * strength;
    float ha = a.hp / 100 + 1;
    float hb = b.hp / 100 + 1;
    a.push_velocity += n * hb / (ha + hb);
    b.push_velocity -= n * ha / (ha + hb);
}

// Pairs are taken in the order of a walk over both lists (i before j), which fixes the
// float sums and the random draws of stacked units. The pairs too far apart to push each
// other are left out before the rest are put in that order.
void pushPairs(Game& game, std::vector<Turret>& a, std::vector<Turret>& b) {
    const UnitGrid* grid_a = gridOf(game, a);
    const UnitGrid* grid_b = gridOf(game, b);
    auto within = [&](int i, int j) {
        return compareLength(unitAt(grid_a, a, i) - unitAt(grid_b, b, j), game.push_radius) != kLonger;
    };
    forEachPairInOrder(game, a, b, game.push_radius, within,
                       [&](int i, int j) { pushPair(game, a[size_t(i)], b[size_t(j)]); });
}

// Moves a unit out of the units of a list (with its grid, or null) within radius of it;
// whether it moved.
bool pushOutOf(Game& game, Turret& unit, const std::vector<Turret>& list, const UnitGrid* grid, float radius) {
    sf::Vector2f position = unit.position;
    sf::Vector2f total;
    int count = 0;
    auto near = [&](int i) {
        LengthOrder order = compareLength(position - unitAt(grid, list, i), radius);
        return order == kShorter || order == kUnordered;
    };
    forEachNearInOrderIf(game, grid, list, position, radius, near, [&](int i) {
        const Turret& other = list[size_t(i)];
        if (&other == &unit) return;
        sf::Vector2f d = position - other.position;
        float distance = vectorLength(d);
        if (distance <= 0.001f || distance >= radius) return;
        total += d / distance * (radius - distance) * 0.5f;
        ++count;
    });
    if (count == 0) return false;
    placeUnit(unit, clampIntoField(game, position + total / float(count)));
    return true;
}

// Each unit of a list (with its grid) pushed out of the units of another, or the same, list.
void pushListOutOf(Game& game, std::vector<Turret>& units, const UnitGrid* grid, const std::vector<Turret>& list,
                   const UnitGrid* list_grid) {
    for (size_t i = 0; i < units.size(); ++i) {
        Turret& unit = units[i];
        if (pushOutOf(game, unit, list, list_grid, unit.radius * 1.5f)) syncUnitAt(grid, int(i), unit.position);
    }
}

void integratePush(Game& game, Turret& unit, float dt) {
    placeUnit(unit, unit.position + unit.push_velocity * dt);
    unit.push_velocity *= game.push_damping;
    if (std::abs(unit.push_velocity.x) < 0.1f && std::abs(unit.push_velocity.y) < 0.1f) unit.push_velocity = {};
    excludeFromBase(game, unit);
}
}  // namespace

void placeUnit(Turret& unit, sf::Vector2f position) { unit.position = position; }

void clampToField(const Game& game, Turret& unit) { placeUnit(unit, clampIntoField(game, unit.position)); }

void pushAllApart(Game& game) {
    GridStep step(game);
    SideGrids grids = sideGrids(game);
    std::vector<Turret>& player = game.player_turrets;
    std::vector<Turret>& enemy = game.enemy_turrets;
    pushListOutOf(game, player, grids.player, player, grids.player);
    pushListOutOf(game, enemy, grids.enemy, enemy, grids.enemy);
    pushListOutOf(game, player, grids.player, enemy, grids.enemy);
    pushListOutOf(game, enemy, grids.enemy, player, grids.player);
}

void pushPhysics(Game& game, float dt) {
    {
        GridStep grid(game);
        pushPairs(game, game.player_turrets, game.player_turrets);
        pushPairs(game, game.enemy_turrets, game.enemy_turrets);
        pushPairs(game, game.player_turrets, game.enemy_turrets);
    }
    for (auto* list : {&game.player_turrets, &game.enemy_turrets})
        for (Turret& unit : *list) excludeFromBase(game, unit);
    for (auto* list : {&game.player_turrets, &game.enemy_turrets})
        for (Turret& unit : *list) integratePush(game, unit, dt);
}
