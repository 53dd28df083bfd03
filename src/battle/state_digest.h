#pragma once
#include <cstdint>

struct Game;

// A 64-bit digest of the battle as it stands: every unit, shot, beam, effect and hex
// cell, both sides' money, incomes and upgrades, the level's schedules and the next
// draws of the game's own engines. Two games that played the same battle bit for bit
// have the same digest; any difference in those shows in it.
std::uint64_t battleDigest(const Game& game);
