#include "app/game.h"
#include "ui/results.h"

namespace {
// Debian's fonts-symbola; the game's CJK font has no pictographs and would draw boxes.
const char kSymbolFontPath[] = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf";

// A full-width space keeps each pictograph's place in the line of the game's font.
constexpr sf::Uint32 kPlaceHolder = 0x3000;

bool isPictograph(sf::Uint32 character) { return character == 0x1F3C6 || character == 0x1F480; }  // trophy, skull
}  // namespace

bool loadSymbolFont(sf::Font& font) { return font.loadFromFile(kSymbolFontPath); }

// The text is drawn in the game's font with the trophy and the skull left out; each of
// them is then drawn from the symbol font at its place in the line.
void drawResultsText(Game& game, Canvas& canvas) {
    const sf::Text& results = game.results_text;
    const sf::String& text = results.getString();
    sf::String letters_only = text;
    bool has_pictographs = false;
    for (std::size_t i = 0; i < letters_only.getSize(); ++i) {
        if (!isPictograph(letters_only[i])) continue;
        letters_only[i] = kPlaceHolder;
        has_pictographs = true;
    }
    if (!has_pictographs) {
        drawDirect(canvas, results);
        return;
    }
    sf::Text letters = results;
    letters.setString(letters_only);
    drawDirect(canvas, letters);
    sf::Text symbol("", game.symbol_font, results.getCharacterSize());
    symbol.setFillColor(results.getFillColor());
    for (std::size_t i = 0; i < text.getSize(); ++i) {
        if (!isPictograph(text[i])) continue;
        symbol.setString(sf::String(text[i]));
        symbol.setPosition(letters.findCharacterPos(i));
        drawDirect(canvas, symbol);
    }
}
