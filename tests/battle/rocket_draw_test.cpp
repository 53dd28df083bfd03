#include "battle/projectile.h"
#include "battle/rocket_draw.h"
#include "ui/canvas.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

// Every rocket drawn advances the flame, so two rockets of one frame flicker differently.
TEST(RocketDrawing, TwoRocketsInOneFrameAdvanceTheFlameTwice) {
    sf::RenderTexture texture;
    ASSERT_TRUE(texture.create(200, 200));
    Canvas canvas;
    canvas.target = &texture;
    canvas.batched = true;
    Projectile rocket;
    rocket.shape.setPosition(100, 100);
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
