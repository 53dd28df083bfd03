#include "app/game.h"
#include "ui/results.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Debian's fonts-symbola; the game's CJK font has no pictographs and would draw boxes.
const char kSymbolFontPath[] = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf";

bool isPictograph(sf::Uint32 character) { return character == 0x1F3C6 || character == 0x1F480; }  // trophy, skull

struct Pictograph {
    std::size_t index;  // where it stands in the text drawn with the game's font
    sf::Uint32 character;
};
}  // namespace

bool loadSymbolFont(sf::Font& font) { return font.loadFromFile(kSymbolFontPath); }

// The text is drawn in the game's font with each trophy and skull replaced by plain
// spaces as wide as the pictograph (any other blank glyph would leave a dot), then each
// pictograph is drawn from the symbol font in its place.
void drawResultsText(Game& game, Canvas& canvas) {
    const sf::Text& results = game.results_text;
    const sf::String& text = results.getString();
    const sf::Font* font = results.getFont();
    unsigned size = results.getCharacterSize();
    if (!font || std::none_of(text.begin(), text.end(), isPictograph)) {
        drawDirect(canvas, results);
        return;
    }
    float space = std::max(font->getGlyph(U' ', size, false).advance, 1.0f);
    sf::String letters;
    std::vector<Pictograph> pictographs;
    for (sf::Uint32 character : text) {
        if (!isPictograph(character)) {
            letters += character;
            continue;
        }
        pictographs.push_back({letters.getSize(), character});
        float width = game.symbol_font.getGlyph(character, size, false).advance;
        long spaces = std::max(1L, std::lround(width / space));
        letters += sf::String(std::string(static_cast<std::size_t>(spaces), ' '));
    }
    sf::Text shown = results;
    shown.setString(letters);
    drawDirect(canvas, shown);
    sf::Text symbol("", game.symbol_font, size);
    symbol.setFillColor(results.getFillColor());
    for (const Pictograph& pictograph : pictographs) {
        symbol.setString(sf::String(pictograph.character));
        symbol.setPosition(shown.findCharacterPos(pictograph.index));
        drawDirect(canvas, symbol);
    }
}
