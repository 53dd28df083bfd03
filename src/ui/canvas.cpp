#include "ui/canvas.h"
#include "battle/geometry.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/ConvexShape.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/OpenGL.hpp>
#include <algorithm>
#include <cmath>

#ifndef GL_POINT_SPRITE  // OpenGL 2.0, not in every platform's gl.h
#define GL_POINT_SPRITE 0x8861
#define GL_VERTEX_PROGRAM_POINT_SIZE 0x8642
#endif
#ifndef GL_ALIASED_POINT_SIZE_RANGE  // OpenGL 1.2; Windows' gl.h stops at 1.1
#define GL_ALIASED_POINT_SIZE_RANGE 0x846E
#endif

namespace {
// The same arithmetic as sf::Transform::transformPoint, so a batched vertex lands where
// the target would have put it.
inline sf::Vector2f transformed(const float* m, sf::Vector2f p) {
    return {m[0] * p.x + m[4] * p.y + m[12], m[1] * p.x + m[5] * p.y + m[13]};
}

// Lines and line strips stay one-pixel lines, points stay points; every filled primitive
// becomes independent triangles.
sf::PrimitiveType batchTypeOf(sf::PrimitiveType type) {
    if (type == sf::PrimitiveType::Points) return sf::PrimitiveType::Points;
    if (type == sf::PrimitiveType::Lines || type == sf::PrimitiveType::LineStrip) return sf::PrimitiveType::Lines;
    return sf::PrimitiveType::Triangles;
}

// The part of the field the target's view shows, widened by two pixels for lines and
// points that straddle its edge.
RectParts<float> visibleField(const sf::RenderTarget& target) {
    const sf::View& view = target.getView();
    sf::Vector2f size(std::abs(view.getSize().x), std::abs(view.getSize().y));
    float radians = degreesToRadians(viewRotationDegrees(view));
    float c = std::abs(std::cos(radians)), s = std::abs(std::sin(radians));
    sf::Vector2f half((c * size.x + s * size.y) / 2, (s * size.x + c * size.y) / 2);
    sf::Vector2u pixels = target.getSize();
    RectParts<float> viewport = partsOf(view.getViewport());
    float pixel = std::max(size.x / std::max(1.0f, viewport.width * float(pixels.x)),
                           size.y / std::max(1.0f, viewport.height * float(pixels.y)));
    half += sf::Vector2f(2 * pixel, 2 * pixel);
    sf::Vector2f corner = view.getCenter() - half;
    return {corner.x, corner.y, 2.0f * half.x, 2.0f * half.y};
}

// Drops the vertices appended since `start` when none of them can reach the screen.
void dropIfOffView(Canvas& canvas, std::size_t start) {
    std::vector<sf::Vertex>& out = canvas.pending;
    if (start >= out.size()) return;
    const RectParts<float>& visible = canvas.visible;
    float right = visible.left + visible.width, bottom = visible.top + visible.height;
    bool left_of = true, right_of = true, above = true, below = true;
    for (std::size_t i = start; i < out.size(); ++i) {
        sf::Vector2f p = out[i].position;
        left_of = left_of && p.x < visible.left;
        right_of = right_of && p.x > right;
        above = above && p.y < visible.top;
        below = below && p.y > bottom;
    }
    if (left_of || right_of || above || below) out.resize(start);
}

// The field shown and its pixel scale, for point sprites: a sprite's square stays upright
// and square.
SpriteView spriteView(const sf::RenderTarget& target) {
    const sf::View& view = target.getView();
    sf::Vector2f size(std::abs(view.getSize().x), std::abs(view.getSize().y));
    SpriteView result;
    sf::Vector2f corner = view.getCenter() - size / 2.0f;
    result.shown = {corner.x, corner.y, size.x, size.y};
    result.scale = pixelScale(target);
    result.fills_target = view.getViewport() == sf::FloatRect({0, 0}, {1, 1});
    return result;
}

// What the batches need of the target's view, read once until the next flush.
void readView(Canvas& canvas) {
    if (canvas.visible_known) return;
    canvas.visible = visibleField(*canvas.target);
    canvas.sprite_view = spriteView(*canvas.target);
    canvas.visible_known = true;
}

// Readies the pending batch for primitives of this kind, drawing what it holds first
// when that was of another kind.
void beginBatch(Canvas& canvas, sf::PrimitiveType type, const sf::Texture* texture, const sf::BlendMode& blend,
                const sf::Shader* shader = nullptr) {
    if (!canvas.pending.empty() && (canvas.pending_type != type || canvas.pending_texture != texture ||
                                    canvas.pending_blend != blend || canvas.pending_shader != shader))
        flushCanvas(canvas);
    canvas.pending_type = type;
    canvas.pending_texture = texture;
    canvas.pending_shader = shader;
    canvas.pending_blend = blend;
    readView(canvas);
}

// A transparent primitive under alpha blending leaves every pixel as it was.
bool invisible(sf::Color colour, const sf::RenderStates& states) {
    return colour.a == 0 && states.blendMode == sf::BlendAlpha;
}

void appendVertices(Canvas& canvas, const sf::Vertex* v, std::size_t count, sf::PrimitiveType type,
                    const sf::RenderStates& states) {
    beginBatch(canvas, batchTypeOf(type), states.texture, states.blendMode, states.shader);
    const float* m = states.transform.getMatrix();
    std::vector<sf::Vertex>& out = canvas.pending;
    std::size_t start = out.size();
    auto put = [&](const sf::Vertex& vertex) {
        out.push_back(sf::Vertex{transformed(m, vertex.position), vertex.color, vertex.texCoords});
    };
    switch (type) {
        case sf::PrimitiveType::Points:
            for (std::size_t i = 0; i < count; ++i) put(v[i]);
            break;
        case sf::PrimitiveType::Lines:
            for (std::size_t i = 0; i + 1 < count; i += 2) put(v[i]), put(v[i + 1]);
            break;
        case sf::PrimitiveType::LineStrip:
            for (std::size_t i = 1; i < count; ++i) put(v[i - 1]), put(v[i]);
            break;
        case sf::PrimitiveType::Triangles:
            for (std::size_t i = 0; i + 2 < count; i += 3) put(v[i]), put(v[i + 1]), put(v[i + 2]);
            break;
        case sf::PrimitiveType::TriangleStrip:
            for (std::size_t i = 2; i < count; ++i) put(v[i - 2]), put(v[i - 1]), put(v[i]);
            break;
        case sf::PrimitiveType::TriangleFan:  // in the order the renderer splits a fan, for the same interpolation
            for (std::size_t i = 2; i < count; ++i) put(v[i - 1]), put(v[i]), put(v[0]);
            break;
        default: break;  // SFML 2's quads, which the game never draws
    }
    dropIfOffView(canvas, start);
}

// Unit normal of the segment p1-p2, as the shape outline computes it.
sf::Vector2f segmentNormal(sf::Vector2f p1, sf::Vector2f p2) {
    sf::Vector2f normal(p1.y - p2.y, p2.x - p1.x);
    float length = std::sqrt(normal.x * normal.x + normal.y * normal.y);
    if (length != 0.f) normal /= length;
    return normal;
}

struct Bounds {
    float left, top, width, height;
};

// Bounding box of the points, compared exactly as a vertex array measures its bounds.
Bounds boundsOf(const std::vector<sf::Vector2f>& points) {
    float left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (std::size_t i = 1; i < points.size(); ++i) {
        sf::Vector2f p = points[i];
        if (p.x < left)
            left = p.x;
        else if (p.x > right)
            right = p.x;
        if (p.y < top)
            top = p.y;
        else if (p.y > bottom)
            bottom = p.y;
    }
    return {left, top, right - left, bottom - top};
}

// How a polygon in canvas.shape_points is painted.
struct Paint {
    sf::Color fill;
    sf::Color outline;
    float thickness = 0;
    const sf::Texture* texture = nullptr;
    sf::IntRect texture_rect;
};

// The fill: a fan around the centre of the bounding box, as independent triangles.
// Each triangle lists its corners in the order the renderer splits a fan, so colours and
// texture coordinates are interpolated exactly alike.
void appendFill(Canvas& canvas, const Paint& paint, const float* m, sf::Vector2f centre, const Bounds& bounds,
                const sf::RenderStates& states) {
    const std::vector<sf::Vector2f>& points = canvas.shape_points;
    beginBatch(canvas, sf::PrimitiveType::Triangles, paint.texture, states.blendMode);
    sf::Color colour = paint.fill;
    const RectParts<int> rect = partsOf(paint.texture_rect);
    auto texCoords = [&](sf::Vector2f p) {
        if (!paint.texture) return sf::Vector2f();
        float x_ratio = bounds.width > 0 ? (p.x - bounds.left) / bounds.width : 0;
        float y_ratio = bounds.height > 0 ? (p.y - bounds.top) / bounds.height : 0;
        return sf::Vector2f(rect.left + rect.width * x_ratio, rect.top + rect.height * y_ratio);
    };
    sf::Vertex middle{transformed(m, centre), colour, texCoords(centre)};
    sf::Vertex first{transformed(m, points[0]), colour, texCoords(points[0])};
    sf::Vertex previous = first;
    std::vector<sf::Vertex>& out = canvas.pending;
    for (std::size_t i = 1; i <= points.size(); ++i) {
        sf::Vertex next = i < points.size() ? sf::Vertex{transformed(m, points[i]), colour, texCoords(points[i])} : first;
        out.push_back(previous);
        out.push_back(next);
        out.push_back(middle);
        previous = next;
    }
}

// The outline: each point pushed out along the mean of its two edge normals, joined
// point by point into a closed band of triangles.
void appendOutline(Canvas& canvas, const Paint& paint, const float* m, sf::Vector2f centre,
                   const sf::RenderStates& states) {
    const std::vector<sf::Vector2f>& points = canvas.shape_points;
    std::size_t count = points.size();
    beginBatch(canvas, sf::PrimitiveType::Triangles, nullptr, states.blendMode);
    auto bandPair = [&](std::size_t i, sf::Vertex& inner, sf::Vertex& outer) {
        sf::Vector2f p0 = points[i == 0 ? count - 1 : i - 1];
        sf::Vector2f p1 = points[i];
        sf::Vector2f p2 = points[i + 1 == count ? 0 : i + 1];
        sf::Vector2f n1 = segmentNormal(p0, p1);
        sf::Vector2f n2 = segmentNormal(p1, p2);
        sf::Vector2f towards_centre = centre - p1;
        if (n1.x * towards_centre.x + n1.y * towards_centre.y > 0) n1 = -n1;
        if (n2.x * towards_centre.x + n2.y * towards_centre.y > 0) n2 = -n2;
        float factor = 1.f + (n1.x * n2.x + n1.y * n2.y);
        sf::Vector2f normal = (n1 + n2) / factor;
        inner = sf::Vertex{transformed(m, p1), paint.outline};
        outer = sf::Vertex{transformed(m, p1 + normal * paint.thickness), paint.outline};
    };
    sf::Vertex first_inner, first_outer;
    bandPair(0, first_inner, first_outer);
    sf::Vertex inner = first_inner, outer = first_outer;
    std::vector<sf::Vertex>& out = canvas.pending;
    for (std::size_t i = 1; i <= count; ++i) {
        sf::Vertex next_inner = first_inner, next_outer = first_outer;
        if (i < count) bandPair(i, next_inner, next_outer);
        out.push_back(inner);
        out.push_back(outer);
        out.push_back(next_inner);
        out.push_back(outer);
        out.push_back(next_inner);
        out.push_back(next_outer);
        inner = next_inner;
        outer = next_outer;
    }
}

// Appends the polygon held in canvas.shape_points as a shape would draw it: fill, then outline.
void appendPolygon(Canvas& canvas, const Paint& paint, const sf::Transform& placement, const sf::RenderStates& states) {
    if (canvas.shape_points.size() < 3) return;  // a shape with fewer points draws nothing
    Bounds bounds = boundsOf(canvas.shape_points);
    sf::Vector2f centre(bounds.left + bounds.width / 2, bounds.top + bounds.height / 2);
    sf::Transform transform = states.transform * placement;
    const float* m = transform.getMatrix();
    if (!invisible(paint.fill, states)) {
        appendFill(canvas, paint, m, centre, bounds, states);
        dropIfOffView(canvas, canvas.pending.size() - 3 * canvas.shape_points.size());
    }
    if (paint.thickness != 0 && !invisible(paint.outline, states)) {
        appendOutline(canvas, paint, m, centre, states);
        dropIfOffView(canvas, canvas.pending.size() - 6 * canvas.shape_points.size());
    }
}

void appendShape(Canvas& canvas, const sf::Shape& shape, const sf::RenderStates& states) {
    std::size_t count = shape.getPointCount();
    std::vector<sf::Vector2f>& points = canvas.shape_points;
    points.resize(count);
    for (std::size_t i = 0; i < count; ++i) points[i] = shape.getPoint(i);
    Paint paint{shape.getFillColor(), shape.getOutlineColor(), shape.getOutlineThickness(), shape.getTexture(),
                shape.getTextureRect()};
    appendPolygon(canvas, paint, shape.getTransform(), states);
}

Paint paintOf(const ShapeStyle& style) { return Paint{style.fill, style.outline, style.outline_thickness, nullptr, {}}; }

// cos and sin of every corner of a circle with this many points, computed as the circle
// shape computes them.
const std::vector<sf::Vector2f>& circleTable(Canvas& canvas, std::size_t point_count) {
    if (canvas.circle_tables.size() <= point_count) canvas.circle_tables.resize(point_count + 1);
    std::vector<sf::Vector2f>& table = canvas.circle_tables[point_count];
    if (table.empty()) {
        for (std::size_t i = 0; i < point_count; ++i) table.push_back(circleCorner(i, point_count));
    }
    return table;
}

constexpr int kRoundPoints = 30;
constexpr int kDecagonPoints = 10;
// Round specks and track marks are point sprites: one vertex each, a square of the
// shape's width around its centre, which the shader cuts to the polygon. A pixel is kept
// when its centre lies within every edge, as the rasteriser decides for the polygon's own
// triangles, so only a centre within a rounding error of an edge may differ. Both polygons
// are symmetric about both axes (mirrored views keep them), so folding the pixel into the
// first quadrant leaves only the edges whose normals lie there.
const char* const kSpriteVertex = R"(#version 120
varying float hole;
void main() {
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    gl_PointSize = gl_MultiTexCoord0.x;
    gl_FrontColor = gl_Color;
    hole = gl_MultiTexCoord0.y;
}
)";
// 30 corners, the first straight up: edge normals every 12 degrees from 0. An outline's
// band is the circle less the one inside it, `hole` of its radius (below 0: none).
const char* const kRoundFragment = R"(#version 120
varying float hole;
void main() {
    vec2 q = abs(2.0 * gl_PointCoord - 1.0);
    float reach = max(max(max(q.x, dot(q, vec2(0.9781476, 0.2079117))),
                          max(dot(q, vec2(0.9135455, 0.4067366)), dot(q, vec2(0.8090170, 0.5877853)))),
                      max(max(dot(q, vec2(0.6691306, 0.7431448)), dot(q, vec2(0.5000000, 0.8660254))),
                          max(dot(q, vec2(0.3090170, 0.9510565)), dot(q, vec2(0.1045285, 0.9945219)))));
    if (reach > 0.9945219 || reach <= 0.9945219 * hole) discard;  // cos 6 degrees: the apothem
    gl_FragColor = gl_Color;
}
)";
// 10 corners, the first along +x: edge normals at 18, 54 and 90 degrees.
const char* const kDecagonFragment = R"(#version 120
void main() {
    vec2 q = abs(2.0 * gl_PointCoord - 1.0);
    float reach = max(max(dot(q, vec2(0.9510565, 0.3090170)), dot(q, vec2(0.5877853, 0.8090170))), q.y);
    if (reach > 0.9510565) discard;  // cos 18 degrees: the apothem
    gl_FragColor = gl_Color;
}
)";

