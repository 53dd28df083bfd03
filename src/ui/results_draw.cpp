#include "app/frontend.h"
#include "app/game.h"
#include "content/places.h"
#include "ui/results.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {
bool isPictograph(std::uint32_t character) { return character == 0x1F3C6 || character == 0x1F480; }  // trophy, skull

struct Pictograph {
    std::size_t index;  // where it stands in the text drawn with the game's font
    std::uint32_t character;
};

// Whether the kept layout was made for the results text as it stands.
bool resultsLaidOut(const ScreenTexts& texts, const sf::Text& results) {
    return texts.results_built && texts.results_source == results.getString() &&
           texts.results_position == results.getPosition() &&
           texts.results_letters.getCharacterSize() == results.getCharacterSize() &&
           texts.results_letters.getFillColor() == results.getFillColor();
}

// The text in the game's font with each trophy and skull replaced by plain spaces as wide
// as the pictograph (any other blank glyph would leave a dot), and each pictograph from
// the symbol font placed over its spaces.
void layOutResults(Game& game, float space) {
    ScreenTexts& texts = game.frontend->screen_texts;
    const sf::Text& results = texts.results;
    unsigned size = results.getCharacterSize();
    sf::String letters;
    std::vector<Pictograph> pictographs;
    for (std::uint32_t character : results.getString()) {
        if (!isPictograph(character)) {
            letters += sf::String(char32_t(character));
            continue;
        }
        pictographs.push_back({letters.getSize(), character});
        float width = game.frontend->symbol_font.getGlyph(character, size, false).advance;
        long spaces = std::max(1L, std::lround(width / space));
        letters += sf::String(std::string(static_cast<std::size_t>(spaces), ' '));
    }
    texts.results_letters = results;
    texts.results_letters.setString(letters);
    texts.results_pictographs.clear();
    for (const Pictograph& pictograph : pictographs) {
        texts.results_pictographs.push_back(
            makeText(game.frontend->symbol_font, sf::String(char32_t(pictograph.character)), size));
        sf::Text& symbol = texts.results_pictographs.back();
        symbol.setFillColor(results.getFillColor());
        symbol.setPosition(texts.results_letters.findCharacterPos(pictograph.index));
    }
    texts.results_source = results.getString();
    texts.results_position = results.getPosition();
    texts.results_built = true;
}

// The victory in green, the defeat in red, centred over the results panel.
const sf::Text& resultsOfMatch(Game& game) {
    ScreenTexts& texts = game.frontend->screen_texts;
    bool victory = game.match_won;
    int winner = victory ? game.player_faction : game.enemy_faction;
    int loser = victory ? game.enemy_faction : game.player_faction;
    std::array<int, 3> key{victory ? 1 : 0, winner, loser};
    if (texts.results_for == key) return texts.results;
    std::string words = resultsText(game.texts, victory, winner, loser);
    sf::Text& results = texts.results;
    results = makeText(game.frontend->ui_font, sf::String::fromUtf8(words.begin(), words.end()), 14);
    results.setFillColor(victory ? sf::Color(100, 255, 100, 255) : sf::Color(255, 100, 100, 255));
    RectParts<float> bounds = partsOf(results.getLocalBounds());
    results.setPosition({(900 - bounds.width) / 2, (600 - bounds.height) / 2 - 50});
    texts.results_for = key;
    return results;
}
}  // namespace

// The game's CJK font has no pictographs and would draw boxes (content/places.h).
bool loadSymbolFont(sf::Font& font) {
    for (const std::string& path : symbolFonts())
        if (openFont(font, path)) return true;
    return false;
}

// Pictographs come from the symbol font over spaces in the game's font; the layout is kept
// until the results change.
void drawResultsText(Game& game, Canvas& canvas) {
    const sf::Text& results = resultsOfMatch(game);
    const sf::String& text = results.getString();
    const sf::Font* font = fontOf(results);
    unsigned size = results.getCharacterSize();
    if (!font || std::none_of(text.begin(), text.end(), isPictograph)) {
        drawDirect(canvas, results);
        return;
    }
    if (!resultsLaidOut(game.frontend->screen_texts, results))
        layOutResults(game, std::max(font->getGlyph(U' ', size, false).advance, 1.0f));
    drawDirect(canvas, game.frontend->screen_texts.results_letters);
    for (const sf::Text& symbol : game.frontend->screen_texts.results_pictographs) drawDirect(canvas, symbol);
}
