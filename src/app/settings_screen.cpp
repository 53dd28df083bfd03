#include "app/settings_screen.h"
#include "app/commands.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/screen.h"
#include "app/screen_input.h"
#include "app/settings_keys.h"
#include "app/update.h"
#include "content/key_names.h"
#include "content/settings_layout.h"

#include <algorithm>
#include <iterator>

namespace {
// The volume a point along a slider stands for, 0 at its left end and 100 at its right.
int volumeAt(float x) {
    return int(std::clamp((x - kSettingsControlX) / kSettingsControlWidth, 0.0f, 1.0f) * 100 + 0.5f);
}

int nextFrameLimit(int limit) {
    const int* at = std::find(std::begin(kFrameLimits), std::end(kFrameLimits), limit);
    return at + 1 < std::end(kFrameLimits) ? at[1] : kFrameLimits[0];
}

// Which row's control lies under the point, or -1.
int rowAt(sf::Vector2f point) {
    for (int row = 0; row < kSettingsRowCount; ++row) {
        sf::FloatRect control = settingsControl(row);
        if (control.contains(point)) return row;
    }
    return -1;
}

// A drag along a slider applies as it goes and is kept once the button is released.
void changeRow(Game& game, int row, sf::Vector2f point, bool keep = true) {
    Settings changed = game.settings;
    switch (row) {
        case MusicRow: changed.music_volume = volumeAt(point.x); break;
        case EffectsRow: changed.effects_volume = volumeAt(point.x); break;
        case FullscreenRow: changed.fullscreen = !changed.fullscreen; break;
        case VsyncRow: changed.vsync = !changed.vsync; break;
        case FrameLimitRow: changed.frame_limit = nextFrameLimit(changed.frame_limit); break;
        case LanguageRow:
            // The one shown turns, even when --lang chose it; from now on the settings do.
            changed.language = game.texts.language == "zh" ? "en" : "zh";
            game.language_override.clear();
            break;
        case MarksRow: changed.faction_marks = !changed.faction_marks; break;
        default: return;
    }
    if (keep) {
        changeSettings(game, changed);
        return;
    }
    game.settings = changed;
    applySettings(game);
}
}  // namespace

void openSettings(Game& game) {
    game.settings_open = true;
    game.rebinding = -1;
}

void leaveSettings(Game& game) {
    if (game.rebinding >= 0) {
        game.rebinding = -1;
        return;
    }
    game.settings_open = false;
}

void settingsScreenInput(Game& game, const InputEvent& event) {
    using Kind = InputEvent::Kind;
    sf::Vector2f point(event.position);
    if (event.kind == Kind::MouseButtonReleased && game.dragged_slider >= 0) {
        game.dragged_slider = -1;
        changeSettings(game, game.settings);
    }
    if (event.kind == Kind::MouseMoved && game.dragged_slider >= 0) changeRow(game, game.dragged_slider, point, false);
    if (event.kind != Kind::MouseButtonPressed || event.button != sf::Mouse::Button::Left) return;
    if (game.back_button.getGlobalBounds().contains(point)) {
        game.rebinding = -1;
        leaveSettings(game);
        return;
    }
    if (restoreDefaultsButton().contains(point)) {
        Settings changed = game.settings;
        changed.keys = Settings().keys;
        game.rebinding = -1;
        changeSettings(game, changed);
        return;
    }
    for (int action = 0; action < kKeyActionCount; ++action)
        if (keyBox(action).contains(point)) game.rebinding = action;
    int row = rowAt(point);
    if (row == MusicRow || row == EffectsRow) game.dragged_slider = row;
    if (row >= 0) changeRow(game, row, point, game.dragged_slider < 0);
}

namespace {
// Single-player only: the menu's pause is the P key's, kept in the replay as a pause.
void holdForMenu(Game& game, bool hold) {
    if (!game.network_mode && game.paused != hold) performCommand(game, commandOf(ReplayCommandKind::Pause));
}

void closePauseMenu(Game& game) {
    game.pause_menu = false;
    holdForMenu(game, false);
}
}  // namespace

bool pauseMenuInput(Game& game, const InputEvent& event) {
    using Kind = InputEvent::Kind;
    bool escape = event.kind == Kind::KeyPressed && event.key == sf::Keyboard::Key::Escape;
    if (game.settings_open) return false;  // opened from the menu: the settings take the input
    if (game.pause_menu && currentScreen(game) != Screen::Match) game.pause_menu = false;  // the match ended
    if (!game.pause_menu) {
        if (!escape || currentScreen(game) != Screen::Match || game.replay.playing) return false;
        game.pause_menu = true;
        game.box_selecting = false;
        holdForMenu(game, true);
        return true;
    }
    if (escape) closePauseMenu(game);
    if (event.kind != Kind::MouseButtonPressed || event.button != sf::Mouse::Button::Left) return true;
    sf::Vector2f point(event.position);
    if (pauseMenuButton(ContinueButton).contains(point)) closePauseMenu(game);
    if (pauseMenuButton(PauseSettingsButton).contains(point)) openSettings(game);
    if (pauseMenuButton(LeaveButton).contains(point)) {
        game.pause_menu = false;
        if (game.network_mode)
            backToMainMenu(game);
        else
            resetAfterResults(game);  // the match is left for the level selection
    }
    return true;
}

bool takeRebindingKey(Game& game, const InputEvent& event) {
    if (game.rebinding < 0 || !game.settings_open || event.kind != InputEvent::Kind::KeyPressed) return false;
    if (event.key == sf::Keyboard::Key::Escape) {
        game.rebinding = -1;
        return true;
    }
    // A key SFML has no name for could not be kept: the screen waits for another.
    if (keyName(event.key).empty()) return true;
    Settings changed = game.settings;
    bindKey(changed, game.rebinding, event.key);
    game.rebinding = -1;
    changeSettings(game, changed);
    return true;
}
