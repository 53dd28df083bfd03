#pragma once
#include "battle/combat.h"
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
// Units are named by their index in the list. The units are listed cell by cell, row by
// row, so a query reads the cells it spans in one row as one run of the listing.
struct UnitGrid {
    float origin_x = 0, origin_y = 0;  // top-left corner of cell (0, 0)
    float cell_size = 32;              // pixels
    float inverse_cell = 1.0f / 32;
    int columns = 0, rows = 0;
    float max_radius = 0;              // largest hull radius of the list
    std::vector<int> start;            // each cell's first slot in the listing, then its end
    std::vector<int> order;            // the listing: units by slot
    std::vector<int> slot_of;          // each unit's slot
    std::vector<int> cell_of;          // each unit's cell
    std::vector<sf::Vector2f> at;      // each unit's position, kept with its cell
    std::vector<int> row_count;        // units in each row of cells
    int words = 0;                     // 64-bit words of occupancy per row
    std::vector<std::uint64_t> occupied;       // a bit for each cell holding a unit, row by row
    std::vector<std::uint64_t> rows_occupied;  // a bit for each row holding a unit
    std::array<int, 3> lane_count{};   // units of each lane
    // Kept between steps: a step re-buckets only the units that left their cell since.
    bool current = false;              // matches the list in this step
    float bounds[4] = {};              // the field the cells were laid over
};

// Where a shot is and where it flies, as a unit reckons with it as a threat.
struct ThreatShot {
    sf::Vector2f position;
    sf::Vector2f dir;  // unit vector of its velocity
    float speed = 0;
};

// The shots of one side that a unit of the other side may count as a threat, sorted by
// the cell they are in, row by row and in projectile order within a cell. A unit counts
// only shots within its watch along both axes, so a query reads each row's run of cells
// across its watch, one stretch of entries per row. Storage is kept from pass to pass.
struct ThreatCells {
    bool built = false;
    bool for_player = false;  // whose threats: the player's units' (the enemy's shots) or the enemy's
    float origin_x = 0, origin_y = 0;
    float inverse_cell = 1.0f / 64;
    int columns = 0, rows = 0;
    std::vector<int> cell_start;     // each cell's first entry, then the shots at no place, then the end
    std::vector<ThreatShot> shots;   // the entries, cell by cell
    std::vector<int> rank;           // each entry's place among the listed shots, in projectile order
    std::vector<ThreatShot> ranked;  // by rank: the shot, while listing
    std::vector<int> cell_of;        // by rank: the shot's cell, while listing
    // One query's threats by rank, and a bit for each rank found, to hand them out in order.
    std::vector<Threat> found;
    std::vector<std::uint64_t> found_bits;
};

// Both sides' grids. They answer only while a battle step holds a GridStep; outside one,
// every query walks the lists, which is also the reference the grid must match exactly.
// A grid is brought up to date at the step's first query of its list, so a step that
// asks nothing costs nothing.
struct UnitGrids {
    bool built = false;  // a step holds them
    UnitGrid player, enemy;
    ThreatCells threats;
    std::vector<int> found;  // indices gathered by one query, reused
    std::vector<std::uint64_t> pairs, sorted_pairs;  // pairs gathered by one sweep, reused
    std::vector<int> pair_starts;
};

// Lets the grids answer for the battle step it lives in (when the game uses the grid).
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
// Both sides' grids, looked up once by a loop in which no unit joins or leaves.
struct SideGrids {
    const UnitGrid* player = nullptr;
    const UnitGrid* enemy = nullptr;
};
SideGrids sideGrids(const Game& game);
// Moves a unit of either list to the cell of its current position.
void syncUnit(Game& game, const Turret& unit);
// The same for the unit at an index of the list whose grid (or null) the caller holds.
void syncUnitAt(const UnitGrid* grid, int index, sf::Vector2f position);
// The index of a unit in a list, or -1 when it is not one of its members.
int indexIn(const std::vector<Turret>& list, const Turret& unit);

// Where the unit at index i of a list stands: from the grid's row of positions, read in a
// row by the short searches, or from the list without a grid.
inline sf::Vector2f unitAt(const UnitGrid* grid, const std::vector<Turret>& list, int i) {
    return grid ? grid->at[size_t(i)] : list[size_t(i)].position;
}

