#include "app/pause.h"
#include "app/game.h"
#include "app/log.h"
#include "net/peer_link.h"

bool canPause(const Game& game) {
    return game.game_started && !game.network_mode && game.faction_confirmed && game.level_running &&
           !game.level_select_active && !game.game_over;
}

void togglePause(Game& game) {
    if (game.network_mode) {
        toggleSharedPause(game);
        return;
    }
    if (game.paused) {
        resumeMatch(game);
        logLine("▶ 游戏继续");
        return;
    }
    if (!canPause(game)) return;
    // Every match clock (fire intervals, base charges, income, the level's schedules)
    // stands still from here, so the pause never counts towards any of them.
    holdMatchClocks();
    game.paused = true;
    logLine("⏸ 游戏已暂停");
}

void resumeMatch(Game& game) {
    if (!game.paused) return;
    releaseMatchClocks();
    game.paused = false;
}
