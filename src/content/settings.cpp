#include "content/settings.h"
#include "app/log.h"
#include "content/config.h"
#include "content/durable_file.h"
#include "content/key_names.h"
#include "content/places.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

using nlohmann::json;

namespace {
using Key = sf::Keyboard::Key;

struct ActionInfo {
    const char* name;
    Key key;
};

const ActionInfo kActions[kKeyActionCount] = {
    {"spawn_lane_0", Key::Q},       {"spawn_lane_1", Key::W},       {"spawn_lane_2", Key::E},
    {"opponent_lane_0", Key::U},    {"opponent_lane_1", Key::I},    {"opponent_lane_2", Key::O},
    {"opponent_upgrade_1", Key::J}, {"opponent_upgrade_2", Key::K}, {"opponent_upgrade_3", Key::L},
    {"opponent_upgrade_4", Key::Semicolon}, {"camera_up", Key::Up}, {"camera_down", Key::Down},
    {"pause", Key::P},              {"music", Key::M},              {"fullscreen", Key::F11},
    {"overlay", Key::F3},
};

// The file's largest sensible size: anything longer is not settings.
constexpr std::uintmax_t kLongestFile = 64 * 1024;

bool readPercent(const json& value, int& into) {
    if (!value.is_number_integer() || value.get<long long>() < 0 || value.get<long long>() > 100) return false;
    into = value.get<int>();
    return true;
}

std::string readKeys(const json& keys, Settings& settings) {
    if (!keys.is_object()) return "\"keys\" is not an object";
    std::array<Key, kKeyActionCount> bound = settings.keys;
    for (const auto& [name, value] : keys.items()) {
        int action = 0;
        while (action < kKeyActionCount && name != kActions[action].name) ++action;
        if (action == kKeyActionCount) return "\"keys\" names no action \"" + name + "\"";
        std::optional<Key> key = value.is_string() ? keyNamed(value.get<std::string>()) : std::nullopt;
        if (!key) return "\"keys\": \"" + name + "\" names no key";
        bound[std::size_t(action)] = *key;
    }
    for (int a = 0; a < kKeyActionCount; ++a)
        for (int b = a + 1; b < kKeyActionCount; ++b)
            if (bound[std::size_t(a)] == bound[std::size_t(b)])
                return std::string("\"keys\": ") + kActions[a].name + " and " + kActions[b].name + " share a key";
    settings.keys = bound;
    return "";
}
}  // namespace

const char* actionName(int action) { return kActions[action].name; }

sf::Keyboard::Key defaultKey(int action) { return kActions[action].key; }

Settings::Settings() {
    for (int action = 0; action < kKeyActionCount; ++action) keys[std::size_t(action)] = kActions[action].key;
}

Settings defaultSettings() {
    Settings settings;
    const Config& config = Config::instance();
    settings.music_volume = std::clamp(config.getInt("/audio/music_volume", 100), 0, 100);
    settings.effects_volume = std::clamp(config.getInt("/audio/effects_volume", 100), 0, 100);
    return settings;
}

json settingsJson(const Settings& settings) {
    json keys = json::object();
    for (int action = 0; action < kKeyActionCount; ++action)
        keys[kActions[action].name] = keyName(settings.keys[std::size_t(action)]);
    return {{"language", settings.language},       {"music_volume", settings.music_volume},
            {"effects_volume", settings.effects_volume}, {"fullscreen", settings.fullscreen},
            {"vsync", settings.vsync},             {"faction_marks", settings.faction_marks},
            {"frame_limit", settings.frame_limit}, {"keys", keys}};
}

std::string readSettings(const json& document, Settings& settings) {
    if (!document.is_object()) return "not a JSON object";
    Settings read = settings;
    for (const auto& [key, value] : document.items()) {
        if (key == "language") {
            if (value != "zh" && value != "en") return "\"language\" is neither \"zh\" nor \"en\"";
            read.language = value.get<std::string>();
        } else if (key == "music_volume" || key == "effects_volume") {
            if (!readPercent(value, key == "music_volume" ? read.music_volume : read.effects_volume))
                return "\"" + key + "\" is not a whole number from 0 to 100";
        } else if (key == "fullscreen" || key == "vsync" || key == "faction_marks") {
            if (!value.is_boolean()) return "\"" + key + "\" is not true or false";
            (key == "fullscreen" ? read.fullscreen : key == "vsync" ? read.vsync : read.faction_marks) = value.get<bool>();
        } else if (key == "frame_limit") {
            if (!value.is_number_integer() ||
                std::find(std::begin(kFrameLimits), std::end(kFrameLimits), value.get<long long>()) == std::end(kFrameLimits))
                return "\"frame_limit\" is not 0, 60, 120, 144 or 240";
            read.frame_limit = value.get<int>();
        } else if (key == "keys") {
            if (std::string why = readKeys(value, read); !why.empty()) return why;
        }
        // Keys this version does not know are left for the version that wrote them.
    }
    settings = read;
    return "";
}

std::string settingsFile() {
    std::string folder = userConfigFolder();
    return folder.empty() ? "" : folder + "settings.json";
}

Settings loadSettings(const std::string& file) {
    Settings settings = defaultSettings();
    std::error_code error;
    auto path = std::filesystem::u8path(file);
    if (file.empty() || !std::filesystem::exists(path, error)) return settings;
    std::string why;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kLongestFile) {
        why = "larger than " + std::to_string(kLongestFile) + " bytes, or unreadable";
    } else {
        std::ifstream stream(path, std::ios::binary);
        std::ostringstream text;
        text << stream.rdbuf();
        json document = json::parse(text.str(), nullptr, false);
        why = document.is_discarded() ? "not JSON" : readSettings(document, settings);
    }
    if (why.empty()) return settings;
    settings = defaultSettings();
    std::filesystem::rename(path, std::filesystem::u8path(file + ".bad"), error);
    logLine("⚠️ 设置文件无法使用（", why, "），已移至 ", file, ".bad，使用默认设置");
    return settings;
}

std::string saveSettings(const std::string& file, const Settings& settings) {
    if (file.empty()) return "no config folder";
    return replaceFileDurably(file, settingsJson(settings).dump(2) + "\n");
}

void bindKey(Settings& settings, int action, sf::Keyboard::Key key) {
    int holder = actionOfKey(settings, key);
    if (holder >= 0) settings.keys[std::size_t(holder)] = settings.keys[std::size_t(action)];
    settings.keys[std::size_t(action)] = key;
}

int actionOfKey(const Settings& settings, sf::Keyboard::Key key) {
    for (int action = 0; action < kKeyActionCount; ++action)
        if (settings.keys[std::size_t(action)] == key) return action;
    return -1;
}
