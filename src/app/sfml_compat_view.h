#pragma once
// The differences between SFML 2 and 3 that only drawing meets (see sfml_compat.h).
#include "app/sfml_compat.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

// A text that can wait for its font: SFML 3 has no text without one, so a text made
// empty holds a font of no glyphs until it is given its own.
struct UiText : sf::Text {
    UiText();
    UiText(const sf::Text& text) : sf::Text(text) {}  // NOLINT: a text is a UiText
    UiText& operator=(const sf::Text& text) {
        sf::Text::operator=(text);
        return *this;
    }
};

// The text's own font; null for a text made empty.
const sf::Font* fontOf(const sf::Text& text);