bool readySpriteShaders(Canvas& canvas) {
    if (!canvas.sprites_tried) {
        canvas.sprites_tried = true;
        canvas.sprites_ready = sf::Shader::isAvailable() &&
                               canvas.round_shader.loadFromMemory(kSpriteVertex, kRoundFragment) &&
                               canvas.decagon_shader.loadFromMemory(kSpriteVertex, kDecagonFragment);
        // Wider sprites stay polygons: a renderer need not draw points of any size.
        if (canvas.sprites_ready && canvas.target->setActive(true)) {
            GLfloat aliased[2] = {1, 1}, smooth[2] = {1, 1};
            glGetFloatv(GL_ALIASED_POINT_SIZE_RANGE, aliased);
            glGetFloatv(GL_POINT_SIZE_RANGE, smooth);
            canvas.largest_sprite = std::min(aliased[1], smooth[1]);
        }
    }
    return canvas.sprites_ready;
}

// Whether a sprite of this square shows as its polygon would. A point is clipped by its
// centre alone: wholly dropped when that lies outside the view, and drawn whole, past the
// view's edge, when it lies inside. Past the edge is harmless when the view fills the
// target, as the target's own edge clips it.
bool spriteFits(const SpriteView& view, const RectParts<float>& square) {
    const RectParts<float>& shown = view.shown;
    float right = shown.left + shown.width, bottom = shown.top + shown.height;
    if (square.left >= shown.left && square.top >= shown.top && square.left + square.width <= right &&
        square.top + square.height <= bottom)
        return true;
    float margin = 1 / view.scale;  // a pixel clear of the edge, whichever way the renderer rounds
    sf::Vector2f centre(square.left + square.width / 2, square.top + square.height / 2);
    return view.fills_target && centre.x > shown.left + margin && centre.y > shown.top + margin &&
           centre.x < right - margin && centre.y < bottom - margin;
}

