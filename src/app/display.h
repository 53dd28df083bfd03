#pragma once
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/View.hpp>
#include "app/input_event.h"

#include <SFML/Window/Window.hpp>

struct Game;

// Every screen is laid out on a 1280 x 720 picture. A window of another size (resized,
// or fullscreen) shows that picture as large as fits, centred, with bars beside or
// above it; clicks are mapped back onto the picture, so every target stays where it is drawn.
constexpr float kLayoutWidth = 1280.0f;
constexpr float kLayoutHeight = 720.0f;

// The part of a target of this size the picture covers, as fractions of the target.
sf::FloatRect letterboxViewport(sf::Vector2u target_size);
// The 1280 x 720 layout view, letterboxed onto a target of this size.
sf::View screenView(sf::Vector2u target_size);
// A view with the letterbox of a target of this size (the battlefield camera's, for one).
sf::View letterboxed(sf::View view, sf::Vector2u target_size);
// The layout point under a pixel of a target of this size.
sf::Vector2i toLayout(sf::Vector2u target_size, sf::Vector2i pixel);
// The point of a view under a layout point, as if the view filled the whole picture.
sf::Vector2f layoutToView(const sf::View& view, sf::Vector2f layout_point);
// The event with its mouse position in layout coordinates; other events as they are.
InputEvent toLayoutEvent(const Game& game, const InputEvent& event);

// Places a window in the middle of the desktop.
void centreWindow(sf::Window& window);
// Switches between a 1280 x 720 window and fullscreen on the desktop's mode.
void toggleFullscreen(Game& game);
// The settings' vertical sync and frame cap, on the window as it is now.
void applyFramePacing(Game& game);
// Width of the laid-out picture (1280), the x scale of positional sounds and the HUD.
float windowWidth(const Game& game);
