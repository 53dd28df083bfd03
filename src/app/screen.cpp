#include "app/screen.h"
#include "app/game.h"

Screen currentScreen(const Game& game) {
    if (game.settings_open) return Screen::Settings;
    if (!game.game_started && !game.network_mode) return Screen::MainMenu;
    // A match held for a dropped peer stays on the screen, under the wait.
    if (game.lobby_active && !game.lobby.connected && !game.rejoin.waiting) return Screen::Lobby;
    if (!game.faction_confirmed) return Screen::FactionSelect;
    if (game.level_select_active && !game.level_running) return game.shelf.listing ? Screen::Replays : Screen::LevelSelect;
    if (game.game_over) return Screen::Results;
    return Screen::Match;
}
