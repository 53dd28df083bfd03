#include "app/settings_keys.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/log.h"

void handleSettingsKeys(Game& game, const InputEvent& event) {
    if (event.kind != InputEvent::Kind::KeyPressed || !game.frontend) return;
    const Settings& settings = game.settings;
    if (event.key == settings.keys[FullscreenKey]) {
        Settings changed = settings;
        changed.fullscreen = !game.frontend->fullscreen;
        changeSettings(game, changed);
    }
    if (event.key == settings.keys[MusicKey]) toggleMusic(game.frontend->sounds);
}

void applySettings(Game& game) {
    if (!game.frontend) return;
    Frontend& front = *game.frontend;
    const Settings& settings = game.settings;
    setVolumes(front.sounds, settings.music_volume, settings.effects_volume);
    const std::string& language = game.language_override.empty() ? settings.language : game.language_override;
    if (game.texts.language != language) {
        game.texts = textsIn(language);
        layOutTexts(game);
    }
    if (front.fullscreen != settings.fullscreen)
        toggleFullscreen(game);
    else
        applyFramePacing(game);
}

void changeSettings(Game& game, const Settings& changed) {
    game.settings = changed;
    applySettings(game);
    if (game.settings_file.empty()) return;
    if (std::string error = saveSettings(game.settings_file, changed); !error.empty())
        logLine("⚠️ 设置未能保存：", error);
}
