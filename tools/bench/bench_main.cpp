#include "app/clock.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/render.h"
#include "app/renderer.h"
#include "app/sfml_compat.h"
#include "app/update.h"
#include "battle/projectile.h"
#include "bench_scene.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <nlohmann/json.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "picture_compare.h"

namespace {
const float kFrameDt = 1.0f / 240.0f;   // a fast uncapped loop's frame time, fixed for repeatable updates
const float kMatchWarmUp = 30.0f;       // seconds of level 10 played before the match scene is measured
const float kMatchStepDt = 1.0f / 60.0f;
// A batched picture may differ from the per-shape reference by this much in a channel:
// the floor shader blends its layers in one step where the shapes round after each one.
const int kPictureTolerance = 3;

struct Options {
    int frames = 300;
    int warmup = 20;
    std::string screenshots;  // directory for the pictures of each scene, empty for none
    std::string json;         // file for the results as JSON, empty for none
    int antialiasing = -1;    // reopen the window with this anti-aliasing level; -1 keeps the game's
    bool plain = false;       // without the floor shader, point sprites and unit cells, as the game drew before
};

struct ModeResult {
    std::string scene;
    std::string mode;
    double update_seconds = 0;
    double draw_seconds = 0;
    double cpu_seconds = 0;  // of the whole process, the renderer's threads included
    long draw_calls = 0;
    int frames = 0;
    double fps() const { return frames / (update_seconds + draw_seconds); }
};

struct PictureResult : PictureDifference {
    std::string scene;
};

using Seconds = std::chrono::duration<double>;

// CPU time of the process: on a loaded machine the wall clock counts other programs'
// turns too, this does not.
double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        if (!std::strcmp(argv[i], "--plain")) {
            options.plain = true;
            continue;
        }
        if (!std::strcmp(argv[i], "--frames")) options.frames = std::max(1, std::atoi(value));
        if (!std::strcmp(argv[i], "--warmup")) options.warmup = std::max(0, std::atoi(value));
        if (!std::strcmp(argv[i], "--screenshots")) options.screenshots = value;
        if (!std::strcmp(argv[i], "--json")) options.json = value;
        if (!std::strcmp(argv[i], "--antialiasing")) options.antialiasing = std::max(0, std::atoi(value));
        ++i;
    }
    return options;
}

std::string loadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// Every frame of the crowded scene shows two of the five factions, so that over five
// frames every faction's art is drawn for both sides.
void pickFactions(Game& game, int frame) {
    game.player_faction = frame % 5;
    game.enemy_faction = (frame + 2) % 5;
}

void drainEvents(Game& game) {
    while (pollInput(game.frontend->window)) {
    }
}

// What one scene does around the frame update and drawing.
struct Scene {
    std::string name;
    bool both_modes = true;                 // batched and per-shape; false: the empty frame only
    std::function<void(int frame)> prepare; // restores or plays on before each frame
};

ModeResult measure(Game& game, ManualClockSource& clock, const Scene& scene, bool batched, const Options& options) {
    game.frontend->canvas.batched = batched;
    ModeResult result;
    result.scene = scene.name;
    result.mode = !scene.both_modes ? "clear+display" : batched ? "batched" : "per-shape";
    for (int frame = 0; frame < options.warmup + options.frames; ++frame) {
        scene.prepare(frame);
        drainEvents(game);
        game.frontend->canvas.draw_calls = 0;
        double cpu_start = processCpuSeconds();
        auto start = std::chrono::steady_clock::now();
        if (scene.both_modes) update(game, kFrameDt);
        auto updated = std::chrono::steady_clock::now();
        if (scene.both_modes) {
            render(game);
        } else {
            game.frontend->window.clear(sf::Color(30, 30, 50));
            game.frontend->window.display();
        }
        auto drawn = std::chrono::steady_clock::now();
        double cpu_used = processCpuSeconds() - cpu_start;
        clock.advance(kFrameDt);
        if (frame < options.warmup) continue;
        result.cpu_seconds += cpu_used;
        result.update_seconds += Seconds(updated - start).count();
        result.draw_seconds += Seconds(drawn - updated).count();
        result.draw_calls += game.frontend->canvas.draw_calls;
        ++result.frames;
    }
    return result;
}

