#include "app/frontend.h"
#include "support.h"
#include "ui/faction_screen.h"
#include "ui/picture.h"

namespace {
const sf::Vector2f kWindow(1280, 720);

// A frame of the faction screen with the mouse at a window point.
sf::Image drawScreen(Game& game, sf::Vector2i mouse) {
    game.game_started = true;
    game.input.mouse = mouse;
    return renderedFrame(game);
}

bool isDark(sf::Color c) { return c.r < 60 && c.g < 60 && c.b < 70; }
}  // namespace

TEST(FactionScreen, GlowFollowsTheNearestSeedUnlessACardIsHovered) {
    EXPECT_EQ(factionHexGrid(kWindow), sf::Vector2i(30, 21));
    // Red's seed is at (256, 252), Yellow's at (512, 252): exactly between them Red wins.
    FactionHover tie = findFactionHover({384, 252}, kWindow);
    EXPECT_EQ(std::make_pair(tie.territory, tie.card), std::make_pair(0, -1));
    // On the Purple card, right under Blue's seed (768, 252): the card wins.
    FactionHover on_card = findFactionHover({768, 280}, kWindow);
    EXPECT_EQ(std::make_pair(on_card.territory, on_card.card), std::make_pair(3, 3));
    EXPECT_EQ(findFactionHover({925, 300}, kWindow).card, -1);  // card 3 spans 745 <= x < 925
}

TEST(FactionScreen, PicturesLoadInOrderThenCardsAndThePanelShowThem) {
    TempDir dir;  // every faction picture but Red's hover one
    ASSERT_EQ(runCommand("cp '" TARVEX_RUN_DIR "'/*_normal.png '" TARVEX_RUN_DIR "'/*_hover.png . && rm red_hover.png"), 0);
    std::unique_ptr<Game> game;
    std::string out = stdoutOf([&] { game = std::make_unique<Game>(GameOptions{false, kTestSeeds, ""}); });
    size_t previous = 0;  // each line in the designed order
    for (std::string name : {"blue", "yellow", "red", "white", "purple"})
        for (std::string file : {name + "_normal.png", name + "_hover.png"}) {
            std::string line = file == "red_hover.png" ? "ERROR: Cannot load " + file : file + " loaded! Size: 256x256";
            previous = out.find(line + "\n", previous);
            ASSERT_NE(previous, std::string::npos) << line;
        }
    EXPECT_EQ(textureOf(game->frontend->faction_sprites[0]), &game->frontend->faction_normal[0]);

    sf::Image purple_hovered = drawScreen(*game, {770, 280});
    EXPECT_EQ(pixelAt(purple_hovered, 742, 300), sf::Color(155, 35, 210));  // 4 wide, in the card colour
    EXPECT_EQ(pixelAt(purple_hovered, 548, 300), sf::Color(100, 100, 130)); // 2 wide elsewhere
    EXPECT_NE(pixelAt(purple_hovered, 546, 300), sf::Color(100, 100, 130));
    sf::Color red_seed = pixelAt(purple_hovered, 256, 240);
    EXPECT_GT(red_seed.b, red_seed.g);  // the whole field glows purple, even at Red's seed
    // Not hovered, the Red card shows its picture; hovered, its hover picture is missing.
    EXPECT_FALSE(isDark(pixelAt(purple_hovered, 250, 345)));
    sf::Image red_hovered = drawScreen(*game, {250, 345});
    EXPECT_TRUE(isDark(pixelAt(red_hovered, 250, 345)));
    EXPECT_EQ(pixelAt(red_hovered, 157, 300), sf::Color(200, 40, 30));
    EXPECT_FALSE(isDark(pixelAt(red_hovered, 445, 345)));  // Yellow's picture

    game->hovered_faction = 2;
    sf::Image panel = drawScreen(*game, {250, 345});
    EXPECT_EQ(pixelAt(panel, 338, 300), sf::Color(35, 65, 210));  // panel outline
    EXPECT_EQ(pixelAt(panel, 640, 255), sf::Color(35, 65, 210));  // separator
    EXPECT_NE(pixelAt(panel, 157, 300), sf::Color(200, 40, 30));  // no cards
    for (int outside : {5, -2}) {
        game->hovered_faction = outside;
        EXPECT_EQ(pixelAt(drawScreen(*game, {10, 10}), 548, 300), sf::Color(100, 100, 130)) << outside;
    }
}
