#include "content/data_check.h"
#include "content/data_check_parts.h"
#include "content/factions.h"
#include "content/level_keys.h"

#include <algorithm>

using nlohmann::json;

namespace {
bool isListed(const std::vector<std::string>& keys, const std::string& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// Reports every key of an object that the game does not read; false when it is no object.
bool checkKeys(ProblemList& list, const std::string& pointer, const json& object, const std::string& what,
               const std::vector<std::string>& keys) {
    if (!object.is_object()) {
        list.atValue(pointer, what + " must be an object of keys, found " + shownValue(object));
        return false;
    }
    for (const auto& [key, value] : object.items())
        if (!isListed(keys, key)) reportUnknownKey(list, pointer + "/" + pointerStep(key), key, keys);
    return true;
}

// The value of a key when present, else null.
const json* member(const json& object, const char* key) {
    auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::string at(const std::string& pointer, const char* key) { return pointer + "/" + key; }

void checkFaction(ProblemList& list, const std::string& pointer, const json& value) {
    if (!expectText(list, pointer, "faction", value)) return;
    std::vector<std::string> names;
    for (int faction = 0; faction < kFactionCount; ++faction) names.push_back(factionLevelName(faction));
    const std::string& name = value.get_ref<const std::string&>();
    if (isListed(names, name)) return;
    list.atValue(pointer, "faction " + quotedText(name) + " is none of Red, Yellow, Blue, Purple, White (the game would "
                          "play Red); did you mean \"" + nearestName(name, names) + "\"?");
}

// A number at or above minimum, or any number when there is no minimum.
void checkNumber(ProblemList& list, const std::string& pointer, const char* name, const json& value, double minimum,
                 bool above) {
    if (!expectNumber(list, pointer, name, value)) return;
    if (above)
        expectAbove(list, pointer, name, value.get<double>(), minimum);
    else
        expectAtLeast(list, pointer, name, value.get<double>(), minimum);
}

void checkWholeNumber(ProblemList& list, const std::string& pointer, const char* name, const json& value,
                      double minimum, bool above) {
    if (!expectWholeNumber(list, pointer, name, value)) return;
    if (above)
        expectAbove(list, pointer, name, value.get<double>(), minimum);
    else
        expectAtLeast(list, pointer, name, value.get<double>(), minimum);
}

// Entries play in file order, each waiting for its own time, so a time earlier than one
// before it would come late. Time 0 is the way to say "as soon as the one before is done".
void checkOrder(ProblemList& list, const std::string& pointer, const json& time, json& latest, const char* what) {
    if (!time.is_number() || time.get<double>() == 0) return;
    if (latest.is_number() && time.get<double>() < latest.get<double>())
        list.atValue(pointer, std::string("time ") + shownValue(time) + " comes before the time " + shownValue(latest) +
                                  " of an earlier " + what + "; " + what + "s play in file order");
    else
        latest = time;
}

void checkWave(ProblemList& list, const std::string& pointer, const json& wave, json& previous_time) {
    if (!checkKeys(list, pointer, wave, "a wave", kWaveKeys)) return;
    if (const json* time = member(wave, "time")) {
        checkNumber(list, at(pointer, "time"), "time", *time, 0, false);
        checkOrder(list, at(pointer, "time"), *time, previous_time, "wave");
    }
    if (const json* count = member(wave, "count")) checkWholeNumber(list, at(pointer, "count"), "count", *count, 0, true);
    if (const json* interval = member(wave, "interval"))
        checkNumber(list, at(pointer, "interval"), "interval", *interval, 0, false);
    if (const json* lane = member(wave, "lane")) {
        // Compared as doubles: a long long would wrap the largest values round to -1.
        if (expectWholeNumber(list, at(pointer, "lane"), "lane", *lane) &&
            (lane->get<double>() < -1 || lane->get<double>() > 2))
            list.atValue(at(pointer, "lane"),
                         "lane must be 0, 1 or 2 (or -1 for a random lane), found " + shownValue(*lane));
    }
    if (const json* type = member(wave, "unit_type")) expectText(list, at(pointer, "unit_type"), "unit_type", *type);
}

void checkScheduleEntry(ProblemList& list, const std::string& pointer, const json& entry, json& previous_time) {
    if (!checkKeys(list, pointer, entry, "an upgrade entry", kScheduleKeys)) return;
    if (const json* time = member(entry, "time")) {
        checkNumber(list, at(pointer, "time"), "time", *time, 0, false);
        checkOrder(list, at(pointer, "time"), *time, previous_time, "upgrade");
    }
    if (const json* type = member(entry, "type")) {
        bool known_name = type->is_string() && isListed(kScheduleTypeNames, type->get<std::string>());
        bool known_code = type->is_number_integer() && type->get<double>() >= 0 && type->get<double>() <= 5;
        if (!known_name && !known_code) {
            std::string message = "type must be 0..5 or one of fire, range, dodge, move, income, projSpeed, found " +
                                  shownValue(*type);
            if (type->is_string())
                message += "; did you mean \"" + nearestName(type->get<std::string>(), kScheduleTypeNames) + "\"?";
            list.atValue(at(pointer, "type"), message);
        }
    }
    if (const json* levels = member(entry, "levels"))
        checkWholeNumber(list, at(pointer, "levels"), "levels", *levels, 0, true);
}

// Checks each entry of an array of waves or upgrades.
template <typename CheckEntry>
void checkEntries(ProblemList& list, const std::string& pointer, const json& entries, const char* name,
                  CheckEntry check) {
    if (!entries.is_array()) {
        list.atValue(pointer, std::string(name) + " must be an array, found " + shownValue(entries));
        return;
    }
    json previous_time;  // the latest time so far
    for (std::size_t i = 0; i < entries.size(); ++i) check(list, pointer + "/" + std::to_string(i), entries[i], previous_time);
}

void checkLevel(ProblemList& list, const std::string& pointer, const json& level) {
    if (!checkKeys(list, pointer, level, "a level", kLevelKeys)) return;
    for (const char* key : {"name", "description"})
        if (const json* text = member(level, key)) expectText(list, at(pointer, key), key, *text);
    if (const json* faction = member(level, "faction")) checkFaction(list, at(pointer, "faction"), *faction);
    for (const char* key : {"difficulty", "player_bonus"})
        if (const json* number = member(level, key)) expectWholeNumber(list, at(pointer, key), key, *number);
    if (const json* money = member(level, "enemy_initial_money"))
        checkNumber(list, at(pointer, "enemy_initial_money"), "enemy_initial_money", *money, 0, false);
    if (const json* income = member(level, "enemy_income"))
        expectNumber(list, at(pointer, "enemy_income"), "enemy_income", *income);
    if (const json* upgrade = member(level, "enemy_upgrade_level"))
        checkWholeNumber(list, at(pointer, "enemy_upgrade_level"), "enemy_upgrade_level", *upgrade, 0, false);
    if (const json* bonuses = member(level, "enemy_bonuses")) {
        std::string bonus_pointer = at(pointer, "enemy_bonuses");
        if (checkKeys(list, bonus_pointer, *bonuses, "enemy_bonuses", kEnemyBonusKeys))
            for (const auto& [key, value] : bonuses->items())
                if (isListed(kEnemyBonusKeys, key)) expectNumber(list, bonus_pointer + "/" + key, key, value);
    }
    if (const json* waves = member(level, "waves")) checkEntries(list, at(pointer, "waves"), *waves, "waves", checkWave);
    if (const json* upgrades = member(level, "upgrades"))
        checkEntries(list, at(pointer, "upgrades"), *upgrades, "upgrades", checkScheduleEntry);
    if (const json* count = member(level, "enemy_spawn_count"))
        checkWholeNumber(list, at(pointer, "enemy_spawn_count"), "enemy_spawn_count", *count, 0, true);
    if (const json* rate = member(level, "enemy_spawn_rate"))
        checkNumber(list, at(pointer, "enemy_spawn_rate"), "enemy_spawn_rate", *rate, 0, true);
}
}  // namespace

std::vector<DataProblem> checkLevelsText(const std::string& text) {
    ProblemList list;
    std::optional<json> document = parseChecked(text, list);
    if (!document) return list.problems;
    if (!checkKeys(list, "", *document, "the file", kLevelFileKeys)) return inFileOrder(list.problems);
    const json* levels = member(*document, "levels");
    if (!levels) {
        list.atValue("", "the file has no \"levels\" array; the game would offer no level");
        return inFileOrder(list.problems);
    }
    if (!levels->is_array()) {
        list.atValue("/levels", "levels must be an array, found " + shownValue(*levels));
        return list.problems;
    }
    for (std::size_t i = 0; i < levels->size(); ++i) checkLevel(list, "/levels/" + std::to_string(i), (*levels)[i]);
    return inFileOrder(list.problems);
}
