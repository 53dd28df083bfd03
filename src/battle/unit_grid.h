#pragma once
#include "battle/turret.h"

#include <SFML/System/Vector2.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

struct Game;

// One side's units bucketed by position into square cells, so that a battle query looks
// at the cells near a point instead of the whole list. The cells cover the field; the
// border cells also hold every unit beyond it, so a unit outside the field is still found.
// Units are named by their index in the list.
struct UnitGrid {
    float origin_x = 0, origin_y = 0;  // top-left corner of cell (0, 0)
    float cell_size = 32;              // pixels
    float inverse_cell = 1.0f / 32;
    int columns = 0, rows = 0;
    float max_radius = 0;              // largest hull radius of the list
    std::vector<int> head;             // first unit of each cell, -1 when empty
    std::vector<int> next, prev;       // the chain of the units sharing a cell, -1 at its ends
    std::vector<int> cell_of;          // each unit's cell
    std::vector<int> row_count;        // units in each row of cells
    int words = 0;                     // 64-bit words of occupancy per row
    std::vector<std::uint64_t> occupied;  // a bit for each cell holding a unit, row by row
    std::array<int, 3> lane_count{};   // units of each lane
};

// The shots of one side listed by the cells in which a unit of the other side would count
// them as a threat (the cells of the box around the stretch of path it watches).
struct ThreatCells {
    bool built = false;
    bool for_player = false;       // whose threats: the player's units' (the enemy's shots) or the enemy's
    float radius = 0;              // largest hull radius of those units
    float origin_x = 0, origin_y = 0;
    float inverse_cell = 1.0f / 64;
    int columns = 0, rows = 0;
    std::vector<int> start;        // first entry of each cell in shots; one more at the end
    std::vector<int> shots;        // projectile indices, cell by cell, each cell in list order
    std::vector<std::array<int, 4>> boxes;  // cell range of each projectile: columns, then rows
};

// Both sides' grids. They exist only while a battle step holds a GridStep; outside one,
// every query walks the lists, which is also the reference the grid must match exactly.
struct UnitGrids {
    bool built = false;
    UnitGrid player, enemy;
    ThreatCells threats;
    std::vector<int> found;  // indices gathered by one query, reused
};

// Buckets both unit lists for the battle step it lives in (when the game uses the grid).
// A unit moved inside the step must be re-bucketed with syncUnit before others query it.
struct GridStep {
    explicit GridStep(Game& game);
    ~GridStep();
    GridStep(const GridStep&) = delete;
    GridStep& operator=(const GridStep&) = delete;

    Game& game;
    bool owner = false;  // false inside another step's grid, which stays in charge
};

// Lists the shots threatening one side's units for a pass over them, in which shots do
// not move and the new ones are the other side's own.
struct ThreatStep {
    ThreatStep(Game& game, bool for_player);
    ~ThreatStep();
    ThreatStep(const ThreatStep&) = delete;
    ThreatStep& operator=(const ThreatStep&) = delete;

    Game& game;
    bool owner = false;
};

// The grid of a unit list while a step holds one, else null.
const UnitGrid* gridOf(const Game& game, const std::vector<Turret>& list);
// Moves a unit of either list to the cell of its current position.
void syncUnit(Game& game, const Turret& unit);

// Queries never miss a unit by rounding: every cell range and bound is widened by this.
constexpr float kGridSlack = 1.0f;

// The cell index along one axis of a coordinate, clamped to the cells (NaN to the first).
inline int cellIndex(float coordinate, float origin, float inverse_cell, int count) {
    float f = (coordinate - origin) * inverse_cell;
    if (!(f >= 0)) return 0;
    if (f >= float(count)) return count - 1;
    return int(f);
}

inline int gridColumn(const UnitGrid& grid, float x) {
    return cellIndex(x, grid.origin_x, grid.inverse_cell, grid.columns);
}

inline int gridRow(const UnitGrid& grid, float y) { return cellIndex(y, grid.origin_y, grid.inverse_cell, grid.rows); }

// Distance from a coordinate to the cells of index i along one axis (0 inside); the cells
// at both ends reach to infinity.
inline float cellGap(float coordinate, int i, float origin, float cell_size, int count) {
    float low = i == 0 ? -INFINITY : origin + float(i) * cell_size;
    float high = i == count - 1 ? INFINITY : origin + float(i + 1) * cell_size;
    return std::max({0.0f, low - coordinate, coordinate - high});
}

inline float columnGap(const UnitGrid& grid, int column, float x) {
    return cellGap(x, column, grid.origin_x, grid.cell_size, grid.columns);
}

