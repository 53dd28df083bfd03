#include "battle/hex_floor_draw.h"
#include "app/frontend.h"
#include "app/game.h"

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/OpenGL.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// Pointy-top hexagons; odd rows sit half a column to the right. A pixel's own cell is
// the nearer of the two candidates in the rows above and below it; the outlines that
// reach over it come from its six neighbours, which lie in the index order listed in
// `order`, so the layers blend as the shapes did, before and after the cell's own fill.
// The result is premultiplied and blended onto the target with (one, one minus alpha).
const char* const kFloorShader = R"(
uniform sampler2D cells;
uniform vec2 grid;        // columns, rows
uniform vec2 origin;      // centre of cell (0, 0)
uniform vec2 spacing;     // between centres in a row, between rows
uniform float apothem;    // centre to an edge
uniform float thickness;  // outline width outside the edge
uniform vec4 outline;

float hexDistance(vec2 d) {
    return max(abs(d.x), max(abs(0.5 * d.x + 0.8660254 * d.y), abs(0.5 * d.x - 0.8660254 * d.y)));
}

vec2 centreOf(vec2 cell) {
    return origin + vec2(spacing.x * (cell.x + 0.5 * mod(cell.y, 2.0)), spacing.y * cell.y);
}

bool onGrid(vec2 cell) {
    return cell.x >= 0.0 && cell.y >= 0.0 && cell.x < grid.x && cell.y < grid.y;
}

vec2 nearestInRow(vec2 p, float row) {
    float column = floor((p.x - origin.x) / spacing.x - 0.5 * mod(row, 2.0) + 0.5);
    return vec2(column, row);
}

vec4 over(vec4 below, vec4 colour) {
    return vec4(colour.rgb * colour.a + below.rgb * (1.0 - colour.a), colour.a + below.a * (1.0 - colour.a));
}

vec4 addOutline(vec4 below, vec2 p, vec2 cell) {
    if (!onGrid(cell)) return below;
    float d = hexDistance(p - centreOf(cell));
    if (d <= apothem || d > apothem + thickness) return below;
    return over(below, outline);
}

void main() {
    vec2 p = gl_TexCoord[0].xy;
    float row = floor((p.y - origin.y) / spacing.y);
    vec2 upper = nearestInRow(p, row);
    vec2 lower = nearestInRow(p, row + 1.0);
    vec2 cell = hexDistance(p - centreOf(lower)) < hexDistance(p - centreOf(upper)) ? lower : upper;
    float shift = mod(cell.y, 2.0);   // odd rows: the neighbours above and below are c and c + 1
    vec4 colour = vec4(0.0);
    if (hexDistance(p - centreOf(cell)) > apothem - thickness) {
        colour = addOutline(colour, p, cell + vec2(shift - 1.0, -1.0));
        colour = addOutline(colour, p, cell + vec2(shift, -1.0));
        colour = addOutline(colour, p, cell + vec2(-1.0, 0.0));
    }
    if (onGrid(cell)) colour = over(colour, texture2D(cells, (cell + 0.5) / grid));
    if (hexDistance(p - centreOf(cell)) > apothem - thickness) {
        colour = addOutline(colour, p, cell + vec2(1.0, 0.0));
        colour = addOutline(colour, p, cell + vec2(shift - 1.0, 1.0));
        colour = addOutline(colour, p, cell + vec2(shift, 1.0));
    }
    gl_FragColor = colour;
}
)";

const sf::BlendMode kPremultiplied(sf::BlendMode::Factor::One, sf::BlendMode::Factor::OneMinusSrcAlpha, sf::BlendMode::Equation::Add,
                                   sf::BlendMode::Factor::One, sf::BlendMode::Factor::OneMinusSrcAlpha, sf::BlendMode::Equation::Add);

sf::Glsl::Vec4 glslColour(sf::Color colour) {
    return sf::Glsl::Vec4(colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, colour.a / 255.0f);
}

