#pragma once
#include "content/replay.h"

struct Game;

// What the player does to the battle. The input handlers perform each command, which the
// match's recording keeps; a replay applies the same commands through the same code.

// Records the command (while a match is recorded) and applies it.
void performCommand(Game& game, ReplayCommand command);
// Applies a command before a frame's update (in-frame ones are taken where the frame meets them).
void applyCommand(Game& game, const ReplayCommand& command);

// The first unit of a list whose centre lies within its hull radius + extra of a point, -1 none.
int pickUnit(const std::vector<Turret>& units, sf::Vector2f point, float extra, bool add_radius);
// No unit selected, inspected or under orders any more.
void clearOrders(Game& game);
// The selected units go to the field point, or attack the opponent's unit there.
void orderSelection(Game& game, sf::Vector2f field);
