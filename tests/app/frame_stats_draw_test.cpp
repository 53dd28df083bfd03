#include "app/frame_stats.h"
#include "app/frontend.h"
#include "battle/battle_support.h"
#include "events.h"
#include "ui/picture.h"

#include <gtest/gtest.h>

namespace {
struct FrameStatsTest : testing::Test {
    ManualClockSource clock;
    GameFixture fixture{"", "", true};
    Game& game = *fixture.game;
};
}  // namespace

// The line comes once a full second has passed, counts the frames of that second and
// averages their times to two places; without --fps-log nothing is printed.
TEST_F(FrameStatsTest, FpsLogPrintsOneLineASecond) {
    EXPECT_EQ(fpsLogLine(143, 0.414, 6.5, 48, 51), "FPS 143 update 0.41 draw 6.50 units 48/51");
    addUnit(game, true, 0, {100, 500});
    addUnit(game, false, 0, {100, 100});
    addUnit(game, false, 1, {200, 100});
    game.frontend->frame_stats.second_clock.restart();
    game.frontend->frame_stats.log_each_second = true;
    std::string log = stdoutOf([&] {
        for (int frame = 0; frame < 4; ++frame) {
            clock.advance(0.25f);
            recordFrame(game, 0.001, 0.004);
        }
    });
    EXPECT_EQ(log, "FPS 4 update 1.00 draw 4.00 units 1/2\n");
    // Half a second more is no full second; then a full one has passed, but logging is off.
    for (bool logging : {true, false}) {
        game.frontend->frame_stats.log_each_second = logging;
        log = stdoutOf([&] {
            clock.advance(0.5f);
            recordFrame(game, 0.002, 0.002);
        });
        EXPECT_EQ(log, "") << logging;
    }
}

TEST_F(FrameStatsTest, F3TogglesTheOverlayWhichDrawsNothingWhenOff) {
    game.hex_grid_enabled = 0;
    sf::Image before = renderedFrame(game);
    keyPress(game, sf::Keyboard::F3);
    sf::Image shown = renderedFrame(game);
    unsigned w = game.frontend->window.getSize().x;
    sf::IntRect corner(int(w) - 160, 114, 150, 100);
    EXPECT_GT(differingPixels(shown, before, corner), 500);
    EXPECT_EQ(differingPixels(shown, before, sf::IntRect(0, 0, int(w) - 160, 720)), 0);
    keyPress(game, sf::Keyboard::F3);
    EXPECT_EQ(differingPixels(renderedFrame(game), before), 0);
}
