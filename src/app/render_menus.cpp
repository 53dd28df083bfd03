#include "app/game.h"
#include "app/render_parts.h"
#include "battle/turret.h"
#include "content/factions.h"
#include "content/levels.h"
#include "content/progress.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {
// A level card shows at most this many stars (they fill its width), so a huge
// "difficulty" cannot flood the screen.
constexpr int kMaxCardStars = 10;

// Level fields as the card reads them: a missing or wrongly typed value reads as its default.
std::string levelText(const nlohmann::json& level, const char* key, const char* fallback) {
    if (!level.is_object()) return fallback;
    auto found = level.find(key);
    return found != level.end() && found->is_string() ? found->get<std::string>() : fallback;
}

double levelNumber(const nlohmann::json& level, const char* key, double fallback) {
    if (!level.is_object()) return fallback;
    auto found = level.find(key);
    return found != level.end() && found->is_number() ? found->get<double>() : fallback;
}

// Outline colour of a card by the level's faction name; an unknown name gives white.
sf::Color cardColour(const std::string& faction_name) {
    for (int faction = 0; faction < kFactionCount; ++faction)
        if (faction_name == factionLevelName(faction)) return factionColour(faction);
    return sf::Color::White;
}

// The hint sits at y 570, inside the fourth row of cards; when that row holds the
// tenth card (y 560 to 690) the hint moves just below it.
float levelHintY(size_t cards) {
    constexpr size_t kCardsAboveHint = 9;
    if (cards <= kCardsAboveHint) return 570;
    return 110 + 150 * 3 + 130 + 8;
}

int starCount(const nlohmann::json& level) {
    double difficulty = levelNumber(level, "difficulty", 1);
    if (!(difficulty >= 1)) return 0;
    return static_cast<int>(std::min<double>(difficulty, kMaxCardStars));
}

std::string stars(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "★";
    return text;
}

// One stroke of the check mark: a quad of the given thickness from a to b.
void drawStroke(Canvas& canvas, sf::Vector2f a, sf::Vector2f b, float thickness, sf::Color colour) {
    sf::Vector2f along = b - a;
    float length = std::hypot(along.x, along.y);
    sf::Vector2f side(-along.y / length * thickness / 2, along.x / length * thickness / 2);
    const sf::Vector2f quad[4] = {a + side, b + side, b - side, a - side};
    drawPolygon(canvas, quad, 4, sf::Transformable(), ShapeStyle{colour});
}

// A won level carries a badge with a check mark and the words "已通关", so the mark
// reads without telling colours apart.
void drawWonBadge(Game& game, sf::Vector2f corner) {
    Canvas& canvas = game.canvas;
    sf::Transformable badge;
    badge.setPosition(corner.x + 118, corner.y + 98);
    drawRectangle(canvas, {94, 24}, badge, ShapeStyle{sf::Color(40, 110, 50), sf::Color(150, 230, 150), 1});
    sf::Vector2f at = badge.getPosition();
    const sf::Color mark(235, 255, 235);
    drawStroke(canvas, at + sf::Vector2f(6, 12), at + sf::Vector2f(11, 18), 3.5f, mark);
    drawStroke(canvas, at + sf::Vector2f(10, 18), at + sf::Vector2f(20, 5), 3.5f, mark);
    drawDirect(canvas, uiText(game, "已通关", 14, mark, at + sf::Vector2f(28, 2)));
}

void drawLevelCard(Game& game, const nlohmann::json& level, size_t index) {
    Canvas& canvas = game.canvas;
    const sf::RectangleShape& card = game.level_cards[index];
    sf::Vector2f corner = card.getPosition();
    drawRectangle(canvas, card.getSize(), card,
                  ShapeStyle{sf::Color(30, 30, 50), cardColour(levelText(level, "faction", "Red")), 2});
    float x = corner.x + 10;
    drawDirect(canvas, uiText(game, levelText(level, "name", "Level"), 16, sf::Color::White, {x, corner.y + 25}));
    drawDirect(canvas, uiText(game, stars(starCount(level)), 14, sf::Color(255, 255, 0), {x, corner.y + 55}));
    std::string bonus = "+$" + truncatedText(levelNumber(level, "player_bonus", 0));
    drawDirect(canvas, uiText(game, bonus, 12, sf::Color(100, 200, 100), {x, corner.y + 80}));
    if (isLevelWon(game.progress, levelText(level, "name", "未知关卡"))) drawWonBadge(game, corner);
}
}  // namespace

void drawMainMenu(Game& game) {
    Canvas& canvas = game.canvas;
    if (game.hex_grid_enabled)
        for (const sf::ConvexShape& hex : game.hex_shapes) drawShape(canvas, hex);
    drawShape(canvas, game.single_button);
    drawShape(canvas, game.network_button);
    drawDirect(canvas, game.single_text);
    drawDirect(canvas, game.network_text);
}

void drawLobby(Game& game) {
    Canvas& canvas = game.canvas;
    LanLobby& lobby = game.lobby;
    drawShape(canvas, lobby.host_button);
    drawShape(canvas, lobby.join_button);
    drawDirect(canvas, lobby.host_text);
    drawDirect(canvas, lobby.join_text);

    std::lock_guard<std::mutex> lock(lobby.hosts_mutex);
    std::string status = lobby.scanning ? std::string("Scanning LAN for hosts...")
                                        : "Found hosts: " + std::to_string(lobby.found_hosts.size());
    drawDirect(canvas, uiText(game, status, 18, sf::Color::White, {300, 150}));
    if (lobby.opponent_left)
        drawDirect(canvas, uiText(game, "对手已离开，对局结束", 20, sf::Color(255, 180, 80), {300, 110}));
    size_t rows = std::min(lobby.found_hosts.size(), kMaxListedHosts);
    for (size_t i = 0; i < rows; ++i) {
        const HostEntry& host = lobby.found_hosts[i];
        std::string row = host.address.toString() + ":" + std::to_string(host.port);
        drawDirect(canvas, uiText(game, row, 16, sf::Color::White, {300, 200 + 28 * float(i)}));
    }
    presentFrame(game);
}

void drawLevelSelect(Game& game) {
    Canvas& canvas = game.canvas;
    drawShape(canvas, game.back_button);
    drawDirect(canvas, game.back_text);
    drawDirect(canvas, uiText(game, "选择关卡", 28, factionColour(game.player_faction), {350, 30}));
    std::string count = "共 " + std::to_string(game.shown_levels.size()) + " 关";
    drawDirect(canvas, uiText(game, count, 16, sf::Color::White, {350, 70}));

    size_t cards = std::min(game.shown_levels.size(), game.level_cards.size());
    for (size_t i = 0; i < cards; ++i) drawLevelCard(game, game.shown_levels[i], i);

    sf::Text hint = uiText(game, "点击关卡开始游戏 | 点击返回按钮回到阵营选择", 14, sf::Color(100, 100, 130), {0, 0});
    hint.setPosition((900 - hint.getLocalBounds().width) / 2, levelHintY(cards));
    drawDirect(canvas, hint);
}
