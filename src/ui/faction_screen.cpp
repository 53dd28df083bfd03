#include "ui/faction_screen.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/render_parts.h"
#include "content/factions.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr float kCardSize = 180;
constexpr float kHexRadius = 28;
constexpr float kHexSpacingX = 48.496f;
constexpr float kHexSpacingY = 42;

// The screen's own palette and texts, in faction order; the mottos are the catalogue's
// "faction.<key>.motto_column" (one word or character a line) and "faction.<key>.motto".
struct FactionCardData {
    sf::Color color;
    sf::Color dark_color;        // carried with the card; this screen does not draw it
    const char* bonus_caption;   // carried with the card; this screen does not draw it
    sf::Vector2f seed;           // territory seed as a fraction of the window size
};

const FactionCardData kCards[kFactionCount] = {
    {sf::Color(200, 40, 30, 255), sf::Color(140, 25, 18, 255), "炮塔成本 -75%", {0.2f, 0.35f}},
    {sf::Color(210, 185, 35, 255), sf::Color(160, 140, 20, 255), "收入 +200%", {0.4f, 0.35f}},
    {sf::Color(35, 65, 210, 255), sf::Color(20, 40, 150, 255), "基地损伤 -95%", {0.6f, 0.35f}},
    {sf::Color(155, 35, 210, 255), sf::Color(105, 20, 150, 255), "升级成本 -50%", {0.3f, 0.65f}},
    {sf::Color(185, 185, 210, 255), sf::Color(145, 145, 170, 255), "对异端伤害 +30%", {0.7f, 0.65f}},
};

enum MottoForm { Column, Whole };
const char* const kMottoKeys[kFactionCount][2] = {{"faction.red.motto_column", "faction.red.motto"},
                                                  {"faction.yellow.motto_column", "faction.yellow.motto"},
                                                  {"faction.blue.motto_column", "faction.blue.motto"},
                                                  {"faction.purple.motto_column", "faction.purple.motto"},
                                                  {"faction.white.motto_column", "faction.white.motto"}};

const std::string& mottoText(const Game& game, int faction, MottoForm form) {
    return text(game.texts, kMottoKeys[faction][form]);
}

sf::Vector2f cardCorner(int faction, sf::Vector2f window_size) {
    float x0 = (window_size.x - 960) / 2;
    float y0 = (window_size.y - kCardSize) / 2;
    return {x0 + 195 * float(faction), y0};
}

sf::Vector2f seedOf(int faction, sf::Vector2f window_size) {
    return {kCards[faction].seed.x * window_size.x, kCards[faction].seed.y * window_size.y};
}

// Every seed reaches a little beyond the farthest window edge of any seed.
float seedReach(sf::Vector2f window_size) {
    float farthest = 0;
    for (int faction = 0; faction < kFactionCount; ++faction) {
        sf::Vector2f s = seedOf(faction, window_size);
        farthest = std::max({farthest, s.x, window_size.x - s.x, s.y, window_size.y - s.y});
    }
    return 1.1f * farthest;
}

float distance(sf::Vector2f a, sf::Vector2f b) { return std::hypot(a.x - b.x, a.y - b.y); }

std::uint8_t brighten(std::uint8_t channel, int amount) { return std::uint8_t(std::min(255, int(channel) + amount)); }

sf::Color scaled(sf::Color colour, float factor, std::uint8_t alpha) {
    return sf::Color(std::uint8_t(float(colour.r) * factor), std::uint8_t(float(colour.g) * factor),
                     std::uint8_t(float(colour.b) * factor), alpha);
}

struct HexLook {
    sf::Color fill;
    sf::Color outline;
};

// What colours the field this frame.
struct FieldGlow {
    int selected = -1;   // the picked faction: the whole field takes its colour
    int territory = -1;  // otherwise the faction whose seed glows, -1 none
    sf::Vector2f seed;   // that faction's seed
    float reach = 0;     // distance at which the glow dies out
};

