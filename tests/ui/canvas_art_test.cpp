#include "content/factions.h"
#include "support.h"
#include "ui/canvas.h"
#include "ui/picture.h"
#include "ui/unit_art.h"

#include <gtest/gtest.h>
#include <cstdlib>

namespace {
// A size x size picture of the scene drawn through the canvas over the background colour.
template <typename Scene>
sf::Image drawnThrough(Canvas& canvas, bool batched, unsigned size, Scene scene) {
    sf::RenderTexture texture;
    texture.create(size, size);
    texture.clear(sf::Color(30, 30, 50));
    sf::RenderTarget* previous = canvas.target;
    canvas.target = &texture;
    canvas.batched = batched;
    scene();
    flushCanvas(canvas);
    canvas.target = previous;
    texture.display();
    return texture.getTexture().copyToImage();
}

// One player unit of the faction alone on a 128 x 128 picture, centred, aiming at theta.
sf::Image unitPicture(Game& game, int faction, float theta, bool batched = true) {
    game.player_faction = faction;
    Turret unit(true, 0);
    unit.body.setPosition(64, 64);
    unit.barrel.setRotation(theta);
    return drawnThrough(game.canvas, batched, 128, [&] { drawUnit(game, game.canvas, unit); });
}

// 100 overlapping outlined circles with a line strip drawn after the first 50.
void circlesAndALine(Canvas& canvas) {
    sf::Transformable at;
    for (int i = 0; i < 100; ++i) {
        at.setPosition(float(i % 10) * 19 - 5, float(i / 10) * 19 - 5);
        drawCircle(canvas, 9, 30, at, ShapeStyle{sf::Color(255, 255, 255, 100), sf::Color(255, 0, 0, 200), 1.5f});
        if (i != 49) continue;
        const sf::Vertex line[3] = {{{10, 10}, sf::Color::Green}, {{190, 60}, sf::Color::Green}, {{20, 190}, sf::Color::Green}};
        drawVertices(canvas, line, 3, sf::LineStrip);
    }
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

// Many small shapes reach the target in one draw call, broken only where the primitive
// type changes, and the picture stays that of drawing each on its own.
TEST(Canvas, BatchesBreakOnlyWhereThePrimitiveTypeChanges) {
    Canvas own, batched;
    sf::Image own_picture = drawnThrough(own, false, 200, [&] { circlesAndALine(own); });
    EXPECT_LE(differingPixels(drawnThrough(batched, true, 200, [&] { circlesAndALine(batched); }), own_picture), 4);
    EXPECT_EQ(batched.draw_calls, 3);
    EXPECT_GT(own.draw_calls, 100);
}
