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

void drawWords(Game& game, KeptText& kept, const std::string& words, unsigned size, sf::Color colour,
               sf::Vector2f at) {
    sf::Text& text = keptText(game, kept, words, size, colour);
    text.setPosition(at);
    drawDirect(game.frontend->canvas, text);
}

std::string valueOf(const Settings& settings, int row) {
    switch (row) {
        case MusicRow: return std::to_string(settings.music_volume);
        case EffectsRow: return std::to_string(settings.effects_volume);
        case FullscreenRow: return settings.fullscreen ? "开" : "关";
        case VsyncRow: return settings.vsync ? "开" : "关";
        case FrameLimitRow: return settings.frame_limit == 0 ? "不限" : std::to_string(settings.frame_limit);
        case LanguageRow: return settings.language == "en" ? "English" : "中文";
        default: return settings.faction_marks ? "开" : "关";
    }
}

// A slider: the track, filled to the volume; a switch or a choice: a box that shows its value.
void drawRow(Game& game, int row) {
    Canvas& canvas = game.frontend->canvas;
    ScreenTexts& texts = game.frontend->screen_texts;
    sf::FloatRect control = settingsControl(row);
    RectParts<float> parts = partsOf(control);
    drawWords(game, texts.settings_labels[std::size_t(row)], kSettingsRowLabels[row], 20, sf::Color::White,
              {kSettingsLabelX, parts.top + 5});
    drawBox(canvas, control, kBox);
    bool slider = row == MusicRow || row == EffectsRow;
    if (slider) {
        int volume = row == MusicRow ? game.settings.music_volume : game.settings.effects_volume;
        drawBox(canvas, sf::FloatRect({parts.left, parts.top}, {parts.width * float(volume) / 100, parts.height}), kFill);
    }
    float x = slider ? parts.left + parts.width + 14 : parts.left + 14;
    drawWords(game, texts.settings_values[std::size_t(row)], valueOf(game.settings, row), 18, kWords,
              {x, parts.top + 6});
}

void drawKeyRow(Game& game, int action) {
    ScreenTexts& texts = game.frontend->screen_texts;
    sf::FloatRect box = keyBox(action);
    RectParts<float> parts = partsOf(box);
    bool waiting = game.rebinding == action;
    drawWords(game, texts.key_labels[std::size_t(action)], kActionLabels[action], 16, sf::Color::White,
              {kKeyLabelX, parts.top + 4});
    drawBox(game.frontend->canvas, box, waiting ? sf::Color(90, 70, 30) : kBox,
            waiting ? sf::Color(255, 210, 120) : kEdge);
    std::string name = waiting ? "按下新的键…" : keyName(game.settings.keys[std::size_t(action)]);
    drawWords(game, texts.key_names[std::size_t(action)], name, 16, kWords, {parts.left + 10, parts.top + 4});
}
}  // namespace

void drawMenuSettingsButton(Game& game) {
    sf::FloatRect button = menuSettingsButton();
    drawBox(game.frontend->canvas, button, sf::Color(110, 110, 130, 220), sf::Color(190, 190, 220));
    drawWords(game, game.frontend->screen_texts.menu_settings, "设置", 24, sf::Color::White,
              {kMenuSettingsX + kMenuSettingsWidth / 2 - 24, kMenuSettingsY + 18});
}

void drawPauseMenu(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    drawRectangle(canvas, {kLayoutWidth, kLayoutHeight}, sf::Transformable(), ShapeStyle{sf::Color(0, 0, 0, 150)});
    const char* const words[kPauseMenuButtonCount] = {"继续", "设置", game.network_mode ? "断开连接" : "退出关卡"};
    for (int button = 0; button < kPauseMenuButtonCount; ++button) {
        sf::FloatRect box = pauseMenuButton(button);
        drawBox(canvas, box, sf::Color(20, 20, 40, 230), sf::Color(200, 200, 220));
        sf::Text& label = keptText(game, game.frontend->screen_texts.pause_menu[std::size_t(button)], words[button], 22,
                                   sf::Color::White);
        RectParts<float> bounds = partsOf(label.getLocalBounds()), parts = partsOf(box);
        label.setPosition({std::floor(parts.left + (parts.width - bounds.width) / 2 - bounds.left),
                           std::floor(parts.top + (parts.height - bounds.height) / 2 - bounds.top)});
        drawDirect(canvas, label);
    }
}

void drawSettingsScreen(Game& game) {
    Canvas& canvas = game.frontend->canvas;
    ScreenTexts& texts = game.frontend->screen_texts;
    drawShape(canvas, game.back_button);
    drawDirect(canvas, game.frontend->back_text);
    drawWords(game, texts.settings_title, "设置", 28, sf::Color::White, {kSettingsLabelX + 120, 30});
    for (int row = 0; row < kSettingsRowCount; ++row) drawRow(game, row);
    for (int action = 0; action < kKeyActionCount; ++action) drawKeyRow(game, action);
    sf::FloatRect restore = restoreDefaultsButton();
    drawBox(canvas, restore, sf::Color(60, 60, 80));
    drawWords(game, texts.restore_defaults, "恢复默认", 20, sf::Color::White,
              {partsOf(restore).left + 70, partsOf(restore).top + 12});
    drawWords(game, texts.settings_hint, "点击按键框后按下新的键（Esc 取消）；已被占用的键会与之交换", 14,
              sf::Color(130, 130, 160), {kKeyLabelX, kKeyRowY + kKeyRowHeight * kKeyActionCount + 8});
}
