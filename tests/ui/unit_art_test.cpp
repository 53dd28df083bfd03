#include "app/game.h"
#include "content/factions.h"
#include "support.h"
#include "ui/picture.h"
#include "ui/unit_art.h"

#include <gtest/gtest.h>
#include <cstdlib>

namespace {
// One player unit of the faction alone on a 128 x 128 picture, centred, aiming at theta.
sf::Image unitPicture(Game& game, int faction, float theta, bool batched = true) {
    game.player_faction = faction;
    Turret unit(true, 0);
    unit.body.setPosition(64, 64);
    unit.barrel.setRotation(theta);
    sf::RenderTexture texture;
    texture.create(128, 128);
    texture.clear(sf::Color(30, 30, 50));
    game.canvas.target = &texture;
    game.canvas.batched = batched;
    drawUnit(game, game.canvas, unit);
    flushCanvas(game.canvas);
    game.canvas.target = &game.window;
    texture.display();
    return texture.getTexture().copyToImage();
}
}  // namespace

using UnitArt = GameTest;

// TARVEX_UPDATE_REFERENCES=1 rewrites the pictures after an intended change of the art.
TEST_F(UnitArt, EachFactionMatchesItsReferencePicture) {
    const char* const names[kFactionCount] = {"red", "yellow", "blue", "purple", "white"};
    for (int faction = 0; faction < kFactionCount; ++faction) {
        std::string path = std::string(TARVEX_SOURCE_DIR) + "/tests/ui/reference/" + names[faction] + ".png";
        sf::Image picture = unitPicture(game, faction, 30), reference;
        if (std::getenv("TARVEX_UPDATE_REFERENCES")) {
            ASSERT_TRUE(picture.saveToFile(path));
        }
        ASSERT_TRUE(reference.loadFromFile(path)) << path;
        EXPECT_LE(differingPixels(picture, reference, 24), 6) << names[faction];
        EXPECT_LE(differingPixels(unitPicture(game, faction, 30, false), reference, 24), 6) << names[faction];
    }

    // A faction outside the table draws the unit's own body and the default barrel, 20 pixels along local +y.
    sf::Image unknown = unitPicture(game, 7, 0);
    EXPECT_TRUE(near(unknown.getPixel(64, 64 - 6), Turret(true, 0).body.getFillColor(), 3));
    EXPECT_TRUE(near(unknown.getPixel(64, 64 + 6), sf::Color(200, 200, 200), 3));
    EXPECT_TRUE(near(unknown.getPixel(64, 64 + 18), sf::Color(200, 200, 200), 3));
}
