#include "battle/battle_rand.h"
#include "battle/battle_support.h"
#include "events.h"

namespace {
enum class Outcome { Victory, Defeat, Undecided };

// Plays a shipped level as the faction for up to two match minutes, seeded and in 1/60 s
// frames, from a click on its card. A novice sends a unit down every lane every four
// seconds while 100 stays in hand; an idle player never touches a key. A first match has
// an income of 10, every later one 5.
Outcome playLevel(int level_index, int faction, bool novice, float income = 5) {
    testing::internal::CaptureStdout();
    SteppedGame played(shippedData("config.json"), shippedData("levels.json"));
    Game& game = played.game;
    seedBattleRand(1);
    game.rng.seed(1);
    game.effects.rng.seed(2);
    clickIntoLevel(game, faction, level_index);
    game.player_income = income;
    float seconds = 0;
    for (float next_wave = 1; game.level_running && !game.game_over && seconds < 120;) {
        played.clock.advance(1.0f / 60);
        seconds += 1.0f / 60;
        if (novice && seconds >= next_wave) {
            for (sf::Keyboard::Key key : kLaneKeys)
                if (game.player_money - unitPrice(faction) >= 100) keyPress(game, key);
            next_wave += 4;
        }
        update(game, 1.0f / 60);
    }
    testing::internal::GetCapturedStdout();
    if (!game.game_over) return Outcome::Undecided;
    return game.enemy_money < 0 ? Outcome::Victory : Outcome::Defeat;
}
}  // namespace

TEST(LevelPlaytest, NoviceWinsTheFirstLevelAndTheLastBeatsAnIdlePlayer) {
    int last = int(nlohmann::json::parse(shippedData("levels.json"))["levels"].size()) - 1;
    for (int faction = 0; faction < kFactionCount; ++faction) {
        for (float income : {10.0f, 5.0f})
            EXPECT_EQ(playLevel(0, faction, true, income), Outcome::Victory)
                << factionLevelName(faction) << " " << income;
        EXPECT_EQ(playLevel(last, faction, false), Outcome::Defeat) << factionLevelName(faction);
    }
}
