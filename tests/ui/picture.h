#pragma once
#include "app/sfml_compat_view.h"

#include <SFML/Graphics.hpp>

struct Game;

// One frame of render() drawn into an off-screen texture of the window's size, or of `size`.
sf::Image renderedFrame(Game& game, bool batched = true, sf::Vector2u size = {});

// Pixels inside `area` (by default the whole picture) whose colour differs from the other
// picture by more than `tolerance` in some channel.
int differingPixels(const sf::Image& a, const sf::Image& b, int tolerance = 0, sf::IntRect area = {});

// Pixels that differ between the frame and the text drawn alone there (`draws` times, as a label drawn
// more than once) over the frame's colour at its position: 0 when the frame shows just that text there.
int textMismatch(const sf::Image& frame, const sf::Font& font, const std::string& utf8, unsigned size,
                 sf::Color colour, sf::Vector2f position, int draws = 1);

bool near(sf::Color actual, sf::Color expected, int tolerance = 2);
