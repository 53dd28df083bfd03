#include "media.h"
#include "app/sfml_compat.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Vector2.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

// The faction pictures are drawn pixel by pixel into an sf::Image (no window or GL
// context needed): every shape is a signed distance in pixels, and a pixel is covered
// by how far its centre lies inside, which anti-aliases every edge for free.
namespace {
constexpr int kSize = 256;
constexpr float kPi = 3.14159265f;

using Vec = sf::Vector2f;

// Premultiplied RGBA, 0..1 per channel.
struct Picture {
    std::vector<float> rgba = std::vector<float>(size_t(kSize) * kSize * 4, 0.0f);
};

// Where an emblem's own units land in the picture; art is drawn with the gun pointing up.
struct Brush {
    Picture& picture;
    Vec centre{kSize / 2.0f, kSize / 2.0f};
    float scale = 1;   // pixels per art unit
    Vec offset;        // art point drawn at the centre
    bool hover = false;

    Vec toPixel(Vec art) const { return centre + (art - offset) * scale; }
    Vec toArt(Vec pixel) const { return (pixel - centre) / scale + offset; }
    // The highlighted picture lifts every colour towards white.
    sf::Color tone(sf::Color c) const {
        if (!hover) return c;
        auto lift = [](std::uint8_t v) { return std::uint8_t(float(v) + (255 - float(v)) * 0.22f); };
        return sf::Color(lift(c.r), lift(c.g), lift(c.b), c.a);
    }
};

struct Box {
    int x0, y0, x1, y1;
};

Box boxAround(const std::vector<Vec>& pixels, float margin) {
    float x0 = kSize, y0 = kSize, x1 = 0, y1 = 0;
    for (Vec p : pixels) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    auto clampPixel = [](float v) { return std::clamp(int(v), 0, kSize - 1); };
    return {clampPixel(x0 - margin), clampPixel(y0 - margin), clampPixel(x1 + margin + 1), clampPixel(y1 + margin + 1)};
}

void blendPixel(Picture& picture, int x, int y, sf::Color colour, float coverage) {
    float a = float(colour.a) / 255 * coverage;
    if (a <= 0) return;
    float* px = &picture.rgba[(size_t(y) * kSize + size_t(x)) * 4];
    px[0] = float(colour.r) / 255 * a + px[0] * (1 - a);
    px[1] = float(colour.g) / 255 * a + px[1] * (1 - a);
    px[2] = float(colour.b) / 255 * a + px[2] * (1 - a);
    px[3] = a + px[3] * (1 - a);
}

// Paints the pixels of a box: distance(pixel centre) in pixels, negative inside;
// colour(pixel centre) gives the paint at that point.
template <class Distance, class Colour>
void paint(Picture& picture, Box box, Distance distance, Colour colour) {
    for (int y = box.y0; y <= box.y1; ++y)
        for (int x = box.x0; x <= box.x1; ++x) {
            Vec p(float(x) + 0.5f, float(y) + 0.5f);
            float coverage = std::clamp(0.5f - distance(p), 0.0f, 1.0f);
            if (coverage > 0) blendPixel(picture, x, y, colour(p), coverage);
        }
}

float length(Vec v) { return std::hypot(v.x, v.y); }

float segmentDistance(Vec p, Vec a, Vec b) {
    Vec ab = b - a;
    float span = ab.x * ab.x + ab.y * ab.y;
    float t = span > 0 ? std::clamp(((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / span, 0.0f, 1.0f) : 0.0f;
    return length(p - (a + ab * t));
}

// Distance to the polygon's edges, negative inside (even-odd rule, so stars work).
float polygonDistance(Vec p, const std::vector<Vec>& points) {
    float nearest = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        Vec a = points[j], b = points[i];
        nearest = std::min(nearest, segmentDistance(p, a, b));
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside ? -nearest : nearest;
}

std::vector<Vec> toPixels(const Brush& brush, const std::vector<Vec>& art) {
    std::vector<Vec> pixels;
    for (Vec p : art) pixels.push_back(brush.toPixel(p));
    return pixels;
}

void fillPolygon(Brush& brush, const std::vector<Vec>& art, sf::Color fill) {
    std::vector<Vec> pixels = toPixels(brush, art);
    sf::Color c = brush.tone(fill);
    paint(brush.picture, boxAround(pixels, 2), [&](Vec p) { return polygonDistance(p, pixels); },
          [&](Vec) { return c; });
}

void outlinePolygon(Brush& brush, const std::vector<Vec>& art, float width, sf::Color colour) {
    std::vector<Vec> pixels = toPixels(brush, art);
    float half = width * brush.scale / 2;
    sf::Color c = brush.tone(colour);
    paint(brush.picture, boxAround(pixels, half + 2),
          [&](Vec p) { return std::fabs(polygonDistance(p, pixels)) - half; }, [&](Vec) { return c; });
}

void polygon(Brush& brush, const std::vector<Vec>& art, sf::Color fill, float outline, sf::Color outline_colour) {
    fillPolygon(brush, art, fill);
    if (outline > 0) outlinePolygon(brush, art, outline, outline_colour);
}

// A line with round ends whose colour runs from one end to the other.
void line(Brush& brush, Vec a, Vec b, float width, sf::Color from, sf::Color to) {
    Vec pa = brush.toPixel(a), pb = brush.toPixel(b);
    float half = width * brush.scale / 2;
    sf::Color c0 = brush.tone(from), c1 = brush.tone(to);
    auto mix = [](std::uint8_t x, std::uint8_t y, float t) { return std::uint8_t(float(x) + (float(y) - float(x)) * t); };
    paint(brush.picture, boxAround({pa, pb}, half + 2), [&](Vec p) { return segmentDistance(p, pa, pb) - half; },
          [&](Vec p) {
              Vec ab = pb - pa;
              float span = ab.x * ab.x + ab.y * ab.y;
              float t = span > 0 ? std::clamp(((p.x - pa.x) * ab.x + (p.y - pa.y) * ab.y) / span, 0.0f, 1.0f) : 0;
              return sf::Color(mix(c0.r, c1.r, t), mix(c0.g, c1.g, t), mix(c0.b, c1.b, t), mix(c0.a, c1.a, t));
          });
}

void line(Brush& brush, Vec a, Vec b, float width, sf::Color colour) { line(brush, a, b, width, colour, colour); }

void polyline(Brush& brush, const std::vector<Vec>& art, float width, sf::Color colour) {
    for (size_t i = 1; i < art.size(); ++i) line(brush, art[i - 1], art[i], width, colour);
}

void disc(Brush& brush, Vec centre, float radius, sf::Color fill) {
    Vec c = brush.toPixel(centre);
    float r = radius * brush.scale;
    sf::Color colour = brush.tone(fill);
    paint(brush.picture, boxAround({c}, r + 2), [&](Vec p) { return length(p - c) - r; },
          [&](Vec) { return colour; });
}

void ring(Brush& brush, Vec centre, float radius, float width, sf::Color colour) {
    Vec c = brush.toPixel(centre);
    float r = radius * brush.scale, half = width * brush.scale / 2;
    sf::Color tone = brush.tone(colour);
    paint(brush.picture, boxAround({c}, r + half + 2), [&](Vec p) { return std::fabs(length(p - c) - r) - half; },
          [&](Vec) { return tone; });
}

std::vector<Vec> rectangle(float x0, float y0, float x1, float y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

std::vector<Vec> diamond(Vec centre, float half_width, float half_height) {
    return {{centre.x, centre.y - half_height},
            {centre.x + half_width, centre.y},
            {centre.x, centre.y + half_height},
            {centre.x - half_width, centre.y}};
}

std::vector<Vec> rotated(std::vector<Vec> points, float degrees, Vec about = {}) {
    float a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
    for (Vec& p : points) {
        Vec d = p - about;
        p = about + Vec(d.x * c - d.y * s, d.x * s + d.y * c);
    }
    return points;
}

Vec polar(float radius, float degrees) {
    float a = degrees * kPi / 180;
    return {std::cos(a) * radius, std::sin(a) * radius};
}

sf::Color withAlpha(sf::Color c, std::uint8_t alpha) { return sf::Color(c.r, c.g, c.b, alpha); }

// The round plate every emblem sits on; the hover plate is brighter and glows.
void drawPlate(Picture& picture, sf::Color faction, bool hover) {
    Vec c(kSize / 2.0f, kSize / 2.0f);
    float radius = 116;
    if (hover)
        paint(picture, {0, 0, kSize - 1, kSize - 1}, [&](Vec p) { return length(p - c) - 127; },
              [&](Vec p) {
                  float t = std::clamp((length(p - c) - radius) / 11, 0.0f, 1.0f);
                  return withAlpha(faction, std::uint8_t(200 * (1 - t) * (1 - t)));
              });
    float lift = hover ? 0.45f : 0.22f;
    paint(picture, {0, 0, kSize - 1, kSize - 1}, [&](Vec p) { return length(p - c) - radius; },
          [&](Vec p) {
              float t = 1 - std::clamp(length(p - c) / radius, 0.0f, 1.0f);
              float k = lift * (0.35f + 0.65f * t);
              return sf::Color(std::uint8_t(12 + float(faction.r) * k), std::uint8_t(12 + float(faction.g) * k),
                               std::uint8_t(22 + float(faction.b) * k), 255);
          });
    sf::Color rim = hover ? sf::Color(std::min(255, faction.r + 70), std::min(255, faction.g + 70),
                                      std::min(255, faction.b + 70), 255)
                          : withAlpha(faction, 210);
    float half = hover ? 3.5f : 2.0f;
    paint(picture, {0, 0, kSize - 1, kSize - 1}, [&](Vec p) { return std::fabs(length(p - c) - radius) - half; },
          [&](Vec) { return rim; });
    if (hover)
        paint(picture, {0, 0, kSize - 1, kSize - 1}, [&](Vec p) { return std::fabs(length(p - c) - 108) - 0.8f; },
              [&](Vec) { return sf::Color(255, 255, 255, 110); });
}

// A red armoured hull with its flared cannon.
void drawRed(Brush& b) {
    const sf::Color hull_a(200, 55, 55), hull_b(160, 35, 35), light(220, 80, 80), marks(230, 30, 30);
    for (float s : {-1.0f, 1.0f})
        for (int i = 0; i < 4; ++i) {
            float t0 = 0.25f * float(i), t1 = t0 + 0.25f;
            line(b, {(3 * t0 + 1.5f) * s, 14 * t0 + 18}, {(3 * t1 + 1.5f) * s, 14 * t1 + 18}, 1.7f,
                 sf::Color(200, 60, 20, std::uint8_t(230 - 45 * i)), sf::Color(200, 60, 20, std::uint8_t(185 - 45 * i)));
        }
    std::vector<Vec> left_outer{{-12, -12}, {-15, -8}, {-16, -2}, {-15, 4}, {-13, 10}, {-12, 12}};
    std::vector<Vec> left_inner{{-8, -16}, {-12, -12}, {-14, -6}, {-13, 2}, {-10, 10}, {-8, 16}};
    auto mirror = [](std::vector<Vec> points) {
        for (Vec& p : points) p.x = -p.x;
        return points;
    };
    std::vector<Vec> hull{{-8, -16}};
    hull.insert(hull.end(), left_outer.begin(), left_outer.end());
    hull.insert(hull.end(), {{-8, 16}, {8, 16}});
    std::vector<Vec> right_outer = mirror(left_outer);
    hull.insert(hull.end(), right_outer.rbegin(), right_outer.rend());
    hull.push_back({8, -16});
    polygon(b, hull, hull_b, 0.8f, sf::Color(110, 20, 20));
    fillPolygon(b, rectangle(-8, -16, 8, 16), hull_a);
    for (const auto& strip : {left_outer, left_inner, mirror(left_outer), mirror(left_inner)})
        polyline(b, strip, 0.8f, sf::Color(240, 110, 110, 220));
    line(b, {-12, -12}, {-12, 12}, 0.7f, hull_a);
    line(b, {12, -12}, {12, 12}, 0.7f, hull_a);
    line(b, {-8, -16}, {-8, 16}, 0.7f, hull_b);
    line(b, {8, -16}, {8, 16}, 0.7f, hull_b);
    line(b, {-18, 0}, {18, 0}, 1.6f, light);
    for (int k = -2; k <= 2; ++k) disc(b, {8.0f * float(k), 0}, 1.5f, sf::Color(245, 140, 140));
    for (float x : {-12.0f, 12.0f}) {
        disc(b, {x - 2, -6}, 1.0f, withAlpha(hull_a, 200));
        disc(b, {x - 2, 6}, 1.0f, withAlpha(hull_b, 200));
    }
    line(b, {0, -14}, {0, 14}, 1.1f, marks);
    line(b, {-5, -8}, {-11, -2}, 1.1f, marks);
    line(b, {5, -6}, {11, 0}, 1.1f, marks);

    // Barrel: narrow at the breech, straight, then flaring to 7 at the muzzle.
    auto half_width = [](float t) {
        if (t < 0.35f) return 3.5f - 1.3f * (t / 0.35f) * (t / 0.35f);
        if (t < 0.65f) return 2.2f;
        float s = (t - 0.65f) / 0.35f;
        return 2.2f + 4.8f * s * s * (3 - 2 * s);
    };
    std::vector<Vec> left_edge, right_edge, tube;
    for (int i = 0; i <= 20; ++i) {
        float t = float(i) / 20;
        left_edge.push_back({-half_width(t) * 0.6f, -20 * t});
        right_edge.push_back({half_width(t) * 0.6f, -20 * t});
    }
    tube = left_edge;
    tube.insert(tube.end(), right_edge.rbegin(), right_edge.rend());
    fillPolygon(b, tube, sf::Color(30, 30, 30));
    polyline(b, left_edge, 0.6f, sf::Color(80, 80, 80));
    polyline(b, right_edge, 0.6f, sf::Color(80, 80, 80));
    disc(b, {0, 0}, 4.2f, sf::Color(30, 30, 30));
    disc(b, {0, 0}, 2.0f, sf::Color(255, 0, 0));
}

// A gold sun: crossed diamonds, eight rays, pods and twin rails.
void drawYellow(Brush& b) {
    const sf::Color gold(255, 215, 0);
    ring(b, {0, 0}, 22, 1.0f, withAlpha(gold, 120));
    disc(b, {0, 0}, 16, sf::Color(25, 22, 15, 180));
    polygon(b, diamond({0, 0}, 14, 20), sf::Color(15, 15, 18), 1.2f, withAlpha(gold, 200));
    polygon(b, diamond({0, 0}, 20, 14), sf::Color(22, 22, 26), 1.0f, withAlpha(gold, 160));
    polygon(b, diamond({0, 0}, 7, 7), withAlpha(gold, 40), 0.8f, sf::Color(255, 235, 120, 230));
    for (int k = 0; k < 8; ++k)
        fillPolygon(b, rotated({{0, -1.5f}, {25, 0}, {0, 1.5f}}, 45.0f * float(k)), withAlpha(gold, 110));
    for (float side : {-2.5f, 2.5f})
        polygon(b, rectangle(side - 0.9f, -16, side + 0.9f, 16), sf::Color(10, 10, 12), 0.6f, withAlpha(gold, 140));
    fillPolygon(b, rectangle(-1, -10, 1, 2), sf::Color(255, 245, 200, 240));
    const std::uint8_t cell_alpha[3] = {220, 180, 140};
    for (int i = 0; i < 3; ++i) {
        float y = -8.0f - 8.0f * float(i);
        polygon(b, rectangle(-4, y - 0.75f, 4, y + 0.75f), withAlpha(gold, cell_alpha[i]), 0.4f,
                sf::Color(255, 255, 255, 180));
    }
    fillPolygon(b, rectangle(-3.5f, -32.6f, 3.5f, -31.4f), sf::Color(255, 255, 200));
    fillPolygon(b, rectangle(-0.6f, -35.5f, 0.6f, -28.5f), sf::Color(255, 255, 200));
    for (int k = 0; k < 4; ++k) {
        float angle = 45.0f + 90.0f * float(k);
        Vec pod = polar(16, angle);
        polygon(b, diamond(pod, 3, 4), sf::Color(30, 28, 35), 0.7f, withAlpha(gold, 180));
        Vec out = polar(1, angle), across(-out.y, out.x);
        for (float s : {-1.2f, 1.2f}) disc(b, pod + out * 4.5f + across * s, 1.0f, sf::Color(255, 230, 130));
    }
    disc(b, {0, 0}, 3.5f, sf::Color(15, 15, 15));
    disc(b, {0, 0}, 2.5f, sf::Color(255, 200, 50));
    disc(b, {0, 0}, 1.2f, sf::Color(255, 255, 255));
}

// A blue frame of arcs and pods around a pale star, with a cooled gun.
void drawBlue(Brush& b) {
    const sf::Color frame(60, 110, 190, 220), pod(30, 60, 120), light(107, 203, 255);
    for (float radius : {18.0f, 12.0f}) {
        std::vector<Vec> arc;
        for (int i = 0; i < 50; ++i) arc.push_back(polar(radius, 35 + 110.0f * float(i) / 49));
        polyline(b, arc, 1.3f, frame);
    }
    for (int i = 0; i < 5; ++i) {
        float angle = 35 + 27.5f * float(i);
        line(b, polar(17.5f, angle), polar(22.5f, angle), 1.8f, sf::Color(20, 40, 80));
        Vec end = polar(23, angle), across = polar(1.2f, angle + 90);
        line(b, end - across, end + across, 1.0f, sf::Color(10, 30, 60));
        disc(b, polar(16, angle), 2.0f, pod);
        ring(b, polar(16, angle), 2.0f, 0.5f, light);
    }
    line(b, {0, -10}, {0, 17}, 1.6f, sf::Color(50, 220, 110, 200));
    for (int i = -2; i <= 2; ++i) {
        float half = (9 - 1.5f * float(std::abs(i))) / 2;
        line(b, {-half, 4.0f * float(i)}, {half, 4.0f * float(i)}, 1.8f, sf::Color(40, 80, 160));
    }
    polygon(b, {{-4, 17}, {0, 23}, {4, 17}, {0, 14}}, sf::Color(40, 160, 80, 170), 0.6f, sf::Color(50, 220, 110));
    std::vector<Vec> star;
    for (int k = 0; k < 10; ++k) star.push_back(polar(k % 2 == 0 ? 8 : 3.6f, 90 + 36.0f * float(k)));
    polygon(b, star, sf::Color(255, 240, 200), 0.7f, sf::Color(200, 160, 90));

    polygon(b, rectangle(-1.25f, -24, 1.25f, 0), pod, 0.8f, light);
    const std::uint8_t fin_alpha[3] = {180, 140, 100};
    for (int i = 0; i < 3; ++i) {
        float y = -5.0f - 7.0f * float(i);
        polygon(b, rectangle(-3, y - 0.5f, 3, y + 0.5f), withAlpha(light, fin_alpha[i]), 0.3f,
                sf::Color(150, 230, 255, 100));
    }
    for (float side : {-3.5f, 3.5f})
        polygon(b, rectangle(side - 0.6f, -17, side + 0.6f, -7), sf::Color(40, 80, 160), 0.4f,
                sf::Color(80, 180, 255, 150));
    disc(b, {0, -24}, 2.5f, light);
    ring(b, {0, -24}, 2.5f, 0.5f, sf::Color(200, 240, 255));
}

// A violet crystal: an eight-pointed frame, shards and a white blade.
void drawPurple(Brush& b) {
    const sf::Color deep(20, 10, 30), glow(140, 70, 255, 200);
    for (int k = 0; k < 4; ++k) {
        float angle = 45.0f + 90.0f * float(k);
        std::vector<Vec> shard{{-2, 0}, {0, -15}, {2, 0}};
        for (Vec& p : shard) p.y -= 14;
        fillPolygon(b, rotated(shard, angle), sf::Color(200, 130, 255, 150));
    }
    polygon(b, rectangle(-12, -12, 12, 12), deep, 1.2f, glow);
    polygon(b, rotated(rectangle(-12, -12, 12, 12), 45), deep, 1.2f, glow);
    line(b, {0, -4}, {0, -12}, 1.0f, sf::Color(255, 255, 255, 200), sf::Color(180, 80, 255, 100));
    for (float s : {-1.0f, 1.0f})
        line(b, {5 * s, -3}, {4 * s, -11}, 0.8f, sf::Color(100, 50, 150), sf::Color(220, 150, 255));
    polygon(b, rectangle(-0.75f, -30, 0.75f, -12), sf::Color::White, 0.5f, sf::Color(200, 100, 255));
    for (float s : {-1.0f, 1.0f}) {
        std::vector<Vec> fin{{0, 0}, {2.5f * s, -4}, {1.0f * s, -13}, {0, -11}};
        for (Vec& p : fin) p += Vec(4 * s, -12);
        polygon(b, fin, sf::Color(45, 20, 70), 0.7f, sf::Color(255, 120, 255));
        fillPolygon(b, diamond({1.8f * s, -14}, 1, 1), sf::Color(255, 200, 255));
    }
    Vec tip(0, -31);
    for (int k = 0; k < 4; ++k) {
        Vec d = polar(2.5f, 45.0f * float(k));
        line(b, tip - d, tip + d, 0.4f, sf::Color(255, 230, 255, 180));
    }
    polygon(b, diamond(tip, 2, 2), sf::Color::White, 0.8f, sf::Color(255, 100, 255));
    std::vector<Vec> core;
    for (int k = 0; k < 8; ++k) core.push_back(polar(3.5f, 45.0f * float(k) - 90));
    polygon(b, core, sf::Color(10, 4, 22), 1.0f, sf::Color(255, 255, 255, 230));
}

// White wings around a golden six-pointed star with a crimson core.
void drawWhite(Brush& b) {
    Picture& picture = b.picture;
    for (float s : {-1.0f, 1.0f}) {
        std::vector<Vec> wing;
        for (int k = 0; k <= 30; ++k) {
            float t = float(k) / 30, u = 50 * t - 10;
            wing.push_back({(2 + 0.6f * u) * s, u});
        }
        for (int k = 30; k >= 0; --k) {
            float t = float(k) / 30, u = 50 * t - 10;
            wing.push_back({(2 + 15 * std::sin(kPi * t) + 0.6f * u) * s, u});
        }
        std::vector<Vec> pixels = toPixels(b, wing);
        // Opaque along the inner edge, fading out towards the tip of each feather.
        paint(picture, boxAround(pixels, 2), [&](Vec p) { return polygonDistance(p, pixels); },
              [&](Vec p) {
                  Vec a = b.toArt(p);
                  float t = std::clamp((a.y + 10) / 50, 0.0f, 1.0f);
                  float inner = 2 + 0.6f * a.y, span = 15 * std::sin(kPi * t);
                  float f = span > 0 ? std::clamp((std::fabs(a.x) - inner) / span, 0.0f, 1.0f) : 1.0f;
                  return b.tone(sf::Color(255, 255, 255, std::uint8_t(240 * (1 - f))));
              });
        for (int j = 1; j <= 5; ++j) {
            float t = float(j) / 6, u = 50 * t - 10;
            float inner = 2 + 0.6f * u, span = 15 * std::sin(kPi * t);
            line(b, {inner * s, u}, {(inner + span * 0.8f) * s, u + 5}, 0.5f, sf::Color(150, 150, 185, 170),
                 sf::Color(150, 150, 185, 0));
        }
    }
    std::vector<Vec> star;
    for (int k = 0; k < 12; ++k) star.push_back(polar(k % 2 == 0 ? 20 : 8, 30.0f * float(k) - 90));
    std::vector<Vec> star_pixels = toPixels(b, star);
    paint(picture, boxAround(star_pixels, 2), [&](Vec p) { return polygonDistance(p, star_pixels); },
          [&](Vec p) {
              float t = std::clamp(length(b.toArt(p)) / 20, 0.0f, 1.0f);
              return b.tone(sf::Color(std::uint8_t(255 - 55 * t), std::uint8_t(240 - 90 * t), std::uint8_t(100 - 100 * t)));
          });
    for (int k = 0; k < 6; ++k)
        line(b, {0, 0}, polar(12, 60.0f * float(k)), 0.8f, sf::Color(255, 255, 255), sf::Color(255, 255, 255, 100));
    disc(b, {0, 0}, 4, sf::Color(220, 20, 60));
    fillPolygon(b, rectangle(-1.5f, -21, 1.5f, -3), sf::Color(255, 255, 255, 240));
}

struct FactionPicture {
    const char* name;
    sf::Color colour;      // the faction screen's card colour
    void (*draw)(Brush&);
    float scale;           // pixels per art unit
    Vec offset;            // art point at the picture centre
};

const FactionPicture kPictures[] = {
    {"red", sf::Color(200, 40, 30), drawRed, 3.9f, {0, 5}},
    {"yellow", sf::Color(210, 185, 35), drawYellow, 3.5f, {0, -6}},
    {"blue", sf::Color(35, 65, 210), drawBlue, 4.0f, {0, -1}},
    {"purple", sf::Color(155, 35, 210), drawPurple, 3.4f, {0, -4}},
    {"white", sf::Color(185, 185, 210), drawWhite, 2.9f, {0, 9}},
};

// The game's icon for desktop menus: the field from above with its three lanes, both
// bases, a blue unit firing at a red one.
void drawIcon(Brush& b) {
    polygon(b, rectangle(-124, -124, 124, 124), sf::Color(30, 30, 50), 6, sf::Color(120, 120, 170));
    for (float x : {-55.0f, 0.0f, 55.0f}) line(b, {x, -96}, {x, 96}, 8, sf::Color(180, 180, 180, 90));
    line(b, {-112, 0}, {112, 0}, 4, sf::Color(255, 200, 100, 170));
    polygon(b, rectangle(-108, -112, 108, -98), sf::Color(200, 0, 0, 200), 2, sf::Color(255, 0, 0));
    polygon(b, rectangle(-108, 98, 108, 112), sf::Color(0, 200, 0, 200), 2, sf::Color(0, 255, 0));
    line(b, {0, 52}, {0, 18}, 8, sf::Color(230, 230, 230));
    disc(b, {0, 58}, 20, sf::Color(80, 180, 255));
    ring(b, {0, 58}, 20, 3, sf::Color(40, 40, 40));
    line(b, {-55, -52}, {-55, -20}, 8, sf::Color(230, 230, 230));
    disc(b, {-55, -58}, 20, sf::Color(255, 90, 70));
    ring(b, {-55, -58}, 20, 3, sf::Color(40, 40, 40));
    line(b, {-8, 2}, {-40, -30}, 5, sf::Color(255, 230, 120, 40), sf::Color(255, 240, 160));
    disc(b, {-42, -32}, 6, sf::Color(255, 250, 200));
}

// The Windows icon: an .ico file holding the 256 x 256 PNG as its one image, which Windows
// reads since Vista. All numbers are little-endian.
bool writeIcoFile(const std::string& png_file, const std::string& ico_file) {
    std::ifstream png(png_file, std::ios::binary);
    std::string image((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
    if (image.empty()) return false;
    std::string ico;
    auto put16 = [&ico](unsigned value) { ico += char(value & 0xff), ico += char(value >> 8 & 0xff); };
    auto put32 = [&](std::uint32_t value) { put16(value & 0xffff), put16(value >> 16); };
    put16(0), put16(1), put16(1);                // reserved, type icon, one image
    ico += char(0), ico += char(0);              // 0 stands for 256 pixels wide and high
    ico += char(0), ico += char(0);              // no palette, reserved
    put16(1), put16(32);                         // colour planes, bits per pixel
    put32(std::uint32_t(image.size())), put32(6 + 16);  // the image's size and where it starts
    std::ofstream out(ico_file, std::ios::binary);
    out << ico << image;
    return bool(out);
}

sf::Image toImage(const Picture& picture) {
    sf::Image image;
    resizeImage(image, {kSize, kSize}, sf::Color::Transparent);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float* px = &picture.rgba[(size_t(y) * kSize + size_t(x)) * 4];
            float a = px[3];
            if (a <= 0) continue;
            auto byte = [a](float premultiplied) { return std::uint8_t(std::clamp(premultiplied / a, 0.0f, 1.0f) * 255 + 0.5f); };
            setPixelAt(image, unsigned(x), unsigned(y), sf::Color(byte(px[0]), byte(px[1]), byte(px[2]), std::uint8_t(a * 255 + 0.5f)));
        }
    return image;
}
}  // namespace

bool writePictures(const std::string& directory) {
    for (const FactionPicture& faction : kPictures) {
        for (bool hover : {false, true}) {
            Picture picture;
            drawPlate(picture, faction.colour, hover);
            Brush brush{picture, {kSize / 2.0f, kSize / 2.0f}, faction.scale, faction.offset, hover};
            faction.draw(brush);
            std::string file = directory + faction.name + (hover ? "_hover.png" : "_normal.png");
            if (!toImage(picture).saveToFile(file)) return false;
        }
    }
    Picture icon;
    Brush brush{icon, {kSize / 2.0f, kSize / 2.0f}, 1.0f, {0, 0}, false};
    drawIcon(brush);
    return toImage(icon).saveToFile(directory + "tarvex.png") && writeIcoFile(directory + "tarvex.png", directory + "tarvex.ico");
}
