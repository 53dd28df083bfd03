#include "app/loop.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/pause.h"
#include "app/settings_keys.h"
#include "app/render.h"
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
// x, y: a point of the 1280 x 720 layout.
sf::Vector2f toField(const Game& game, int x, int y) {
    return layoutToView(game.world_view, sf::Vector2f(float(x), float(y)));
}

bool onPanelX(const Game& game, float x) { return game.panel_x <= x && x <= game.panel_x + game.panel_width; }

void scrollWheel(Game& game, const sf::Event::MouseWheelScrollEvent& wheel) {
    if (wheel.wheel != sf::Mouse::VerticalWheel) return;
    if (onPanelX(game, float(wheel.x))) {
        float limit = std::max(0.0f, game.panel_content_height - game.panel_height + 40);
        // One wheel notch scrolls the panel twice, as the panel always has.
        for (int step = 0; step < 2; ++step)
            game.panel_scroll = std::clamp(game.panel_scroll - wheel.delta * 20, 0.0f, limit);
        return;
    }
    game.camera_target.y -= wheel.delta * 200;
    clampView(game);
}

// The first unit of a list whose centre lies within its hull radius + extra of a point.
int pickUnit(const std::vector<Turret>& units, sf::Vector2f point, float extra, bool add_radius) {
    for (size_t i = 0; i < units.size(); ++i) {
        float reach = (add_radius ? units[i].body.getRadius() : 0.0f) + extra;
        if (distanceBetween(units[i].body.getPosition(), point) < reach) return int(i);
    }
    return -1;
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
        sf::FloatRect placed(game.panel_x + button.getPosition().x, 40 + button.getPosition().y - game.panel_scroll,
                             button.getSize().x, button.getSize().y);
        if (placed.contains(click)) return true;
    }
    return false;
}

void clearOrders(Game& game) {
    game.selection.clear();
    game.inspected_unit = -1;
    for (Turret& unit : game.player_turrets) {
        bool was_moving = unit.move_order;
        unit.attack_target = kNoUnit;
        unit.attack_order = 0;
        unit.move_order = 0;
        if (was_moving) shareMoveOrder(game, unit);
    }
}

void leftPressed(Game& game, const sf::Event::MouseButtonEvent& button) {
    sf::Vector2f field = toField(game, button.x, button.y);
    if (!inspectAt(game, field, 15, true)) game.inspected_unit = -1;

    sf::Vector2f click(float(button.x), float(button.y));
    if (onPanel(game, click) || !game.faction_confirmed || game.paused) return;
    if (pickUnit(game.player_turrets, field, 10, true) < 0) clearOrders(game);
    game.box_selecting = true;
    game.box_start = field;
    game.selection_box.setPosition(field);
    game.selection_box.setSize({0, 0});
}

void rightPressed(Game& game, const sf::Event::MouseButtonEvent& button) {
    if (!game.faction_confirmed || game.paused) return;
    sf::Vector2f field = toField(game, button.x, button.y);
    int enemy = pickUnit(game.enemy_turrets, field, 10, true);
    for (UnitId id : game.selection) {
        Turret* unit = findUnit(game, id);
        if (!unit || unit->hp <= 0) continue;
        if (enemy >= 0) {
            unit->attack_target = game.enemy_turrets[enemy].id;
            unit->attack_order = 1;
            unit->move_order = 0;
        } else {
            unit->move_target = field;
            unit->move_order = 1;
            unit->attack_order = 0;
            unit->attack_target = kNoUnit;
        }
        shareMoveOrder(game, *unit);
    }
}

void leftReleased(Game& game) {
    if (!game.box_selecting) return;
    game.box_selecting = false;
    game.selection.clear();
    sf::FloatRect box = game.selection_box.getGlobalBounds();
    for (const Turret& unit : game.player_turrets)
        if (box.contains(unit.body.getPosition())) game.selection.push_back(unit.id);
    if (game.selection.empty()) game.selection_box.setSize({0, 0});
}

void mouseMoved(Game& game, const sf::Event::MouseMoveEvent& move) {
    if (!game.box_selecting) return;
    sf::Vector2f field = toField(game, move.x, move.y);
    game.selection_box.setPosition(std::min(game.box_start.x, field.x), std::min(game.box_start.y, field.y));
    game.selection_box.setSize({std::abs(field.x - game.box_start.x), std::abs(field.y - game.box_start.y)});
}

