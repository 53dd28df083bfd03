#include "app/loop.h"
#include "app/commands.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/pause.h"
#include "app/settings_keys.h"
#include "app/settings_screen.h"
#include "app/sfml_compat.h"
#include "app/render.h"
#include "app/replay_record.h"
#include "app/replay_view.h"
#include "app/screen.h"
#include "app/screen_input.h"
#include "app/update.h"
#include "battle/combat.h"
#include "content/upgrades.h"
#include "net/protocol.h"
#include "net/snapshot.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
// A point of the 1280 x 720 layout.
sf::Vector2f toField(const Game& game, sf::Vector2i point) { return layoutToView(game.world_view, sf::Vector2f(point)); }

bool onPanelX(const Game& game, float x) { return game.panel_x <= x && x <= game.panel_x + game.panel_width; }

void scrollWheel(Game& game, const InputEvent& wheel) {
    if (onPanelX(game, float(wheel.position.x))) {
        float limit = std::max(0.0f, game.panel_content_height - game.panel_height + 40);
        // One wheel notch scrolls the panel twice, as the panel always has.
        for (int step = 0; step < 2; ++step)
            game.panel_scroll = std::clamp(game.panel_scroll - wheel.wheel_delta * 20, 0.0f, limit);
        return;
    }
    game.camera_target.y -= wheel.wheel_delta * 200;
    clampView(game);
}

// Picks the unit under a field point for the info box; an enemy hit wins over a player hit.
// Returns whether anything was hit.
bool inspectAt(Game& game, sf::Vector2f point, float extra, bool add_radius) {
    int player_hit = pickUnit(game.player_turrets, point, extra, add_radius);
    int enemy_hit = pickUnit(game.enemy_turrets, point, extra, add_radius);
    if (enemy_hit >= 0) {
        game.inspected_unit = enemy_hit;
        game.inspected_side = false;
    } else if (player_hit >= 0) {
        game.inspected_unit = player_hit;
        game.inspected_side = true;
    } else {
        return false;
    }
    return true;
}

bool onPanel(const Game& game, sf::Vector2f click) {
    if (onPanelX(game, click.x)) return true;
    for (const sf::RectangleShape& button : game.upgrade_buttons) {
        sf::FloatRect placed({game.panel_x + button.getPosition().x, 40 + button.getPosition().y - game.panel_scroll}, {button.getSize().x, button.getSize().y});
        if (placed.contains(click)) return true;
    }
    return false;
}

void leftPressed(Game& game, sf::Vector2i pixel) {
    sf::Vector2f field = toField(game, pixel);
    if (!inspectAt(game, field, 15, true)) game.inspected_unit = -1;

    sf::Vector2f click(pixel);
    if (onPanel(game, click) || !game.faction_confirmed || game.paused || game.rejoin.waiting) return;
    if (pickUnit(game.player_turrets, field, 10, true) < 0)
        performCommand(game, commandOf(ReplayCommandKind::ClearOrders));
    game.box_selecting = true;
    game.box_start = field;
    game.selection_box.setPosition(field);
    game.selection_box.setSize({0, 0});
}

void rightPressed(Game& game, sf::Vector2i pixel) {
    if (!game.faction_confirmed || game.paused || game.rejoin.waiting) return;
    ReplayCommand order = commandOf(ReplayCommandKind::Order);
    order.point = toField(game, pixel);
    performCommand(game, order);
}

void leftReleased(Game& game) {
    if (!game.box_selecting) return;
    game.box_selecting = false;
    ReplayCommand select = commandOf(ReplayCommandKind::Select);
    sf::FloatRect box = game.selection_box.getGlobalBounds();
    for (const Turret& unit : game.player_turrets)
        if (box.contains(unit.position)) select.units.push_back(unit.id);
    if (select.units.empty()) game.selection_box.setSize({0, 0});
    performCommand(game, std::move(select));
}

void mouseMoved(Game& game, sf::Vector2i pixel) {
    if (!game.box_selecting) return;
    sf::Vector2f field = toField(game, pixel);
    game.selection_box.setPosition({std::min(game.box_start.x, field.x), std::min(game.box_start.y, field.y)});
    game.selection_box.setSize({std::abs(field.x - game.box_start.x), std::abs(field.y - game.box_start.y)});
}

void keyPressed(Game& game, sf::Keyboard::Key key) {
    const auto& keys = game.settings.keys;
    if (key == keys[PauseKey]) performCommand(game, commandOf(ReplayCommandKind::Pause));
    // Nothing that changes the match while it stands still.
    if (game.paused || game.rejoin.waiting) return;
    for (std::uint8_t lane = 0; lane < 3; ++lane) {
        if (key == keys[SpawnLane0 + lane]) performCommand(game, commandOf(ReplayCommandKind::Spawn, 0, lane));
        if (key != keys[OpponentLane0 + lane]) continue;
        if (game.network_mode && game.lobby.connected)
            sendMessage(game, {MsgSpawn, 1, lane});
        else
            performCommand(game, commandOf(ReplayCommandKind::Spawn, 1, lane));
    }
    for (int kind = 1; kind <= 4; ++kind) {
        if (key != keys[OpponentUpgrade1 + kind - 1] || !game.network_mode) continue;
        if (!buyEnemyUpgradeByKey(game, kind)) continue;
        recordCommand(game.replay, commandOf(ReplayCommandKind::OpponentUpgrade, 0, std::uint8_t(kind)));
        if (game.lobby.connected) sendMessage(game, {MsgOldUpgrade, std::uint8_t(kind)});
    }
    if (key == keys[OverlayKey] && game.frontend) toggleFrameOverlay(game);
}

