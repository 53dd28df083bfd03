#include "app/frontend.h"
#include "battle/battle_support.h"
#include "battle/rocket_draw.h"
#include "ui/picture.h"

namespace {
// The shader blends a pixel's layers in one step where the shapes round to a byte after each.
const int kChannelTolerance = 3;
// Pixels whose centre lies exactly on an edge may go either way: one in ten thousand of
// the floor, one in a thousand of the 20,000 pixels of edge of the specks below.
const int kEdgeTies = 92, kSpeckEdgeTies = 32;

// Cells in every colour the floor takes, scattered so that each meets each at its edges.
void paintCells(Game& game, int shift) {
    const sf::Color colours[] = {sf::Color(255, 0, 0, 120), sf::Color(128, 0, 128, 120), sf::Color(0, 0, 0, 255),
                                 sf::Color(40, 40, 60, 120), sf::Color(20, 20, 30, 30), sf::Color(210, 160, 90, 200)};
    for (size_t i = 0; i < game.hex_shapes.size(); ++i)
        game.hex_shapes[i].setFillColor(colours[(i * 7 + i / 33 + size_t(shift)) % 6]);
}

void showField(Game& game, sf::Vector2f centre) {
    enterMatch(game);
    game.world_view.setCenter(centre);
    game.panel_x = game.panel_hidden_x;
}

// Pixels that differ between the frame drawn by the shaders and drawn shape by shape.
int shaderAgainstShapes(Game& game, sf::Vector2u size = {}) {
    return differingPixels(renderedFrame(game, true, size), renderedFrame(game, false, size), kChannelTolerance);
}
}  // namespace

using FloorDrawing = WindowedGameTest;

// The same floor drawn by the shader and shape by shape, on the menu and under two
// camera positions, after the cells changed colour with the view, and again after a few
// changed under a still view (only their tiles are shaded again).
TEST_F(FloorDrawing, TheShaderFloorMatchesTheShapes) {
    paintCells(game, 0);
    sf::Image batched = renderedFrame(game, true);
    ASSERT_TRUE(game.frontend->hex_floor.ready) << "shaders unavailable: the floor fell back to its shapes";
    EXPECT_LE(differingPixels(batched, renderedFrame(game, false), kChannelTolerance), kEdgeTies);

    showField(game, {450, 300});
    EXPECT_LE(shaderAgainstShapes(game), kEdgeTies);
    showField(game, {437.3f, 891.6f});
    paintCells(game, 3);
    batched = renderedFrame(game, true);
    sf::Image reference = renderedFrame(game, false);
    EXPECT_LE(differingPixels(batched, reference, kChannelTolerance), kEdgeTies);
    // Not a blank floor passing for a blank floor: the abandoned cells show black.
    int black = 0;
    for (unsigned y = 100; y < 600; y += 7)
        for (unsigned x = 200; x < 1100; x += 7) black += near(pixelAt(batched, x, y), sf::Color::Black, 0);
    EXPECT_GT(black, 500);

    for (size_t i = 0; i < game.hex_shapes.size(); i += 37) game.hex_shapes[i].setFillColor(sf::Color(0, 200, 0, 200));
    EXPECT_LE(shaderAgainstShapes(game), kEdgeTies);
    EXPECT_GT(differingPixels(renderedFrame(game, true), reference, kChannelTolerance), 5000);
}

