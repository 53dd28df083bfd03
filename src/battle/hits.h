#pragma once

struct Game;

void retargetRockets(Game& game, float dt);
void resolveHits(Game& game);
void updateLaserBeams(Game& game, float dt);
void removeDeadTurrets(Game& game);
// Drops every projectile whose life has run out (after the second flight step).
void sweepSpentProjectiles(Game& game);
// Drops every projectile that hit or ran out of life (end of the frame).
void sweepFinishedProjectiles(Game& game);
