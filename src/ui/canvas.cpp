#include "ui/canvas.h"

void drawShape(Canvas& canvas, const sf::Shape& shape, const sf::RenderStates& states) {
    canvas.target->draw(shape, states);
    ++canvas.draw_calls;
}

void drawVertices(Canvas& canvas, const sf::Vertex* vertices, std::size_t count, sf::PrimitiveType type,
                  const sf::RenderStates& states) {
    canvas.target->draw(vertices, count, type, states);
    ++canvas.draw_calls;
}

void drawVertices(Canvas& canvas, const sf::VertexArray& vertices, const sf::RenderStates& states) {
    if (vertices.getVertexCount() == 0) return;
    drawVertices(canvas, &vertices[0], vertices.getVertexCount(), vertices.getPrimitiveType(), states);
}

void drawDirect(Canvas& canvas, const sf::Drawable& drawable, const sf::RenderStates& states) {
    flushCanvas(canvas);
    canvas.target->draw(drawable, states);
    ++canvas.draw_calls;
}

void flushCanvas(Canvas& canvas) {
    if (canvas.pending.empty()) return;
    sf::RenderStates states;
    states.texture = canvas.pending_texture;
    canvas.target->draw(canvas.pending.data(), canvas.pending.size(), sf::Triangles, states);
    canvas.pending.clear();
    ++canvas.draw_calls;
}
