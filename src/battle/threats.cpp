#include "app/game.h"
#include "battle/combat.h"
#include "battle/unit_grid.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kWatchDistance = 300;  // shots farther from the unit are ignored
constexpr float kBehind = 50;          // a shot this far past the unit still counts
constexpr float kDangerMargin = 15;    // the danger radius is the hull radius + this
constexpr float kSideReach = 30;       // shots passing beyond danger radius + this are ignored
constexpr float kCloseReach = 20;      // a shot already past counts when it passes this close
constexpr float kAheadSeconds = 1.5f;  // arrival time window of a threat
constexpr float kPastSeconds = -0.5f;
constexpr float kThreatCell = 192;   // a shot watches ~350 px of path: coarse cells list it fewer times

// Whether a shot of the other side, still flying, can threaten anybody at all, and at what
// speed. The side and the hit are read first: the other half of the shots needs no root.
bool mayThreaten(const Projectile& projectile, bool is_player, float& speed) {
    if (bool(projectile.is_player) == is_player || projectile.hit) return false;
    speed = vectorLength(projectile.velocity);
    return speed >= 1;
}

ThreatShot threatShotOf(const Projectile& projectile, float speed) {
    return {projectile.position, projectile.velocity / speed, speed};
}

// Whether a shot of the other side threatens a unit at a position, and as what threat.
bool threatFrom(const ThreatShot& shot, sf::Vector2f position, float radius, Threat& threat) {
    sf::Vector2f d = position - shot.position;
    // Beyond the watch along one axis is beyond it in length: most shots need no root.
    if (std::abs(d.x) > kWatchDistance || std::abs(d.y) > kWatchDistance ||
        compareLength(d, kWatchDistance) == kLonger)
        return false;
    sf::Vector2f dir = shot.dir;
    float along = dir.x * d.x + dir.y * d.y;
    if (along < -kBehind) return false;
    sf::Vector2f aside = d - dir * along;
    if (compareLength(aside, radius + kDangerMargin + kSideReach) == kLonger) return false;
    float t = along / shot.speed;
    if (t > kAheadSeconds || t < kPastSeconds) return false;
    if (t < 0) {
        if (compareLength(aside, radius + kDangerMargin + kCloseReach) != kShorter) return false;
        t = 0.1f;
    }
    threat = {shot.position.x, shot.position.y, dir.x, dir.y, std::max(t, 0.01f)};
    return true;
}

int threatColumn(const ThreatCells& cells, float x) {
    return cellIndex(x, cells.origin_x, cells.inverse_cell, cells.columns);
}

int threatRow(const ThreatCells& cells, float y) { return cellIndex(y, cells.origin_y, cells.inverse_cell, cells.rows); }

// The cells of the box around the stretch of a shot's path from which a unit of the
// indexed side could count it (along -50..300 and -0.5..1.5 s, danger radius + 30 aside).
std::array<int, 4> threatBox(const ThreatCells& cells, const ThreatShot& shot) {
    sf::Vector2f from = shot.position + shot.dir * std::max(-kBehind, kPastSeconds * shot.speed);
    sf::Vector2f to = shot.position + shot.dir * std::min(kWatchDistance, kAheadSeconds * shot.speed);
    float aside = cells.radius + kDangerMargin + kSideReach + kGridSlack;
    return {threatColumn(cells, std::min(from.x, to.x) - aside), threatColumn(cells, std::max(from.x, to.x) + aside),
            threatRow(cells, std::min(from.y, to.y) - aside), threatRow(cells, std::max(from.y, to.y) + aside)};
}

template <typename Visit>
void forEachBoxCell(const ThreatCells& cells, const std::array<int, 4>& box, Visit visit) {
    for (int row = box[2]; row <= box[3]; ++row)
        for (int column = box[0]; column <= box[1]; ++column) visit(row * cells.columns + column);
}

// Shots go into the cells of their boxes in list order, which is each cell's order.
void indexThreats(ThreatCells& cells, const std::vector<Projectile>& projectiles) {
    cells.shots.resize(size_t(cells.columns * cells.rows));
    for (std::vector<ThreatShot>& shots : cells.shots) shots.clear();
    for (const Projectile& projectile : projectiles) {
        float speed;
        if (!mayThreaten(projectile, cells.for_player, speed)) continue;
        ThreatShot aim = threatShotOf(projectile, speed);
        forEachBoxCell(cells, threatBox(cells, aim), [&](int cell) { cells.shots[size_t(cell)].push_back(aim); });
    }
}
}  // namespace

ThreatStep::ThreatStep(Game& game_, bool for_player) : game(game_) {
    ThreatCells& cells = game.unit_grids.threats;
    if (!game.use_spatial_grid || cells.built) return;
    const WorldBounds& bounds = game.world_bounds;
    cells.for_player = for_player;
    cells.radius = 0;
    for (const Turret& unit : for_player ? game.player_turrets : game.enemy_turrets)
        cells.radius = std::max(cells.radius, unit.radius);
    cells.origin_x = bounds.min_x;
    cells.origin_y = bounds.min_y;
    cells.inverse_cell = 1.0f / kThreatCell;
    cells.columns = std::max(1, int(std::ceil((bounds.max_x - bounds.min_x) / kThreatCell)));
    cells.rows = std::max(1, int(std::ceil((bounds.max_y - bounds.min_y) / kThreatCell)));
    indexThreats(cells, game.projectiles);
    cells.built = owner = true;
}

ThreatStep::~ThreatStep() {
    if (owner) game.unit_grids.threats.built = false;
}

void collectThreats(const Game& game, sf::Vector2f position, float radius, bool is_player,
                    std::vector<Threat>& threats) {
    threats.clear();
    Threat threat;
    const ThreatCells& cells = game.unit_grids.threats;
    if (cells.built && cells.for_player == is_player && radius <= cells.radius) {
        size_t cell = size_t(threatRow(cells, position.y) * cells.columns + threatColumn(cells, position.x));
        for (const ThreatShot& shot : cells.shots[cell])
            if (threatFrom(shot, position, radius, threat)) threats.push_back(threat);
        return;
    }
    for (const Projectile& projectile : game.projectiles) {
        float speed;
        if (mayThreaten(projectile, is_player, speed) &&
            threatFrom(threatShotOf(projectile, speed), position, radius, threat))
            threats.push_back(threat);
    }
}
