#include "app/settings_keys.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"

void handleSettingsKeys(Game& game, const sf::Event& event) {
    if (event.type != sf::Event::KeyPressed || !game.frontend) return;
    if (event.key.code == sf::Keyboard::F11) toggleFullscreen(game);
    if (event.key.code == sf::Keyboard::M) toggleMusic(game.frontend->sounds);
}
