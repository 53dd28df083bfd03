#include "ui/unit_sprites.h"
#include "ui/unit_frame.h"

#include <SFML/Graphics/Image.hpp>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr int kColumns = 19;  // 19 x 19 cells hold the 360 turns
constexpr float kMeasureReach = 64;  // field units; beyond any faction's art

// Where the view puts field points on the target: pixel = origin + scale * point, for a
// view that is neither turned, stretched nor mirrored (the art would be). Otherwise scale is 0.
struct PixelMapping {
    sf::Vector2f origin;
    float scale = 0;
};

PixelMapping pixelMappingOf(const sf::RenderTarget& target) {
    const sf::View& view = target.getView();
    sf::Vector2f size = view.getSize();
    float scale = pixelScale(target);
    if (!(size.x > 0) || !(size.y > 0) || scale == 0) return {};
    RectParts<float> viewport = partsOf(view.getViewport());
    sf::Vector2u pixels = target.getSize();
    sf::Vector2f corner = view.getCenter() - size / 2.0f;
    sf::Vector2f origin(viewport.left * float(pixels.x), viewport.top * float(pixels.y));
    return {origin - corner * scale, scale};
}

// A view of a render texture in which a field unit is `scale` pixels, from its top-left corner.
sf::View scaledView(sf::Vector2u pixels, float scale) {
    sf::Vector2f size(float(pixels.x) / scale, float(pixels.y) / scale);
    return sf::View(size / 2.0f, size);
}

// The pixels a cell's art can paint: its vertices' box, widened by the pixel a line or an
// edge may reach beyond it, so a unit's quad covers no more than its art.
sf::IntRect paintedArea(const std::vector<CanvasBatch>& batches, sf::Vector2f centre, float scale) {
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    for (const CanvasBatch& batch : batches)
        for (const sf::Vertex& vertex : batch.vertices) {
            left = std::min(left, vertex.position.x), right = std::max(right, vertex.position.x);
            top = std::min(top, vertex.position.y), bottom = std::max(bottom, vertex.position.y);
        }
    if (left > right) return {};
    int x0 = int(std::floor(left * scale - centre.x)) - 1, y0 = int(std::floor(top * scale - centre.y)) - 1;
    int x1 = int(std::ceil(right * scale - centre.x)) + 1, y1 = int(std::ceil(bottom * scale - centre.y)) + 1;
    return sf::IntRect({x0, y0}, {x1 - x0, y1 - y0});
}

// The art of every turn, each in its own cell. The cells share nothing, so the n-th batch
// of every cell is drawn in one call: a few dozen calls for all 360 turns.
void drawCells(FactionSprites& sprites, int faction) {
    std::vector<std::vector<CanvasBatch>> cells(kSpriteTurns);
    Canvas canvas;
    canvas.target = &sprites.atlas;
    canvas.batched = true;
    canvas.fast_paths = false;
    canvas.premultiplied = true;
    sprites.atlas.setView(scaledView(sprites.atlas.getSize(), sprites.scale));
    std::size_t layers = 0;
    for (int turn = 0; turn < kSpriteTurns; ++turn) {
        canvas.recorded = &cells[turn];
        sf::Vector2f centre(float((turn % kColumns) * sprites.cell + sprites.cell / 2),
                            float((turn / kColumns) * sprites.cell + sprites.cell / 2));
        drawFactionArt(canvas, faction, UnitFrame(centre / sprites.scale, float(turn)));
        flushCanvas(canvas);
        sprites.drawn[turn] = paintedArea(cells[turn], centre, sprites.scale);
        layers = std::max(layers, cells[turn].size());
    }
    sprites.atlas.clear(sf::Color::Transparent);
    CanvasBatch merged;
    auto drawMerged = [&] {
        if (!merged.vertices.empty())
            sprites.atlas.draw(merged.vertices.data(), merged.vertices.size(), merged.type, merged.states);
        merged.vertices.clear();
    };
    for (std::size_t layer = 0; layer < layers; ++layer)
        for (const std::vector<CanvasBatch>& cell : cells) {
            if (layer >= cell.size()) continue;
            const CanvasBatch& batch = cell[layer];
            if (batch.type != merged.type || batch.states.blendMode != merged.states.blendMode ||
                batch.states.texture != merged.states.texture)
                drawMerged();
            merged.type = batch.type;
            merged.states = batch.states;
            merged.vertices.insert(merged.vertices.end(), batch.vertices.begin(), batch.vertices.end());
        }
    drawMerged();
    sprites.atlas.display();
}

