#include "battle/unit_grid.h"
#include "app/game.h"

#include <functional>

namespace {
// About the spacing of a crowded lane: a blocking or push query looks at 2 x 2 cells.
constexpr float kCellSize = 32.0f;

// Inlined into the refresh and the re-bucketing of a moved unit, which ask it for every unit.
[[gnu::always_inline]] inline int cellAt(const UnitGrid& grid, sf::Vector2f p) {
    return gridRow(grid, p.y) * grid.columns + gridColumn(grid, p.x);
}

void setBit(std::uint64_t* words, int index, bool set) {
    std::uint64_t bit = std::uint64_t(1) << (index & 63);
    words[index >> 6] = set ? words[index >> 6] | bit : words[index >> 6] & ~bit;
}

void setOccupied(UnitGrid& grid, int cell, bool occupied) {
    int row = cell / grid.columns;
    setBit(grid.occupied.data() + size_t(row * grid.words), cell % grid.columns, occupied);
}

void countInRow(UnitGrid& grid, int row, int change) {
    int& count = grid.row_count[size_t(row)];
    count += change;
    setBit(grid.rows_occupied.data(), row, count > 0);
}

bool cellEmpty(const UnitGrid& grid, int cell) { return grid.start[size_t(cell)] == grid.start[size_t(cell) + 1]; }

void swapSlots(UnitGrid& grid, int slot, int other) {
    int unit = grid.order[size_t(slot)], swapped = grid.order[size_t(other)];
    grid.order[size_t(slot)] = swapped;
    grid.order[size_t(other)] = unit;
    grid.slot_of[size_t(swapped)] = slot;
    grid.slot_of[size_t(unit)] = other;
}

// Moves a unit to another cell of the listing: it steps over each cell between, trading
// places with that cell's end slot, and the cell boundary moves past it. Units rarely leave
// their cell, and mostly for a neighbouring one.
void moveToCell(UnitGrid& grid, int unit, int cell) {
    int from = grid.cell_of[size_t(unit)];
    for (int c = from; c < cell; ++c) {
        int last = grid.start[size_t(c) + 1] - 1;
        swapSlots(grid, grid.slot_of[size_t(unit)], last);
        grid.start[size_t(c) + 1] = last;
    }
    for (int c = from; c > cell; --c) {
        int first = grid.start[size_t(c)];
        swapSlots(grid, grid.slot_of[size_t(unit)], first);
        grid.start[size_t(c)] = first + 1;
    }
    grid.cell_of[size_t(unit)] = cell;
    if (cellEmpty(grid, from)) setOccupied(grid, from, false);
    setOccupied(grid, cell, true);
    countInRow(grid, from / grid.columns, -1);
    countInRow(grid, cell / grid.columns, +1);
}

// Lists every unit anew by its cell (a counting sort), as after units joined or left.
void listUnits(UnitGrid& grid, const std::vector<Turret>& units) {
    size_t cells = size_t(grid.columns * grid.rows);
    grid.start.assign(cells + 1, 0);
    grid.cell_of.resize(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        grid.cell_of[i] = cellAt(grid, units[i].position);
        ++grid.start[size_t(grid.cell_of[i]) + 1];
    }
    for (size_t cell = 0; cell < cells; ++cell) grid.start[cell + 1] += grid.start[cell];
    grid.order.resize(units.size());
    grid.slot_of.resize(units.size());
    // Each cell's start moves on as its units go in, to the start of the next cell.
    for (size_t i = 0; i < units.size(); ++i) {
        int slot = grid.start[size_t(grid.cell_of[i])]++;
        grid.order[size_t(slot)] = int(i);
        grid.slot_of[i] = slot;
    }
    for (size_t cell = cells; cell > 0; --cell) grid.start[cell] = grid.start[cell - 1];
    grid.start[0] = 0;
    std::fill(grid.occupied.begin(), grid.occupied.end(), 0);
    std::fill(grid.row_count.begin(), grid.row_count.end(), 0);
    std::fill(grid.rows_occupied.begin(), grid.rows_occupied.end(), 0);
    for (size_t cell = 0; cell < cells; ++cell) {
        int count = grid.start[cell + 1] - grid.start[cell];
        if (count == 0) continue;
        setOccupied(grid, int(cell), true);
        countInRow(grid, int(cell) / grid.columns, count);
    }
}

bool sameField(const UnitGrid& grid, const WorldBounds& bounds) {
    return grid.bounds[0] == bounds.min_x && grid.bounds[1] == bounds.max_x && grid.bounds[2] == bounds.min_y &&
           grid.bounds[3] == bounds.max_y;
}

// Lays empty cells over the field.
void layCells(UnitGrid& grid, const WorldBounds& bounds) {
    grid.cell_size = kCellSize;
    grid.inverse_cell = 1.0f / kCellSize;
    grid.origin_x = bounds.min_x;
    grid.origin_y = bounds.min_y;
    grid.columns = std::max(1, int(std::ceil((bounds.max_x - bounds.min_x) / kCellSize)));
    grid.rows = std::max(1, int(std::ceil((bounds.max_y - bounds.min_y) / kCellSize)));
    grid.start.assign(size_t(grid.columns * grid.rows) + 1, 0);
    grid.row_count.assign(size_t(grid.rows), 0);
    grid.words = (grid.columns + 63) / 64;
    grid.occupied.assign(size_t(grid.rows * grid.words), 0);
    grid.rows_occupied.assign(size_t((grid.rows + 63) / 64), 0);
    grid.order.clear();
    grid.slot_of.clear();
    grid.cell_of.clear();
    grid.at.clear();
    grid.bounds[0] = bounds.min_x;
    grid.bounds[1] = bounds.max_x;
    grid.bounds[2] = bounds.min_y;
    grid.bounds[3] = bounds.max_y;
}

// Moves the units whose cell changed since the last step to their new cells; lists all
// anew when units joined or left (after a sweep, every unit behind a swept one is another
// unit at its index). Kept out of line so that every grid lookup stays a few instructions.
[[gnu::noinline]] void refreshGrid(UnitGrid& grid, const std::vector<Turret>& units, const WorldBounds& bounds) {
    if (!sameField(grid, bounds)) layCells(grid, bounds);
    bool relist = units.size() != grid.cell_of.size();
    if (relist) listUnits(grid, units);
    grid.at.resize(units.size());
    grid.lane_count = {};
    grid.max_radius = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        const Turret& unit = units[i];
        // Most units stand where the last refresh found them, in the same cell.
        bool stood = unit.position == grid.at[i];
        grid.at[i] = unit.position;
        if (!relist && !stood) {
            int cell = cellAt(grid, unit.position);
            if (cell != grid.cell_of[i]) moveToCell(grid, int(i), cell);
        }
        if (unit.lane >= 0 && unit.lane < 3) ++grid.lane_count[size_t(unit.lane)];
        grid.max_radius = std::max(grid.max_radius, unit.radius);
    }
    grid.current = true;
}

}  // namespace

