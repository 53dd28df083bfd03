#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>
#include <vector>

struct Canvas;

// The tug of war: both sides' money over the match (x the player's, y the opponent's,
// one sample every half second), time along the bottom, from the lowest money or zero at
// the bottom of the area to the highest at the top, with zero marked across it.
void drawMoneyChart(Canvas& canvas, const std::vector<sf::Vector2f>& money, sf::FloatRect area,
                    sf::Color player, sf::Color opponent);
