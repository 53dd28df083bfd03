#include "ui/results.h"
#include "app/game.h"

std::string factionDisplayName(int faction) {
    (void)faction;
    return "";
}

std::string defeatLine(int faction) {
    (void)faction;
    return "";
}

std::string taunt(int winner, int loser) {
    (void)winner;
    (void)loser;
    return "";
}

void checkMatchEnd(Game& game) { (void)game; }