// Smoke puffs as projectiles shed them, sparks, smoke and debris up to eight pixels across,
// track marks up to twelve and outlined flashes up to thirty, at fractional places, some
// across the view's edges. The shader tests the exact edges where the rasteriser rounds
// corners to 1/256 pixel, so only a pixel whose centre lies on an edge may go the other
// way. The same again zoomed in, where the sprites are twice as wide, and in a taller window.
TEST_F(FloorDrawing, ShaderDiscsMatchTheCircles) {
    showField(game, {450, 300});
    game.hex_grid_enabled = 0;
    Projectile shell = makeShell({400, 300}, {0, -1}, true, factionColour(Red), 420, 1.0f);
    for (int i = 0; i < 400; ++i)
        shell.smoke.push_back({100 + float(i % 40) * 17.31f, 80 + float(i / 40) * 23.7f, 0, 0,
                               0.3f * float(i % 9 + 1) / 9, 0.3f, 0.5f + 0.0018f * float(i), sf::Color()});
    game.projectiles.push_back(shell);
    for (int i = 0; i < 100; ++i)
        game.effects.particles.push_back({300 + 5.3f * float(i), 450 + 0.7f * float(i), 0, 0, 0.2f, 0.25f,
                                          0.5f + 0.075f * float(i), sf::Color(255, 220, 100), sf::Color(200, 50, 0)});
    for (int i = 0; i < 300; ++i)
        game.effects.track_marks.push_back({120 + float(i % 30) * 23.13f, 500 + float(i / 30) * 13.9f, 0.5f, 0.5f,
                                            0.5f + 0.019f * float(i), sf::Color(255, 0, 0, 100)});
    // Muzzle flashes: a disc and, over it, its outline band.
    for (int i = 0; i < 40; ++i)
        game.effects.muzzle_flashes.push_back({130 + 19.37f * float(i), 40 + 0.61f * float(i), 1.5f + 0.3f * float(i),
                                               0.05f, 0.08f, sf::Color(255, 230, 120, 200)});
    // A point is clipped by its centre alone and drawn past the view's edge: these stay polygons.
    for (int i = 0; i < 20; ++i) {
        game.effects.track_marks.push_back({1087.3f + 0.5f * float(i), 80 + 26.1f * float(i), 0.5f, 0.5f, 6,
                                            sf::Color(0, 0, 255, 200)});
        game.effects.particles.push_back({100 + 43.7f * float(i), 656.3f + 0.5f * float(i), 0, 0, 0.2f, 0.25f, 4,
                                          sf::Color(0, 255, 0), sf::Color(0, 255, 0)});
    }
    sf::Image batched = renderedFrame(game, true);
    ASSERT_TRUE(game.frontend->canvas.sprites_ready) << "shaders unavailable: the specks fell back to their shapes";
    sf::Image reference = renderedFrame(game, false);
    EXPECT_LE(differingPixels(batched, reference, kChannelTolerance), kSpeckEdgeTies);
    game.world_view.zoom(0.5f);
    EXPECT_LE(shaderAgainstShapes(game), kSpeckEdgeTies);
    game.world_view.zoom(2.0f);
    // A taller window has bars above and below the field, where nothing may spill.
    EXPECT_LE(shaderAgainstShapes(game, {1280, 900}), kSpeckEdgeTies);
    // The specks are there: without them the field is another picture.
    game.projectiles.clear();
    game.effects.particles.clear();
    game.effects.track_marks.clear();
    game.effects.muzzle_flashes.clear();
    EXPECT_GT(differingPixels(reference, renderedFrame(game, true)), 3000);
}

TEST(RocketDrawing, TwoRocketsInOneFrameAdvanceTheFlameTwice) {
    sf::RenderTexture texture;
    ASSERT_TRUE(resizeRenderTexture(texture, {200, 200}));
    Canvas canvas;
    canvas.target = &texture;
    canvas.batched = true;
    Projectile rocket;
    rocket.position = {100, 100};
    rocket.velocity = {0, -100};
    rocket.is_rocket = 1;
    flame_phase = 1.0f;
    drawRocket(canvas, rocket);
    size_t one = canvas.pending.size();
    drawRocket(canvas, rocket);
    EXPECT_FLOAT_EQ(flame_phase, 1.3f);
    ASSERT_EQ(canvas.pending.size(), 2 * one);
    int differing = 0;
    for (size_t i = 0; i < one; ++i)
        if (canvas.pending[i].position != canvas.pending[one + i].position) ++differing;
    EXPECT_GT(differing, 0);  // the same rocket at the same place: only the flames differ
}
