#include "app/frontend.h"
#include "app/renderer.h"
#include "app/settings_keys.h"
#include "app/seeded_match.h"
#include "ui/picture.h"

namespace {
struct FrameStatsTest : testing::Test, SteppedGame {
    FrameStatsTest() : SteppedGame("", "", true) {}
};
}  // namespace

TEST(HeadlessGame, ASeededMatchEndsInTheSameStateAsWithAWindow) {
    PlayedMatch headless = playSeededMatch(false);
    PlayedMatch windowed = playSeededMatch(true);
    EXPECT_GT(headless.units, 10u);
    EXPECT_NE(headless.log.find("Starting level: 9 - "), std::string::npos) << headless.log;
    EXPECT_EQ(std::make_pair(headless.log, headless.digest), std::make_pair(windowed.log, windowed.digest));
}

using GameWindow = WindowedGameTest;

// Under Xvfb the renderer is llvmpipe: the game's window opens without multisampling and
// says so once; the key turns it back on without a word.
TEST(RendererRule, TheGameWindowFollowsTheRule) {
    ASSERT_TRUE(isSoftwareRenderer(rendererName())) << rendererName();
    std::string log = stdoutOf([] {
        GameFixture fixture("", "", true);
        EXPECT_EQ(antialiasingOf(fixture.game->frontend->window), 0u);
    });
    EXPECT_EQ(countOf(log, "multisampling off"), 1u) << log;
    log = stdoutOf([] {
        GameFixture fixture(R"({"window": {"antialiasing": 4}})", "", true);
        EXPECT_GT(antialiasingOf(fixture.game->frontend->window), 0u);
    });
    EXPECT_EQ(countOf(log, "multisampling off"), 0u) << log;
}

// SFML 2.5 on X11 places a new window from the screen's width alone, which pushes the bottom of
// a 1280 x 720 window off a 1920 x 1080 desktop. After a resize and in fullscreen the picture
// is letterboxed, not stretched, and every click lands on the target drawn under it.
TEST_F(GameWindow, TheWindowOpensCentredAndClicksHitTheirTargetsAfterAResizeAndInFullscreen) {
    sf::Vector2u desktop = desktopSize();
    ASSERT_GE(desktop.y, 720u);
    EXPECT_EQ(game.frontend->window.getPosition(), sf::Vector2i((int(desktop.x) - 1280) / 2, (int(desktop.y) - 720) / 2));
    game.frontend->window.setSize({1000, 360});
    ASSERT_TRUE(waitUntil([&] {  // until the window system has done it
        while (pollInput(game.frontend->window)) {}
        return game.frontend->window.getSize() == sf::Vector2u(1000, 360);
    }, 2));
    sf::Image frame = renderedFrame(game);
    EXPECT_EQ(pixelAt(frame, 0, 180), sf::Color::Black);  // a bar beside the picture
    // The single-player button, (440, 215) and 400 x 130 in the layout, at half size from x = 180.
    sf::Color button = pixelAt(frame, 180 + 225, 112);  // layout (450, 225), inside the green button
    EXPECT_TRUE(button.g > 120 && button.r < 100 && button.b < 100) << int(button.r) << "," << int(button.g);
    press(game, 500, 140);
    EXPECT_TRUE(game.game_started);

    keyPress(game, sf::Keyboard::Key::F11);
    ASSERT_TRUE(game.frontend->fullscreen);
    sf::Vector2u size = game.frontend->window.getSize();
    ASSERT_EQ(size, desktop);
    float scale = std::min(float(size.x) / 1280, float(size.y) / 720);
    sf::Vector2f origin((float(size.x) - 1280 * scale) / 2, (float(size.y) - 720 * scale) / 2);
    // Inside the third faction card, whose layout rectangle starts at (160 + 390, 270).
    stdoutOf([&] { press(game, int(origin.x + (160 + 390 + 90) * scale), int(origin.y + (270 + 90) * scale)); });
    EXPECT_EQ(game.hovered_faction, 2);

    keyPress(game, sf::Keyboard::Key::F11);
    EXPECT_FALSE(game.frontend->fullscreen);
    EXPECT_EQ(game.frontend->window.getSize(), sf::Vector2u(1280, 720));
    EXPECT_TRUE(game.frontend->window.isOpen());
}

