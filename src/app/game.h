#pragma once
#include "app/clock.h"
#include "battle/battle_events.h"
#include "battle/effects.h"
#include "battle/geometry.h"
#include "battle/hex_grid.h"
#include "battle/projectile.h"
#include "battle/turret.h"
#include "battle/unit_grid.h"
#include "content/progress.h"
#include "content/replay.h"
#include "content/settings.h"
#include "content/texts.h"
#include "content/upgrades.h"
#include "net/battle_sync.h"
#include "net/lan_lobby.h"
#include "net/peer_link.h"

#include <SFML/Graphics/ConvexShape.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/View.hpp>
#include <nlohmann/json.hpp>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

// The window, its pictures and fonts, the texts kept between frames and the sound bank:
// everything a game without a window goes without (app/frontend.h).
struct Frontend;

// Device state sampled once per frame by the loop before the update; the frame steps
// read it instead of the devices, so a test can drive them.
struct FrameInput {
    sf::Vector2i mouse;         // window coordinates
    bool left_button = false;
    bool key_up = false;
    bool key_down = false;
};

// A seed for every random engine. With the same seeds, the same frame times and the same
// input, two games play the same battle bit for bit, with a window or without.
struct Seeds {
    unsigned rand = 1;     // the battle's rand (battle_rand.h): enemy faction, handshake, recoil, rockets, waves
    unsigned effects = 2;  // sparks and smoke
    unsigned sounds = 3;   // pitch and volume of the effects
    unsigned units = 4;    // the game's own engine
};

struct GameOptions {
    // No window, GL context, audio device, font, pictures or sounds: the battle, the
    // screen flow and the network link alone, for tests and for playing without a screen.
    bool headless = false;
    // Without seeds the engines start from the clock and the random device.
    std::optional<Seeds> seeds;
    // "en" or "zh" shows that language whatever the settings say (--lang); "" follows them.
    std::string language;
};

// The one object that owns all state. Every subsystem receives it by reference.
struct Game {
    Game();   // start-up with a window: window, lobby, audio, font, config, hex grid, pictures, levels
    explicit Game(const GameOptions& options);
    ~Game();  // teardown: network threads first, then everything else
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Hex territory floor
    std::vector<HexCell> hex_cells;          // one per hexagon, row by row
    std::vector<sf::ConvexShape> hex_shapes; // the drawable hexagon of the cell with the same index
    float hex_radius = 28.0f;
    float hex_spacing_x = 48.496f;
    float hex_spacing_y = 42.0f;
    std::uint8_t hex_grid_enabled = 0;       // set once the grid is built

    LaserValues lasers;
    Effects effects;
    LanLobby lobby;

    std::unique_ptr<Frontend> frontend;      // null in a headless game
    sf::View world_view;                     // battlefield camera
    sf::Vector2f camera_target{450, 300};    // the camera eases towards it
    float camera_key_speed = 500.0f;         // field units per second for Up/Down
    FrameInput input;
    WorldBounds world_bounds;
    float mid_line_y = 300.0f;
    float player_spawn_y = 1200.0f;
    float enemy_spawn_y = -600.0f;

    // Screen flow flags; which screen shows follows from them (see screen.h)
    bool game_started = false;       // a mode was chosen on the main menu
    bool network_mode = false;       // NETWORK was chosen
    bool lobby_active = false;       // the LAN lobby is required
    bool faction_confirmed = false;
    int hovered_faction = -1;        // faction card picked by the first click, -1 none
    bool level_select_active = false;
    bool level_running = false;
    bool opponent_ready = false;     // the network opponent said it is ready
    bool game_over = false;          // results are showing
    bool match_won = false;          // the results are the local side's victory
    bool paused = false;             // P in a single-player match: nothing moves, the match clocks are held
    float results_timer = 0.0f;      // seconds since the results appeared
    float results_duration = 3.0f;

    // Sides and economy; the local side is always the "player" at the bottom
    int player_faction = 0;
    int enemy_faction = 0;
    float player_money = 1000.0f;
    float enemy_money = 1000.0f;
    std::array<float, 2> start_money{1000.0f, 1000.0f};  // player, enemy; restored by every reset
    float player_income = 10.0f;     // money per income tick before the faction factor
    float enemy_income = 10.0f;
    Clock income_clock;
    Clock match_clock;               // time base of the level's schedules
    float player_projectile_speed = 200.0f;
    float enemy_projectile_speed = 200.0f;
    float player_projectile_lifetime = 1.0f;  // seconds of shell flight
    float enemy_projectile_lifetime = 1.0f;
    UpgradeState player_upgrades;
    UpgradeState enemy_upgrades;
    std::array<float, 3> lane_x{380.0f, 450.0f, 520.0f};
    Rect player_base{-150, 1180, 1200, 40};
    Rect enemy_base{-150, -620, 1200, 40};

