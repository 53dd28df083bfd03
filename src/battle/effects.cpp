#include "battle/effects.h"
#include "app/game.h"

void loadEffectSettings(Effects& effects) { (void)effects; }

void emitMuzzleSparks(Effects& effects, sf::Vector2f point, int count, float direction_deg) {
    (void)effects;
    (void)point;
    (void)count;
    (void)direction_deg;
}

void emitMuzzleSmoke(Effects& effects, sf::Vector2f point, int count, float direction_deg) {
    (void)effects;
    (void)point;
    (void)count;
    (void)direction_deg;
}

void addMuzzleFlash(Effects& effects, sf::Vector2f point) {
    (void)effects;
    (void)point;
}

void spawnExplosion(Effects& effects, sf::Vector2f point, float size) {
    (void)effects;
    (void)point;
    (void)size;
}

void layTracks(Game& game) { (void)game; }

void addTrackMark(Effects& effects, sf::Vector2f point, sf::Color colour, float rotation_deg) {
    (void)effects;
    (void)point;
    (void)colour;
    (void)rotation_deg;
}

void updateEffects(Effects& effects, float dt) {
    (void)effects;
    (void)dt;
}
