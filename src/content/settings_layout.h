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

inline const char* const kSettingsRowLabels[kSettingsRowCount] = {"音乐音量", "音效音量", "全屏", "垂直同步",
                                                                    "帧率上限", "语言", "阵营标记"};
inline const char* const kActionLabels[kKeyActionCount] = {
    "出兵：左路", "出兵：中路", "出兵：右路", "对手出兵：左路", "对手出兵：中路", "对手出兵：右路",
    "对手升级：射速", "对手升级：射程", "对手升级：闪避", "对手升级：收入", "镜头上移", "镜头下移",
    "暂停", "音乐开关", "全屏切换", "帧率信息"};

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