// One point sprite cut to its polygon by the shader, when the view is neither turned nor
// stretched and the sprite fits. A shape wholly off the view is dropped, as its polygon
// would be. Otherwise false, adding nothing.
bool appendSprite(Canvas& canvas, const sf::Shader& shader, sf::Vector2f centre, float radius, sf::Color fill,
                  float hole = -1) {
    // Recorded batches are replayed without the sprite switches.
    if (!canvas.batched || !canvas.fast_paths || canvas.recorded || !readySpriteShaders(canvas)) return false;
    readView(canvas);
    RectParts<float> square{centre.x - radius, centre.y - radius, 2 * radius, 2 * radius};
    if (!rectsOverlap(sf::FloatRect({square.left, square.top}, {square.width, square.height}),
                      sf::FloatRect({canvas.visible.left, canvas.visible.top},
                                    {canvas.visible.width, canvas.visible.height})))
        return true;
    float width = 2 * radius * canvas.sprite_view.scale;
    if (!(width > 0 && width <= canvas.largest_sprite) || !spriteFits(canvas.sprite_view, square)) return false;
    beginBatch(canvas, sf::PrimitiveType::Points, nullptr, sf::BlendAlpha, &shader);
    canvas.pending.push_back(sf::Vertex{centre, fill, sf::Vector2f(width, hole)});
    return true;
}