// The frame as drawn into a texture in one mode. The panel's labels show the previous
// frame's prices until redrawn, and each rocket flickers its flame on, so the frame is
// drawn twice and the flame restarted.
sf::Image picture(Game& game, bool batched) {
    sf::RenderTexture texture;
    resizeRenderTexture(texture, game.frontend->window.getSize());
    game.frontend->canvas.target = &texture;
    game.frontend->canvas.batched = batched;
    render(game);
    flame_phase = 0;
    render(game);
    texture.display();
    game.frontend->canvas.target = &game.frontend->window;
    return texture.getTexture().copyToImage();
}

PictureResult compareScene(Game& game, const std::string& scene, const Options& options) {
    sf::Image batched = picture(game, true);
    sf::Image reference = picture(game, false);
    if (!options.screenshots.empty()) {
        for (auto [picture, name] : {std::pair(&batched, "_batched.png"), std::pair(&reference, "_per_shape.png")})
            if (!picture->saveToFile(options.screenshots + "/" + scene + name))
                std::fprintf(stderr, "Could not save %s%s in %s\n", scene.c_str(), name, options.screenshots.c_str());
    }
    PictureResult result;
    static_cast<PictureDifference&>(result) = comparePictures(batched, reference, kPictureTolerance);
    result.scene = scene;
    return result;
}

void printMode(const ModeResult& r, double empty_fps) {
    std::printf("%-8s %-13s %8.1f fps  %5.1f%% of empty   update %7.3f ms   draw %8.3f ms   cpu %8.3f ms   %6ld draw "
                "calls\n",
                r.scene.c_str(), r.mode.c_str(), r.fps(), 100 * r.fps() / empty_fps, 1000 * r.update_seconds / r.frames,
                1000 * r.draw_seconds / r.frames, 1000 * r.cpu_seconds / r.frames, r.draw_calls / r.frames);
}

void printPicture(const PictureResult& p) {
    std::printf("%-8s batched against per-shape: %ld of %ld pixels differ, %ld by more than %d (%ld with no match "
                "within a pixel), largest channel difference %d\n",
                p.scene.c_str(), p.differing, p.pixels, p.beyond_tolerance, kPictureTolerance, p.unmatched,
                p.largest_difference);
}

// The README's table, as printed.
void printMarkdown(const std::vector<ModeResult>& modes, const std::vector<PictureResult>& pictures, double empty_fps) {
    std::printf("\n| Scene | Mode | Frames per second | Of empty | Update per frame | Drawing per frame | Draw calls per "
                "frame | CPU per frame |\n|---|---|---|---|---|---|---|---|\n");
    for (const ModeResult& r : modes)
        std::printf("| %s | %s | %.1f | %.0f %% | %.2f ms | %.2f ms | %ld | %.2f ms |\n", r.scene.c_str(), r.mode.c_str(),
                    r.fps(), 100 * r.fps() / empty_fps, 1000 * r.update_seconds / r.frames,
                    1000 * r.draw_seconds / r.frames, r.draw_calls / r.frames, 1000 * r.cpu_seconds / r.frames);
    std::printf("\n| Scene | Pixels differing from per-shape | By more than %d | Of those, no match within a pixel "
                "| Largest channel difference |\n|---|---|---|---|---|\n",
                kPictureTolerance);
    for (const PictureResult& p : pictures)
        std::printf("| %s | %ld of %ld | %ld | %ld | %d |\n", p.scene.c_str(), p.differing, p.pixels,
                    p.beyond_tolerance, p.unmatched, p.largest_difference);
}

void writeJson(const std::string& path, const nlohmann::json& document) {
    std::ofstream file(path);
    file << document.dump(2) << "\n";
    if (!file) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

nlohmann::json modeJson(const ModeResult& r, double empty_fps) {
    return {{"scene", r.scene}, {"mode", r.mode}, {"fps", r.fps()}, {"fraction_of_empty", r.fps() / empty_fps},
            {"update_ms", 1000 * r.update_seconds / r.frames}, {"draw_ms", 1000 * r.draw_seconds / r.frames},
            {"cpu_ms", 1000 * r.cpu_seconds / r.frames}, {"draw_calls", r.draw_calls / r.frames}, {"frames", r.frames}};
}

nlohmann::json pictureJson(const PictureResult& p) {
    return {{"scene", p.scene}, {"pixels", p.pixels}, {"differing_pixels", p.differing},
            {"pixels_beyond_tolerance", p.beyond_tolerance}, {"tolerance", kPictureTolerance},
            {"pixels_unmatched_within_a_pixel", p.unmatched},
            {"largest_channel_difference", p.largest_difference}};
}

void reopenWindow(Game& game, int antialiasing) {
    openWindow(game.frontend->window, false, unsigned(antialiasing));
}
}  // namespace

