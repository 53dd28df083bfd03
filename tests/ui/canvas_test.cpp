#include "ui/canvas.h"
#include "ui/picture.h"

#include <gtest/gtest.h>

namespace {
// Draws the scene through a canvas into a fresh 200 x 200 texture, counting the target's draw calls.
sf::Image drawn(void (*scene)(Canvas&), bool batched, int& draw_calls) {
    sf::RenderTexture texture;
    texture.create(200, 200);
    texture.clear(sf::Color(30, 30, 50));
    Canvas canvas;
    canvas.target = &texture;
    canvas.batched = batched;
    scene(canvas);
    flushCanvas(canvas);
    texture.display();
    draw_calls = canvas.draw_calls;
    return texture.getTexture().copyToImage();
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

// Many small shapes reach the target in one draw call, broken only where the primitive
// type changes, and the picture stays that of drawing each on its own.
TEST(Canvas, BatchesBreakOnlyWhereThePrimitiveTypeChanges) {
    int batched_calls = 0, own_calls = 0;
    sf::Image own = drawn(circlesAndALine, false, own_calls);
    EXPECT_LE(differingPixels(drawn(circlesAndALine, true, batched_calls), own), 4);
    EXPECT_EQ(batched_calls, 3);
    EXPECT_GT(own_calls, 100);
}