// The input of the screen that shows, after the battlefield's.
void screenInput(Game& game, const InputEvent& event) {
    switch (currentScreen(game)) {
        case Screen::MainMenu: mainMenuInput(game, event); break;
        case Screen::Lobby: lobbyInput(game, event); break;
        case Screen::FactionSelect: factionSelectInput(game, event); break;
        case Screen::LevelSelect: levelSelectInput(game, event); break;
        case Screen::Replays: replayListInput(game, event); break;
        case Screen::Settings: settingsScreenInput(game, event); break;
        case Screen::Results:
        case Screen::Match:
            // The second pick re-finds the unit under the click with a fixed 15-pixel reach.
            if (event.kind == InputEvent::Kind::MouseButtonPressed && event.button == sf::Mouse::Button::Left)
                inspectAt(game, toField(game, event.position), 15, false);
            break;
    }
}

using Seconds = std::chrono::duration<double>;
}  // namespace

void handleEvent(Game& game, const InputEvent& window_event) {
    using Kind = InputEvent::Kind;
    // While the address field has the keys, letters are an address, not game keys.
    if (typingAddress(game) && (window_event.kind == Kind::KeyPressed || window_event.kind == Kind::TextEntered)) {
        addressFieldInput(game, window_event);
        return;
    }
    if (takeRebindingKey(game, window_event)) return;
    handleSettingsKeys(game, window_event);
    const InputEvent event = toLayoutEvent(game, window_event);
    // A replay's battle takes no input: only the viewer's keys, the camera and the overlay.
    if (watchingReplay(game) && replayViewerInput(game, event)) return;
    if (event.kind != InputEvent::Kind::Closed && pauseMenuInput(game, event)) {
        actOnBattleEvents(game);
        return;
    }
    switch (event.kind) {
        case Kind::Closed:
            if (game.frontend) game.frontend->window.close();
            break;
        case Kind::MouseWheelScrolled: scrollWheel(game, event); break;
        case Kind::MouseButtonPressed:
            if (event.button == sf::Mouse::Button::Left) leftPressed(game, event.position);
            if (event.button == sf::Mouse::Button::Right) rightPressed(game, event.position);
            break;
        case Kind::MouseButtonReleased:
            if (event.button == sf::Mouse::Button::Left) leftReleased(game);
            break;
        case Kind::MouseMoved: mouseMoved(game, event.position); break;
        case Kind::KeyPressed:
            if (!game.settings_open) keyPressed(game, event.key);
            break;
        case Kind::TextEntered:
        case Kind::Other: break;
    }

    if (event.kind == Kind::KeyPressed && event.key == sf::Keyboard::Key::Escape)
        stepBack(game);
    else
        screenInput(game, event);
    actOnBattleEvents(game);
}

void sampleInput(Game& game) {
    sf::Window& window = game.frontend->window;
    game.input.mouse = toLayout(window.getSize(), sf::Mouse::getPosition(window));
    game.input.left_button = sf::Mouse::isButtonPressed(sf::Mouse::Button::Left);
    game.input.key_up = sf::Keyboard::isKeyPressed(game.settings.keys[CameraUp]);
    game.input.key_down = sf::Keyboard::isKeyPressed(game.settings.keys[CameraDown]);
}

void run(Game& game) {
    if (!game.frontend) return;
    sf::RenderWindow& window = game.frontend->window;
    if (!window.isOpen()) return;
    FrameClockSource frame_time;  // a pause holds the match clocks, never the frame time
    while (window.isOpen()) {
        while (std::optional<InputEvent> event = pollInput(window)) handleEvent(game, *event);
        bool watching = watchingReplay(game);
        std::int64_t frame_us = watching ? frame_time.tickWall() : frame_time.tick();
        if (!window.isOpen()) break;
        sampleInput(game);
        auto start = std::chrono::steady_clock::now();
        if (watching)
            watchReplayFrame(game, frame_time, frame_us);
        else
            stepFrame(game, frame_us);
        auto updated = std::chrono::steady_clock::now();
        render(game);
        auto drawn = std::chrono::steady_clock::now();
        recordFrame(game, Seconds(updated - start).count(), Seconds(drawn - updated).count());
        game.frontend->canvas.draw_calls = 0;
    }
    finishRecording(game);  // a match the window closed on is kept too
}
