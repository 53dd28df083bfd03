#pragma once
#include "app/clock.h"
#include "app/sfml_compat_view.h"

#include <cstddef>
#include <string>

struct Game;

// Frame times as players report them: the F3 overlay and the --fps-log line, both
// refreshed once a second from the frames of that second.
struct FrameStats {
    bool overlay_shown = false;    // F3 toggles it; off by default
    bool log_each_second = false;  // --fps-log
    Clock second_clock;            // restarted when a second's figures are taken
    int frames = 0;                // frames so far in the current second
    double update_seconds = 0;     // summed over the current second
    double draw_seconds = 0;
    UiText overlay_text;         // rebuilt once a second, not every frame
};

// Counts one frame of the loop; once a second takes the figures, prints the log line
// when asked to and rewrites the overlay.
void recordFrame(Game& game, double update_seconds, double draw_seconds);
// "FPS <frames> update <ms> draw <ms> units <player>/<enemy>", ms per frame with two decimals.
std::string fpsLogLine(int frames, double update_ms, double draw_ms, std::size_t player_units,
                       std::size_t enemy_units);
void toggleFrameOverlay(Game& game);
// In the top-right corner under the minimap; draws nothing while the overlay is off.
void drawFrameOverlay(Game& game);