// The shader knows the grid only by its first centre, spacing and size; a grid laid out
// otherwise, or hexagons with differing outlines, keep the shapes.
bool regularGrid(const Game& game, int columns, int rows) {
    if (columns <= 0 || rows <= 0 || size_t(columns) * size_t(rows) != game.hex_cells.size()) return false;
    if (game.hex_shapes.size() != game.hex_cells.size()) return false;
    sf::Vector2f origin = game.hex_cells[0].centre;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            sf::Vector2f expected(origin.x + game.hex_spacing_x * (float(c) + 0.5f * float(r % 2)),
                                  origin.y + game.hex_spacing_y * float(r));
            size_t index = size_t(r) * size_t(columns) + size_t(c);
            const sf::ConvexShape& shape = game.hex_shapes[index];
            sf::Vector2f centre = game.hex_cells[index].centre;
            if (std::abs(centre.x - expected.x) > 0.01f || std::abs(centre.y - expected.y) > 0.01f) return false;
            if (shape.getPosition() != centre || shape.getOutlineColor() != game.hex_shapes[0].getOutlineColor() ||
                shape.getOutlineThickness() != game.hex_shapes[0].getOutlineThickness() || shape.getPointCount() != 6)
                return false;
        }
    return true;
}

void setUpFloor(Game& game) {
    HexFloor& floor = game.frontend->hex_floor;
    floor.tried = true;
    if (game.hex_cells.empty() || !sf::Shader::isAvailable()) return;
    float first_y = game.hex_cells[0].centre.y;
    int columns = 0;
    while (size_t(columns) < game.hex_cells.size() && game.hex_cells[size_t(columns)].centre.y == first_y) ++columns;
    int rows = int(game.hex_cells.size() / size_t(columns));
    if (!regularGrid(game, columns, rows)) return;
    if (!floor.shader.loadFromMemory(kFloorShader, sf::Shader::Type::Fragment)) return;
    if (!resizeTexture(floor.cell_colours, {unsigned(columns), unsigned(rows)})) return;
    floor.cell_colours.setSmooth(false);
    floor.columns = columns;
    floor.rows = rows;
    floor.pixels.assign(size_t(columns) * size_t(rows) * 4, 0);
    const sf::ConvexShape& first = game.hex_shapes[0];
    floor.shader.setUniform("cells", floor.cell_colours);
    floor.shader.setUniform("grid", sf::Glsl::Vec2(float(columns), float(rows)));
    floor.shader.setUniform("origin", sf::Glsl::Vec2(game.hex_cells[0].centre));
    floor.shader.setUniform("spacing", sf::Glsl::Vec2(game.hex_spacing_x, game.hex_spacing_y));
    floor.shader.setUniform("apothem", game.hex_radius * std::cos(kPi / 6));
    floor.shader.setUniform("thickness", first.getOutlineThickness());
    floor.shader.setUniform("outline", glslColour(first.getOutlineColor()));
    floor.ready = true;
}

// Reads the colours the cells' shapes show into the staging pixels.
void readCellColours(Game& game) {
    HexFloor& floor = game.frontend->hex_floor;
    for (size_t i = 0; i < game.hex_shapes.size(); ++i) {
        sf::Color fill = game.hex_shapes[i].getFillColor();
        std::uint8_t* texel = &floor.pixels[i * 4];
        texel[0] = fill.r;
        texel[1] = fill.g;
        texel[2] = fill.b;
        texel[3] = fill.a;
    }
}

// One quad over the part of the field the view shows, drawn into the kept picture over
// `under`; its texture coordinates carry the field position to the shader.
void drawFloorPicture(Game& game, const sf::View& view, sf::Color under) {
    HexFloor& floor = game.frontend->hex_floor;
    sf::Vector2f half(std::abs(view.getSize().x) / 2 + 2, std::abs(view.getSize().y) / 2 + 2);
    if (viewRotationDegrees(view) != 0) half.x = half.y = std::hypot(half.x, half.y);
    sf::Vector2f a = view.getCenter() - half, b = view.getCenter() + half;
    const sf::Vertex quad[4] = {sf::Vertex{a, sf::Color::White, a}, sf::Vertex{{b.x, a.y}, sf::Color::White, {b.x, a.y}},
                                sf::Vertex{{a.x, b.y}, sf::Color::White, {a.x, b.y}},
                                sf::Vertex{b, sf::Color::White, b}};
    sf::RenderStates states(kPremultiplied);
    states.shader = &floor.shader;
    floor.picture.setView(view);
    floor.picture.clear(under);
    floor.picture.draw(quad, 4, sf::PrimitiveType::TriangleStrip, states);
}