// Measures four scenes in the game's own window: the empty frame (the machine's limit),
// the main menu, level 10 after 30 s of scripted play, and a crowded match under fire;
// each drawn batched and shape by shape (the reference), with the pictures compared.
int main(int argc, char** argv) {
    Options options = parseOptions(argc, argv);
    ManualClockSource clock;
    Game game;
    if (options.antialiasing >= 0) reopenWindow(game, options.antialiasing);
    game.frontend->canvas.fast_paths = !options.plain;
    std::string renderer = rendererName();
    unsigned antialiasing = antialiasingOf(game.frontend->window);
    std::string load_before = loadAverage();
    std::printf("Tarvex drawing benchmark: %ux%u window, renderer %s, anti-aliasing level %u granted%s\n",
                game.frontend->window.getSize().x, game.frontend->window.getSize().y, renderer.c_str(), antialiasing,
                options.plain ? ", plain drawing (no floor shader, point sprites or unit cells)" : "");
    std::printf("%d measured frames per mode after %d warm-up frames, update dt %.4f s, load average %s\n",
                options.frames, options.warmup, kFrameDt, load_before.c_str());

    std::vector<ModeResult> modes;
    std::vector<PictureResult> pictures;
    auto run = [&](const Scene& scene) {
        if (scene.both_modes) {
            modes.push_back(measure(game, clock, scene, true, options));
            modes.push_back(measure(game, clock, scene, false, options));
        } else {
            modes.push_back(measure(game, clock, scene, true, options));
        }
    };

    run({"empty", false, [](int) {}});
    run({"menu", true, [](int) {}});
    pictures.push_back(compareScene(game, "menu", options));

    ScriptedPlayer player;
    playMatchScene(game, clock, player, kMatchWarmUp, kMatchStepDt);
    std::printf("match: level 10 after %.0f s of scripted play: %zu player units, %zu enemy units, %zu shots\n",
                kMatchWarmUp, game.player_turrets.size(), game.enemy_turrets.size(), game.projectiles.size());
    run({"match", true, [&](int) { stepScriptedPlayer(game, player, kFrameDt); }});
    pictures.push_back(compareScene(game, "match", options));

    game.player_turrets.clear();
    game.enemy_turrets.clear();
    game.projectiles.clear();
    BenchScene crowded = buildBenchScene(game, 150, 100, 20);
    std::printf("crowded: %zu + %zu units (factions cycling through all five), %d shells, %d rockets, %zu smoke "
                "puffs, %zu particles, %zu explosions, %zu track marks, %zu laser beams\n",
                crowded.player_turrets.size(), crowded.enemy_turrets.size(), 100, 20, smokePuffCount(crowded),
                crowded.particles.size(), crowded.explosions.size(), crowded.track_marks.size(),
                crowded.laser_beams.size());
    auto restore = [&](int frame) {
        if (frame == 0) {
            std::srand(7);
            game.effects.rng.seed(7);
        }
        pickFactions(game, frame);
        restoreBenchScene(game, crowded);
    };
    run({"crowded", true, restore});
    restore(0);
    pictures.push_back(compareScene(game, "crowded", options));

    double empty_fps = modes.front().fps();
    for (const ModeResult& mode : modes) printMode(mode, empty_fps);
    for (const PictureResult& p : pictures) printPicture(p);
    std::string load_after = loadAverage();
    std::printf("load average after: %s\n", load_after.c_str());
    printMarkdown(modes, pictures, empty_fps);

    if (!options.json.empty()) {
        nlohmann::json document = {{"renderer", renderer},
                                   {"antialiasing", antialiasing},
                                   {"window", {game.frontend->window.getSize().x, game.frontend->window.getSize().y}},
                                   {"plain", options.plain},
                                   {"frames", options.frames},
                                   {"warmup", options.warmup},
                                   {"load_average_before", load_before},
                                   {"load_average_after", load_after},
                                   {"modes", nlohmann::json::array()},
                                   {"pictures", nlohmann::json::array()}};
        for (const ModeResult& mode : modes) document["modes"].push_back(modeJson(mode, empty_fps));
        for (const PictureResult& p : pictures) document["pictures"].push_back(pictureJson(p));
        writeJson(options.json, document);
    }
    return 0;
}
