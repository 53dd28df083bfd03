#pragma once
#include "content/settings.h"

#include <SFML/Graphics/Rect.hpp>

// Where the settings screen's parts lie, for its drawing and its clicks: the player's
// settings down the left, the keys down the right, "恢复默认" under them.

enum SettingsRow : int { MusicRow, EffectsRow, FullscreenRow, VsyncRow, FrameLimitRow, LanguageRow, MarksRow,
                         kSettingsRowCount };

constexpr float kSettingsLabelX = 100, kSettingsRowY = 110, kSettingsRowHeight = 62;
constexpr float kSettingsControlX = 300, kSettingsControlWidth = 260, kSettingsControlHeight = 36;
constexpr float kKeyLabelX = 660, kKeyRowY = 90, kKeyRowHeight = 32;
constexpr float kKeyBoxX = 980, kKeyBoxWidth = 180, kKeyBoxHeight = 28;
// The main menu's third button, under the other two.
constexpr float kMenuSettingsX = 440, kMenuSettingsY = 535, kMenuSettingsWidth = 400, kMenuSettingsHeight = 70;

// The text keys of the rows' and the actions' names.
inline const char* const kSettingsRowLabels[kSettingsRowCount] = {
    "settings.row.music_volume", "settings.row.effects_volume", "settings.row.fullscreen",   "settings.row.vsync",
    "settings.row.frame_limit",  "settings.row.language",       "settings.row.faction_marks"};
inline const char* const kActionLabels[kKeyActionCount] = {
    "settings.action.spawn_lane_0", "settings.action.spawn_lane_1", "settings.action.spawn_lane_2",
    "settings.action.opponent_lane_0", "settings.action.opponent_lane_1", "settings.action.opponent_lane_2",
    "settings.action.opponent_upgrade_1", "settings.action.opponent_upgrade_2", "settings.action.opponent_upgrade_3",
    "settings.action.opponent_upgrade_4", "settings.action.camera_up", "settings.action.camera_down",
    "settings.action.pause", "settings.action.music", "settings.action.fullscreen",
    "settings.action.overlay",
};

inline sf::FloatRect settingsControl(int row) {
    return {{kSettingsControlX, kSettingsRowY + kSettingsRowHeight * float(row)},
            {kSettingsControlWidth, kSettingsControlHeight}};
}

inline sf::FloatRect keyBox(int action) {
    return {{kKeyBoxX, kKeyRowY + kKeyRowHeight * float(action)}, {kKeyBoxWidth, kKeyBoxHeight}};
}

inline sf::FloatRect restoreDefaultsButton() { return {{kSettingsLabelX, 600}, {220, 50}}; }

// The pause menu's buttons, down the middle: continue, settings, leave.
enum PauseMenuButton : int { ContinueButton, PauseSettingsButton, LeaveButton, kPauseMenuButtonCount };

inline sf::FloatRect pauseMenuButton(int button) { return {{540, 250 + 75 * float(button)}, {200, 56}}; }

inline sf::FloatRect menuSettingsButton() {
    return {{kMenuSettingsX, kMenuSettingsY}, {kMenuSettingsWidth, kMenuSettingsHeight}};
}