constexpr int kTile = 16;  // pixels a side

int tileColumns(const HexFloor& floor) { return int(floor.picture.getSize().x + kTile - 1) / kTile; }
int tileRows(const HexFloor& floor) { return int(floor.picture.getSize().y + kTile - 1) / kTile; }

// Marks the tiles that the hexagon of each cell whose colour changed reaches, with a
// pixel to spare; returns how many tiles are marked. A cell's colour shows only inside its
// own hexagon: the outlines over it are all of one colour.
int markStaleTiles(Game& game, const sf::View& view) {
    HexFloor& floor = game.frontend->hex_floor;
    int columns = tileColumns(floor), rows = tileRows(floor);
    floor.stale_tiles.assign(size_t(columns) * size_t(rows), 0);
    float reach = game.hex_radius + 1;
    for (size_t i = 0; i < game.hex_cells.size(); ++i) {
        if (std::equal(&floor.pixels[i * 4], &floor.pixels[i * 4] + 4, &floor.picture_pixels[i * 4])) continue;
        sf::Vector2f centre = game.hex_cells[i].centre;
        sf::Vector2i low(INT32_MAX, INT32_MAX), high(INT32_MIN, INT32_MIN);
        for (sf::Vector2f corner : {centre + sf::Vector2f(-reach, -reach), centre + sf::Vector2f(reach, -reach),
                                    centre + sf::Vector2f(-reach, reach), centre + sf::Vector2f(reach, reach)}) {
            sf::Vector2i pixel = floor.picture.mapCoordsToPixel(corner, view);
            low = {std::min(low.x, pixel.x), std::min(low.y, pixel.y)};
            high = {std::max(high.x, pixel.x), std::max(high.y, pixel.y)};
        }
        int left = std::max(0, (low.x - 1) / kTile), top = std::max(0, (low.y - 1) / kTile);
        int right = std::min(columns - 1, (high.x + 1) / kTile), bottom = std::min(rows - 1, (high.y + 1) / kTile);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) floor.stale_tiles[size_t(y) * size_t(columns) + size_t(x)] = 1;
    }
    return int(std::count(floor.stale_tiles.begin(), floor.stale_tiles.end(), 1));
}

// Shades the marked tiles again: each is reset to what the picture was drawn over, then
// the shader runs over it as over the whole picture. Tiles never overlap, so every pixel
// is blended once, as in a full redraw.
void redrawStaleTiles(Game& game, const sf::View& view, sf::Color under) {
    HexFloor& floor = game.frontend->hex_floor;
    int columns = tileColumns(floor), rows = tileRows(floor);
    std::vector<sf::Vertex>& quads = floor.tile_quads;
    quads.clear();
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) {
            if (!floor.stale_tiles[size_t(y) * size_t(columns) + size_t(x)]) continue;
            sf::Vector2i a(x * kTile, y * kTile), b(a.x + kTile, a.y + kTile);
            const sf::Vector2i corners[6] = {a, {b.x, a.y}, {a.x, b.y}, {b.x, a.y}, {a.x, b.y}, b};
            for (sf::Vector2i corner : corners)
                quads.push_back(sf::Vertex{sf::Vector2f(corner), sf::Color::White, floor.picture.mapPixelToCoords(corner, view)});
        }
    if (quads.empty()) return;
    floor.picture.setView(floor.picture.getDefaultView());
    for (sf::Vertex& vertex : quads) vertex.color = under;
    floor.picture.draw(quads.data(), quads.size(), sf::PrimitiveType::Triangles, sf::RenderStates(sf::BlendNone));
    for (sf::Vertex& vertex : quads) vertex.color = sf::Color::White;
    sf::RenderStates states(kPremultiplied);
    states.shader = &floor.shader;
    floor.picture.draw(quads.data(), quads.size(), sf::PrimitiveType::Triangles, states);
}