void copyPlacement(sf::Transformable& shape, const sf::Transformable& placement) {
    shape.setPosition(placement.getPosition());
    setRotationDegrees(shape, rotationDegrees(placement));
    shape.setScale(placement.getScale());
    shape.setOrigin(placement.getOrigin());
}

void styleShape(sf::Shape& shape, const sf::Transformable& placement, const ShapeStyle& style) {
    copyPlacement(shape, placement);
    shape.setFillColor(style.fill);
    shape.setOutlineColor(style.outline);
    shape.setOutlineThickness(style.outline_thickness);
}
}  // namespace

float pixelScale(const sf::RenderTarget& target) {
    const sf::View& view = target.getView();
    sf::Vector2f size(std::abs(view.getSize().x), std::abs(view.getSize().y));
    if (viewRotationDegrees(view) != 0 || !(size.x > 0) || !(size.y > 0)) return 0;
    sf::Vector2f viewport = rectSize(view.getViewport());
    float x = float(target.getSize().x) * viewport.x / size.x;
    float y = float(target.getSize().y) * viewport.y / size.y;
    return std::abs(x - y) <= 1e-4f * x ? x : 0;
}

void drawShape(Canvas& canvas, const sf::Shape& shape, const sf::RenderStates& states) {
    if (canvas.batched && !states.shader) {
        appendShape(canvas, shape, states);
        return;
    }
    flushCanvas(canvas);
    canvas.target->draw(shape, states);
    canvas.draw_calls += shape.getOutlineThickness() != 0 ? 2 : 1;
}

