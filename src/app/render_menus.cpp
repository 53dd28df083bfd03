#include "app/frontend.h"
#include "app/game.h"
#include "app/render_parts.h"
#include "battle/turret.h"
#include "content/factions.h"
#include "content/levels.h"
#include "content/progress.h"
#include "ui/faction_marks.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {
// A level card shows at most this many stars (they fill its width), so a huge
// "difficulty" cannot flood the screen.
constexpr int kMaxCardStars = 10;

// The faction a card's level names exactly, or -1.
int cardFaction(const std::string& faction_name) {
    for (int faction = 0; faction < kFactionCount; ++faction)
        if (faction_name == factionLevelName(faction)) return faction;
    return -1;
}

// Outline colour of a card by the level's faction name; an unknown name gives white.
sf::Color cardColour(const std::string& faction_name) {
    int faction = cardFaction(faction_name);
    return isFaction(faction) ? factionColour(faction) : sf::Color::White;
}

// The faction's mark just after the level's name, in its colour lightened halfway to
// white: Blue itself would be as dark as the card in greyscale.
void drawCardMark(Game& game, const nlohmann::json& level, const sf::Text& name) {
    int faction = cardFaction(levelText(level, "faction", "Red"));
    sf::Color colour = factionColour(faction);
    auto lighter = [](std::uint8_t channel) { return std::uint8_t(channel + (255 - channel) / 2); };
    RectParts<float> words = partsOf(name.getGlobalBounds());
    sf::Vector2f centre(words.left + words.width + 14, words.top + words.height / 2);
    drawFactionMark(game.frontend->canvas, faction, centre, 7, 0,
                    ShapeStyle{sf::Color(lighter(colour.r), lighter(colour.g), lighter(colour.b))});
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
    float length = vectorLength(along);
    sf::Vector2f side(-along.y / length * thickness / 2, along.x / length * thickness / 2);
    const sf::Vector2f quad[4] = {a + side, b + side, b - side, a - side};
    drawPolygon(canvas, quad, 4, sf::Transformable(), ShapeStyle{colour});
}

// A won level carries a badge with a check mark and the words "已通关", so the mark
// reads without telling colours apart.
void drawWonBadge(Game& game, sf::Vector2f corner) {
    Canvas& canvas = game.frontend->canvas;
    sf::Transformable badge;
    badge.setPosition({corner.x + 118, corner.y + 98});
    drawRectangle(canvas, {94, 24}, badge, ShapeStyle{sf::Color(40, 110, 50), sf::Color(150, 230, 150), 1});
    sf::Vector2f at = badge.getPosition();
    const sf::Color mark(235, 255, 235);
    drawStroke(canvas, at + sf::Vector2f(6, 12), at + sf::Vector2f(11, 18), 3.5f, mark);
    drawStroke(canvas, at + sf::Vector2f(10, 18), at + sf::Vector2f(20, 5), 3.5f, mark);
    sf::Text& words = keptText(game, game.frontend->screen_texts.won_badge, text(game.texts, "levels.won"), 14, mark);
    words.setPosition(at + sf::Vector2f(28, 2));
    drawDirect(canvas, words);
}

// A text of the UI font put into place; used only when what it shows has changed.
void setUiText(const Game& game, sf::Text& text, const std::string& utf8, unsigned size, sf::Color colour,
               sf::Vector2f position) {
    text = uiText(game, utf8, size, colour, position);
}

void drawLevelCard(Game& game, const nlohmann::json& level, size_t index) {
    Canvas& canvas = game.frontend->canvas;
    const sf::RectangleShape& card = game.level_cards[index];
    sf::Vector2f corner = card.getPosition();
    drawRectangle(canvas, card.getSize(), card,
                  ShapeStyle{sf::Color(30, 30, 50), cardColour(levelText(level, "faction", "Red")), 2});
    LevelCardTexts& texts = game.frontend->screen_texts.cards[index];
    if (!texts.built || texts.level != level) {
        float x = corner.x + 10;
        std::string name = levelText(level, "name", text(game.texts, "levels.unnamed"));
        setUiText(game, texts.name, levelName(game.texts, name), 16, sf::Color::White, {x, corner.y + 25});
        setUiText(game, texts.stars, stars(starCount(level)), 14, sf::Color(255, 255, 0), {x, corner.y + 55});
        std::string bonus = "+$" + truncatedText(levelNumber(level, "player_bonus", 0));
        setUiText(game, texts.bonus, bonus, 12, sf::Color(100, 200, 100), {x, corner.y + 80});
        texts.level = level;
        texts.built = true;
    }
    drawDirect(canvas, texts.name);
    if (game.settings.faction_marks) drawCardMark(game, level, texts.name);
    drawDirect(canvas, texts.stars);
    drawDirect(canvas, texts.bonus);
    if (isLevelWon(game.progress, levelText(level, "name", "未知关卡"))) drawWonBadge(game, corner);
}

