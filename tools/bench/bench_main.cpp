#include "app/clock.h"
#include "app/game.h"
#include "app/render.h"
#include "app/update.h"
#include "bench_scene.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
const float kFrameDt = 1.0f / 240.0f;  // a fast uncapped loop's frame time, fixed for repeatable updates

struct Options {
    int frames = 300;
    int warmup = 20;
    std::string screenshots;  // directory for one picture per mode, empty for none
    int antialiasing = -1;    // reopen the window with this anti-aliasing level; -1 keeps the game's
};

struct ModeResult {
    double update_seconds = 0;
    double draw_seconds = 0;
    long draw_calls = 0;
    int frames = 0;
    double fps() const { return frames / (update_seconds + draw_seconds); }
};

using Seconds = std::chrono::duration<double>;

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--frames")) options.frames = std::max(1, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--warmup")) options.warmup = std::max(0, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--screenshots")) options.screenshots = argv[i + 1];
        if (!std::strcmp(argv[i], "--antialiasing")) options.antialiasing = std::max(0, std::atoi(argv[i + 1]));
    }
    return options;
}

// Every frame shows two of the five factions, so that over five frames every faction's
// art is drawn for both sides.
void pickFactions(Game& game, int frame) {
    game.player_faction = frame % 5;
    game.enemy_faction = (frame + 2) % 5;
}

void drainEvents(Game& game) {
    sf::Event event;
    while (game.window.pollEvent(event)) {
    }
}

sf::Image screenshot(Game& game, const BenchScene& scene) {
    sf::RenderTexture texture;
    texture.create(game.window.getSize().x, game.window.getSize().y);
    pickFactions(game, 0);
    restoreBenchScene(game, scene);
    game.canvas.target = &texture;
    render(game);     // the panel's labels show the previous frame's prices until redrawn
    flame_phase = 0;  // the rockets' flames flicker from frame to frame
    render(game);
    texture.display();
    game.canvas.target = &game.window;
    return texture.getTexture().copyToImage();
}

ModeResult runMode(Game& game, const BenchScene& scene, ManualClockSource& clock, bool batched, const Options& options) {
    game.canvas.batched = batched;
    std::srand(7);
    game.effects.rng.seed(7);
    ModeResult result;
    for (int frame = 0; frame < options.warmup + options.frames; ++frame) {
        pickFactions(game, frame);
        restoreBenchScene(game, scene);
        drainEvents(game);
        game.canvas.draw_calls = 0;
        auto start = std::chrono::steady_clock::now();
        update(game, kFrameDt);
        auto updated = std::chrono::steady_clock::now();
        render(game);
        auto drawn = std::chrono::steady_clock::now();
        clock.advance(kFrameDt);
        if (frame < options.warmup) continue;
        result.update_seconds += Seconds(updated - start).count();
        result.draw_seconds += Seconds(drawn - updated).count();
        result.draw_calls += game.canvas.draw_calls;
        ++result.frames;
    }
    return result;
}

void printMode(const char* name, const ModeResult& r) {
    std::printf("%-10s %8.1f fps   update %7.3f ms/frame   draw %8.3f ms/frame   %7ld draw calls/frame\n", name,
                r.fps(), 1000 * r.update_seconds / r.frames, 1000 * r.draw_seconds / r.frames,
                r.draw_calls / r.frames);
}

long differingPixels(const sf::Image& a, const sf::Image& b) {
    long count = 0;
    sf::Vector2u size = a.getSize();
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x) count += a.getPixel(x, y) != b.getPixel(x, y);
    return count;
}
}  // namespace

// Draws a crowded match for a fixed number of frames in the real window, first batched,
// then shape by shape, and prints frames per second and the update/draw split of each.
int main(int argc, char** argv) {
    Options options = parseOptions(argc, argv);
    ManualClockSource clock;
    Game game;
    if (options.antialiasing >= 0) {
        sf::ContextSettings settings;
        settings.antialiasingLevel = unsigned(options.antialiasing);
        game.window.create(sf::VideoMode(1280, 720, 32), "Tarvex", sf::Style::Titlebar | sf::Style::Resize | sf::Style::Close,
                           settings);
    }
    game.game_started = true;
    game.faction_confirmed = true;
    game.level_running = true;
    BenchScene scene = buildBenchScene(game, 150, 100, 20);

    std::printf("Tarvex drawing benchmark: %zu + %zu units (factions cycling through all five), %d shells, "
                "%d rockets, %zu smoke puffs, %zu particles, %zu explosions, %zu track marks, %zu laser beams\n",
                scene.player_turrets.size(), scene.enemy_turrets.size(), 100, 20, smokePuffCount(scene),
                scene.particles.size(), scene.explosions.size(), scene.track_marks.size(), scene.laser_beams.size());
    std::printf("%ux%u window with anti-aliasing level %u, hex floor %s, %d measured frames per mode after %d "
                "warm-up frames, update dt %.4f s\n",
                game.window.getSize().x, game.window.getSize().y, game.window.getSettings().antialiasingLevel,
                game.hex_grid_enabled ? "on" : "off", options.frames, options.warmup, kFrameDt);

    ModeResult batched = runMode(game, scene, clock, true, options);
    ModeResult per_shape = runMode(game, scene, clock, false, options);
    printMode("batched", batched);
    printMode("per-shape", per_shape);
    std::printf("batched / per-shape: %.2fx frames per second, %.2fx faster drawing\n", batched.fps() / per_shape.fps(),
                per_shape.draw_seconds / batched.draw_seconds);

    if (!options.screenshots.empty()) {
        game.canvas.batched = true;
        sf::Image batched_picture = screenshot(game, scene);
        game.canvas.batched = false;
        sf::Image reference = screenshot(game, scene);
        batched_picture.saveToFile(options.screenshots + "/bench_batched.png");
        reference.saveToFile(options.screenshots + "/bench_per_shape.png");
        std::printf("pictures differ in %ld of %u pixels\n", differingPixels(batched_picture, reference),
                    reference.getSize().x * reference.getSize().y);
    }
    return 0;
}
