#include "app/game.h"
#include "content/factions.h"
#include "support.h"
#include "ui/picture_dir.h"
#include "ui/textures.h"

#include <gtest/gtest.h>
#include <memory>

TEST(FactionPictures, LoadedInStartOrderWithOneFileMissing) {
    TempDir dir;
    testing::internal::CaptureStdout();
    std::unique_ptr<Game> game = startWithPictures(dir, "red_hover.png");
    std::string out = testing::internal::GetCapturedStdout();

    size_t previous = 0;
    for (const char* line : {"blue_normal.png loaded! Size: 256x256\n", "blue_hover.png loaded! Size: 256x256\n",
                             "yellow_normal.png loaded! Size: 256x256\n", "yellow_hover.png loaded! Size: 256x256\n",
                             "red_normal.png loaded! Size: 256x256\n", "ERROR: Cannot load red_hover.png\n",
                             "white_normal.png loaded! Size: 256x256\n", "white_hover.png loaded! Size: 256x256\n",
                             "purple_normal.png loaded! Size: 256x256\n", "purple_hover.png loaded! Size: 256x256\n"}) {
        size_t at = out.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        EXPECT_GT(at, previous) << line;
        previous = at;
    }
    EXPECT_EQ(game->faction_hover[Red].getSize(), sf::Vector2u(0, 0));
    EXPECT_EQ(game->faction_normal[Red].getSize(), sf::Vector2u(256, 256));
    EXPECT_EQ(game->faction_hover[Purple].getSize(), sf::Vector2u(256, 256));
    EXPECT_EQ(game->faction_sprites[Red].getTexture(), &game->faction_normal[Red]);
    EXPECT_EQ(game->faction_sprites[Red].getTextureRect(), sf::IntRect(0, 0, 256, 256));
}

TEST(FactionPictures, SizeIsLoggedAndOnlyFactionNamesAreStored) {
    TempDir dir;
    std::unique_ptr<Game> game = startWithPictures(dir, "");
    sf::Image small;
    small.create(64, 32, sf::Color::Green);
    ASSERT_TRUE(small.saveToFile(dir.path() + "/blue_normal.png"));
    ASSERT_TRUE(small.saveToFile(dir.path() + "/green_normal.png"));

    testing::internal::CaptureStdout();
    loadFactionPictures(*game, "blue");
    loadFactionPictures(*game, "green");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("blue_normal.png loaded! Size: 64x32\n"), std::string::npos);
    EXPECT_NE(out.find("green_normal.png loaded! Size: 64x32\n"), std::string::npos);
    EXPECT_NE(out.find("ERROR: Cannot load green_hover.png\n"), std::string::npos);

    EXPECT_EQ(game->faction_normal[Blue].getSize(), sf::Vector2u(64, 32));
    EXPECT_EQ(game->faction_sprites[Blue].getTextureRect(), sf::IntRect(0, 0, 64, 32));
    for (int faction : {Red, Yellow, Purple, White})
        EXPECT_EQ(game->faction_normal[size_t(faction)].getSize(), sf::Vector2u(256, 256)) << faction;
}
