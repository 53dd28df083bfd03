#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/log.h"
#include "app/sfml_compat.h"

#include <algorithm>
#include <cmath>

namespace {
// A game without a window takes its clicks on the layout itself.
sf::Vector2i mapPoint(const Game& game, sf::Vector2i pixel) {
    if (!game.frontend) return pixel;
    return toLayout(game.frontend->window.getSize(), pixel);
}
}  // namespace

// SFML 2.5 on X11 places a new window from the screen's width alone, so on a
// 1920 x 1080 desktop the bottom of the field would open off the screen.
void centreWindow(sf::Window& window) {
    sf::Vector2u desktop = desktopSize();
    sf::Vector2u size = window.getSize();
    window.setPosition({std::max(0, (int(desktop.x) - int(size.x)) / 2), std::max(0, (int(desktop.y) - int(size.y)) / 2)});
}

sf::FloatRect letterboxViewport(sf::Vector2u target_size) {
    if (target_size.x == 0 || target_size.y == 0) return sf::FloatRect({0, 0}, {1, 1});
    float width = float(target_size.x), height = float(target_size.y);
    float scale = std::min(width / kLayoutWidth, height / kLayoutHeight);
    float shown_width = kLayoutWidth * scale / width;
    float shown_height = kLayoutHeight * scale / height;
    return sf::FloatRect({(1 - shown_width) / 2, (1 - shown_height) / 2}, {shown_width, shown_height});
}

sf::View screenView(sf::Vector2u target_size) {
    return letterboxed(sf::View(sf::FloatRect({0, 0}, {kLayoutWidth, kLayoutHeight})), target_size);
}

sf::View letterboxed(sf::View view, sf::Vector2u target_size) {
    view.setViewport(letterboxViewport(target_size));
    return view;
}

sf::Vector2i toLayout(sf::Vector2u target_size, sf::Vector2i pixel) {
    if (target_size.x == 0 || target_size.y == 0) return pixel;
    double width = target_size.x, height = target_size.y;
    double scale = std::min(width / kLayoutWidth, height / kLayoutHeight);
    double left = (width - kLayoutWidth * scale) / 2, top = (height - kLayoutHeight * scale) / 2;
    return {int(std::floor((pixel.x - left) / scale)), int(std::floor((pixel.y - top) / scale))};
}

sf::Vector2f layoutToView(const sf::View& view, sf::Vector2f layout_point) {
    sf::Vector2f normalised(-1 + 2 * layout_point.x / kLayoutWidth, 1 - 2 * layout_point.y / kLayoutHeight);
    return view.getInverseTransform().transformPoint(normalised);
}

InputEvent toLayoutEvent(const Game& game, const InputEvent& event) {
    InputEvent mapped = event;
    mapped.position = mapPoint(game, event.position);
    return mapped;
}

void applyFramePacing(Game& game) {
    sf::RenderWindow& window = game.frontend->window;
    window.setVerticalSyncEnabled(game.settings.vsync);
    window.setFramerateLimit(unsigned(game.settings.frame_limit));
}

void toggleFullscreen(Game& game) {
    Frontend& front = *game.frontend;
    front.fullscreen = !front.fullscreen;
    openWindow(front.window, front.fullscreen, antialiasingOf(front.window));
    if (!front.fullscreen) centreWindow(front.window);
    applyFramePacing(game);  // a window made again has lost its vertical sync and frame cap
    sf::Vector2u size = front.window.getSize();
    logLine(front.fullscreen ? "Fullscreen: " : "Windowed: ", size.x, "x", size.y);
}

// The picture is always laid out 1280 wide, whatever the window's size.
float windowWidth(const Game&) { return kLayoutWidth; }