HexLook hexLook(int r, int c, sf::Vector2f position, const FieldGlow& glow) {
    int shade = 13 * r + 7 * c;
    if (glow.selected != -1) {
        sf::Color f = kCards[glow.selected].color;
        float m = float(shade % 20) / 100 * 0.15f + 0.85f;
        return {scaled(f, m, 220), sf::Color(brighten(f.r, 60), brighten(f.g, 60), brighten(f.b, 60), 180)};
    }
    if (glow.territory != -1) {
        float near = std::clamp(1 - distance(position, glow.seed) / glow.reach, 0.0f, 1.0f);
        float t = std::pow(near, 1.3f);
        if (t > 0.02f) {
            sf::Color f = kCards[glow.territory].color;
            return {scaled(f, 0.7f * t + 0.3f, std::uint8_t(180 * t + 60)),
                    sf::Color(brighten(f.r, 40), brighten(f.g, 40), brighten(f.b, 40), 180)};
        }
    }
    std::uint8_t g = std::uint8_t(shade % 40 + 50);
    return {sf::Color(g, g, std::uint8_t(g + 10), 60), sf::Color(160, 160, 170, 180)};
}

void drawHexField(Canvas& canvas, sf::Vector2f window_size, const FieldGlow& glow) {
    sf::ConvexShape hexagon(6);
    for (int k = 0; k < 6; ++k) {
        float angle = degreesToRadians(float(k) * 60 - 90);
        hexagon.setPoint(size_t(k), {std::cos(angle) * kHexRadius, std::sin(angle) * kHexRadius});
    }
    hexagon.setOutlineThickness(1.2f);
    sf::Vector2i grid = factionHexGrid(window_size);
    for (int r = 0; r < grid.y; ++r) {
        for (int c = 0; c < grid.x; ++c) {
            sf::Vector2f position(float(c) * kHexSpacingX - kHexSpacingX / 2, float(r) * kHexSpacingY - 21);
            if (r % 2 == 1) position.x += kHexSpacingX / 2;
            HexLook look = hexLook(r, c, position, glow);
            hexagon.setPosition(position);
            hexagon.setFillColor(look.fill);
            hexagon.setOutlineColor(look.outline);
            drawShape(canvas, hexagon);
        }
    }
}

// Centres a text horizontally by its local width, with its top at y.
void placeCentred(sf::Text& text, float left, float width, float y) {
    text.setPosition({left + (width - rectSize(text.getLocalBounds()).x) / 2, y});
}

// A picture scaled uniformly to fit a square box; an empty texture (a file that did not
// load) shows nothing.
void drawPicture(Canvas& canvas, const sf::Sprite& faction_sprite, const sf::Texture& texture, float box,
                 sf::Vector2f corner, bool centre_in_card) {
    sf::Vector2u size = texture.getSize();
    if (size.x == 0 || size.y == 0) return;
    float k = std::min(box / float(size.x), box / float(size.y));
    sf::Sprite sprite = faction_sprite;
    sprite.setTexture(texture, true);
    sprite.setScale({k, k});
    float x = centre_in_card ? corner.x + (kCardSize - float(size.x) * k) / 2 : corner.x;
    sprite.setPosition({x, corner.y});
    drawDirect(canvas, sprite);
}

void drawCard(Game& game, int faction, sf::Vector2f window_size, bool hovered) {
    Frontend& front = *game.frontend;
    Canvas& canvas = front.canvas;
    sf::Vector2f corner = cardCorner(faction, window_size);
    const FactionCardData& data = kCards[faction];
    sf::RectangleShape card({kCardSize, kCardSize});
    card.setPosition(corner);
    card.setFillColor(sf::Color(25, 25, 45, 230));
    card.setOutlineColor(hovered ? data.color : sf::Color(100, 100, 130, 255));
    card.setOutlineThickness(hovered ? 4 : 2);
    drawShape(canvas, card);

    const sf::Texture& picture = hovered ? front.faction_hover[size_t(faction)] : front.faction_normal[size_t(faction)];
    drawPicture(canvas, front.faction_sprites[size_t(faction)], picture, 120, {corner.x, corner.y + 15}, true);

    // The motto hangs below the card, one character per line.
    sf::Text& motto = keptText(game, front.screen_texts.faction_mottos[size_t(faction)],
                               mottoText(game, faction, Column), 15, sf::Color(180, 180, 210, 255));
    placeCentred(motto, corner.x, kCardSize, corner.y + kCardSize - 32);
    drawDirect(canvas, motto);
}

