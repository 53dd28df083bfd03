#include "app/game.h"
#include "content/factions.h"
#include "support.h"
#include "ui/picture.h"
#include "ui/unit_art.h"

#include <gtest/gtest.h>
#include <cstdlib>

namespace {
const char* const kReferenceNames[kFactionCount] = {"red", "yellow", "blue", "purple", "white"};

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

std::string referencePath(int faction) {
    return std::string(TARVEX_SOURCE_DIR) + "/tests/ui/reference/" + kReferenceNames[faction] + ".png";
}

// r, g and b of a pixel summed, to tell bright art from the dark background.
int brightness(sf::Color c) { return c.r + c.g + c.b; }
}  // namespace

// TARVEX_UPDATE_REFERENCES=1 rewrites the pictures after an intended change of the art.
TEST(UnitArt, EachFactionMatchesItsReferencePicture) {
    GameFixture fixture;
    Game& game = *fixture.game;
    bool update = std::getenv("TARVEX_UPDATE_REFERENCES") != nullptr;
    for (int faction = 0; faction < kFactionCount; ++faction) {
        sf::Image picture = unitPicture(game, faction, 30);
        if (update) {
            ASSERT_TRUE(picture.saveToFile(referencePath(faction)));
        }
        sf::Image reference;
        ASSERT_TRUE(reference.loadFromFile(referencePath(faction))) << referencePath(faction);
        EXPECT_LE(differingPixels(picture, reference, 24), 6) << kReferenceNames[faction];
        EXPECT_LE(differingPixels(unitPicture(game, faction, 30, false), reference, 24), 6) << kReferenceNames[faction];
        EXPECT_GT(differingPixels(picture, unitPicture(game, faction, 75), 24), 100) << "the art turns with the aim";
    }
}

TEST(UnitArt, AimingUpPutsRedExhaustBelowAndTheWhiteBarrelAbove) {
    GameFixture fixture;
    Game& game = *fixture.game;
    sf::Image red = unitPicture(game, Red, 0);
    // The faint exhaust strips run 18 to 32 pixels behind the centre, 1.5 to 4.5 to either side.
    int reddish = 0;
    for (unsigned y = 64 + 18; y <= 64 + 32; ++y)
        for (unsigned x : {60u, 61u, 62u, 66u, 67u, 68u}) reddish += red.getPixel(x, y).r > red.getPixel(x, y).b;
    EXPECT_GE(reddish, 8);
    sf::Image white = unitPicture(game, White, 0);
    // The barrel, 3 wide and 18 long, is centred 12 above the unit, over the star.
    EXPECT_GE(brightness(white.getPixel(64, 64 - 12)), 740);
    EXPECT_GE(brightness(white.getPixel(64, 64 - 18)), 740);
    EXPECT_LT(brightness(white.getPixel(64, 64 + 12)), brightness(white.getPixel(64, 64 - 12)));
}

TEST(UnitArt, UnknownFactionDrawsTheUnitsOwnBodyAndTheDefaultBarrel) {
    GameFixture fixture;
    Game& game = *fixture.game;
    Turret unit(true, 0);
    sf::Image picture = unitPicture(game, 7, 0);
    sf::Color body = unit.body.getFillColor();
    EXPECT_TRUE(near(picture.getPixel(64, 64 - 6), body, 3));
    // The default barrel runs from the centre 20 pixels along local +y, over the body.
    EXPECT_TRUE(near(picture.getPixel(64, 64 + 6), sf::Color(200, 200, 200), 3));
    EXPECT_TRUE(near(picture.getPixel(64, 64 + 18), sf::Color(200, 200, 200), 3));
}
