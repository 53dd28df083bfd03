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
constexpr float kThreatCell = 64;  // a query reads the cells across a unit's watch, 600 px wide

// Whether a shot of the other side, still flying, can threaten anybody at all, and at what
// speed. The side and the hit are read first: the other half of the shots needs no root.
bool mayThreaten(const Projectile& projectile, bool is_player, float& speed) {
    if (bool(projectile.is_player) == is_player || projectile.hit) return false;
    speed = vectorLength(projectile.velocity);
    return speed >= 1;
}

// Written field by field into its place: a shot built aside and copied in whole was read
// back before its halves had left the store queue.
void setThreatShot(ThreatShot& shot, const Projectile& projectile, float speed) {
    shot.position = projectile.position;
    shot.dir = projectile.velocity / speed;
    shot.speed = speed;
}

// Whether a shot of the other side threatens a unit at a position, and as what threat.
// Inlined into the query loop, which calls it for every shot it reads.
[[gnu::always_inline]] inline bool threatFrom(const ThreatShot& shot, sf::Vector2f position, float radius,
                                              Threat& threat) {
    // A shot must pass every test, so the cheap ones that turn most shots away come first.
    // Beyond a length along one axis is beyond it in length: those need no square.
    sf::Vector2f d = position - shot.position;
    if (std::abs(d.x) > kWatchDistance || std::abs(d.y) > kWatchDistance) return false;
    sf::Vector2f dir = shot.dir;
    float along = dir.x * d.x + dir.y * d.y;
    if (along < -kBehind) return false;
    sf::Vector2f aside = d - dir * along;
    float side_reach = radius + kDangerMargin + kSideReach;
    if (std::abs(aside.x) > side_reach || std::abs(aside.y) > side_reach ||
        compareLength(aside, side_reach) == kLonger)
        return false;
    float t = along / shot.speed;
    if (t > kAheadSeconds || t < kPastSeconds) return false;
    if (compareLength(d, kWatchDistance) == kLonger) return false;
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

// Sorts the shots that may threaten by their cell, keeping projectile order within a cell.
void indexThreats(ThreatCells& cells, const std::vector<Projectile>& projectiles) {
    // Grown only, to the most shots there may be: no value-filling each pass.
    if (cells.ranked.size() < projectiles.size()) {
        cells.ranked.resize(projectiles.size());
        cells.cell_of.resize(projectiles.size());
    }
    size_t count = 0;
    const int everywhere = cells.columns * cells.rows;
    cells.cell_start.assign(size_t(everywhere + 2), 0);
    for (const Projectile& projectile : projectiles) {
        float speed;
        if (!mayThreaten(projectile, cells.for_player, speed)) continue;
        // A shot at no place is counted by a unit at any place: it goes in a cell of its own.
        sf::Vector2f at = projectile.position;
        int cell = everywhere;
        if (!std::isnan(at.x) && !std::isnan(at.y))
            cell = threatRow(cells, at.y) * cells.columns + threatColumn(cells, at.x);
        setThreatShot(cells.ranked[count], projectile, speed);
        cells.cell_of[count++] = cell;
        ++cells.cell_start[size_t(cell) + 1];
    }
    for (size_t cell = 1; cell < cells.cell_start.size(); ++cell) cells.cell_start[cell] += cells.cell_start[cell - 1];
    cells.shots.resize(count);
    cells.rank.resize(count);
    if (cells.found.size() < count) cells.found.resize(count);  // grown only: no value-filling each pass
    cells.found_bits.assign((count + 63) / 64, 0);
    // Each cell's start moves on as its entries go in, to the start of the next cell.
    for (size_t k = 0; k < count; ++k) {
        size_t at = size_t(cells.cell_start[size_t(cells.cell_of[k])]++);
        cells.shots[at] = cells.ranked[k];
        cells.rank[at] = int(k);
    }
    for (size_t cell = cells.cell_start.size() - 1; cell > 0; --cell)
        cells.cell_start[cell] = cells.cell_start[cell - 1];
    cells.cell_start[0] = 0;
}

// Hands out the threats a query found, by rank, which is projectile order; clears the bits.
void takeFound(ThreatCells& cells, std::vector<Threat>& threats) {
    for (size_t word = 0; word < cells.found_bits.size(); ++word) {
        std::uint64_t bits = cells.found_bits[word];
        cells.found_bits[word] = 0;
        for (; bits != 0; bits &= bits - 1) threats.push_back(cells.found[word * 64 + size_t(__builtin_ctzll(bits))]);
    }
}
}  // namespace

ThreatStep::ThreatStep(Game& game_, bool for_player) : game(game_) {
    ThreatCells& cells = game.unit_grids.threats;
    if (!game.use_spatial_grid || cells.built) return;
    const WorldBounds& bounds = game.world_bounds;
    cells.for_player = for_player;
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

void collectThreats(Game& game, sf::Vector2f position, float radius, bool is_player, std::vector<Threat>& threats) {
    threats.clear();
    ThreatCells& cells = game.unit_grids.threats;
    if (cells.built && cells.for_player == is_player) {
        if (cells.shots.empty()) return;
        float reach = kWatchDistance + kGridSlack;
        int first_column = threatColumn(cells, position.x - reach);
        int last_column = threatColumn(cells, position.x + reach);
        int first_row = threatRow(cells, position.y - reach), last_row = threatRow(cells, position.y + reach);
        auto take = [&](int first_cell, int last_cell) {
            int end = cells.cell_start[size_t(last_cell + 1)];
            for (size_t k = size_t(cells.cell_start[size_t(first_cell)]); k < size_t(end); ++k) {
                // The threat goes straight to its place among the finds, written only when found.
                size_t rank = size_t(cells.rank[k]);
                if (threatFrom(cells.shots[k], position, radius, cells.found[rank]))
                    cells.found_bits[rank / 64] |= std::uint64_t(1) << (rank % 64);
            }
        };
        int everywhere = cells.columns * cells.rows;
        if (std::isnan(position.x) || std::isnan(position.y)) {
            take(0, everywhere);  // a unit at no place counts every shot
        } else {
            for (int row = first_row; row <= last_row; ++row)
                take(row * cells.columns + first_column, row * cells.columns + last_column);
            take(everywhere, everywhere);
        }
        takeFound(cells, threats);
        return;
    }
    ThreatShot shot;
    Threat threat;
    for (const Projectile& projectile : game.projectiles) {
        float speed;
        if (!mayThreaten(projectile, is_player, speed)) continue;
        setThreatShot(shot, projectile, speed);
        if (threatFrom(shot, position, radius, threat)) threats.push_back(threat);
    }
}
