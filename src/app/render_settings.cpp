#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/render_parts.h"
#include "content/key_names.h"
#include "content/settings_layout.h"

#include <cmath>
#include <string>

namespace {
const sf::Color kBox(40, 40, 60), kEdge(150, 150, 200), kFill(90, 160, 230), kWords(220, 220, 230);

void drawBox(Canvas& canvas, const sf::FloatRect& box, sf::Color fill, sf::Color edge = kEdge) {
    RectParts<float> parts = partsOf(box);
    sf::Transformable placement;
    placement.setPosition({parts.left, parts.top});
    drawRectangle(canvas, {parts.width, parts.height}, placement, ShapeStyle{fill, edge, 1});
}

// Centred in the box, on whole pixels so the glyphs stay sharp.
void placeInBox(sf::Text& label, const sf::FloatRect& box) {
    RectParts<float> bounds = partsOf(label.getLocalBounds()), parts = partsOf(box);
    label.setPosition({std::floor(parts.left + (parts.width - bounds.width) / 2 - bounds.left),
                       std::floor(parts.top + (parts.height - bounds.height) / 2 - bounds.top)});
}

void drawWords(Game& game, KeptText& kept, const std::string& words, unsigned size, sf::Color colour,
               sf::Vector2f at) {
    sf::Text& text = keptText(game, kept, words, size, colour);
    text.setPosition(at);
    drawDirect(game.frontend->canvas, text);
}

std::string valueOf(const Game& game, int row) {
    const Settings& settings = game.settings;
    auto onOff = [&](bool on) { return text(game.texts, on ? "settings.on" : "settings.off"); };
    switch (row) {
        case MusicRow: return std::to_string(settings.music_volume);
        case EffectsRow: return std::to_string(settings.effects_volume);
        case FullscreenRow: return onOff(settings.fullscreen);
        case VsyncRow: return onOff(settings.vsync);
        case FrameLimitRow:
            return settings.frame_limit == 0 ? text(game.texts, "settings.no_limit")
                                             : std::to_string(settings.frame_limit);
        // Each language is named in its own words, so it can be found from either.
        case LanguageRow: return game.texts.language == "en" ? "English" : "中文";
        default: return onOff(settings.faction_marks);
    }
}

// A slider: the track, filled to the volume; a switch or a choice: a box that shows its value.
void drawRow(Game& game, int row) {
    Canvas& canvas = game.frontend->canvas;
    ScreenTexts& texts = game.frontend->screen_texts;
    sf::FloatRect control = settingsControl(row);
    RectParts<float> parts = partsOf(control);
    drawWords(game, texts.settings_labels[std::size_t(row)], text(game.texts, kSettingsRowLabels[row]), 20,
              sf::Color::White, {kSettingsLabelX, parts.top + 5});
    drawBox(canvas, control, kBox);
    bool slider = row == MusicRow || row == EffectsRow;
    if (slider) {
        int volume = row == MusicRow ? game.settings.music_volume : game.settings.effects_volume;
        drawBox(canvas, sf::FloatRect({parts.left, parts.top}, {parts.width * float(volume) / 100, parts.height}), kFill);
    }
    float x = slider ? parts.left + parts.width + 14 : parts.left + 14;
    drawWords(game, texts.settings_values[std::size_t(row)], valueOf(game, row), 18, kWords, {x, parts.top + 6});
}

void drawKeyRow(Game& game, int action) {
    ScreenTexts& texts = game.frontend->screen_texts;
    sf::FloatRect box = keyBox(action);
    RectParts<float> parts = partsOf(box);
    bool waiting = game.rebinding == action;
    drawWords(game, texts.key_labels[std::size_t(action)], text(game.texts, kActionLabels[action]), 16,
              sf::Color::White, {kKeyLabelX, parts.top + 4});
    drawBox(game.frontend->canvas, box, waiting ? sf::Color(90, 70, 30) : kBox,
            waiting ? sf::Color(255, 210, 120) : kEdge);
    std::string name =
        waiting ? text(game.texts, "settings.press_key") : keyName(game.settings.keys[std::size_t(action)]);
    drawWords(game, texts.key_names[std::size_t(action)], name, 16, kWords, {parts.left + 10, parts.top + 4});
}
}  // namespace

void drawMenuSettingsButton(Game& game) {
    sf::FloatRect button = menuSettingsButton();
    drawBox(game.frontend->canvas, button, sf::Color(110, 110, 130, 220), sf::Color(190, 190, 220));
    sf::Text& label = keptText(game, game.frontend->screen_texts.menu_settings, text(game.texts, "menu.settings"), 24,
                               sf::Color::White);
    placeInBox(label, button);
    drawDirect(game.frontend->canvas, label);
}

void drawPauseMenu(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    drawRectangle(canvas, {kLayoutWidth, kLayoutHeight}, sf::Transformable(), ShapeStyle{sf::Color(0, 0, 0, 150)});
    const char* const words[kPauseMenuButtonCount] = {"pause.continue", "pause.settings",
                                                      game.network_mode ? "pause.disconnect" : "pause.leave"};
    for (int button = 0; button < kPauseMenuButtonCount; ++button) {
        sf::FloatRect box = pauseMenuButton(button);
        drawBox(canvas, box, sf::Color(20, 20, 40, 230), sf::Color(200, 200, 220));
        sf::Text& label = keptText(game, game.frontend->screen_texts.pause_menu[std::size_t(button)],
                                   text(game.texts, words[button]), 22, sf::Color::White);
        placeInBox(label, box);
        drawDirect(canvas, label);
    }
}

void drawSettingsScreen(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    ScreenTexts& texts = game.frontend->screen_texts;
    drawShape(canvas, game.back_button);
    drawDirect(canvas, game.frontend->back_text);
    drawWords(game, texts.settings_title, text(game.texts, "settings.title"), 28, sf::Color::White,
              {kSettingsLabelX + 120, 30});
    for (int row = 0; row < kSettingsRowCount; ++row) drawRow(game, row);
    for (int action = 0; action < kKeyActionCount; ++action) drawKeyRow(game, action);
    sf::FloatRect restore = restoreDefaultsButton();
    drawBox(canvas, restore, sf::Color(60, 60, 80));
    sf::Text& label =
        keptText(game, texts.restore_defaults, text(game.texts, "settings.restore"), 20, sf::Color::White);
    placeInBox(label, restore);
    drawDirect(canvas, label);
    drawWords(game, texts.settings_hint, text(game.texts, "settings.hint"), 14, sf::Color(130, 130, 160),
              {kKeyLabelX, kKeyRowY + kKeyRowHeight * kKeyActionCount + 8});
}
