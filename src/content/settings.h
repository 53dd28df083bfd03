#pragma once
#include <SFML/Window/Keyboard.hpp>

#include <array>
#include <nlohmann/json.hpp>
#include <string>

// What the player sets from inside the game, kept in settings.json in the user's config
// folder between runs.

// Every key of the game a player can bind, in the order the settings screen lists them.
enum KeyAction : int {
    SpawnLane0, SpawnLane1, SpawnLane2,
    OpponentLane0, OpponentLane1, OpponentLane2,
    OpponentUpgrade1, OpponentUpgrade2, OpponentUpgrade3, OpponentUpgrade4,
    CameraUp, CameraDown, PauseKey, MusicKey, FullscreenKey, OverlayKey,
    kKeyActionCount
};

// "spawn_lane_0" ... "overlay": the action's name in settings.json.
const char* actionName(int action);
sf::Keyboard::Key defaultKey(int action);

// The frame caps offered; 0 is none, the game's own default.
constexpr int kFrameLimits[] = {0, 60, 120, 144, 240};

struct Settings {
    std::string language = "zh";  // "zh" or "en"
    int music_volume = 100;       // 0..100
    int effects_volume = 100;
    bool fullscreen = false;
    bool vsync = false;
    bool faction_marks = false;
    int frame_limit = 0;
    std::array<sf::Keyboard::Key, kKeyActionCount> keys{};

    Settings();
};

// The defaults: the keys above, and the volumes config.json's "audio" gives.
Settings defaultSettings();

nlohmann::json settingsJson(const Settings& settings);
// Reads every key present (the others keep their values); "" or why the document is not
// settings: wrong types, values out of range, an unknown key name, a key bound twice.
std::string readSettings(const nlohmann::json& document, Settings& settings);

// settings.json in the user's config folder ("" when there is none).
std::string settingsFile();
// The settings kept in file, over the defaults. A file that cannot be read as settings is
// moved aside to settings.json.bad (said in the log) and the defaults are used.
Settings loadSettings(const std::string& file);
// Writes them atomically; "" or why not.
std::string saveSettings(const std::string& file, const Settings& settings);

// Binds the action to the key; an action that had the key takes the action's old key, so
// no key ever does two things.
void bindKey(Settings& settings, int action, sf::Keyboard::Key key);
// The action a key is bound to, or -1.
int actionOfKey(const Settings& settings, sf::Keyboard::Key key);
