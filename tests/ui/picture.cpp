#include "picture.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/render.h"

#include <cstdlib>
#include <dlfcn.h>

namespace {
// The software GL driver is unloaded before the process exits, leaving the leak checker unable to
// name what the driver allocated; kept mapped, the suppressions match it by library name.
const bool gl_driver_pinned = [] {
    return dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE) != nullptr;
}();
}  // namespace

sf::Image renderedFrame(Game& game, bool batched, sf::Vector2u size) {
    if (size.x == 0 || size.y == 0) size = game.frontend->window.getSize();
    sf::RenderTexture texture;
    texture.create(size.x, size.y);
    game.frontend->canvas.target = &texture;
    game.frontend->canvas.batched = batched;
    render(game);
    texture.display();
    game.frontend->canvas.target = &game.frontend->window;
    return texture.getTexture().copyToImage();
}

bool near(sf::Color actual, sf::Color expected, int tolerance) {
    return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance;
}

int differingPixels(const sf::Image& a, const sf::Image& b, int tolerance, sf::IntRect area) {
    sf::IntRect whole(0, 0, int(a.getSize().x), int(a.getSize().y));
    if (area == sf::IntRect()) area = whole;
    if (!area.intersects(whole, area)) return 0;
    int count = 0;
    for (int y = area.top; y < area.top + area.height; ++y)
        for (int x = area.left; x < area.left + area.width; ++x)
            count += !near(a.getPixel(x, y), b.getPixel(x, y), tolerance);
    return count;
}

int textMismatch(const sf::Image& frame, const sf::Font& font, const std::string& utf8, unsigned size,
                 sf::Color colour, sf::Vector2f position, int draws) {
    sf::Text text(sf::String::fromUtf8(utf8.begin(), utf8.end()), font, size);
    text.setFillColor(colour);
    text.setPosition(position);
    sf::Vector2u frame_size = frame.getSize();
    sf::RenderTexture texture;
    texture.create(frame_size.x, frame_size.y);
    texture.clear(frame.getPixel(unsigned(position.x), unsigned(position.y)));
    for (int i = 0; i < draws; ++i) texture.draw(text);
    texture.display();
    sf::Image alone = texture.getTexture().copyToImage();
    sf::FloatRect bounds = text.getGlobalBounds();
    sf::IntRect area(int(bounds.left) - 1, int(bounds.top) - 1, int(bounds.width) + 3, int(bounds.height) + 3);
    return differingPixels(frame, alone, 8, area);
}
