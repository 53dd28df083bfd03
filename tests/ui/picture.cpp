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
    resizeRenderTexture(texture, size);
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
    sf::IntRect whole({0, 0}, {int(a.getSize().x), int(a.getSize().y)});
    if (area == sf::IntRect()) area = whole;
    std::optional<sf::IntRect> overlap = rectOverlap(area, whole);
    if (!overlap) return 0;
    RectParts<int> inside = partsOf(*overlap);
    int count = 0;
    for (int y = inside.top; y < inside.top + inside.height; ++y)
        for (int x = inside.left; x < inside.left + inside.width; ++x)
            count += !near(pixelAt(a, unsigned(x), unsigned(y)), pixelAt(b, unsigned(x), unsigned(y)), tolerance);
    return count;
}

int textMismatch(const sf::Image& frame, const sf::Font& font, const std::string& utf8, unsigned size,
                 sf::Color colour, sf::Vector2f position, int draws) {
    sf::Text text = makeText(font, sf::String::fromUtf8(utf8.begin(), utf8.end()), size);
    text.setFillColor(colour);
    text.setPosition(position);
    sf::Vector2u frame_size = frame.getSize();
    sf::RenderTexture texture;
    resizeRenderTexture(texture, frame_size);
    texture.clear(pixelAt(frame, unsigned(position.x), unsigned(position.y)));
    for (int i = 0; i < draws; ++i) texture.draw(text);
    texture.display();
    sf::Image alone = texture.getTexture().copyToImage();
    RectParts<float> bounds = partsOf(text.getGlobalBounds());
    sf::IntRect area({int(bounds.left) - 1, int(bounds.top) - 1}, {int(bounds.width) + 3, int(bounds.height) + 3});
    return differingPixels(frame, alone, 8, area);
}