void drawCircle(Canvas& canvas, float radius, std::size_t point_count, const sf::Transformable& placement,
                const ShapeStyle& style, const sf::RenderStates& states) {
    if (!canvas.batched || states.shader) {
        sf::CircleShape circle(radius, point_count);
        styleShape(circle, placement, style);
        drawShape(canvas, circle, states);
        return;
    }
    const std::vector<sf::Vector2f>& table = circleTable(canvas, point_count);
    std::vector<sf::Vector2f>& points = canvas.shape_points;
    points.resize(point_count);
    for (std::size_t i = 0; i < point_count; ++i)
        points[i] = sf::Vector2f(radius + table[i].x * radius, radius + table[i].y * radius);
    appendPolygon(canvas, paintOf(style), placement.getTransform(), states);
}

void drawRectangle(Canvas& canvas, sf::Vector2f size, const sf::Transformable& placement, const ShapeStyle& style,
                   const sf::RenderStates& states) {
    if (!canvas.batched || states.shader) {
        sf::RectangleShape rectangle(size);
        styleShape(rectangle, placement, style);
        drawShape(canvas, rectangle, states);
        return;
    }
    canvas.shape_points.assign({{0, 0}, {size.x, 0}, {size.x, size.y}, {0, size.y}});
    appendPolygon(canvas, paintOf(style), placement.getTransform(), states);
}

