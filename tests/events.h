#pragma once
#include "app/game.h"
#include "app/loop.h"

// Synthetic window events, handled exactly as the loop handles real ones.
template <typename Fill>
void sendEvent(Game& game, sf::Event::EventType type, Fill fill) {
    sf::Event event;
    event.type = type;
    fill(event);
    handleEvent(game, event);
}

inline void press(Game& game, int x, int y, sf::Mouse::Button button = sf::Mouse::Left) {
    sendEvent(game, sf::Event::MouseButtonPressed, [&](sf::Event& e) { e.mouseButton = {button, x, y}; });
}

inline void release(Game& game, int x, int y, sf::Mouse::Button button = sf::Mouse::Left) {
    sendEvent(game, sf::Event::MouseButtonReleased, [&](sf::Event& e) { e.mouseButton = {button, x, y}; });
}

inline void click(Game& game, int x, int y, sf::Mouse::Button button = sf::Mouse::Left) {
    press(game, x, y, button);
    release(game, x, y, button);
}

inline void move(Game& game, int x, int y) {
    sendEvent(game, sf::Event::MouseMoved, [&](sf::Event& e) { e.mouseMove = {x, y}; });
}

inline void wheel(Game& game, int x, int y, float delta) {
    sendEvent(game, sf::Event::MouseWheelScrolled,
              [&](sf::Event& e) { e.mouseWheelScroll = {sf::Mouse::VerticalWheel, delta, x, y}; });
}

// The player's spawn keys, lane by lane.
constexpr sf::Keyboard::Key kLaneKeys[3] = {sf::Keyboard::Q, sf::Keyboard::W, sf::Keyboard::E};

inline void keyPress(Game& game, sf::Keyboard::Key key) {
    sendEvent(game, sf::Event::KeyPressed, [&](sf::Event& e) { e.key = {key, false, false, false, false}; });
}