int indexIn(const std::vector<Turret>& list, const Turret& unit) {
    if (list.empty()) return -1;
    std::less_equal<const Turret*> not_after;
    if (!not_after(&list.front(), &unit) || !not_after(&unit, &list.back())) return -1;
    return int(&unit - list.data());
}

GridStep::GridStep(Game& game_) : game(game_) {
    UnitGrids& grids = game.unit_grids;
    if (!game.use_spatial_grid || grids.built) return;
    grids.player.current = grids.enemy.current = false;
    grids.built = owner = true;
}

GridStep::~GridStep() {
    if (owner) game.unit_grids.built = false;
}

const UnitGrid* gridOf(const Game& game, const std::vector<Turret>& list) {
    const UnitGrids& grids = game.unit_grids;
    if (!grids.built) return nullptr;
    const UnitGrid* grid = &list == &game.player_turrets  ? &grids.player
                           : &list == &game.enemy_turrets ? &grids.enemy
                                                          : nullptr;
    if (!grid) return nullptr;
    // Bringing the grid up to date changes no answer, only how it is found.
    if (!grid->current) refreshGrid(const_cast<UnitGrid&>(*grid), list, game.world_bounds);
    // A list that changed length inside the step is walked instead (no step adds or removes units).
    if (grid->cell_of.size() != list.size()) return nullptr;
    return grid;
}

SideGrids sideGrids(const Game& game) { return {gridOf(game, game.player_turrets), gridOf(game, game.enemy_turrets)}; }

void syncUnit(Game& game, const Turret& unit) {
    UnitGrids& grids = game.unit_grids;
    if (!grids.built) return;
    for (auto [list, grid] : {std::pair{&game.player_turrets, &grids.player}, std::pair{&game.enemy_turrets, &grids.enemy}}) {
        int index = indexIn(*list, unit);
        if (index < 0 || !grid->current || grid->cell_of.size() != list->size()) continue;
        syncUnitAt(grid, index, unit.position);
        return;
    }
}

void syncUnitAt(const UnitGrid* held, int index, sf::Vector2f position) {
    if (!held) return;
    // Queries see the grid as const; it is the game's own, kept up to date here.
    UnitGrid& grid = const_cast<UnitGrid&>(*held);
    grid.at[size_t(index)] = position;
    int cell = cellAt(grid, position);
    if (cell != grid.cell_of[size_t(index)]) moveToCell(grid, index, cell);
}

std::vector<int>& gridScratch(Game& game) { return game.unit_grids.found; }
std::vector<std::uint64_t>& pairScratch(Game& game) { return game.unit_grids.pairs; }

// Each unit has a few neighbours at most: the pairs are bucketed by their first index, and
// each bucket, a few pairs, is sorted on its own.
void sortPairs(Game& game, size_t count) {
    UnitGrids& grids = game.unit_grids;
    std::vector<std::uint64_t>& pairs = grids.pairs;
    std::vector<int>& starts = grids.pair_starts;
    starts.assign(count + 1, 0);
    for (std::uint64_t pair : pairs) ++starts[size_t(pair >> 32) + 1];
    for (size_t i = 0; i < count; ++i) starts[i + 1] += starts[i];
    std::vector<std::uint64_t>& sorted = grids.sorted_pairs;
    sorted.resize(pairs.size());
    for (std::uint64_t pair : pairs) sorted[size_t(starts[size_t(pair >> 32)]++)] = pair;
    // Each start now stands at the end of its bucket, which is the beginning of the next.
    size_t begin = 0;
    for (size_t i = 0; i < count; ++i) {
        size_t end = size_t(starts[i]);
        if (end - begin > 1) std::sort(sorted.begin() + std::ptrdiff_t(begin), sorted.begin() + std::ptrdiff_t(end));
        begin = end;
    }
    pairs.swap(sorted);
}
