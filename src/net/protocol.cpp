#include "net/protocol.h"
#include "app/game.h"

void sendMessage(Game& game, const std::vector<std::uint8_t>& bytes) {
    (void)game;
    (void)bytes;
}

bool canSendMatchMessages(const Game& game) { return game.network_mode && game.lobby.connected; }

void sendMoneySync(Game& game) { (void)game; }

void processMessages(Game& game) { (void)game; }
