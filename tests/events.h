#pragma once
#include "app/game.h"
#include "app/loop.h"
#include "app/sfml_compat.h"
#include "content/settings_layout.h"

// Synthetic window events, handled exactly as the loop handles real ones.
inline void sendEvent(Game& game, InputEvent::Kind kind, sf::Vector2i position,
                      sf::Mouse::Button button = sf::Mouse::Button::Left) {
    InputEvent event;
    event.kind = kind;
    event.position = position;
    event.button = button;
    handleEvent(game, event);
}

inline void press(Game& game, int x, int y, sf::Mouse::Button button = sf::Mouse::Button::Left) {
    sendEvent(game, InputEvent::Kind::MouseButtonPressed, {x, y}, button);
}

inline void release(Game& game, int x, int y, sf::Mouse::Button button = sf::Mouse::Button::Left) {
    sendEvent(game, InputEvent::Kind::MouseButtonReleased, {x, y}, button);
}

inline void click(Game& game, int x, int y, sf::Mouse::Button button = sf::Mouse::Button::Left) {
    press(game, x, y, button);
    release(game, x, y, button);
}

inline void move(Game& game, int x, int y) { sendEvent(game, InputEvent::Kind::MouseMoved, {x, y}); }

inline void wheel(Game& game, int x, int y, float delta) {
    InputEvent event;
    event.kind = InputEvent::Kind::MouseWheelScrolled;
    event.position = {x, y};
    event.wheel_delta = delta;
    handleEvent(game, event);
}

// From the main menu to a level's card as a player clicks, through a faction's card and its confirmation.
inline void clickIntoLevel(Game& game, int faction, int level) {
    click(game, 640, 280);
    click(game, 160 + 195 * faction + 90, 360);
    click(game, 900, 650);
    click(game, 90 + 250 * (level % 3) + 110, 110 + 150 * (level / 3) + 65);
}

// The player's spawn keys, lane by lane.
constexpr sf::Keyboard::Key kLaneKeys[3] = {sf::Keyboard::Key::Q, sf::Keyboard::Key::W, sf::Keyboard::Key::E};

inline void keyPress(Game& game, sf::Keyboard::Key key) {
    InputEvent event;
    event.kind = InputEvent::Kind::KeyPressed;
    event.key = key;
    handleEvent(game, event);
}

// Esc in a match opens the pause menu; a click on one of its buttons.
inline void pauseMenuClick(Game& game, int button) {
    if (!game.pause_menu) keyPress(game, sf::Keyboard::Key::Escape);
    RectParts<float> box = partsOf(pauseMenuButton(button));
    click(game, int(box.left) + 10, int(box.top) + 10);
}
