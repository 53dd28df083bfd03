#include "app/display.h"
#include "ui/picture.h"
#include "events.h"
#include "support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
// Resizes the window and waits until the window system has done it.
void resize(Game& game, sf::Vector2u size) {
    game.window.setSize(size);
    waitUntil([&] {
        sf::Event event;
        while (game.window.pollEvent(event)) {}
        return game.window.getSize() == size;
    }, 2);
}
}  // namespace

TEST(Letterbox, ThePictureKeepsItsShapeCentredWithBars) {
    auto pixels = [](sf::Vector2u size) {  // the viewport in whole pixels
        sf::FloatRect port = letterboxViewport(size);
        return sf::IntRect(int(std::lround(port.left * float(size.x))), int(std::lround(port.top * float(size.y))),
                           int(std::lround(port.width * float(size.x))), int(std::lround(port.height * float(size.y))));
    };
    EXPECT_EQ(letterboxViewport({1280, 720}), sf::FloatRect(0, 0, 1, 1));
    EXPECT_EQ(pixels({1600, 1000}), sf::IntRect(0, 50, 1600, 900));  // bars of 50 above and below
    EXPECT_EQ(pixels({1000, 360}), sf::IntRect(180, 0, 640, 360));   // bars of 180 beside
    // Pixels map back onto the layout; the bars lie outside it.
    EXPECT_EQ(toLayout({1600, 1000}, {0, 50}), sf::Vector2i(0, 0));
    EXPECT_EQ(toLayout({1600, 1000}, {1599, 949}), sf::Vector2i(1279, 719));
    EXPECT_EQ(toLayout({1600, 1000}, {800, 25}).y, -20);  // in the bar above
    EXPECT_EQ(toLayout({1000, 360}, {180 + 320, 180}), sf::Vector2i(640, 360));
    // A layout point names the same field point whatever the window.
    sf::View camera(sf::FloatRect(0, 0, 1280, 720));
    camera.setCenter(450, 300);
    EXPECT_EQ(layoutToView(camera, {640, 360}), sf::Vector2f(450, 300));
    EXPECT_EQ(layoutToView(camera, {0, 0}), sf::Vector2f(-190, -60));
}

// After a resize and in fullscreen the picture is letterboxed, not stretched, and every
// click lands on the target drawn under it.
TEST_F(GameTest, ClicksHitTheirTargetsAfterAResizeAndInFullscreen) {
    resize(game, {1000, 360});
    sf::Image frame = renderedFrame(game);
    EXPECT_EQ(frame.getPixel(0, 180), sf::Color::Black);  // a bar beside the picture
    // The single-player button, (440, 215) and 400 x 130 in the layout, is drawn at half
    // size from x = 180: its centre is at (180 + 320, 140).
    sf::Color button = frame.getPixel(180 + 225, 112);  // layout (450, 225), inside the green button
    EXPECT_TRUE(button.g > 120 && button.r < 100 && button.b < 100) << int(button.r) << "," << int(button.g);
    press(game, 500, 140);
    EXPECT_TRUE(game.game_started);

    keyPress(game, sf::Keyboard::F11);
    ASSERT_TRUE(game.fullscreen);
    sf::Vector2u size = game.window.getSize();
    ASSERT_EQ(size, sf::Vector2u(sf::VideoMode::getDesktopMode().width, sf::VideoMode::getDesktopMode().height));
    float scale = std::min(float(size.x) / 1280, float(size.y) / 720);
    sf::Vector2f origin((float(size.x) - 1280 * scale) / 2, (float(size.y) - 720 * scale) / 2);
    // Inside the third faction card, whose layout rectangle starts at (160 + 390, 270).
    stdoutOf([&] { press(game, int(origin.x + (160 + 390 + 90) * scale), int(origin.y + (270 + 90) * scale)); });
    EXPECT_EQ(game.hovered_faction, 2);

    keyPress(game, sf::Keyboard::F11);
    EXPECT_FALSE(game.fullscreen);
    EXPECT_EQ(game.window.getSize(), sf::Vector2u(1280, 720));
    EXPECT_TRUE(game.window.isOpen());
}

TEST(Volume, ConfigVolumesScaleTheMusicAndMTurnsItOffForTheRun) {
    GameFixture fixture(R"({"audio": {"music_volume": 40, "effects_volume": 250}})");
    Game& game = *fixture.game;
    EXPECT_FLOAT_EQ(game.sounds.music_volume, 0.4f);
    EXPECT_FLOAT_EQ(game.sounds.effects_volume, 1.0f);  // held within 0..100
    ASSERT_EQ(runCommand("cp '" TARVEX_RUN_DIR "/bgm.wav' ."), 0);
    playBgm(game.sounds);
    ASSERT_TRUE(game.sounds.bgm_playing);
    EXPECT_FLOAT_EQ(game.sounds.bgm.getVolume(), 200);  // 40 % of the game's own 500
    keyPress(game, sf::Keyboard::M);
    EXPECT_FALSE(game.sounds.music_on || game.sounds.bgm_playing);
    EXPECT_EQ(game.sounds.bgm.getStatus(), sf::Music::Stopped);
    playBgm(game.sounds);  // stays off for the run
    EXPECT_FALSE(game.sounds.bgm_playing);
    keyPress(game, sf::Keyboard::M);
    EXPECT_TRUE(game.sounds.music_on);
}