void drawLobbyTexts(Game& game) {
    LanLobby& lobby = game.lobby;
    ScreenTexts& texts = game.frontend->screen_texts;
    int status = lobby.scanning ? -1 : int(lobby.found_hosts.size());
    if (status != texts.lobby_status) {
        std::string line = lobby.scanning
                               ? text(game.texts, "lobby.scanning")
                               : fillText(game.texts, "lobby.found", {std::to_string(lobby.found_hosts.size())});
        setUiText(game, texts.lobby_status_text, line, 18, sf::Color::White, {300, 150});
        texts.lobby_status = status;
    }
    drawDirect(game.frontend->canvas, texts.lobby_status_text);
    if (lobby.opponent_left) {
        if (!fontOf(texts.opponent_left_text))
            setUiText(game, texts.opponent_left_text, text(game.texts, "lobby.opponent_left"), 20,
                      sf::Color(255, 180, 80), {300, 110});
        drawDirect(game.frontend->canvas, texts.opponent_left_text);
    }
    size_t rows = std::min(lobby.found_hosts.size(), kMaxListedHosts);
    if (texts.host_rows.size() < rows) texts.host_rows.resize(rows);
    for (size_t i = 0; i < rows; ++i) {
        const HostEntry& host = lobby.found_hosts[i];
        HostRowText& row = texts.host_rows[i];
        if (!fontOf(row.text) || row.address != host.address || row.port != host.port) {
            std::string line = host.address.toString() + ":" + std::to_string(host.port);
            setUiText(game, row.text, line, 16, sf::Color::White, {300, 200 + 28 * float(i)});
            row.address = host.address;
            row.port = host.port;
        }
        drawDirect(game.frontend->canvas, row.text);
    }
}
}  // namespace

void drawMainMenu(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    if (game.hex_grid_enabled) drawHexFloor(game, kBackground);
    drawShape(canvas, game.single_button);
    drawShape(canvas, game.network_button);
    drawDirect(canvas, game.frontend->single_text);
    drawDirect(canvas, game.frontend->network_text);
    drawMenuSettingsButton(game);
}

namespace {
void drawAddressField(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    LanLobby& lobby = game.lobby;
    ScreenTexts& texts = game.frontend->screen_texts;
    lobby.address_box.setOutlineColor(lobby.address_focused ? sf::Color(220, 220, 255) : sf::Color(120, 120, 140));
    drawShape(canvas, lobby.address_box);
    drawShape(canvas, lobby.connect_button);
    bool hint = lobby.address_text.empty() && !lobby.address_focused;
    // A long name shows its end, where the typing is.
    constexpr std::size_t kShownCharacters = 28;
    std::string typed = lobby.address_text;
    if (typed.size() > kShownCharacters) typed = "…" + typed.substr(typed.size() - kShownCharacters + 1);
    std::string shown = hint ? text(game.texts, "lobby.address_hint") : typed + (lobby.address_focused ? "|" : "");
    sf::Text& field = keptText(game, texts.address_field, shown, 18, hint ? sf::Color(120, 120, 140) : sf::Color::White);
    field.setPosition(lobby.address_box.getPosition() + sf::Vector2f(10, 8));
    drawDirect(canvas, field);
    sf::Text& label = keptText(game, texts.connect_label, text(game.texts, "lobby.connect"), 20, sf::Color::White);
    label.setPosition(lobby.connect_button.getPosition() + sf::Vector2f(70, 7));
    drawDirect(canvas, label);
    if (lobby.connect_line.key.empty()) return;
    sf::Color colour = lobby.connect_failed ? sf::Color(255, 140, 80) : sf::Color(200, 200, 220);
    sf::Text& line = keptText(game, texts.connect_line, phraseText(game.texts, lobby.connect_line), 18, colour);
    line.setPosition({200, 585});
    drawDirect(canvas, line);
}
}  // namespace

void drawLobby(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    LanLobby& lobby = game.lobby;
    drawShape(canvas, lobby.host_button);
    drawShape(canvas, lobby.join_button);
    drawDirect(canvas, game.frontend->host_text);
    drawDirect(canvas, game.frontend->join_text);
    drawAddressField(game);

    std::lock_guard<std::mutex> lock(lobby.hosts_mutex);
    drawLobbyTexts(game);
    presentFrame(game);
}

void drawLevelSelect(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    drawShape(canvas, game.back_button);
    drawDirect(canvas, game.frontend->back_text);
    ScreenTexts& texts = game.frontend->screen_texts;
    if (texts.title_faction != game.player_faction) {
        setUiText(game, texts.title, text(game.texts, "levels.title"), 28, factionColour(game.player_faction),
                  {350, 30});
        texts.title_faction = game.player_faction;
    }
    drawDirect(canvas, texts.title);
    if (texts.level_count != game.shown_levels.size()) {
        std::string count = fillText(game.texts, "levels.count", {std::to_string(game.shown_levels.size())});
        setUiText(game, texts.count, count, 16, sf::Color::White, {350, 70});
        texts.level_count = game.shown_levels.size();
    }
    drawDirect(canvas, texts.count);

    size_t cards = std::min(game.shown_levels.size(), game.level_cards.size());
    for (size_t i = 0; i < cards; ++i) drawLevelCard(game, game.shown_levels[i], i);

    float hint_y = levelHintY(cards);
    if (!texts.hint_built || texts.hint.getPosition().y != hint_y) {
        setUiText(game, texts.hint, text(game.texts, "levels.hint"), 14, sf::Color(100, 100, 130), {0, 0});
        texts.hint.setPosition({(900 - rectSize(texts.hint.getLocalBounds()).x) / 2, hint_y});
        texts.hint_built = true;
    }
    drawDirect(canvas, texts.hint);
    drawReplaysButton(game);
}
