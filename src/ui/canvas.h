#pragma once
#include "app/sfml_compat.h"

#include <SFML/Graphics/BlendMode.hpp>
#include <SFML/Graphics/PrimitiveType.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Shader.hpp>
#include <SFML/Graphics/Shape.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/Transformable.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <cstddef>
#include <string>
#include <vector>

// A batch as the canvas would draw it.
struct CanvasBatch {
    sf::PrimitiveType type = sf::PrimitiveType::Triangles;
    sf::RenderStates states;
    std::vector<sf::Vertex> vertices;
};

// What point sprites need of a view: pixels per field unit (0 when the view is turned or
// stretched), the field it shows and whether it fills the target (no bars beside it).
struct SpriteView {
    float scale = 0;
    RectParts<float> shown;
    bool fills_target = false;
};

// Every piece of the picture goes through a Canvas. In batched mode shapes and vertex
// arrays become triangles (lines and points stay lines and points) appended in drawing
// order, with their transforms applied, and reach the target in as few draw calls as
// possible: a batch is only drawn when the texture, blend mode or primitive type has to
// change. In per-shape mode each one is drawn on its own (the reference picture).
// Texts and sprites always flush first and are drawn directly.
// A batched primitive that lies wholly outside the view is dropped, as the target would
// clip it away. The target's view is read for the pending batch, so flush before
// changing the view.
struct Canvas {
    sf::RenderTarget* target = nullptr;
    bool batched = false;
    std::vector<sf::Vertex> pending;              // primitives not yet drawn, in world space
    sf::PrimitiveType pending_type = sf::PrimitiveType::Triangles;  // Triangles, Lines or Points
    const sf::Texture* pending_texture = nullptr;
    const sf::Shader* pending_shader = nullptr;   // only the canvas's own sprite shaders
    sf::BlendMode pending_blend = sf::BlendAlpha;
    RectParts<float> visible;                     // the view's field plus a margin, for the pending batch
    bool visible_known = false;
    std::vector<sf::Vector2f> shape_points;       // scratch for one shape's corners, reused
    std::vector<std::vector<sf::Vector2f>> circle_tables;  // unit-circle points by point count
    int draw_calls = 0;                           // target draws since the count was last zeroed
    // Batched mode may also draw the floor with its shader, round specks and track marks
    // as point sprites cut to their polygons by a shader, and units from their pre-drawn
    // cells; off, batched mode draws exactly the shapes (the bench's --plain).
    bool fast_paths = true;
    // Alpha-blended batches accumulate premultiplied colour, for pictures drawn once and
    // laid over the field later with the premultiplied blend.
    bool premultiplied = false;
    std::vector<CanvasBatch>* recorded = nullptr;  // when set, batches are kept here instead of drawn
    std::vector<std::string>* words_drawn = nullptr;  // when set, every text drawn is noted here too
    SpriteView sprite_view;                       // for the pending batch, read with `visible`
    sf::Shader round_shader;                      // cuts point sprites to 30-point circles, compiled on first use
    sf::Shader decagon_shader;                    // cuts point sprites to track marks' decagons
    bool sprites_tried = false;
    bool sprites_ready = false;                   // false without shaders: both stay polygons
    float largest_sprite = 1;                     // pixels across, as the renderer allows
};

// Pixels per field unit of the target's view, the same across and down (a mirrored axis
// counts as its size); 0 when the view is turned or stretched.
float pixelScale(const sf::RenderTarget& target);

void drawShape(Canvas& canvas, const sf::Shape& shape, const sf::RenderStates& states = sf::RenderStates::Default);
void drawVertices(Canvas& canvas, const sf::Vertex* vertices, std::size_t count, sf::PrimitiveType type,
                  const sf::RenderStates& states = sf::RenderStates::Default);
void drawVertices(Canvas& canvas, const sf::VertexArray& vertices,
                  const sf::RenderStates& states = sf::RenderStates::Default);

// Colours of a shape drawn from its parameters.
struct ShapeStyle {
    sf::Color fill = sf::Color::White;
    sf::Color outline = sf::Color::White;
    float outline_thickness = 0;
};

// Shapes given by their parameters and placement (position, rotation, origin of an
// sf::Transformable). They draw exactly as the same sf::CircleShape, sf::RectangleShape or
// sf::ConvexShape would, but in batched mode no shape object is built.
void drawCircle(Canvas& canvas, float radius, std::size_t point_count, const sf::Transformable& placement,
                const ShapeStyle& style, const sf::RenderStates& states = sf::RenderStates::Default);
void drawRectangle(Canvas& canvas, sf::Vector2f size, const sf::Transformable& placement, const ShapeStyle& style,
                   const sf::RenderStates& states = sf::RenderStates::Default);
void drawPolygon(Canvas& canvas, const sf::Vector2f* points, std::size_t count, const sf::Transformable& placement,
                 const ShapeStyle& style, const sf::RenderStates& states = sf::RenderStates::Default);

// A filled circle of 30 points centred on a point, with its first corner straight up.
// Batched, it is one point sprite cut to the circle by a shader: one vertex instead of
// thirty triangles, and the same pixels, as the shader tests each pixel's centre against
// the edges. Across the view's edge, or in a turned or stretched view, it stays a polygon.
void drawRound(Canvas& canvas, sf::Vector2f centre, float radius, sf::Color fill);
// The outline band that sf::CircleShape gives a circle of this radius and point count,
// mitred outwards by `thickness`, centred on a point. Batched, a 30-point one is one point
// sprite: the circle less the one inside.
void drawCircleOutline(Canvas& canvas, sf::Vector2f centre, float radius, std::size_t points, float thickness,
                       sf::Color colour);
// A filled 10-point circle centred on a point, with its first corner along +x (a track
// mark). Batched, one point sprite cut to the decagon instead of ten triangles.
void drawDecagon(Canvas& canvas, sf::Vector2f centre, float radius, sf::Color fill);

// A text. Batched, a plain one's glyphs join the batch as the text would lay them out,
// so texts of one font and size drawn in a row take one draw call.
void drawText(Canvas& canvas, const sf::Text& text, const sf::RenderStates& states = sf::RenderStates::Default);
// Readies the pending batch for triangles with these states' texture and blend mode and
// returns it, for pieces that append their own transformed vertices.
std::vector<sf::Vertex>& openBatch(Canvas& canvas, const sf::RenderStates& states);

// The blend that lays a premultiplied picture over the target: the same result as the
// picture's shapes blended one by one.
extern const sf::BlendMode kPremultipliedOver;

// Texts, sprites and anything else: flushes, then draws it directly.
void drawDirect(Canvas& canvas, const sf::Drawable& drawable, const sf::RenderStates& states = sf::RenderStates::Default);
// Draws whatever is pending; call before changing the view and before display.
void flushCanvas(Canvas& canvas);
