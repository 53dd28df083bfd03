#include "support.h"
#include "ui/canvas.h"
#include "ui/picture.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>

namespace {
using Scene = std::function<void(Canvas&)>;

// Draws the scene through a canvas into a fresh 200 x 200 texture.
sf::Image drawn(const Scene& scene, bool batched, int* draw_calls = nullptr) {
    sf::RenderTexture texture;
    texture.create(200, 200);
    texture.clear(sf::Color(30, 30, 50));
    Canvas canvas;
    canvas.target = &texture;
    canvas.batched = batched;
    scene(canvas);
    flushCanvas(canvas);
    texture.display();
    if (draw_calls) *draw_calls = canvas.draw_calls;
    return texture.getTexture().copyToImage();
}

sf::Texture checkerTexture() {
    sf::Image image;
    image.create(8, 8);
    for (unsigned y = 0; y < 8; ++y)
        for (unsigned x = 0; x < 8; ++x) image.setPixel(x, y, (x + y) % 2 ? sf::Color(255, 80, 0) : sf::Color(0, 90, 255));
    sf::Texture texture;
    texture.loadFromImage(image);
    return texture;
}

void drawEveryKind(Canvas& canvas, const sf::Texture& texture) {
    sf::CircleShape circle(20, 30);
    circle.setOrigin(5, 20);
    circle.setPosition(40, 40);
    circle.setRotation(33);
    circle.setScale(1.4f, 0.7f);
    circle.setFillColor(sf::Color(200, 60, 60, 180));
    circle.setOutlineColor(sf::Color(255, 255, 0, 200));
    circle.setOutlineThickness(2.5f);
    drawShape(canvas, circle);

    sf::ConvexShape star(10);  // concave, filled as a fan round its middle
    for (int k = 0; k < 10; ++k) {
        float angle = 36.0f * k * 3.14159265f / 180.0f;
        float radius = k % 2 ? 8.0f : 22.0f;
        star.setPoint(k, {radius * std::sin(angle), -radius * std::cos(angle)});
    }
    star.setFillColor(sf::Color(120, 220, 120, 200));
    star.setOutlineColor(sf::Color(255, 255, 255, 120));
    star.setOutlineThickness(1.2f);
    sf::RenderStates turned;
    turned.transform.translate(130, 50).rotate(17);
    drawShape(canvas, star, turned);

    sf::RectangleShape inset({50, 20});
    inset.setPosition(20, 90);
    inset.setFillColor(sf::Color(60, 60, 220));
    inset.setOutlineColor(sf::Color(0, 0, 0, 0));  // an invisible outline adds nothing
    inset.setOutlineThickness(-3);
    drawShape(canvas, inset);

    sf::RectangleShape pictured({40, 30});
    pictured.setPosition(100, 100);
    pictured.setTexture(&texture);
    pictured.setTextureRect({2, 2, 4, 3});
    pictured.setOutlineColor(sf::Color::White);
    pictured.setOutlineThickness(1);
    drawShape(canvas, pictured);

    sf::Transformable placement;
    placement.setPosition(60, 150);
    placement.setRotation(-20);
    placement.setOrigin(10, 5);
    drawCircle(canvas, 9, 7, placement, ShapeStyle{sf::Color(255, 0, 255, 150), sf::Color::Cyan, 1.5f});
    drawRectangle(canvas, {30, 6}, placement, ShapeStyle{sf::Color(255, 255, 255, 90), sf::Color::Red, 0.7f});
    const sf::Vector2f kite[4] = {{0, -10}, {6, 0}, {0, 14}, {-6, 0}};
    drawPolygon(canvas, kite, 4, placement, ShapeStyle{sf::Color(0, 255, 0, 140), sf::Color::Black, 0.8f});

    sf::RenderStates moved;
    moved.transform.translate(150, 130).rotate(25);
    const sf::PrimitiveType types[] = {sf::Points, sf::Lines, sf::LineStrip, sf::Triangles,
                                       sf::TriangleStrip, sf::TriangleFan, sf::Quads};
    for (int t = 0; t < 7; ++t) {
        sf::Vertex vertices[6];
        for (int i = 0; i < 6; ++i)
            vertices[i] = sf::Vertex({float(8 * i - 20), float(6 * t - 20 + (i % 2) * 7)},
                                     sf::Color(40 * t, 255 - 30 * i, 120, 220));
        drawVertices(canvas, vertices, 6, types[t], moved);
    }

    sf::CircleShape far_away(10);  // dropped
    far_away.setPosition(900, -700);
    drawShape(canvas, far_away);
    sf::CircleShape on_the_edge(10);  // kept: its right half shows
    on_the_edge.setPosition(-10, 170);
    drawShape(canvas, on_the_edge);
}
}  // namespace

TEST(Canvas, BatchedShapesAndVertexArraysMatchTheirOwnDrawing) {
    TempDir dir;
    sf::Texture texture = checkerTexture();
    Scene scene = [&](Canvas& canvas) { drawEveryKind(canvas, texture); };
    int batched_calls = 0, own_calls = 0;
    sf::Image batched = drawn(scene, true, &batched_calls);
    sf::Image own = drawn(scene, false, &own_calls);
    EXPECT_LE(differingPixels(batched, own), 4);
    EXPECT_GT(differingPixels(own, drawn([](Canvas&) {}, false)), 2000);  // the scene draws something
    // Batches break only for the texture and for the line and point primitives.
    EXPECT_LT(batched_calls, 12);
    EXPECT_GT(own_calls, 20);
}

TEST(Canvas, OneDrawCallForManyShapesAndOrderKeptAroundDirectDraws) {
    TempDir dir;
    int calls = 0;
    Scene circles = [](Canvas& canvas) {
        for (int i = 0; i < 100; ++i) {
            sf::Transformable at;
            at.setPosition(float(i % 10) * 19, float(i / 10) * 19);
            drawCircle(canvas, 8, 30, at, ShapeStyle{sf::Color(255, 255, 255, 100), sf::Color::Red, 1});
        }
    };
    drawn(circles, true, &calls);
    EXPECT_EQ(calls, 1);

    // A sprite drawn between two shapes stays between them.
    sf::Texture texture = checkerTexture();
    Scene layered = [&](Canvas& canvas) {
        sf::RectangleShape below({100, 100});
        below.setFillColor(sf::Color::Green);
        drawShape(canvas, below);
        sf::Sprite sprite(texture);
        sprite.setScale(10, 10);
        sprite.setPosition(20, 20);
        drawDirect(canvas, sprite);
        sf::RectangleShape above({40, 40});
        above.setPosition(40, 40);
        above.setFillColor(sf::Color(0, 0, 0, 128));
        drawShape(canvas, above);
    };
    sf::Image batched = drawn(layered, true, &calls);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(differingPixels(batched, drawn(layered, false)), 0);
}
