#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/render_parts.h"
#include "content/factions.h"
#include "content/key_names.h"
#include "content/upgrades.h"
#include "ui/money_chart.h"
#include "ui/results.h"
#include "ui/unit_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {
// The stat each priced panel button buys, in PanelButton order; the laser button has none.
const int kButtonStat[kPanelButtonCount] = {FireRate, Range, Dodge, ProjectileSpeed, MoveSpeed, Income, -1};

// A White side cannot buy projectile speed, so its panel leaves that button out.
bool buttonShown(const Game& game, int button) {
    return button != ButtonProjectileSpeed || game.player_faction != White;
}

// The panel's own coordinates, placed at the panel's slide and scroll.
sf::RenderStates panelStates(const Game& game) {
    sf::RenderStates states;
    states.transform.translate({game.panel_x, 40 - game.panel_scroll});
    return states;
}

void drawLabel(Game& game, int button, const sf::RenderStates& states) {
    sf::Text& label = game.frontend->button_labels[button];
    label.setPosition(game.upgrade_buttons[button].getPosition() + sf::Vector2f(5, 5));
    drawText(game.frontend->canvas, label, states);
}

// Prices follow the player's upgrade levels and faction, so the labels are written again
// only when those change.
void writePriceLabels(Game& game) {
    ScreenTexts& texts = game.frontend->screen_texts;
    const int* levels = game.player_upgrades.levels;
    if (texts.price_faction == game.player_faction &&
        std::equal(levels, levels + kUpgradeStatCount, texts.price_levels.begin()))
        return;
    texts.price_faction = game.player_faction;
    std::copy(levels, levels + kUpgradeStatCount, texts.price_levels.begin());
    for (int button = 0; button < kPanelButtonCount; ++button) {
        if (!buttonShown(game, button)) continue;
        std::string text;
        if (button == ButtonLaserDamage) {
            text = "LaserDmg $" + truncatedText(laserDamagePrice(game.player_faction));
        } else {
            UpgradeStat stat = static_cast<UpgradeStat>(kButtonStat[button]);
            float price = upgradePrice(stat, game.player_upgrades) * factionDiscount(stat, game.player_faction);
            text = kUpgradeKinds[stat].hud_label + truncatedText(price);
        }
        game.frontend->button_labels[button].setString(sf::String::fromUtf8(text.begin(), text.end()));
    }
}

void drawPanel(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    sf::RectangleShape& background = game.frontend->panel_background;
    background.setPosition({game.panel_x, 40});
    drawShape(canvas, background);
    sf::RenderStates states = panelStates(game);
    // A label stays inside its button and the buttons are 13 pixels apart, so no label
    // meets another button: the buttons go first, in one batch, and the labels after.
    for (int button = 0; button < kPanelButtonCount; ++button)
        if (buttonShown(game, button)) drawShape(canvas, game.upgrade_buttons[button], states);
    for (int button = 0; button < kPanelButtonCount; ++button)
        if (buttonShown(game, button)) drawLabel(game, button, states);
    writePriceLabels(game);
    if (buttonShown(game, ButtonProjectileSpeed)) drawLabel(game, ButtonProjectileSpeed, states);
    // The priced labels are drawn once more over the buttons, now with this frame's prices.
    for (int button = 0; button < kPanelButtonCount; ++button)
        if (button != ButtonLaserDamage && buttonShown(game, button)) drawLabel(game, button, states);
}

// Money truncated toward zero, in decimal; -0.5 shows as 0, not -0.
std::string wholeNumber(float value) {
    double whole = std::trunc(static_cast<double>(value));
    if (whole == 0) whole = 0;
    char text[64];
    std::snprintf(text, sizeof(text), "%.0f", whole);
    return text;
}

// The line is written again only when a figure it shows has changed.
void drawStatusLine(Game& game) {
    ScreenTexts& texts = game.frontend->screen_texts;
    std::array<double, 3> shown = {std::trunc(game.player_money), std::trunc(game.enemy_money),
                                   std::trunc(game.player_income)};
    if (!texts.status.built || shown != texts.status_figures) {
        const auto& keys = game.settings.keys;
        std::string line =
            fillText(game.texts, "match.status",
                     {wholeNumber(game.player_money), wholeNumber(game.enemy_money), wholeNumber(game.player_income),
                      keyName(keys[SpawnLane0]), keyName(keys[SpawnLane1]), keyName(keys[SpawnLane2])});
        keptText(game, texts.status, line, 16, texts.status_colour);
        texts.status_figures = shown;
    }
    sf::Text& status = texts.status.text;
    status.setPosition({10, 10});
    drawDirect(game.frontend->canvas, status);
}

