#include "ui/canvas.h"
#include "app/sfml_compat_view.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

namespace {
// One glyph's two triangles, laid out as the text itself lays them out: the glyph's
// bounds and texture rectangle widened by a pixel of padding.
void appendGlyph(std::vector<sf::Vertex>& out, sf::Vector2f at, sf::Color colour, const sf::Glyph& glyph,
                 const float* m) {
    const float padding = 1.0f;
    const RectParts<float> bounds = partsOf(glyph.bounds);
    const RectParts<int> cell = partsOf(glyph.textureRect);
    float left = bounds.left - padding, top = bounds.top - padding;
    float right = bounds.left + bounds.width + padding;
    float bottom = bounds.top + bounds.height + padding;
    float u1 = float(cell.left) - padding, v1 = float(cell.top) - padding;
    float u2 = float(cell.left + cell.width) + padding;
    float v2 = float(cell.top + cell.height) + padding;
    auto put = [&](float x, float y, float u, float v) {
        sf::Vector2f p(at.x + x, at.y + y);
        out.push_back(sf::Vertex{sf::Vector2f(m[0] * p.x + m[4] * p.y + m[12], m[1] * p.x + m[5] * p.y + m[13]),
                                 colour, sf::Vector2f(u, v)});
    };
    put(left, top, u1, v1);
    put(right, top, u2, v1);
    put(left, bottom, u1, v2);
    put(left, bottom, u1, v2);
    put(right, top, u2, v1);
    put(right, bottom, u2, v2);
}

// Texts the batch can take: plain fill, no outline, bold, italic or lines, and no
// spacing of their own; anything else is drawn by the text itself.
bool plainText(const sf::Text& text) {
    return fontOf(text) && text.getStyle() == sf::Text::Regular && text.getOutlineThickness() == 0 &&
           text.getLetterSpacing() == 1 && text.getLineSpacing() == 1;
}
}  // namespace

void drawText(Canvas& canvas, const sf::Text& text, const sf::RenderStates& states) {
    if (!canvas.batched || states.shader || !plainText(text)) {
        drawDirect(canvas, text, states);
        return;
    }
    const sf::String& string = text.getString();
    if (string.isEmpty()) return;
    if (canvas.words_drawn) canvas.words_drawn->push_back(utf8Of(string));
    const sf::Font& font = *fontOf(text);
    unsigned size = text.getCharacterSize();
    // The font's page for this size stays the same object when a new glyph grows it.
    const sf::Texture& page = font.getTexture(size);
    sf::RenderStates batch = states;
    batch.texture = &page;
    batch.transform *= text.getTransform();
    const float* m = batch.transform.getMatrix();
    std::vector<sf::Vertex>& out = openBatch(canvas, batch);
    float whitespace = font.getGlyph(L' ', size, false).advance;
    float line_spacing = font.getLineSpacing(size);
    float x = 0, y = float(size);
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < string.getSize(); ++i) {
        std::uint32_t current = string[i];
        if (current == L'\r') continue;
        x += font.getKerning(previous, current, size);
        previous = current;
        if (current == L' ' || current == L'\t' || current == L'\n') {
            if (current == L' ') x += whitespace;
            if (current == L'\t') x += whitespace * 4;
            if (current == L'\n') y += line_spacing, x = 0;
            continue;
        }
        const sf::Glyph& glyph = font.getGlyph(current, size, false);
        appendGlyph(out, {x, y}, text.getFillColor(), glyph, m);
        x += glyph.advance;
    }
}