    // Units and shots
    std::vector<Turret> player_turrets;  // in spawn order
    std::vector<Turret> enemy_turrets;
    std::vector<Projectile> projectiles; // both sides
    std::vector<LaserBeam> laser_beams;
    std::vector<UnitId> selection;       // selected player units
    UnitId next_unit_id = 1;
    bool use_spatial_grid = true;        // battle queries look at nearby cells; off: they walk whole lists
    UnitGrids unit_grids;                // built and dropped by each battle step that queries
    std::vector<BattleEvent> events;     // what the rules did this frame, for the sounds and the peer

    // Push-apart parameters
    float push_force = 200.0f;
    float push_radius = 30.0f;
    float push_max = 30.0f;
    float push_damping = 0.85f;

    // Unit inspection and box selection
    int inspected_unit = -1;         // index into the list named by inspected_side, -1 none
    bool inspected_side = true;      // true: player_turrets, false: enemy_turrets
    bool box_selecting = false;
    sf::Vector2f box_start;          // world point where the drag began
    sf::RectangleShape selection_box;

    // Side panel
    float panel_width = 160.0f;
    float panel_height = 520.0f;
    float panel_hidden_x = -140.0f;  // 20 pixels stay visible
    float panel_shown_x = 0.0f;
    float panel_x = -140.0f;
    float panel_target_x = -140.0f;
    float panel_slide_speed = 800.0f;  // pixels per second
    float panel_scroll = 0.0f;
    float panel_content_height = 360.0f;
    std::array<sf::RectangleShape, kPanelButtonCount> upgrade_buttons;  // in PanelButton order, panel coordinates
    bool left_was_pressed = false;   // the panel buys on the press edge only

    // Menus and other screens: the places the clicks are tested against
    sf::RectangleShape single_button;
    sf::RectangleShape network_button;
    sf::RectangleShape back_button;
    std::array<sf::RectangleShape, 10> level_cards;

    std::mt19937 faction_screen_rng;  // standard default seed
    std::mt19937 rng;                 // the game's own engine, seeded from random_device

    // Levels
    std::vector<nlohmann::json> all_levels;    // as loaded, in file order
    std::vector<nlohmann::json> shown_levels;  // copy made on entering the level selection
    std::vector<nlohmann::json> wave_list;     // the running level's waves, normalised
    std::vector<nlohmann::json> upgrade_schedule;
    std::string level_name;
    // The header over a running match, from the last level started: its name, its
    // description and its state ("" before any level).
    std::string level_title;
    std::string level_description;
    std::string level_status;
    std::uint64_t wave_index = 0;
    std::uint64_t schedule_index = 0;
    float spawn_timer = 0.0f;        // seconds counted towards the current wave's interval
    int wave_spawned = 0;            // spawn attempts the current wave has made
    Progress progress;               // levels won, kept across runs

    BattleSync sync;                 // a LAN match follows the host's battle
    PeerLink link;                   // what the two games know of each other beyond the original messages
    Rejoin rejoin;                   // a network match that outlives a dropped connection
    ReplayLog replay;                // the match being recorded, or the replay being watched
    ReplayShelf shelf;               // the replays list and the viewer
    Settings settings;               // the player's own: keys, volumes, display
    Texts texts = textsIn("zh");     // the words shown, in the language shown
    std::string language_override;   // --lang for this run; "" follows the settings
    bool settings_open = false;      // the settings screen shows, over the screen it was opened from
    bool pause_menu = false;         // Esc in a match: continue, settings, leave
    int rebinding = -1;              // the action whose key the next key press becomes, or -1
    int dragged_slider = -1;         // the volume slider the left button holds, or -1
    std::string settings_file;       // where they are kept ("" keeps them nowhere: a game without a window)

    // Network handshake
    int handshake_value = 0;
    std::uint8_t handshake_received = 0;
    std::uint8_t faction_received = 0;
};

// Lays the window's texts out again in the language shown, after it changed: the menu,
// lobby and panel labels, and every text the screens keep between frames.
void layOutTexts(Game& game);
