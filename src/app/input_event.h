#pragma once
#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

// A window event as the game handles it, whichever SFML delivered it. Only what the game
// reads is kept; every other event is Other.
struct InputEvent {
    enum class Kind {
        Closed, KeyPressed, TextEntered, MouseButtonPressed, MouseButtonReleased, MouseMoved, MouseWheelScrolled, Other
    };
    Kind kind = Kind::Other;
    sf::Keyboard::Key key = sf::Keyboard::Key::Unknown;  // KeyPressed
    bool control = false;                                // KeyPressed: with Control held
    char32_t character = 0;                              // TextEntered: the character typed
    sf::Mouse::Button button = sf::Mouse::Button::Left;  // MouseButtonPressed and Released
    sf::Vector2i position;                               // mouse events: window pixels
    float wheel_delta = 0;                               // vertical wheel: positive turns away from the player
};