inline float rowGap(const UnitGrid& grid, int row, float y) {
    return cellGap(y, row, grid.origin_y, grid.cell_size, grid.rows);
}

// The nearest occupied column of a row at or before column, or -1.
inline int occupiedAtOrBefore(const UnitGrid& grid, int row, int column) {
    if (column < 0) return -1;
    const std::uint64_t* words = grid.occupied.data() + size_t(row * grid.words);
    int word = column >> 6;
    std::uint64_t bits = words[word] & (~std::uint64_t(0) >> (63 - (column & 63)));
    while (bits == 0) {
        if (--word < 0) return -1;
        bits = words[word];
    }
    return word * 64 + 63 - __builtin_clzll(bits);
}

// The nearest occupied column of a row at or after column, or the column count.
inline int occupiedAtOrAfter(const UnitGrid& grid, int row, int column) {
    if (column >= grid.columns) return grid.columns;
    const std::uint64_t* words = grid.occupied.data() + size_t(row * grid.words);
    int word = column >> 6;
    std::uint64_t bits = words[word] & (~std::uint64_t(0) << (column & 63));
    while (bits == 0) {
        if (++word >= grid.words) return grid.columns;
        bits = words[word];
    }
    return word * 64 + __builtin_ctzll(bits);
}

// Visits, in no particular order, every unit in the cells within radius of p: a superset
// that the caller tests exactly. Stops as soon as visit(index) returns true.
template <typename Visit>
bool visitCells(const UnitGrid& grid, sf::Vector2f p, float radius, Visit visit) {
    float reach = std::isnan(radius) ? INFINITY : radius + kGridSlack;
    int first_column = gridColumn(grid, p.x - reach), last_column = gridColumn(grid, p.x + reach);
    int first_row = gridRow(grid, p.y - reach), last_row = gridRow(grid, p.y + reach);
    for (int row = first_row; row <= last_row; ++row) {
        if (grid.row_count[size_t(row)] == 0) continue;
        for (int column = first_column; column <= last_column; ++column)
            for (int i = grid.head[size_t(row * grid.columns + column)]; i >= 0; i = grid.next[size_t(i)])
                if (visit(i)) return true;
    }
    return false;
}

// Whether test(index) holds for some unit of the list; test must fail beyond radius of p.
template <typename Test>
bool anyNear(const Game& game, const std::vector<Turret>& list, sf::Vector2f p, float radius, Test test) {
    if (const UnitGrid* grid = gridOf(game, list)) return visitCells(*grid, p, radius, test);
    for (size_t i = 0; i < list.size(); ++i)
        if (test(int(i))) return true;
    return false;
}

// Visits every unit that may lie within radius of p, in no particular order (counts).
template <typename Visit>
void forEachNear(const Game& game, const std::vector<Turret>& list, sf::Vector2f p, float radius, Visit visit) {
    anyNear(game, list, p, radius, [&](int i) {
        visit(i);
        return false;
    });
}

// The first unit in list order for which test(index) holds, or -1; test must fail
// beyond radius of p.
template <typename Test>
int firstNear(const Game& game, const std::vector<Turret>& list, sf::Vector2f p, float radius, Test test) {
    const UnitGrid* grid = gridOf(game, list);
    if (!grid) {
        for (size_t i = 0; i < list.size(); ++i)
            if (test(int(i))) return int(i);
        return -1;
    }
    int first = -1;
    visitCells(*grid, p, radius, [&](int i) {
        if ((first < 0 || i < first) && test(i)) first = i;
        return false;
    });
    return first;
}

// Largest hull radius in a list's grid, for queries that reach to a unit's hull; 0 without
// a grid, where no query is narrowed by it.
float gridHullRadius(const Game& game, const std::vector<Turret>& list);
// Units of a lane in a list as the grid counted them, or -1 without a grid.
int unitsInLane(const Game& game, const std::vector<Turret>& list, int lane);

// Indices gathered by one in-order query, reused from query to query.
std::vector<int>& gridScratch(Game& game);

// Visits the units that may lie within radius of p and pass keep(index) in list order, as a
// walk over the whole list would meet them, so that sums and random draws come out the same.
// keep must not read what visit changes: the grid tests every unit before visiting any.
template <typename Keep, typename Visit>
void forEachNearInOrderIf(Game& game, const std::vector<Turret>& list, sf::Vector2f p, float radius, Keep keep,
                          Visit visit) {
    const UnitGrid* grid = gridOf(game, list);
    if (!grid) {
        for (size_t i = 0; i < list.size(); ++i)
            if (keep(int(i))) visit(int(i));
        return;
    }
    std::vector<int>& found = gridScratch(game);
    found.clear();
    visitCells(*grid, p, radius, [&](int i) {
        if (keep(i)) found.push_back(i);
        return false;
    });
    std::sort(found.begin(), found.end());
    for (int i : found) visit(i);
}