// SFML draws with BlendNone by leaving blending on with the factors one and zero, which a
// software renderer carries out as a full blend, reading every pixel of the target; with
// blending off the copy costs about a tenth less. The pixels are the same.
// SFML sets its states again (blending on) when a target becomes current in a context
// after another, so they are set first, then blending is switched off for this draw.
void copyOpaque(sf::RenderTarget& target, const sf::Texture& texture) {
    target.resetGLStates();
    glDisable(GL_BLEND);
    target.draw(sf::Sprite(texture), sf::RenderStates(sf::BlendNone));
    glEnable(GL_BLEND);
}

// Whether the picture shows this view at this size over this colour, whatever the cells.
bool pictureFits(const HexFloor& floor, const sf::RenderTarget& target, sf::Color under) {
    const sf::View& view = target.getView();
    return floor.picture_valid && floor.picture.getSize() == target.getSize() &&
           floor.picture_view == view.getTransform() && floor.picture_viewport == view.getViewport() &&
           floor.picture_under == under;
}

// Shows the floor's picture pixel for pixel over the target, drawing it first when the
// view changed and shading the stale tiles again when cells changed colour.
void showFloor(Game& game, sf::Color background) {
    HexFloor& floor = game.frontend->hex_floor;
    Canvas& canvas = game.frontend->canvas;
    sf::RenderTarget& target = *canvas.target;
    flushCanvas(canvas);
    const sf::View view = target.getView();
    bool opaque = view.getViewport() == sf::FloatRect({0, 0}, {1, 1});
    sf::Color under = opaque ? background : sf::Color::Transparent;
    bool whole = !pictureFits(floor, target, under);
    int stale = 0;
    if (!whole && floor.picture_pixels != floor.pixels) {
        stale = markStaleTiles(game, view);
        // Past half the picture, one quad over all of it costs less than the tiles' two passes.
        whole = 2 * stale > tileColumns(floor) * tileRows(floor);
    }
    if (whole) {
        if (floor.picture.getSize() != target.getSize() && !resizeRenderTexture(floor.picture, target.getSize())) {
            // From now on the shapes are drawn, over a cleared frame.
            floor.ready = false;
            if (opaque) target.clear(background);
            for (const sf::ConvexShape& hex : game.hex_shapes) drawShape(canvas, hex);
            return;
        }
        floor.cell_colours.update(floor.pixels.data());
        drawFloorPicture(game, view, under);
        floor.picture.display();
        floor.picture_pixels = floor.pixels;
        floor.picture_view = view.getTransform();
        floor.picture_viewport = view.getViewport();
        floor.picture_under = under;
        floor.picture_valid = true;
        ++canvas.draw_calls;
    } else if (stale > 0) {
        floor.cell_colours.update(floor.pixels.data());
        redrawStaleTiles(game, view, under);
        floor.picture.display();
        floor.picture_pixels = floor.pixels;
        canvas.draw_calls += 2;
    }
    target.setView(target.getDefaultView());
    if (opaque)
        copyOpaque(target, floor.picture.getTexture());
    else
        target.draw(sf::Sprite(floor.picture.getTexture()), sf::RenderStates(kPremultiplied));
    target.setView(view);
    ++canvas.draw_calls;
}
}  // namespace

bool floorCoversTarget(const Game& game) {
    const Canvas& canvas = game.frontend->canvas;
    return game.hex_grid_enabled && canvas.batched && canvas.fast_paths && game.frontend->hex_floor.ready;
}

void drawHexFloor(Game& game, sf::Color background) {
    Canvas& canvas = game.frontend->canvas;
    if (canvas.batched && canvas.fast_paths && !game.frontend->hex_floor.tried) setUpFloor(game);
    if (canvas.batched && canvas.fast_paths && game.frontend->hex_floor.ready) {
        readCellColours(game);
        showFloor(game, background);
        return;
    }
    for (const sf::ConvexShape& hex : game.hex_shapes) drawShape(canvas, hex);
}
