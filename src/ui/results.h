#pragma once
#include <string>

struct Game;
struct Canvas;
namespace sf {
class Font;
}

// Display name of a faction ("" outside the five).
std::string factionDisplayName(int faction);
// The loser's parting line ("" outside the five).
std::string defeatLine(int faction);
// The winner's taunt to the loser.
std::string taunt(int winner, int loser);
// The results of a match: the local side's own lines first, signed with its own name.
std::string resultsText(bool victory, int winner, int loser);
// Loads the font the trophy and the skull of the results are drawn from.
bool loadSymbolFont(sf::Font& font);
// The results of the match that ended over the overlay, in the window's default view.
void drawResultsText(Game& game, Canvas& canvas);
