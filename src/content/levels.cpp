#include "content/levels.h"
#include "app/game.h"
#include "app/log.h"
#include "content/factions.h"
#include "content/files.h"
#include "content/json_positions.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

using nlohmann::json;

namespace {
const char kByteOrderMark[] = "\xEF\xBB\xBF";

// Limits on what a level file may ask for. Far above any playable level, they keep a
// hostile or mistyped file from taking the start-up's time and memory.
constexpr std::size_t kMaxLevels = 100;
constexpr std::size_t kMaxEntries = 1000;     // waves or schedule entries of one level
constexpr long long kMaxOldFormSpawns = 1000; // the older form's enemy_spawn_count
constexpr long long kMaxWaveCount = 1000;     // units in one wave
constexpr long long kMaxScheduleLevels = kMaxUpgradeLevel;
constexpr std::size_t kMaxTextBytes = 256;    // a level's name or description

void warnCapped(const char* what, const std::string& asked, long long kept) {
    logLine("⚠️ levels.json: ", what, " ", asked, " is too large, using ", kept);
}

// Cuts a text to at most kMaxTextBytes without splitting a UTF-8 character.
void capText(json& level, const char* key) {
    auto found = level.find(key);
    if (found == level.end() || !found->is_string()) return;
    std::string& text = found->get_ref<std::string&>();
    if (text.size() <= kMaxTextBytes) return;
    std::size_t cut = kMaxTextBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    warnCapped(key, "length " + std::to_string(text.size()), static_cast<long long>(cut));
    text.resize(cut);
}

void capEntries(json& level, const char* key) {
    auto found = level.find(key);
    if (found == level.end() || !found->is_array() || found->size() <= kMaxEntries) return;
    warnCapped(key, "count " + std::to_string(found->size()), static_cast<long long>(kMaxEntries));
    found->erase(found->begin() + static_cast<std::ptrdiff_t>(kMaxEntries), found->end());
}

// Holds an integer entry within [low, high], with one warning when it had to change.
void capInteger(json& entry, const char* key, long long low, long long high, const char* what) {
    auto found = entry.find(key);
    if (found == entry.end() || !found->is_number()) return;
    long long value = levelInteger(entry, key, 0);
    if (value >= low && value <= high && !found->is_number_float()) return;
    long long kept = std::clamp(value, low, high);
    if (value != kept) warnCapped(what, found->dump(), kept);
    *found = kept;
}

// Schedule "type" names, by level-file code.
const char* const kUpgradeTypeNames[] = {"fire", "range", "dodge", "move", "income", "projSpeed"};

const json* findKey(const json& entry, const char* key) {
    if (!entry.is_object()) return nullptr;
    auto found = entry.find(key);
    return found == entry.end() ? nullptr : &*found;
}

// Truncation toward zero that saturates instead of overflowing.
long long truncateToInteger(double value) {
    if (value != value) return 0;
    if (value >= 9.2e18) return LLONG_MAX;
    if (value <= -9.2e18) return LLONG_MIN;
    return static_cast<long long>(value);
}


// The standard string-to-number rules: leading space skipped, the longest valid prefix
// taken ("3x" is 3); no digits or a value out of range fails. Only text converts.
std::optional<int> textToInteger(const json& value) {
    if (!value.is_string()) return std::nullopt;
    try {
        return std::stoi(value.get_ref<const std::string&>());
    } catch (const std::logic_error&) {
        return std::nullopt;
    }
}

std::optional<float> textToFloat(const json& value) {
    if (!value.is_string()) return std::nullopt;
    try {
        return std::stof(value.get_ref<const std::string&>());
    } catch (const std::logic_error&) {
        return std::nullopt;
    }
}

int upgradeCodeByName(const std::string& name) {
    for (int code = 0; code < 6; ++code)
        if (name == kUpgradeTypeNames[code]) return code;
    return 0;
}

// The older level form: one one-unit wave in a random lane every "enemy_spawn_rate" seconds.
void buildWavesFromOldForm(json& level) {
    capInteger(level, "enemy_spawn_count", LLONG_MIN, kMaxOldFormSpawns, "enemy_spawn_count");
    int count = level.value("enemy_spawn_count", 0);
    float rate = level.value("enemy_spawn_rate", 1.0f);
    json waves = json::array();
    for (int i = 1; i <= count; ++i)
        waves.push_back({{"time", static_cast<float>(i) * rate},
                         {"lane", -1},
                         {"count", 1},
                         {"interval", 0.5},
                         {"unit_type", "normal"}});
    level["waves"] = std::move(waves);
}

// Throws the library's error for a level that is not an object or has a non-text
// name or faction; the caller stops loading there.
void prepareLoadedLevel(json& level) {
    (void)level.value("name", std::string());
    (void)level.value("faction", std::string());
    capText(level, "name");
    capText(level, "description");
    capEntries(level, "waves");
    capEntries(level, "upgrades");
    bool has_waves = level.contains("waves") && level["waves"].is_array();
    if (!has_waves) {
        if (level.contains("enemy_spawn_count") && level.contains("enemy_spawn_rate"))
            buildWavesFromOldForm(level);
        else
            level["waves"] = json::array();
    }
    if (!(level.contains("upgrades") && level["upgrades"].is_array())) level["upgrades"] = json::array();
}

void copyEntries(const json& level, const char* key, std::vector<json>& list) {
    const json* entries = findKey(level, key);
    if (entries && entries->is_array()) {
        list.assign(entries->begin(), entries->end());
        logLine("✅ Loaded ", list.size(), " ", key);
    } else {
        list.clear();
        logLine("❌ ", key, " not found or not array!");
    }
}

void presetEnemy(Game& game, const json& level) {
    std::string faction = levelText(level, "faction", "Red");
    game.enemy_faction = factionFromLevelName(faction);
    logLine("Level enemy faction: ", faction);
    game.enemy_money = static_cast<float>(levelNumber(level, "enemy_initial_money", 200));
    game.enemy_income = static_cast<float>(levelNumber(level, "enemy_income", 5));

    UpgradeState& enemy = game.enemy_upgrades;
    enemy = UpgradeState();
    int start_level = static_cast<int>(std::clamp<long long>(levelInteger(level, "enemy_upgrade_level", 0), 0,
                                                             kMaxUpgradeLevel));
    enemy.levels[FireRate] = enemy.levels[Range] = enemy.levels[Dodge] = start_level;

    const json* bonuses = findKey(level, "enemy_bonuses");
    if (!bonuses || !bonuses->is_object()) return;
    enemy.fire_rate_bonus = static_cast<float>(levelNumber(*bonuses, "fire_rate", 0));
    enemy.range_bonus = static_cast<float>(levelNumber(*bonuses, "range", 0));
    enemy.dodge_bonus = static_cast<float>(levelNumber(*bonuses, "dodge", 0));
    enemy.move_speed_bonus = static_cast<float>(levelNumber(*bonuses, "move_speed", 0));
}

void addDefault(json& entry, const char* key, const json& value) {
    if (!entry.contains(key)) entry[key] = value;
}

// A null entry becomes all defaults; an entry that is neither object nor null is
// dropped (returns false) rather than played with made-up values.
bool normaliseWave(json& wave) {
    if (wave.is_null()) wave = json::object();
    if (!wave.is_object()) return false;
    addDefault(wave, "time", 0.0);
    addDefault(wave, "lane", -1);
    addDefault(wave, "count", 1);
    addDefault(wave, "interval", 0.5);
    addDefault(wave, "unit_type", "normal");
    json& time = wave["time"];
    if (!time.is_number()) time = textToFloat(time).value_or(0.0f);
    json& count = wave["count"];
    if (!count.is_number_integer()) count = textToInteger(count).value_or(1);
    json& interval = wave["interval"];
    if (!interval.is_number()) interval = textToFloat(interval).value_or(0.5f);
    json& lane = wave["lane"];
    if (!lane.is_number_integer()) lane = textToInteger(lane).value_or(-1);
    capInteger(wave, "count", LLONG_MIN, kMaxWaveCount, "wave count");
    return true;
}

bool normaliseScheduleEntry(json& entry) {
    if (entry.is_null()) entry = json::object();
    if (!entry.is_object()) return false;
    addDefault(entry, "time", 0.0);
    addDefault(entry, "type", 0);
    addDefault(entry, "levels", 1);
    json& time = entry["time"];
    if (!time.is_number()) time = textToFloat(time).value_or(0.0f);
    json& type = entry["type"];
    if (type.is_number_float())
        type = truncateToInteger(type.get<double>());
    else if (type.is_string())
        type = textToInteger(type).value_or(upgradeCodeByName(type.get<std::string>()));
    else if (!type.is_number())
        type = 0;
    json& levels = entry["levels"];
    if (!levels.is_number_integer()) levels = textToInteger(levels).value_or(1);
    capInteger(entry, "levels", LLONG_MIN, kMaxScheduleLevels, "upgrade levels");
    return true;
}

// Normalises every entry in place, keeping the order of the entries that stay.
template <typename Normalise>
void normaliseEntries(std::vector<json>& list, Normalise normalise) {
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (!normalise(list[i])) continue;
        if (kept != i) list[kept] = std::move(list[i]);
        ++kept;
    }
    list.resize(kept);
}

}  // namespace

