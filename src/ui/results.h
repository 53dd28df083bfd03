#pragma once
#include "content/texts.h"

#include <string>

struct Game;
struct Canvas;
namespace sf {
class Font;
}

// Display name of a faction ("" outside the five).
std::string factionDisplayName(const Texts& texts, int faction);
// The loser's parting line ("" outside the five).
std::string defeatLine(const Texts& texts, int faction);
// The winner's taunt to the loser.
std::string taunt(const Texts& texts, int winner, int loser);
// The results of a match: the local side's own lines first, signed with its own name.
std::string resultsText(const Texts& texts, bool victory, int winner, int loser);
// Loads the font the trophy and the skull of the results are drawn from.
bool loadSymbolFont(sf::Font& font);
// The results of the match that ended over the overlay, in the window's default view.
void drawResultsText(Game& game, Canvas& canvas);