void keyPressed(Game& game, sf::Keyboard::Key key) {
    static const sf::Keyboard::Key player_lanes[] = {sf::Keyboard::Q, sf::Keyboard::W, sf::Keyboard::E};
    static const sf::Keyboard::Key enemy_lanes[] = {sf::Keyboard::U, sf::Keyboard::I, sf::Keyboard::O};
    static const sf::Keyboard::Key enemy_upgrades[] = {sf::Keyboard::J, sf::Keyboard::K, sf::Keyboard::L,
                                                       sf::Keyboard::Semicolon};
    if (key == sf::Keyboard::P) togglePause(game);
    if (game.paused) return;  // nothing that changes the match while it stands still
    for (int lane = 0; lane < 3; ++lane) {
        if (key == player_lanes[lane]) spawnPlayerTurret(game, lane);
        if (key != enemy_lanes[lane]) continue;
        if (game.network_mode && game.lobby.connected)
            sendMessage(game, {MsgSpawn, 1, std::uint8_t(lane)});
        else
            spawnEnemyTurret(game, lane);
    }
    for (int kind = 1; kind <= 4; ++kind) {
        if (key != enemy_upgrades[kind - 1] || !game.network_mode) continue;
        if (buyEnemyUpgradeByKey(game, kind) && game.lobby.connected)
            sendMessage(game, {MsgOldUpgrade, std::uint8_t(kind)});
    }
    if (key == sf::Keyboard::F3 && game.frontend) toggleFrameOverlay(game);
}

// The input of the screen that shows, after the battlefield's.
void screenInput(Game& game, const sf::Event& event) {
    switch (currentScreen(game)) {
        case Screen::MainMenu: mainMenuInput(game, event); break;
        case Screen::Lobby: lobbyInput(game, event); break;
        case Screen::FactionSelect: factionSelectInput(game, event); break;
        case Screen::LevelSelect: levelSelectInput(game, event); break;
        case Screen::Results:
        case Screen::Match:
            // The second pick re-finds the unit under the click with a fixed 15-pixel reach.
            if (event.type == sf::Event::MouseButtonPressed && event.mouseButton.button == sf::Mouse::Left)
                inspectAt(game, toField(game, event.mouseButton.x, event.mouseButton.y), 15, false);
            break;
    }
}

using Seconds = std::chrono::duration<double>;
}  // namespace

void handleEvent(Game& game, const sf::Event& window_event) {
    handleSettingsKeys(game, window_event);
    const sf::Event event = toLayoutEvent(game, window_event);
    switch (event.type) {
        case sf::Event::Closed:
            if (game.frontend) game.frontend->window.close();
            break;
        case sf::Event::MouseWheelScrolled: scrollWheel(game, event.mouseWheelScroll); break;
        case sf::Event::MouseButtonPressed:
            if (event.mouseButton.button == sf::Mouse::Left) leftPressed(game, event.mouseButton);
            if (event.mouseButton.button == sf::Mouse::Right) rightPressed(game, event.mouseButton);
            break;
        case sf::Event::MouseButtonReleased:
            if (event.mouseButton.button == sf::Mouse::Left) leftReleased(game);
            break;
        case sf::Event::MouseMoved: mouseMoved(game, event.mouseMove); break;
        case sf::Event::KeyPressed: keyPressed(game, event.key.code); break;
        default: break;
    }

    if (event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::Escape)
        stepBack(game);
    else
        screenInput(game, event);
    actOnBattleEvents(game);
}

void sampleInput(Game& game) {
    sf::Window& window = game.frontend->window;
    game.input.mouse = toLayout(window.getSize(), sf::Mouse::getPosition(window));
    game.input.left_button = sf::Mouse::isButtonPressed(sf::Mouse::Left);
    game.input.key_up = sf::Keyboard::isKeyPressed(sf::Keyboard::Up);
    game.input.key_down = sf::Keyboard::isKeyPressed(sf::Keyboard::Down);
}

void run(Game& game) {
    if (!game.frontend) return;
    sf::RenderWindow& window = game.frontend->window;
    if (!window.isOpen()) return;
    Clock frame_clock(Clock::Real);  // a pause holds the match clocks, never the frame time
    while (window.isOpen()) {
        sf::Event event;
        while (window.pollEvent(event)) handleEvent(game, event);
        float dt = static_cast<float>(frame_clock.elapsedMicroseconds()) / 1000000.0f;
        frame_clock.restart();
        if (!window.isOpen()) break;
        sampleInput(game);
        auto start = std::chrono::steady_clock::now();
        update(game, dt);
        auto updated = std::chrono::steady_clock::now();
        render(game);
        auto drawn = std::chrono::steady_clock::now();
        recordFrame(game, Seconds(updated - start).count(), Seconds(drawn - updated).count());
        game.frontend->canvas.draw_calls = 0;
    }
}
