#pragma once
#include <SFML/Graphics/Font.hpp>
#include <string>

struct Game;

// Loads name_normal.png and name_hover.png for one faction and binds its sprite.
void loadFactionPictures(Game& game, const std::string& name);
// Opens "msyh.ttc"; when it is missing says so and falls back to a system CJK font.
void loadFont(sf::Font& font);
