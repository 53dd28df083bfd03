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
// Once per running frame: refreshes the status line and, when a side's money is
// below zero, builds the results and ends the match.
void checkMatchEnd(Game& game);
// Shows the results for the local side's victory or defeat and ends the match.
void endMatch(Game& game, bool victory);
// Loads the font the trophy and the skull of the results are drawn from.
bool loadSymbolFont(sf::Font& font);
// The results text over the overlay, in the window's default view.
void drawResultsText(Game& game, Canvas& canvas);
