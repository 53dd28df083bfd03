#pragma once
#include <SFML/Graphics/PrimitiveType.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Shape.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <cstddef>
#include <vector>

// Every piece of the picture goes through a Canvas. In batched mode shapes and vertex
// arrays become triangles appended in drawing order and reach the target in as few
// draw calls as possible; in per-shape mode each one is drawn on its own (the
// reference picture). Texts and sprites always flush first and are drawn directly.
struct Canvas {
    sf::RenderTarget* target = nullptr;
    bool batched = false;
    std::vector<sf::Vertex> pending;       // triangles not yet drawn
    const sf::Texture* pending_texture = nullptr;
    int draw_calls = 0;                    // since the last resetDrawCalls, for the benchmark
};

void drawShape(Canvas& canvas, const sf::Shape& shape, const sf::RenderStates& states = sf::RenderStates::Default);
void drawVertices(Canvas& canvas, const sf::Vertex* vertices, std::size_t count, sf::PrimitiveType type,
                  const sf::RenderStates& states = sf::RenderStates::Default);
void drawVertices(Canvas& canvas, const sf::VertexArray& vertices,
                  const sf::RenderStates& states = sf::RenderStates::Default);
// Texts, sprites and anything else: flushes, then draws it directly.
void drawDirect(Canvas& canvas, const sf::Drawable& drawable, const sf::RenderStates& states = sf::RenderStates::Default);
// Draws whatever is pending; call before changing the view and before display.
void flushCanvas(Canvas& canvas);