TEST(Volume, ConfigVolumesScaleTheMusicAndMTurnsItOffForTheRun) {
    GameFixture fixture(R"({"audio": {"music_volume": 40, "effects_volume": 250}})", "", true);
    Game& game = *fixture.game;
    SoundBank& sounds = game.frontend->sounds;
    EXPECT_EQ(sf::Vector2f(sounds.music_volume, sounds.effects_volume), sf::Vector2f(0.4f, 1.0f));  // within 0..100
    ASSERT_EQ(runCommand("cp '" TARVEX_RUN_DIR "/bgm.wav' ."), 0);
    playBgm(sounds);
    ASSERT_TRUE(sounds.bgm_playing);
    EXPECT_FLOAT_EQ(sounds.bgm.getVolume(), 200);  // 40 % of the game's own 500
    keyPress(game, sf::Keyboard::Key::M);
    EXPECT_FALSE(sounds.music_on || sounds.bgm_playing);
    EXPECT_EQ(sounds.bgm.getStatus(), sf::SoundSource::Status::Stopped);
    playBgm(sounds);  // stays off for the run
    EXPECT_FALSE(sounds.bgm_playing);
    keyPress(game, sf::Keyboard::Key::M);
    EXPECT_TRUE(sounds.music_on);
}

// The frame cap from the settings holds the loop to it (loosely: the virtual display's
// timing is coarse), and is kept in settings.json.
TEST(FrameCap, TheLoopDrawsNoFasterThanTheCap) {
    GameFixture fixture("", "", true);
    Game& game = *fixture.game;
    Settings capped = game.settings;
    capped.frame_limit = 60;
    changeSettings(game, capped);
    auto framesInHalfASecond = [&] {
        int frames = 0;
        auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500)) {
            render(game);
            ++frames;
        }
        return frames;
    };
    framesInHalfASecond();  // the first frames build the caches
    int frames = framesInHalfASecond();
    EXPECT_GE(frames, 5);
    EXPECT_LE(frames, 36);
    EXPECT_EQ(loadSettings(game.settings_file).frame_limit, 60);
}

// The line comes once a full second has passed, counts the frames of that second and
// averages their times to two places; without --fps-log nothing is printed.
TEST_F(FrameStatsTest, FpsLogPrintsOneLineASecond) {
    EXPECT_EQ(fpsLogLine(143, 0.414, 6.5, 48, 51), "FPS 143 update 0.41 draw 6.50 units 48/51");
    EXPECT_EQ(fpsLogLine(0, 0, 0, 0, 0), "FPS 0 update 0.00 draw 0.00 units 0/0");
    addUnit(game, true, 0, {100, 500});
    addUnit(game, false, 0, {100, 100});
    addUnit(game, false, 1, {200, 100});
    game.frontend->frame_stats.second_clock.restart();
    game.frontend->frame_stats.log_each_second = true;
    std::string log;
    for (int frame = 0; frame < 4; ++frame) {
        clock.advance(0.25f);
        log += stdoutOf([&] { recordFrame(game, 0.001, 0.004); });
    }
    EXPECT_EQ(log, "FPS 4 update 1.00 draw 4.00 units 1/2\n");
    // Half a second more is no full second; then a full one has passed, but logging is off.
    for (bool logging : {true, false}) {
        game.frontend->frame_stats.log_each_second = logging;
        clock.advance(0.5f);
        EXPECT_EQ(stdoutOf([&] { recordFrame(game, 0.002, 0.002); }), "") << logging;
    }
}

TEST_F(FrameStatsTest, F3TogglesTheOverlayWhichDrawsNothingWhenOff) {
    game.hex_grid_enabled = 0;
    sf::Image before = renderedFrame(game);
    keyPress(game, sf::Keyboard::Key::F3);
    sf::Image shown = renderedFrame(game);
    unsigned w = game.frontend->window.getSize().x;
    sf::IntRect corner({int(w) - 160, 114}, {150, 100});
    EXPECT_GT(differingPixels(shown, before, 0, corner), 500);
    EXPECT_EQ(differingPixels(shown, before, 0, sf::IntRect({0, 0}, {int(w) - 160, 720})), 0);
    keyPress(game, sf::Keyboard::Key::F3);
    EXPECT_EQ(differingPixels(renderedFrame(game), before), 0);
}
