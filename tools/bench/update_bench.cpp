#include "app/clock.h"
#include "app/game.h"
#include "app/update.h"
#include "battle/combat.h"
#include "battle/state_digest.h"
#include "content/factions.h"

#include <algorithm>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
const float kFrameDt = 1.0f / 60.0f;
const int kUnitCounts[] = {50, 200, 1000};
const int kColumns = 36;  // units per row of a formation, about 33 pixels apart across the field

struct Options {
    int frames = 30;
    int warmup = 5;
    std::string json;  // file for the figures, empty for none
    int units = 0;     // one count a side instead of all three, 0 for all
    bool grid_only = false;  // skip the reference (for profiling the grid)
};

struct Run {
    double ms_per_update = 0;
    std::uint64_t fingerprint = 0;  // of the final state, to show both modes ended alike
    std::size_t projectiles = 0;    // in flight at the end
};

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--grid-only")) options.grid_only = true;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--frames")) options.frames = std::max(1, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--warmup")) options.warmup = std::max(0, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--json")) options.json = argv[i + 1];
        if (!std::strcmp(argv[i], "--units")) options.units = std::max(0, std::atoi(argv[i + 1]));
    }
    return options;
}

// Two armies in loose formations over their halves of the field, fronts 40 pixels apart
// across the middle line, every lane in every row. Mostly cannons, a tenth rockets and a
// tenth lasers; a million hit points so that nobody dies and the count stays fixed.
void placeArmy(Game& game, bool player, int count, std::mt19937& random) {
    std::uniform_real_distribution<float> jitter(-6, 6);
    auto& list = player ? game.player_turrets : game.enemy_turrets;
    for (int i = 0; i < count; ++i) {
        Turret unit(player, i % 3);
        unit.id = game.next_unit_id++;
        unit.weapon = i % 10 == 0 ? RocketLauncher : i % 10 == 5 ? Laser : Cannon;
        unit.hp = 1e6f;
        float x = -180 + 35.0f * float(i % kColumns) + jitter(random);
        float depth = 20 + 30.0f * float(i / kColumns) + jitter(random);
        sf::Vector2f position(x, player ? game.mid_line_y + depth : game.mid_line_y - depth);
        placeUnit(unit, clampIntoField(game, position));
        unit.last_track_pos = unit.position;
        list.push_back(unit);
    }
}

// Processor time of this thread: other programs sharing the cores do not count.
double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// One battle in a fresh game: the same seeds, clocks and formations for both modes.
Run runBattle(int units_per_side, bool use_grid, const Options& options) {
    ManualClockSource clock;
    Game game(GameOptions{true, Seeds{1, 2, 3, 1}, ""});
    game.use_spatial_grid = use_grid;
    game.game_started = game.faction_confirmed = game.level_running = true;
    game.player_faction = Red;
    game.enemy_faction = Blue;
    game.player_money = game.enemy_money = 1e9f;
    std::mt19937 random(20261207u);
    placeArmy(game, true, units_per_side, random);
    placeArmy(game, false, units_per_side, random);
    clock.advance(1.0f);  // every weapon is ready from the first frame

    double spent = 0;
    for (int frame = 0; frame < options.warmup + options.frames; ++frame) {
        clock.advance(kFrameDt);
        double start = threadCpuMilliseconds();
        update(game, kFrameDt);
        if (frame >= options.warmup) spent += threadCpuMilliseconds() - start;
    }
    Run run;
    run.ms_per_update = spent / options.frames;
    run.fingerprint = battleDigest(game);
    run.projectiles = game.projectiles.size();
    return run;
}

// The game and SFML write start-up lines to both streams; the figures go out alone.
struct Quiet {
    Quiet() {
        std::fflush(stdout);
        std::fflush(stderr);
        int null = open("/dev/null", O_WRONLY);
        for (int fd : {1, 2}) {
            saved[fd - 1] = dup(fd);
            dup2(null, fd);
        }
        close(null);
    }
    ~Quiet() {
        std::fflush(stdout);
        std::fflush(stderr);
        for (int fd : {1, 2}) {
            dup2(saved[fd - 1], fd);
            close(saved[fd - 1]);
        }
    }
    int saved[2] = {-1, -1};
};
}  // namespace

// Steps a crowded battle with the frame update alone at 50, 200 and 1,000 units a side,
// once with every battle query walking both unit lists (the quadratic reference) and once
// with the grid, and prints the milliseconds per update of both.
int main(int argc, char** argv) {
    Options options = parseOptions(argc, argv);
    std::printf("Tarvex update benchmark: processor ms per update over %d frames after %d warm-up frames, "
                "dt %.4f s, units in formation with fronts in contact, none dying\n",
                options.frames, options.warmup, kFrameDt);
    std::printf("%12s %18s %14s %9s %12s %11s\n", "units a side", "reference ms", "grid ms", "speed-up",
                "shots alive", "same state");
    std::string json = "{\n  \"frames\": " + std::to_string(options.frames) + ",\n  \"dt\": " +
                       std::to_string(kFrameDt) + ",\n  \"results\": [";
    bool all_same = true;
    for (int count : kUnitCounts) {
        if (options.units) count = options.units;
        Run reference, grid;
        {
            Quiet quiet;
            if (!options.grid_only) reference = runBattle(count, false, options);
            grid = runBattle(count, true, options);
        }
        bool same = options.grid_only || reference.fingerprint == grid.fingerprint;
        all_same = all_same && same;
        std::printf("%12d %18.3f %14.3f %8.1fx %12zu %11s\n", count, reference.ms_per_update, grid.ms_per_update,
                    reference.ms_per_update / grid.ms_per_update, grid.projectiles, same ? "yes" : "NO");
        std::fflush(stdout);
        char entry[256];
        std::snprintf(entry, sizeof entry,
                      "%s\n    {\"units_per_side\": %d, \"reference_ms\": %.4f, \"grid_ms\": %.4f, \"same_state\": %s}",
                      json.back() == '[' ? "" : ",", count, reference.ms_per_update, grid.ms_per_update,
                      same ? "true" : "false");
        json += entry;
        if (options.units) break;
    }
    json += "\n  ]\n}\n";
    if (!options.json.empty()) std::ofstream(options.json) << json;
    return all_same ? 0 : 1;
}
