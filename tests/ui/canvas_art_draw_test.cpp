#include "app/frontend.h"
#include "battle/combat.h"
#include "bench/picture_compare.h"
#include "support.h"
#include "ui/picture.h"
#include "ui/unit_art.h"

namespace {
const sf::Color kPictureBackground(30, 30, 50);

// A size x size picture of the scene drawn through the canvas over the background colour;
// the canvas counts the draw calls of this picture.
template <typename Scene>
sf::Image drawnThrough(Canvas& canvas, bool batched, unsigned size, Scene scene,
                       std::optional<sf::View> view = std::nullopt) {
    sf::RenderTexture texture;
    resizeRenderTexture(texture, {size, size});
    if (view) texture.setView(*view);
    texture.clear(kPictureBackground);
    sf::RenderTarget* previous = canvas.target;
    canvas.target = &texture;
    canvas.batched = batched;
    canvas.draw_calls = 0;
    scene();
    flushCanvas(canvas);
    canvas.target = previous;
    texture.display();
    return texture.getTexture().copyToImage();
}

// One player unit of the faction alone on a 128 x 128 picture aiming at theta, by default
// in the middle; `zoom` pixels to a field unit, the view centred on the unit.
sf::Image unitPicture(Game& game, int faction, float theta, bool batched = true, float zoom = 1,
                      sf::Vector2f position = {64, 64}) {
    game.player_faction = faction;
    Turret unit(true, 0);
    placeUnit(unit, position);
    unit.barrel_degrees = theta;
    sf::View view(position, sf::Vector2f(128, 128) / zoom);
    if (zoom == 1) view.setCenter({64, 64});
    return drawnThrough(game.frontend->canvas, batched, 128, [&] { drawUnit(game, game.frontend->canvas, unit); }, view);
}

// 100 overlapping outlined circles with a line strip drawn after the first 50.
void circlesAndALine(Canvas& canvas) {
    sf::Transformable at;
    for (int i = 0; i < 100; ++i) {
        at.setPosition({float(i % 10) * 19 - 5, float(i / 10) * 19 - 5});
        drawCircle(canvas, 9, 30, at, ShapeStyle{sf::Color(255, 255, 255, 100), sf::Color(255, 0, 0, 200), 1.5f});
        if (i != 49) continue;
        const sf::Vertex line[3] = {{{10, 10}, sf::Color::Green}, {{190, 60}, sf::Color::Green}, {{20, 190}, sf::Color::Green}};
        drawVertices(canvas, line, 3, sf::PrimitiveType::LineStrip);
    }
}
}  // namespace

using UnitArt = WindowedGameTest;

// TARVEX_UPDATE_REFERENCES=1 rewrites the pictures after an intended change of the art.
TEST_F(UnitArt, EachFactionMatchesItsReferencePicture) {
    const char* const names[kFactionCount] = {"red", "yellow", "blue", "purple", "white"};
    for (int faction = 0; faction < kFactionCount; ++faction) {
        std::string path = std::string(TARVEX_SOURCE_DIR) + "/tests/ui/reference/" + names[faction] + ".png";
        sf::Image picture = unitPicture(game, faction, 30), reference;
        ASSERT_TRUE(!std::getenv("TARVEX_UPDATE_REFERENCES") || picture.saveToFile(path));
        ASSERT_TRUE(reference.loadFromFile(path)) << path;
        EXPECT_LE(differingPixels(picture, reference, 24), 6) << names[faction];
        EXPECT_LE(differingPixels(unitPicture(game, faction, 30, false), reference, 24), 6) << names[faction];
    }

    // A faction outside the table draws the unit's own body and the default barrel, 20 pixels along local +y.
    sf::Image unknown = unitPicture(game, 7, 0);
    EXPECT_TRUE(near(pixelAt(unknown, 64, 64 - 6), Turret(true, 0).body.getFillColor(), 3));
    EXPECT_TRUE(near(pixelAt(unknown, 64, 64 + 6), sf::Color(200, 200, 200), 3));
    EXPECT_TRUE(near(pixelAt(unknown, 64, 64 + 18), sf::Color(200, 200, 200), 3));
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

// Units drawn from their pre-drawn cells: on a pixel corner at a whole degree, at any pixel scale, a
// unit is its shapes up to the rounding of premultiplied blending, but for pixels whose centres lie
// on an edge and may go either way (one at most with SFML 2; SFML 3 turns by its own rounding of
// the angle, and Red at 359 degrees has two); off the grid it lies within a pixel of them.
TEST_F(UnitArt, SpritesLieWithinAPixelOfTheShapes) {
    for (float zoom : {1.0f, 2.0f})
        for (int faction = 0; faction < kFactionCount; ++faction)
            for (float theta : {0.0f, 137.0f, 359.0f}) {
                sf::Image shapes = unitPicture(game, faction, theta, false, zoom);
                EXPECT_LE(differingPixels(unitPicture(game, faction, theta, true, zoom), shapes, 3), 2)
                    << "faction " << faction << " at " << theta << " zoomed " << zoom;
            }

    std::mt19937 rng{7};
    std::uniform_real_distribution<float> fraction(0, 1), turn(0, 360);
    sf::Image plain;
    resizeImage(plain, {128, 128}, kPictureBackground);
    for (int faction = 0; faction < kFactionCount; ++faction) {
        long painted = 0, unmatched = 0;
        for (int i = 0; i < 12; ++i) {
            sf::Vector2f position(64 + fraction(rng), 64 + fraction(rng));
            float theta = turn(rng);
            sf::Image shapes = unitPicture(game, faction, theta, false, 1, position);
            sf::Image sprite = unitPicture(game, faction, theta, true, 1, position);
            unmatched += comparePictures(sprite, shapes, 3).unmatched;
            painted += differingPixels(shapes, plain, 0);
        }
        // What remains are edges of hairline outlines a shift of under a pixel shows or hides.
        EXPECT_LE(unmatched, painted / 16) << "faction " << faction;
    }
}

TEST_F(UnitArt, SpritesShareADrawCallUnlessTheViewIsTurned) {
    game.player_faction = 2;
    std::vector<Turret> units;
    for (int i = 0; i < 20; ++i) {
        units.emplace_back(true, 0);
        placeUnit(units.back(), {20.5f + 9.3f * float(i % 10), 30.2f + 60 * float(i / 10)});
        units.back().barrel_degrees = 17.0f * float(i);
    }
    Canvas& canvas = game.frontend->canvas;
    auto drawAll = [&] {
        for (const Turret& unit : units) drawUnit(game, canvas, unit);
    };
    drawnThrough(canvas, true, 128, drawAll);
    EXPECT_EQ(canvas.draw_calls, 1);

    sf::View turned(sf::Vector2f(64, 64), sf::Vector2f(128, 128));
    setViewRotationDegrees(turned, 90);
    sf::Image shapes = drawnThrough(canvas, false, 128, drawAll, turned);
    EXPECT_EQ(differingPixels(drawnThrough(canvas, true, 128, drawAll, turned), shapes, 3), 0);
    EXPECT_GT(canvas.draw_calls, 20);
}