std::string levelText(const json& entry, const char* key, const std::string& fallback) {
    const json* value = findKey(entry, key);
    return value && value->is_string() ? value->get<std::string>() : fallback;
}

double levelNumber(const json& entry, const char* key, double fallback) {
    const json* value = findKey(entry, key);
    return value && value->is_number() ? value->get<double>() : fallback;
}

long long levelInteger(const json& entry, const char* key, long long fallback) {
    const json* value = findKey(entry, key);
    if (!value || !value->is_number()) return fallback;
    if (value->is_number_unsigned())
        return static_cast<long long>(std::min<std::uint64_t>(value->get<std::uint64_t>(), LLONG_MAX));
    if (value->is_number_integer()) return value->get<long long>();
    return truncateToInteger(value->get<double>());
}

json defaultLevel() {
    return {{"name", "默认关卡"},
            {"faction", "Red"},
            {"description", "默认关卡描述"},
            {"difficulty", 1},
            {"player_bonus", 100},
            {"enemy_initial_money", 200},
            {"enemy_income", 5},
            {"enemy_upgrade_level", 0},
            {"enemy_bonuses", json::object()},
            {"enemy_presets", json::array()},
            {"waves", json::array()},
            {"upgrades", json::array()}};
}

void loadLevels(Game& game, const std::string& file_name) {
    std::ifstream file(findDataFile(file_name), std::ios::binary);
    if (!file) {
        game.all_levels.push_back(defaultLevel());
        return;
    }
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (text.compare(0, 3, kByteOrderMark) == 0) text.erase(0, 3);
    if (tooDeepOffset(text) < text.size()) {
        logLine("Error parsing JSON: levels.json is nested more than ", kMaxJsonNesting, " deep");
        return;
    }
    try {
        json root = json::parse(text);  // strict: no comments, nothing after the value
        if (!root.is_object() || !root.contains("levels")) return;
        json& levels = root["levels"];
        if (levels.is_array() && levels.size() > kMaxLevels) {
            warnCapped("level", "count " + std::to_string(levels.size()), static_cast<long long>(kMaxLevels));
            levels.erase(levels.begin() + static_cast<std::ptrdiff_t>(kMaxLevels), levels.end());
        }
        game.all_levels = levels.get<std::vector<json>>();
        for (json& level : game.all_levels) prepareLoadedLevel(level);
    } catch (const json::exception& error) {
        // The levels prepared before the error stay loaded.
        logLine("Error parsing JSON: ", error.what());
    }
}

void startLevel(Game& game, const json& level) {
    game.player_turrets.clear();
    game.enemy_turrets.clear();
    game.projectiles.clear();
    game.laser_beams.clear();
    game.level_name = levelText(level, "name", "未知关卡");
    copyEntries(level, "waves", game.wave_list);
    copyEntries(level, "upgrades", game.upgrade_schedule);
    presetEnemy(game, level);
    applyEnemyUpgrades(game);
    normaliseEntries(game.wave_list, normaliseWave);
    normaliseEntries(game.upgrade_schedule, normaliseScheduleEntry);

    game.wave_index = 0;
    game.schedule_index = 0;
    game.spawn_timer = 0;
    game.wave_spawned = 0;
    game.level_running = true;
    game.level_select_active = false;
    game.match_clock.restart();
    game.income_clock.restart();

    game.level_title = levelText(level, "name", "关卡");
    game.level_description = levelText(level, "description", "");
    game.level_status = "In Progress...";
    logLine("=== 开始关卡: ", levelText(level, "name", "未知"), " ===");
    logLine("⚠️  enemy_presets 已完全忽略，敌方炮塔使用本地配置");
}