void drawPolygon(Canvas& canvas, const sf::Vector2f* points, std::size_t count, const sf::Transformable& placement,
                 const ShapeStyle& style, const sf::RenderStates& states) {
    if (!canvas.batched || states.shader) {
        sf::ConvexShape polygon(count);
        for (std::size_t i = 0; i < count; ++i) polygon.setPoint(i, points[i]);
        styleShape(polygon, placement, style);
        drawShape(canvas, polygon, states);
        return;
    }
    canvas.shape_points.assign(points, points + count);
    appendPolygon(canvas, paintOf(style), placement.getTransform(), states);
}

void drawRound(Canvas& canvas, sf::Vector2f centre, float radius, sf::Color fill) {
    if (appendSprite(canvas, canvas.round_shader, centre, radius, fill)) return;
    const std::vector<sf::Vector2f>& unit = circleTable(canvas, kRoundPoints);
    sf::Vertex fan[kRoundPoints + 2];
    fan[0] = sf::Vertex{centre, fill};
    for (int k = 0; k <= kRoundPoints; ++k) fan[k + 1] = sf::Vertex{centre + unit[k % kRoundPoints] * radius, fill};
    drawVertices(canvas, fan, kRoundPoints + 2, sf::PrimitiveType::TriangleFan);
}

void drawCircleOutline(Canvas& canvas, sf::Vector2f centre, float radius, std::size_t points, float thickness,
                       sf::Color colour) {
    constexpr std::size_t kMostPoints = 64;  // the strip is built on the stack
    if (points < 3 || points > kMostPoints || thickness == 0) return;
    float outer = radius + thickness / std::cos(kPi / float(points));
    if (points == kRoundPoints && thickness > 0 && radius > 0 &&
        appendSprite(canvas, canvas.round_shader, centre, outer, colour, radius / outer))
        return;
    const std::vector<sf::Vector2f>& unit = circleTable(canvas, points);
    sf::Vertex strip[2 * kMostPoints + 2];
    for (std::size_t k = 0; k <= points; ++k) {
        sf::Vector2f direction = unit[k % points];
        strip[2 * k] = sf::Vertex{centre + direction * radius, colour};
        strip[2 * k + 1] = sf::Vertex{centre + direction * outer, colour};
    }
    drawVertices(canvas, strip, 2 * points + 2, sf::PrimitiveType::TriangleStrip);
}

