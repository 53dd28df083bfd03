#include "content/config_keys.h"
#include "content/data_check.h"
#include "content/data_check_parts.h"

#include <cfloat>
#include <climits>
#include <cmath>

using nlohmann::json;

namespace {
std::string lastStep(const std::string& pointer) { return pointer.substr(pointer.find_last_of('/') + 1); }

// Every key path and every section on the way to one: what a misspelt key may have meant.
const std::vector<std::string>& knownPaths() {
    static const std::vector<std::string> paths = [] {
        std::vector<std::string> built;
        for (const ConfigKey& key : configKeys()) {
            for (std::size_t slash = key.path.find('/', 1); slash != std::string::npos;
                 slash = key.path.find('/', slash + 1))
                built.push_back(key.path.substr(0, slash));
            built.push_back(key.path);
        }
        return built;
    }();
    return paths;
}

void checkColour(ProblemList& list, const ConfigKey& key, const json& value) {
    const std::string name = lastStep(key.path);
    bool four_allowed = key.type == ConfigType::UiColour;
    const char* shape = four_allowed ? "[r, g, b] or [r, g, b, a]" : "[r, g, b]";
    if (!value.is_array() || value.size() < 3 || value.size() > (four_allowed ? 4u : 3u)) {
        list.atValue(key.path, name + " must be a colour " + shape + ", found " + shownValue(value));
        return;
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        std::string element = key.path + "/" + std::to_string(i);
        if (!expectWholeNumber(list, element, name + " entry", value[i])) continue;
        double channel = value[i].get<double>();  // a long long would wrap the largest values
        if (channel < 0 || channel > 255)
            list.atValue(element, name + " entry must be within 0..255, found " + shownValue(value[i]));
    }
}

// Beyond what an int or a float holds, the game reads the key's default instead.
bool expectGameRange(ProblemList& list, const ConfigKey& key, const json& value) {
    bool whole = key.type == ConfigType::Integer;
    double number = value.is_number() ? value.get<double>() : 0;
    if (whole ? number >= INT_MIN && number <= INT_MAX : std::abs(number) <= FLT_MAX) return true;
    list.atValue(key.path, lastStep(key.path) + " must be within " +
                               (whole ? "-2147483648..2147483647" : "-3.40282e+38..3.40282e+38") +
                               " (the game would use its default), found " + shownValue(value));
    return false;
}

void checkLimit(ProblemList& list, const ConfigKey& key, const json& value) {
    double number = value.get<double>();
    const std::string name = lastStep(key.path);
    switch (key.limit) {
        case ConfigLimit::Any: break;
        case ConfigLimit::NonNegative: expectAtLeast(list, key.path, name, number, 0); break;
        case ConfigLimit::Positive: expectAbove(list, key.path, name, number, 0); break;
        case ConfigLimit::Percent:
            if (number < 0 || number > 100)
                list.atValue(key.path, name + " must be within 0..100, found " + shownValue(value));
            break;
    }
}

void checkValue(ProblemList& list, const ConfigKey& key, const json& value) {
    const std::string name = lastStep(key.path);
    switch (key.type) {
        case ConfigType::Boolean:
            if (!value.is_boolean()) list.atValue(key.path, name + " must be true or false, found " + shownValue(value));
            return;
        case ConfigType::Colour:
        case ConfigType::UiColour: checkColour(list, key, value); return;
        case ConfigType::Integer:
            if (expectGameRange(list, key, value) && expectWholeNumber(list, key.path, name, value))
                checkLimit(list, key, value);
            return;
        case ConfigType::Number:
            if (expectNumber(list, key.path, name, value) && expectGameRange(list, key, value))
                checkLimit(list, key, value);
            return;
    }
}

void checkSection(ProblemList& list, const std::string& path, const json& section) {
    for (const auto& [name, value] : section.items()) {
        std::string child = path + "/" + pointerStep(name);
        if (const ConfigKey* key = findConfigKey(child)) {
            checkValue(list, *key, value);
        } else if (isConfigSection(child)) {
            if (value.is_object())
                checkSection(list, child, value);
            else
                list.atValue(child, name + " must be an object of keys, found " + shownValue(value));
        } else {
            reportUnknownKey(list, child, child, knownPaths());
        }
    }
}
}  // namespace

std::vector<DataProblem> checkConfigText(const std::string& text) {
    ProblemList list;
    std::optional<json> document = parseChecked(text, list);
    if (!document) return list.problems;
    if (!document->is_object())
        list.atValue("", "the file must hold one object of keys, found " + shownValue(*document));
    else
        checkSection(list, "", *document);
    return inFileOrder(list.problems);
}