// The running level's title, description and state, centred at the top of the window
// between the status line and the minimap.
void drawLevelHeader(Game& game) {
    if (!game.level_running) return;
    float centre = windowWidth(game) / 2;
    float y = 8;
    ScreenTexts& texts = game.frontend->screen_texts;
    sf::Text* header[] = {
        &keptText(game, texts.level_title, levelName(game.texts, game.level_title), 22, sf::Color::White),
        &keptText(game, texts.level_description, levelDescription(game.texts, game.level_title, game.level_description),
                  14, sf::Color(200, 200, 200)),
        &keptText(game, texts.level_status, dataText(game.texts, "match.in_progress", game.level_status), 18,
                  sf::Color(255, 255, 0)),
    };
    for (sf::Text* text : header) {
        if (text->getString().isEmpty()) continue;
        RectParts<float> bounds = partsOf(text->getLocalBounds());
        text->setPosition({centre - bounds.width / 2 - bounds.left, y});
        drawDirect(game.frontend->canvas, *text);
        y += float(text->getCharacterSize()) + 8;
    }
}
}  // namespace

void drawHud(Game& game) {
    flushCanvas(game.frontend->canvas);
    renderTarget(game).setView(screenView(renderTarget(game).getSize()));
    drawMinimap(game, game.frontend->canvas);
    drawPanel(game);
    drawStatusLine(game);
    drawLevelHeader(game);
}

void drawResultsOverlay(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    drawRectangle(canvas, {900, 600}, sf::Transformable(), ShapeStyle{sf::Color(0, 0, 0, 180)});
    sf::Transformable panel;
    panel.setPosition({100, 100});
    drawRectangle(canvas, {700, 400}, panel,
                  ShapeStyle{sf::Color(20, 20, 40, 220), sf::Color(200, 200, 200, 100), 2});
    drawResultsText(game, canvas);
    // The tug of war fills the panel below the results' lines.
    RectParts<float> text = partsOf(game.frontend->screen_texts.results.getGlobalBounds());
    drawMoneyPanel(game, std::clamp(text.top + text.height + 16, 360.0f, 420.0f));
}

void drawMoneyPanel(Game& game, float top) {
    drawMoneyChart(game.frontend->canvas, game.replay.money, sf::FloatRect({130, top}, {640, 485 - top}),
                   factionColour(game.player_faction), factionColour(game.enemy_faction));
}

namespace {
// A dimmed match under one centred line in a panel.
void drawHeldOverlay(Game& game, KeptText& kept, const std::string& words) {
    Canvas& canvas = game.frontend->canvas;
    sf::Vector2f size(windowWidth(game), float(game.frontend->window.getSize().y));
    drawRectangle(canvas, size, sf::Transformable(), ShapeStyle{sf::Color(0, 0, 0, 150)});
    sf::Text& label = keptText(game, kept, words, 36, sf::Color::White);
    RectParts<float> bounds = partsOf(label.getLocalBounds());
    sf::Vector2f panel_size(bounds.width + 80, bounds.height + 50);
    sf::Transformable panel;
    panel.setPosition({std::floor((size.x - panel_size.x) / 2), std::floor((size.y - panel_size.y) / 2)});
    drawRectangle(canvas, panel_size, panel, ShapeStyle{sf::Color(20, 20, 40, 220), sf::Color(200, 200, 200, 100), 2});
    label.setPosition({std::floor((size.x - bounds.width) / 2 - bounds.left), std::floor((size.y - bounds.height) / 2 - bounds.top)});
    drawDirect(canvas, label);
}
}  // namespace

void drawPauseOverlay(Game& game) {
    const std::string& key = keyName(game.settings.keys[PauseKey]);
    drawHeldOverlay(game, game.frontend->screen_texts.pause_line, fillText(game.texts, "match.paused", {key}));
}

void drawRejoinOverlay(Game& game) {
    drawHeldOverlay(game, game.frontend->screen_texts.rejoin_line,
                    fillText(game.texts, "match.rejoin_wait", {std::to_string(rejoinSecondsLeft(game))}));
}