void drawDecagon(Canvas& canvas, sf::Vector2f centre, float radius, sf::Color fill) {
    if (appendSprite(canvas, canvas.decagon_shader, centre, radius, fill)) return;
    sf::Vertex fan[kDecagonPoints + 2];
    fan[0] = sf::Vertex{centre, fill};
    for (int i = 1; i <= kDecagonPoints + 1; ++i) {
        float a = float(i - 1) / kDecagonPoints * 2 * kPi;
        fan[i] = sf::Vertex{{centre.x + std::cos(a) * radius, centre.y + std::sin(a) * radius}, fill};
    }
    drawVertices(canvas, fan, kDecagonPoints + 2, sf::PrimitiveType::TriangleFan);
}

void drawVertices(Canvas& canvas, const sf::Vertex* vertices, std::size_t count, sf::PrimitiveType type,
                  const sf::RenderStates& states) {
    if (count == 0) return;
    if (canvas.batched && !states.shader) {
        appendVertices(canvas, vertices, count, type, states);
        return;
    }
    flushCanvas(canvas);
    canvas.target->draw(vertices, count, type, states);
    ++canvas.draw_calls;
}

void drawVertices(Canvas& canvas, const sf::VertexArray& vertices, const sf::RenderStates& states) {
    if (vertices.getVertexCount() == 0) return;
    drawVertices(canvas, &vertices[0], vertices.getVertexCount(), vertices.getPrimitiveType(), states);
}

std::vector<sf::Vertex>& openBatch(Canvas& canvas, const sf::RenderStates& states) {
    beginBatch(canvas, sf::PrimitiveType::Triangles, states.texture, states.blendMode);
    return canvas.pending;
}

void drawDirect(Canvas& canvas, const sf::Drawable& drawable, const sf::RenderStates& states) {
    if (canvas.words_drawn)
        if (const auto* text = dynamic_cast<const sf::Text*>(&drawable))
            canvas.words_drawn->push_back(utf8Of(text->getString()));
    flushCanvas(canvas);
    canvas.target->draw(drawable, states);
    ++canvas.draw_calls;
}

namespace {
// Point sprites sized by the vertex shader, in the target's own context; off again after,
// so plain points keep their usual rasterisation.
void switchPointSprites(sf::RenderTarget& target, bool on) {
    if (!target.setActive(true)) return;
    if (on) {
        glEnable(GL_POINT_SPRITE);
        glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    } else {
        glDisable(GL_POINT_SPRITE);
        glDisable(GL_VERTEX_PROGRAM_POINT_SIZE);
    }
}
}  // namespace

const sf::BlendMode kPremultipliedOver(sf::BlendMode::Factor::One, sf::BlendMode::Factor::OneMinusSrcAlpha);

void flushCanvas(Canvas& canvas) {
    canvas.visible_known = false;  // the view may change before the next batch
    if (canvas.pending.empty()) return;
    // Colour is blended as usual, which adds it premultiplied; coverage adds up as "over".
    static const sf::BlendMode premultiplying(sf::BlendMode::Factor::SrcAlpha, sf::BlendMode::Factor::OneMinusSrcAlpha,
                                              sf::BlendMode::Equation::Add, sf::BlendMode::Factor::One,
                                              sf::BlendMode::Factor::OneMinusSrcAlpha, sf::BlendMode::Equation::Add);
    bool premultiply = canvas.premultiplied && canvas.pending_blend == sf::BlendAlpha;
    sf::RenderStates states(premultiply ? premultiplying : canvas.pending_blend);
    states.texture = canvas.pending_texture;
    states.shader = canvas.pending_shader;
    if (canvas.recorded) {
        canvas.recorded->push_back({canvas.pending_type, states, std::move(canvas.pending)});
        canvas.pending.clear();
        return;
    }
    bool sprites = canvas.pending_type == sf::PrimitiveType::Points && canvas.pending_shader;
    if (sprites) switchPointSprites(*canvas.target, true);
    canvas.target->draw(canvas.pending.data(), canvas.pending.size(), canvas.pending_type, states);
    if (sprites) switchPointSprites(*canvas.target, false);
    canvas.pending.clear();
    ++canvas.draw_calls;
}
