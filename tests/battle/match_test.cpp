#include "battle/match.h"
#include "support.h"
#include "ui/results.h"

using MatchEnd = GameTest;

TEST_F(MatchEnd, TheSideBelowZeroLosesAndBothBelowIsAVictory) {
    struct Case { float player_money, enemy_money; bool over, won; };
    for (Case c : {Case{12.9f, -3.7f, true, true}, Case{-5, 20, true, false}, Case{-5, -0.5f, true, true},
                   Case{0, -0.0f, false, false}}) {
        game.player_money = c.player_money;
        game.enemy_money = c.enemy_money;
        game.results_timer = 2;
        game.results_duration = 9;
        game.game_over = game.match_won = false;
        game.events.clear();
        EXPECT_EQ(stdoutOf([&] { checkMatchEnd(game); }), c.over ? "游戏结束，显示结算画面\n" : "")
            << c.player_money << " " << c.enemy_money;
        EXPECT_EQ(std::make_pair(game.game_over, game.match_won), std::make_pair(c.over, c.won));
        if (!c.over) continue;
        EXPECT_EQ(sf::Vector2f(game.results_timer, game.results_duration), sf::Vector2f(0, 3));
        ASSERT_EQ(game.events.size(), 1u);  // the music stops
        EXPECT_EQ(game.events[0].kind, BattleEventKind::MatchEnded);
    }
}

TEST(ResultsText, TheLocalSidesLinesComeFirst) {
    const Texts zh = textsIn("zh");
    EXPECT_EQ(resultsText(zh, true, Red, Blue),
              "🏆 胜 利 ！\n\n联邦的'自由'是孤独的自由。共和国告诉你——我们在一起，所以不可战胜。\n\n—— 赤红共和国\n\n"
              "💀 蓝色联邦：\n联邦不会倒下。我们只是在等待下一个机会。");
    EXPECT_EQ(resultsText(zh, false, Yellow, Yellow),
              "💀 失 败 ……\n\n市场波动而已。联合体会在下一轮交易中赢回来。\n\n—— 黄色联合体\n\n"
              "🏆 黄色联合体：\n联合体只能有一个CEO。这个人是我。");
    EXPECT_EQ(resultsText(zh, true, White, Purple).rfind("🏆 胜 利 ！\n\n真理会，你重写的是谎言。", 0), 0u);
    // Indexes outside the faction table never index it.
    EXPECT_EQ(taunt(zh, White, 7), "信者得救，疑者受罚。今天，圣所的光证明了它的审判。");
    EXPECT_EQ(taunt(zh, -1, Red) + factionDisplayName(zh, 5) + defeatLine(zh, -1), "");
    // In English the same lines, signed and addressed the English way.
    std::string english = resultsText(textsIn("en"), false, Blue, Red);
    EXPECT_EQ(english.rfind("💀 D E F E A T …\n\nWe have lost everything", 0), 0u) << english;
    EXPECT_NE(english.find("\n\n— Crimson Republic\n\n🏆 Blue Federation:\nRepublic, you imprisoned"), std::string::npos)
        << english;
}
