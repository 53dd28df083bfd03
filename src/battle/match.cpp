#include "battle/match.h"
#include "app/game.h"
#include "app/log.h"
#include "content/config.h"
#include "content/progress.h"

void checkMatchEnd(Game& game) {
    // Following a LAN host, the match ends when the host's battle says so.
    if (game.sync.following) return;
    if (!(game.player_money < 0) && !(game.enemy_money < 0)) return;
    endMatch(game, game.enemy_money < 0);
}

void endMatch(Game& game, bool victory) {
    game.match_won = victory;
    game.game_over = true;
    game.results_timer = 0;
    game.results_duration = 3.0f;
    recordEvent(game.events, BattleEventKind::MatchEnded);
    logLine("游戏结束，显示结算画面");
    if (victory && !game.network_mode && game.level_running) recordLevelWon(game.progress, game.level_name);
}

// The template unit reads the unit keys once, as every unit construction does; the
// starting money is read beside it.
void readStartMoney(Game& game) {
    Turret template_unit(true, 0);
    (void)template_unit;
    float player = Config::instance().getFloat("/gameplay/player_start_money", 1000.0f);
    float enemy = Config::instance().getFloat("/gameplay/enemy_start_money", 1000.0f);
    game.player_money = player;
    game.enemy_money = enemy;
    game.start_money = {player, enemy};
}
