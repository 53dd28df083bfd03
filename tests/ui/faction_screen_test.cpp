#include "app/game.h"
#include "support.h"
#include "ui/faction_screen.h"
#include "ui/picture_dir.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

namespace {
const sf::Vector2f kWindow(1280, 720);

// Draws the screen into an image instead of the window, with the mouse at a window point.
sf::Image drawScreen(Game& game, sf::Vector2i mouse) {
    sf::RenderTexture target;
    target.create(1280, 720);
    game.canvas.target = &target;
    game.input.mouse = mouse;
    target.clear(sf::Color(30, 30, 50));
    drawFactionScreen(game);
    game.canvas.target = &game.window;
    target.display();
    return target.getTexture().copyToImage();
}

bool isDark(sf::Color c) { return c.r < 60 && c.g < 60 && c.b < 70; }
}  // namespace

TEST(FactionScreen, GlowFollowsTheNearestSeedUnlessACardIsHovered) {
    // Red's seed is at (256, 252), Yellow's at (512, 252): exactly between them Red wins.
    FactionHover tie = findFactionHover({384, 252}, kWindow);
    EXPECT_EQ(tie.territory, 0);
    EXPECT_EQ(tie.card, -1);
    // On the Purple card, right under Blue's seed (768, 252): the card wins.
    FactionHover on_card = findFactionHover({768, 280}, kWindow);
    EXPECT_EQ(on_card.territory, 3);
    EXPECT_EQ(on_card.card, 3);
    // Card 3 spans 745 <= x < 925 and 270 <= y < 450.
    EXPECT_EQ(findFactionHover({745, 270}, kWindow).card, 3);
    EXPECT_EQ(findFactionHover({925, 300}, kWindow).card, -1);
    EXPECT_EQ(findFactionHover({800, 450}, kWindow).card, -1);
    EXPECT_EQ(findFactionHover({-2000, -2000}, kWindow).territory, -1);  // beyond every reach

    EXPECT_EQ(factionHexGrid(kWindow), sf::Vector2i(30, 21));
}

TEST(FactionScreen, CardViewOutlinesTheHoveredCardAndShowsItsPicture) {
    TempDir dir;
    std::unique_ptr<Game> game = startWithPictures(dir, "red_hover.png");

    sf::Image purple_hovered = drawScreen(*game, {770, 280});
    EXPECT_EQ(purple_hovered.getPixel(742, 300), sf::Color(155, 35, 210));  // 4 wide, in the card colour
    EXPECT_EQ(purple_hovered.getPixel(548, 300), sf::Color(100, 100, 130)); // 2 wide elsewhere
    EXPECT_NE(purple_hovered.getPixel(546, 300), sf::Color(100, 100, 130));
    sf::Color red_seed = purple_hovered.getPixel(256, 240);
    EXPECT_GT(red_seed.b, red_seed.g);  // the whole field glows purple, even at Red's seed

    // Not hovered, the Red card shows its picture; hovered, its hover picture is missing.
    EXPECT_FALSE(isDark(purple_hovered.getPixel(250, 345)));
    sf::Image red_hovered = drawScreen(*game, {250, 345});
    EXPECT_TRUE(isDark(red_hovered.getPixel(250, 345)));
    EXPECT_EQ(red_hovered.getPixel(157, 300), sf::Color(200, 40, 30));
    EXPECT_FALSE(isDark(red_hovered.getPixel(445, 345)));  // Yellow's picture

    sf::Image tie = drawScreen(*game, {384, 252});
    sf::Color glow = tie.getPixel(256, 240);
    EXPECT_GT(glow.r, 150);
    EXPECT_LT(glow.g, 100);
}

TEST(FactionScreen, PanelAfterThePickAndNothingOutsideTheTable) {
    TempDir dir;
    std::unique_ptr<Game> game = startWithPictures(dir, "");
    game->hovered_faction = 2;
    sf::Image panel = drawScreen(*game, {250, 345});
    EXPECT_EQ(panel.getPixel(338, 300), sf::Color(35, 65, 210));  // panel outline
    EXPECT_EQ(panel.getPixel(640, 255), sf::Color(35, 65, 210));  // separator
    EXPECT_NE(panel.getPixel(157, 300), sf::Color(200, 40, 30));  // no cards
    sf::Color far_hex = panel.getPixel(20, 700);
    EXPECT_GT(far_hex.b, 100);
    EXPECT_GT(far_hex.b, far_hex.r + 50);

    for (int outside : {5, 99, -2}) {
        game->hovered_faction = outside;
        sf::Image cards = drawScreen(*game, {10, 10});
        EXPECT_EQ(cards.getPixel(548, 300), sf::Color(100, 100, 130)) << outside;
    }
}
