#include "app/display.h"
#include "app/sfml_compat.h"

#include <gtest/gtest.h>

TEST(Letterbox, ThePictureKeepsItsShapeCentredWithBars) {
    auto pixels = [](sf::Vector2u size) {  // the viewport in whole pixels
        RectParts<float> port = partsOf(letterboxViewport(size));
        auto scaled = [](float fraction, unsigned pixels) { return int(std::lround(fraction * float(pixels))); };
        return sf::IntRect({scaled(port.left, size.x), scaled(port.top, size.y)},
                           {scaled(port.width, size.x), scaled(port.height, size.y)});
    };
    EXPECT_EQ(letterboxViewport({1280, 720}), sf::FloatRect({0, 0}, {1, 1}));
    EXPECT_EQ(pixels({1600, 1000}), sf::IntRect({0, 50}, {1600, 900}));  // bars of 50 above and below
    EXPECT_EQ(pixels({1000, 360}), sf::IntRect({180, 0}, {640, 360}));   // bars of 180 beside
    // Pixels map back onto the layout; the bars lie outside it.
    EXPECT_EQ(toLayout({1600, 1000}, {0, 50}), sf::Vector2i(0, 0));
    EXPECT_EQ(toLayout({1600, 1000}, {1599, 949}), sf::Vector2i(1279, 719));
    EXPECT_EQ(toLayout({1600, 1000}, {800, 25}).y, -20);  // in the bar above
    EXPECT_EQ(toLayout({1000, 360}, {180 + 320, 180}), sf::Vector2i(640, 360));
    // A layout point names the same field point whatever the window.
    sf::View camera(sf::FloatRect({0, 0}, {1280, 720}));
    camera.setCenter({450, 300});
    EXPECT_EQ(layoutToView(camera, {640, 360}), sf::Vector2f(450, 300));
    EXPECT_EQ(layoutToView(camera, {0, 0}), sf::Vector2f(-190, -60));
}

