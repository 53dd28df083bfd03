#include "battle/combat.h"
#include "app/game.h"

void updatePlayerTurrets(Game& game, float dt) {
    (void)game;
    (void)dt;
}

void updateEnemyTurrets(Game& game, float dt) {
    (void)game;
    (void)dt;
}

bool canReach(const Game& game, const Turret& attacker, const Turret& target) {
    (void)game;
    (void)attacker;
    (void)target;
    return false;
}

float fireReach(const Game& game, const Turret& unit) {
    (void)game;
    return unit.range;
}

float movementReach(const Game& game, const Turret& unit) {
    (void)game;
    return unit.range;
}

bool isBlocked(const Game& game, sf::Vector2f point, int lane, const Turret* unit) {
    (void)game;
    (void)point;
    (void)lane;
    (void)unit;
    return false;
}

std::vector<Threat> collectThreats(const Game& game, sf::Vector2f position, float radius, bool is_player) {
    (void)game;
    (void)position;
    (void)radius;
    (void)is_player;
    return {};
}

void fireAt(Game& game, Turret& unit, sf::Vector2f aim) {
    (void)game;
    (void)unit;
    (void)aim;
}

void pushApart(Game& game, Turret& unit, const std::vector<Turret>& list, float radius) {
    (void)game;
    (void)unit;
    (void)list;
    (void)radius;
}

void clampToField(const Game& game, Turret& unit) {
    (void)game;
    (void)unit;
}

void pushPhysics(Game& game, float dt) {
    (void)game;
    (void)dt;
}

void placeUnit(Turret& unit, sf::Vector2f position) {
    unit.body.setPosition(position);
    unit.barrel.setPosition(position);
}