void drawCardView(Game& game, sf::Vector2f window_size, int hovered_card) {
    Canvas& canvas = game.frontend->canvas;
    ScreenTexts& texts = game.frontend->screen_texts;
    sf::Text& title = keptText(game, texts.faction_title, text(game.texts, "factions.title"), 40, sf::Color::White);
    title.setOutlineColor(sf::Color(0, 0, 0, 180));
    title.setOutlineThickness(2);
    placeCentred(title, 0, window_size.x, 30);
    drawDirect(canvas, title);

    for (int faction = 0; faction < kFactionCount; ++faction) drawCard(game, faction, window_size, faction == hovered_card);

    sf::Text& hint =
        keptText(game, texts.faction_hint, text(game.texts, "factions.hint"), 18, sf::Color(150, 150, 180, 255));
    placeCentred(hint, 0, window_size.x, window_size.y - 35);
    drawDirect(canvas, hint);
}

void drawPanelView(Game& game, sf::Vector2f window_size, int faction) {
    Frontend& front = *game.frontend;
    Canvas& canvas = front.canvas;
    sf::Color colour = kCards[faction].color;
    sf::Vector2f panel_corner((window_size.x - 600) / 2, (window_size.y - 400) / 2);
    sf::RectangleShape panel({600, 400});
    panel.setPosition(panel_corner);
    panel.setFillColor(sf::Color(0, 0, 0, 210));
    panel.setOutlineColor(colour);
    panel.setOutlineThickness(4);
    drawShape(canvas, panel);

    sf::RectangleShape separator({350, 2});
    separator.setPosition({(window_size.x - 350) / 2, panel_corner.y + 95});
    separator.setFillColor(colour);
    drawShape(canvas, separator);

    sf::Text& motto =
        keptText(game, front.screen_texts.faction_full_motto, mottoText(game, faction, Whole), 24, sf::Color::White);
    motto.setLineSpacing(1.5f);
    placeCentred(motto, 0, window_size.x, panel_corner.y + 120);
    drawDirect(canvas, motto);

    drawPicture(canvas, front.faction_sprites[size_t(faction)], front.faction_normal[size_t(faction)], 150,
                {panel_corner.x + 30, panel_corner.y + 180}, false);
}
}  // namespace

FactionHover findFactionHover(sf::Vector2f mouse, sf::Vector2f window_size) {
    FactionHover hover;
    float reach = seedReach(window_size);
    float nearest = reach;
    for (int faction = 0; faction < kFactionCount; ++faction) {
        float d = distance(mouse, seedOf(faction, window_size));
        if (d < nearest) {  // strictly nearer, so the first seed wins a tie
            nearest = d;
            hover.territory = faction;
        }
    }
    for (int faction = 0; faction < kFactionCount; ++faction) {
        sf::Vector2f corner = cardCorner(faction, window_size);
        if (corner.x <= mouse.x && mouse.x < corner.x + kCardSize && corner.y <= mouse.y &&
            mouse.y < corner.y + kCardSize) {
            hover.card = faction;
            hover.territory = faction;
            break;
        }
    }
    return hover;
}

sf::Vector2i factionHexGrid(sf::Vector2f window_size) {
    return {4 + int(window_size.x / kHexSpacingX), 4 + int(window_size.y / kHexSpacingY)};
}

void drawFactionScreen(Game& game) {
    sf::RenderTarget& target = *game.frontend->canvas.target;
    target.setView(screenView(target.getSize()));
    const sf::Vector2f window_size(kLayoutWidth, kLayoutHeight);
    sf::Vector2f mouse(game.input.mouse);
    FactionHover hover = findFactionHover(mouse, window_size);
    // Only a real faction opens the panel; any other value shows the cards again.
    int picked = isFaction(game.hovered_faction) ? game.hovered_faction : -1;

    FieldGlow glow;
    glow.selected = picked;
    glow.territory = hover.territory;
    if (hover.territory != -1) glow.seed = seedOf(hover.territory, window_size);
    glow.reach = seedReach(window_size);
    drawHexField(game.frontend->canvas, window_size, glow);
    if (picked == -1)
        drawCardView(game, window_size, hover.card);
    else
        drawPanelView(game, window_size, picked);
    presentFrame(game);
}
