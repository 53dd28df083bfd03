#include "app/settings_keys.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"

void handleSettingsKeys(Game& game, const InputEvent& event) {
    if (event.kind != InputEvent::Kind::KeyPressed || !game.frontend) return;
    if (event.key == sf::Keyboard::Key::F11) toggleFullscreen(game);
    if (event.key == sf::Keyboard::Key::M) toggleMusic(game.frontend->sounds);
}
