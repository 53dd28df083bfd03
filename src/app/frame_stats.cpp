#include "app/frame_stats.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/log.h"
#include "app/render_parts.h"

#include <cstdio>
#include <string>

namespace {
// Writes the last second's figures into the overlay's text.
void writeOverlay(Game& game, int frames, double update_ms, double draw_ms) {
    char line[200];
    std::snprintf(line, sizeof line, "FPS %d\nupdate %.2f ms\ndraw %.2f ms\nunits %zu/%zu\nshots %zu\ndraw calls %d",
                  frames, update_ms, draw_ms, game.player_turrets.size(), game.enemy_turrets.size(),
                  game.projectiles.size(), game.frontend->canvas.draw_calls);
    std::string shown = line;
    if (game.network_mode && game.lobby.connected) {
        // The round trip, and how old the battle the joining game follows is.
        const std::int64_t at = game.sync.snapshot_at_us;
        std::snprintf(line, sizeof line, "\nround trip %d ms\nsnapshot age %d ms", game.link.round_trip_ms,
                      at < 0 ? -1 : int((realNowMicroseconds() - at) / 1000));
        shown += line;
    }
    sf::Text& text = game.frontend->frame_stats.overlay_text;
    text.setFont(game.frontend->ui_font);
    text.setCharacterSize(13);
    text.setFillColor(sf::Color(200, 255, 200));
    text.setString(shown);
}
}  // namespace

std::string fpsLogLine(int frames, double update_ms, double draw_ms, std::size_t player_units,
                       std::size_t enemy_units) {
    char line[160];
    std::snprintf(line, sizeof line, "FPS %d update %.2f draw %.2f units %zu/%zu", frames, update_ms, draw_ms,
                  player_units, enemy_units);
    return line;
}

void recordFrame(Game& game, double update_seconds, double draw_seconds) {
    FrameStats& stats = game.frontend->frame_stats;
    ++stats.frames;
    stats.update_seconds += update_seconds;
    stats.draw_seconds += draw_seconds;
    if (stats.second_clock.elapsedSeconds() < 1.0f) return;
    double update_ms = 1000 * stats.update_seconds / stats.frames;
    double draw_ms = 1000 * stats.draw_seconds / stats.frames;
    if (stats.log_each_second)
        logLine(fpsLogLine(stats.frames, update_ms, draw_ms, game.player_turrets.size(), game.enemy_turrets.size()));
    if (stats.overlay_shown) writeOverlay(game, stats.frames, update_ms, draw_ms);
    stats.second_clock.restart();
    stats.frames = 0;
    stats.update_seconds = stats.draw_seconds = 0;
}

void toggleFrameOverlay(Game& game) {
    FrameStats& stats = game.frontend->frame_stats;
    stats.overlay_shown = !stats.overlay_shown;
    if (stats.overlay_shown) writeOverlay(game, 0, 0, 0);  // figures follow at the end of the second
}

void drawFrameOverlay(Game& game) {
    if (!game.frontend->frame_stats.overlay_shown) return;
    sf::RenderTarget& target = renderTarget(game);
    flushCanvas(game.frontend->canvas);
    target.setView(target.getDefaultView());
    sf::Text& text = game.frontend->frame_stats.overlay_text;
    float x = float(target.getSize().x) - 160;
    text.setPosition({x + 6, 118});
    RectParts<float> bounds = partsOf(text.getGlobalBounds());
    sf::Transformable placement;
    placement.setPosition({x, 114});
    drawRectangle(game.frontend->canvas, {150, bounds.top + bounds.height + 6 - 114}, placement,
                  ShapeStyle{sf::Color(0, 0, 0, 170)});
    drawDirect(game.frontend->canvas, text);
}
