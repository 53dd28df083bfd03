#pragma once
#include "app/game.h"
#include "app/loop.h"

// Synthetic window events, handled exactly as the loop handles real ones.
inline void press(Game& game, int x, int y, sf::Mouse::Button button = sf::Mouse::Left) {
    sf::Event event;
    event.type = sf::Event::MouseButtonPressed;
    event.mouseButton = {button, x, y};
    handleEvent(game, event);
}

inline void release(Game& game, int x, int y, sf::Mouse::Button button = sf::Mouse::Left) {
    sf::Event event;
    event.type = sf::Event::MouseButtonReleased;
    event.mouseButton = {button, x, y};
    handleEvent(game, event);
}

inline void click(Game& game, int x, int y, sf::Mouse::Button button = sf::Mouse::Left) {
    press(game, x, y, button);
    release(game, x, y, button);
}

inline void move(Game& game, int x, int y) {
    sf::Event event;
    event.type = sf::Event::MouseMoved;
    event.mouseMove = {x, y};
    handleEvent(game, event);
}

inline void wheel(Game& game, int x, int y, float delta) {
    sf::Event event;
    event.type = sf::Event::MouseWheelScrolled;
    event.mouseWheelScroll = {sf::Mouse::VerticalWheel, delta, x, y};
    handleEvent(game, event);
}

inline void keyPress(Game& game, sf::Keyboard::Key key) {
    sf::Event event;
    event.type = sf::Event::KeyPressed;
    event.key = {key, false, false, false, false};
    handleEvent(game, event);
}
