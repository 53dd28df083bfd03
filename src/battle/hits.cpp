#include "battle/hits.h"
#include "app/game.h"

void retargetRockets(Game& game, float dt) {
    (void)game;
    (void)dt;
}

void resolveHits(Game& game) { (void)game; }

void updateLaserBeams(Game& game, float dt) {
    (void)game;
    (void)dt;
}

void removeDeadTurrets(Game& game) { (void)game; }

void sweepSpentProjectiles(Game& game) { (void)game; }

void sweepFinishedProjectiles(Game& game) { (void)game; }