// Half the side of a cell that holds the art at any turn: the farthest painted pixel of the
// unturned art, plus room for the pixels a turn may add at the edges.
int cellReach(int faction, float scale) {
    sf::RenderTexture probe;
    unsigned side = 2 * unsigned(std::ceil(kMeasureReach * scale));
    if (!resizeRenderTexture(probe, {side, side})) return -1;
    Canvas canvas;
    canvas.target = &probe;
    canvas.batched = true;
    canvas.fast_paths = false;
    probe.setView(scaledView(probe.getSize(), scale));
    probe.clear(sf::Color::Transparent);
    float half = float(side) / 2;
    drawFactionArt(canvas, faction, UnitFrame(sf::Vector2f(half, half) / scale, 0));
    flushCanvas(canvas);
    probe.display();
    sf::Image picture = probe.getTexture().copyToImage();
    float reach = 0;
    for (unsigned y = 0; y < side; ++y)
        for (unsigned x = 0; x < side; ++x)
            if (pixelAt(picture, x, y).a != 0)
                reach = std::max(reach, std::hypot(float(x) + 0.5f - half, float(y) + 0.5f - half));
    return int(std::ceil(reach)) + 2;
}

bool readySprites(FactionSprites& sprites, int faction, float scale) {
    if (sprites.failed) return false;
    if (sprites.ready && sprites.scale == scale) return true;
    int reach = cellReach(faction, scale);
    unsigned side = unsigned(kColumns * 2 * reach);
    if (reach < 0 || side > sf::Texture::getMaximumSize() || !resizeRenderTexture(sprites.atlas, {side, side})) {
        sprites.failed = true;
        return false;
    }
    sprites.scale = scale;
    sprites.cell = 2 * reach;
    drawCells(sprites, faction);
    sprites.ready = true;
    return true;
}
}  // namespace

bool drawUnitSprite(UnitSprites& all, Canvas& canvas, int faction, sf::Vector2f position, float theta) {
    PixelMapping mapping = pixelMappingOf(*canvas.target);
    if (mapping.scale <= 0 || !std::isfinite(theta) || !isFaction(faction)) return false;
    FactionSprites& sprites = all.factions[faction];
    if (!readySprites(sprites, faction, mapping.scale)) return false;
    int turn = int(std::lround(theta)) % kSpriteTurns;
    if (turn < 0) turn += kSpriteTurns;
    const RectParts<int> area = partsOf(sprites.drawn[turn]);
    if (area.width == 0) return true;

    // The unit's centre goes to the nearest pixel corner, where its cell's centre lies.
    sf::Vector2f pixel = mapping.origin + position * mapping.scale;
    sf::Vector2f corner(std::floor(pixel.x + 0.5f), std::floor(pixel.y + 0.5f));
    sf::Vector2f centre = (corner - mapping.origin) / mapping.scale;
    float to_field = 1 / mapping.scale;
    sf::Vector2f top_left = centre + sf::Vector2f(float(area.left), float(area.top)) * to_field;
    sf::Vector2f bottom_right = top_left + sf::Vector2f(float(area.width), float(area.height)) * to_field;
    float cell_x = float((turn % kColumns) * sprites.cell + sprites.cell / 2);
    float cell_y = float((turn / kColumns) * sprites.cell + sprites.cell / 2);
    float u0 = cell_x + float(area.left), v0 = cell_y + float(area.top);
    float u1 = u0 + float(area.width), v1 = v0 + float(area.height);
    const sf::Color white = sf::Color::White;
    const sf::Vertex quad[4] = {sf::Vertex{top_left, white, {u0, v0}},
                                sf::Vertex{{bottom_right.x, top_left.y}, white, {u1, v0}},
                                sf::Vertex{{top_left.x, bottom_right.y}, white, {u0, v1}},
                                sf::Vertex{bottom_right, white, {u1, v1}}};
    sf::RenderStates states(kPremultipliedOver);
    states.texture = &sprites.atlas.getTexture();
    drawVertices(canvas, quad, 4, sf::PrimitiveType::TriangleStrip, states);
    return true;
}