// Units up to which a nearest search looks at the whole list instead of walking the cells.
constexpr size_t kWalkedWhole = 32;

// Queries never miss a unit by rounding: every cell range and bound is widened by this.
constexpr float kGridSlack = 1.0f;

// The cell index along one axis of a coordinate, clamped to the cells (NaN to the first).
// Clamped as a float, without branches: the last cell takes everything from its start on,
// so clamping to its index truncates the same.
inline int cellIndex(float coordinate, float origin, float inverse_cell, int count) {
    float f = (coordinate - origin) * inverse_cell;
    f = f >= 0 ? f : 0.0f;
    float last = float(count - 1);
    return int(f < last ? f : last);
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

// The last set bit of a bit row at or before index, or -1.
inline int lastSetAtOrBefore(const std::uint64_t* words, int index) {
    if (index < 0) return -1;
    int word = index >> 6;
    std::uint64_t bits = words[word] & (~std::uint64_t(0) >> (63 - (index & 63)));
    while (bits == 0) {
        if (--word < 0) return -1;
        bits = words[word];
    }
    return word * 64 + 63 - __builtin_clzll(bits);
}

// The first set bit of a bit row of count bits at or after index, or count.
inline int firstSetAtOrAfter(const std::uint64_t* words, int count, int index) {
    if (index >= count) return count;
    int word = index >> 6, last_word = (count - 1) >> 6;
    std::uint64_t bits = words[word] & (~std::uint64_t(0) << (index & 63));
    while (bits == 0) {
        if (++word > last_word) return count;
        bits = words[word];
    }
    return word * 64 + __builtin_ctzll(bits);
}

// The occupied cells of one row, a bit for each column.
inline const std::uint64_t* occupiedColumns(const UnitGrid& grid, int row) {
    return grid.occupied.data() + size_t(row * grid.words);
}

// Visits the set bits of a bit row in the order centre, centre - 1, centre + 1, centre - 2,
// ...; each direction stops at the first index for which visit returns false (beyond reach).
// For a reach that only shrinks as the walk goes on, leaving out the clear bits changes
// nothing: a direction that a clear one would close closes at the next set one.
template <typename Visit>
void scanSetOutwards(const std::uint64_t* words, int count, int centre, Visit visit) {
    int left = lastSetAtOrBefore(words, centre);
    int right = firstSetAtOrAfter(words, count, centre + 1);
    while (left >= 0 || right < count) {
        if (left >= 0 && (right >= count || centre - left <= right - centre))
            left = visit(left) ? lastSetAtOrBefore(words, left - 1) : -1;
        else
            right = visit(right) ? firstSetAtOrAfter(words, count, right + 1) : count;
    }
}

// Visits, in no particular order, every unit in the cells within radius of p: a superset
// that the caller tests exactly. Stops as soon as visit(index) returns true.
template <typename Visit>
bool visitCells(const UnitGrid& grid, sf::Vector2f p, float radius, Visit visit) {
    float reach = std::isnan(radius) ? INFINITY : radius + kGridSlack;
    int first_column = gridColumn(grid, p.x - reach), last_column = gridColumn(grid, p.x + reach);
    int first_row = gridRow(grid, p.y - reach), last_row = gridRow(grid, p.y + reach);
    const std::uint64_t* rows = grid.rows_occupied.data();
    for (int row = firstSetAtOrAfter(rows, last_row + 1, first_row); row <= last_row;
         row = firstSetAtOrAfter(rows, last_row + 1, row + 1)) {
        // The row's cells from the first column to the last are one run of the listing.
        int cell = row * grid.columns;
        int end = grid.start[size_t(cell + last_column + 1)];
        for (int slot = grid.start[size_t(cell + first_column)]; slot < end; ++slot)
            if (visit(grid.order[size_t(slot)])) return true;
    }
    return false;
}

// Whether test(index) holds for some unit of the list; test must fail beyond radius of p.
// A caller that holds the list's grid (or null) passes it on.
template <typename Test>
bool anyNear(const UnitGrid* grid, const std::vector<Turret>& list, sf::Vector2f p, float radius, Test test) {
    if (grid) return visitCells(*grid, p, radius, test);
    for (size_t i = 0; i < list.size(); ++i)
        if (test(int(i))) return true;
    return false;
}

template <typename Test>
bool anyNear(const Game& game, const std::vector<Turret>& list, sf::Vector2f p, float radius, Test test) {
    return anyNear(gridOf(game, list), list, p, radius, test);
}

// Visits every unit that may lie within radius of p, in no particular order (counts).
template <typename Visit>
void forEachNear(const UnitGrid* grid, const std::vector<Turret>& list, sf::Vector2f p, float radius, Visit visit) {
    anyNear(grid, list, p, radius, [&](int i) {
        visit(i);
        return false;
    });
}

template <typename Visit>
void forEachNear(const Game& game, const std::vector<Turret>& list, sf::Vector2f p, float radius, Visit visit) {
    forEachNear(gridOf(game, list), list, p, radius, visit);
}

// The first unit in list order for which test(index) holds, or -1; test must fail
// beyond radius of p. The grid is the list's, or null.
template <typename Test>
int firstNear(const UnitGrid* grid, const std::vector<Turret>& list, sf::Vector2f p, float radius, Test test) {
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

template <typename Test>
int firstNear(const Game& game, const std::vector<Turret>& list, sf::Vector2f p, float radius, Test test) {
    return firstNear(gridOf(game, list), list, p, radius, test);
}

// Units of a lane in a list as its grid counted them, or -1 without a grid.
inline int unitsInLane(const UnitGrid* grid, int lane) {
    return grid && lane >= 0 && lane < 3 ? grid->lane_count[size_t(lane)] : -1;
}

// Indices and pairs gathered by one in-order query, reused from query to query.
std::vector<int>& gridScratch(Game& game);
std::vector<std::uint64_t>& pairScratch(Game& game);
// Sorts the gathered pairs (first index below count) by their first index, then their second.
void sortPairs(Game& game, size_t count);

// Visits the units that may lie within radius of p and pass keep(index) in list order, as a
// walk over the whole list would meet them, so that sums and random draws come out the same.
// keep must not read what visit changes: the grid (the list's, or null) tests every unit
// before visiting any.
template <typename Keep, typename Visit>
void forEachNearInOrderIf(Game& game, const UnitGrid* grid, const std::vector<Turret>& list, sf::Vector2f p,
                          float radius, Keep keep, Visit visit) {
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
    forEachNearInOrderIf(game, gridOf(game, list), list, p, radius, [](int) { return true; }, visit);
}

// The unit with the smallest score below bound, ties to the earlier in the list, or -1,
// as a walk over the list keeping strictly smaller scores finds it. score(index, s) gives
// false for a unit that is no candidate. The grid searches outwards from p and relies on
// s >= the edge distance from a hull of own_radius at p (centre distances qualify with 0);
// candidates scoring above limit may be left unseen. The grid is the list's, or null.
template <typename Score>
int nearestNear(const UnitGrid* grid, const std::vector<Turret>& list, sf::Vector2f p, float own_radius, float limit,
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
    if (!grid) {
        for (size_t i = 0; i < list.size(); ++i) better(int(i));
        return best_index;
    }
    float extra = std::max(0.0f, own_radius) + grid->max_radius;
    // A unit farther than the best so far plus extra cannot score better: skip its score.
    // Its place is read from the grid's compact row of positions.
    auto consider = [&](int i) {
        float most = std::min(best, limit) + extra + kGridSlack;
        sf::Vector2f d = grid->at[size_t(i)] - p;
        if (most < 0 || d.x * d.x + d.y * d.y > most * most) return;
        better(i);
    };
    // A short list, such as a side down to its last few units, is looked at whole faster
    // than the outward walk over its cells would find its nearest.
    if (list.size() <= kWalkedWhole) {
        for (size_t i = 0; i < list.size(); ++i) consider(int(i));
        return best_index;
    }
    // A cell whose nearest point lies farther than the best so far cannot hold a better unit.
    auto beyond = [&](float gap) { return gap - extra > std::min(best, limit) + kGridSlack; };
    int centre_column = gridColumn(*grid, p.x);
    int centre_row = gridRow(*grid, p.y);
    // Rows and cells without units are passed over.
    auto scanRow = [&](int row, float row_gap) {
        scanSetOutwards(occupiedColumns(*grid, row), grid->columns, centre_column, [&](int column) {
            float gap = columnGap(*grid, column, p.x);
            if (beyond(std::sqrt(gap * gap + row_gap * row_gap))) return false;
            int cell = row * grid->columns + column;
            for (int slot = grid->start[size_t(cell)]; slot < grid->start[size_t(cell) + 1]; ++slot)
                consider(grid->order[size_t(slot)]);
            return true;
        });
    };
    scanSetOutwards(grid->rows_occupied.data(), grid->rows, centre_row, [&](int row) {
        float gap = rowGap(*grid, row, p.y);
        if (beyond(gap)) return false;
        scanRow(row, gap);
        return true;
    });
    return best_index;
}

template <typename Score>
int nearestNear(const Game& game, const std::vector<Turret>& list, sf::Vector2f p, float own_radius, float limit,
                float bound, Score score) {
    return nearestNear(gridOf(game, list), list, p, own_radius, limit, bound, score);
}

// Visits the pairs (i of list a, j of list b) that may lie within radius of each other and
// pass keep(i, j), ordered by i and then j, as a walk over a and then b would meet them;
// when a and b are the same list, only the pairs with i < j. keep must not read what visit
// changes: the grid tests every pair before visiting any.
template <typename Keep, typename Visit>
void forEachPairInOrder(Game& game, const std::vector<Turret>& a, const std::vector<Turret>& b, float radius,
                        Keep keep, Visit visit) {
    const bool same = &a == &b;
    const UnitGrid* grid_a = gridOf(game, a);
    const UnitGrid* grid_b = gridOf(game, b);
    // Cells apart along an axis that two units within radius can be.
    float span = (radius + kGridSlack) * (grid_b ? grid_b->inverse_cell : 0);
    if (!grid_a || !grid_b || !(span < 4)) {
        for (size_t i = 0; i < a.size(); ++i)
            for (size_t j = same ? i + 1 : 0; j < b.size(); ++j)
                if (keep(int(i), int(j))) visit(int(i), int(j));
        return;
    }
    const int reach = int(span) + 1;
    // Both grids lie over the same field, so a cell of one is the same cell of the other.
    std::vector<std::uint64_t>& pairs = pairScratch(game);
    pairs.clear();
    auto gather = [&](int i, int j) {
        if (same && j < i) std::swap(i, j);
        if (keep(i, j)) pairs.push_back(std::uint64_t(i) << 32 | std::uint32_t(j));
    };
    for (size_t i = 0; i < a.size(); ++i) {
        int cell = grid_a->cell_of[i];
        int row = cell / grid_a->columns, column = cell % grid_a->columns;
        if (same) {  // the unit's own cell: each pair once, from its lower index
            for (int slot = grid_b->start[size_t(cell)]; slot < grid_b->start[size_t(cell) + 1]; ++slot)
                if (size_t(grid_b->order[size_t(slot)]) > i) gather(int(i), grid_b->order[size_t(slot)]);
        }
        for (int dy = same ? 0 : -reach; dy <= reach; ++dy) {
            int r = row + dy;
            if (r < 0 || r >= grid_b->rows || grid_b->row_count[size_t(r)] == 0) continue;
            // Within one list a pair of cells is looked at from the earlier cell only.
            int first = std::max(0, same && dy == 0 ? column + 1 : column - reach);
            int last = std::min(grid_b->columns - 1, column + reach);
            if (first > last) continue;
            int end = grid_b->start[size_t(r * grid_b->columns + last + 1)];
            for (int slot = grid_b->start[size_t(r * grid_b->columns + first)]; slot < end; ++slot)
                gather(int(i), grid_b->order[size_t(slot)]);
        }
    }
    sortPairs(game, a.size());
    for (std::uint64_t pair : pairs) visit(int(pair >> 32), int(pair & 0xffffffffu));
}