template <typename Visit>
void forEachNearInOrder(Game& game, const std::vector<Turret>& list, sf::Vector2f p, float radius, Visit visit) {
    forEachNearInOrderIf(game, list, p, radius, [](int) { return true; }, visit);
}

// Visits centre, centre - 1, centre + 1, centre - 2, ... within [0, count); each direction
// stops at the edge or at the first index whose gap is beyond reach.
template <typename GapOf, typename Beyond, typename Visit>
void scanOutwards(int centre, int count, GapOf gap_of, Beyond beyond, Visit visit) {
    bool open[2] = {true, true};  // towards smaller, towards larger indices
    for (int k = 0; open[0] || open[1]; ++k) {
        for (int side = 0; side < 2; ++side) {
            if (!open[side] || (k == 0 && side == 1)) continue;
            int index = side == 0 ? centre - k : centre + k;
            if (index < 0 || index >= count) {
                open[side] = false;
                continue;
            }
            float gap = gap_of(index);
            if (beyond(gap)) {
                open[side] = false;
                continue;
            }
            visit(index, gap);
        }
    }
}

// The unit with the smallest score below bound, ties to the earlier in the list, or -1,
// as a walk over the list keeping strictly smaller scores finds it. score(index, s) gives
// false for a unit that is no candidate. The grid searches outwards from p and relies on
// s >= the edge distance from a hull of own_radius at p (centre distances qualify with 0);
// candidates scoring above limit may be left unseen.
template <typename Score>
int nearestNear(const Game& game, const std::vector<Turret>& list, sf::Vector2f p, float own_radius, float limit,
                float bound, Score score) {
    float best = bound;
    int best_index = -1;
    auto better = [&](int i) {
        float s = 0;
        if (score(i, s) && (s < best || (s == best && best_index >= 0 && i < best_index))) {
            best = s;
            best_index = i;
        }
    };
    const UnitGrid* grid = gridOf(game, list);
    if (!grid) {
        for (size_t i = 0; i < list.size(); ++i) better(int(i));
        return best_index;
    }
    float extra = std::max(0.0f, own_radius) + grid->max_radius;
    // A unit farther than the best so far plus extra cannot score better: skip its score.
    auto consider = [&](int i) {
        float most = std::min(best, limit) + extra + kGridSlack;
        sf::Vector2f d = list[size_t(i)].body.getPosition() - p;
        if (most < 0 || d.x * d.x + d.y * d.y > most * most) return;
        better(i);
    };
    // A cell whose nearest point lies farther than the best so far cannot hold a better unit.
    auto beyond = [&](float gap) { return gap - extra > std::min(best, limit) + kGridSlack; };
    int centre_column = gridColumn(*grid, p.x);
    int centre_row = gridRow(*grid, p.y);
    // The columns of a row in the order of scanOutwards from the centre, skipping the empty
    // cells: a side that an empty cell would close stays closed at its next occupied one.
    auto scanRow = [&](int row, float row_gap) {
        auto beyondColumn = [&](int column) {
            float gap = columnGap(*grid, column, p.x);
            return beyond(std::sqrt(gap * gap + row_gap * row_gap));
        };
        int left = occupiedAtOrBefore(*grid, row, centre_column);
        int right = occupiedAtOrAfter(*grid, row, centre_column + 1);
        while (left >= 0 || right < grid->columns) {
            bool take_left = left >= 0 && (right >= grid->columns || centre_column - left <= right - centre_column);
            int column = take_left ? left : right;
            bool closed = beyondColumn(column);
            if (!closed)
                for (int i = grid->head[size_t(row * grid->columns + column)]; i >= 0; i = grid->next[size_t(i)])
                    consider(i);
            if (take_left)
                left = closed ? -1 : occupiedAtOrBefore(*grid, row, column - 1);
            else
                right = closed ? grid->columns : occupiedAtOrAfter(*grid, row, column + 1);
        }
    };
    scanOutwards(
        centre_row, grid->rows, [&](int row) { return rowGap(*grid, row, p.y); }, beyond,
        [&](int row, float gap) {
            if (grid->row_count[size_t(row)] > 0) scanRow(row, gap);
        });
    return best_index;
}
