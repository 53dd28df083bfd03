#pragma once
#include <SFML/Window/Keyboard.hpp>

#include <optional>
#include <string>

// Keys by the names of SFML's enumerators ("Q", "Semicolon", "Up", "Numpad4"), the same
// with SFML 2.5 and 3: the names settings.json keeps bindings under.
std::optional<sf::Keyboard::Key> keyNamed(const std::string& name);
// "" for a key with no name here (Unknown).
std::string keyName(sf::Keyboard::Key key);
