#pragma once

struct Game;

// Once per running frame: when a side's money is below zero the match ends, as the
// local side's victory when the enemy's is (so both below zero is a victory).
void checkMatchEnd(Game& game);
// Ends the match with the local side's victory or defeat: the results show, a single-player
// victory counts as the level won, and the music stops.
void endMatch(Game& game, bool victory);
// Both sides' starting money from the rules, and each side's money set to it.
void readStartMoney(Game& game);
