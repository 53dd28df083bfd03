#include "battle/projectile.h"

float flame_phase = 0;

Projectile makeShell(sf::Vector2f position, sf::Vector2f direction, bool is_player, sf::Color fill, float speed,
                     float lifetime) {
    Projectile shell;
    shell.shape = sf::CircleShape(4, 30);
    shell.shape.setOrigin(4, 4);
    shell.shape.setFillColor(fill);
    shell.shape.setPosition(position);
    shell.velocity = direction * speed;
    shell.lifetime = shell.life_remaining = lifetime;
    shell.is_player = is_player ? 1 : 0;
    return shell;
}

void flyProjectile(Projectile& projectile, float dt) {
    (void)projectile;
    (void)dt;
}

void updateSmoke(Projectile& projectile, float dt) {
    (void)projectile;
    (void)dt;
}
