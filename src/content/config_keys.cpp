#include "content/config_keys.h"
#include "content/factions.h"

#include <unordered_map>
#include <unordered_set>

namespace {
using Type = ConfigType;
using Limit = ConfigLimit;

struct KeyPattern {
    const char* path;  // may hold <side>, <faction> and <stat>
    Type type;
    Limit limit;
};

const KeyPattern kPatterns[] = {
    {"/turret/<side>/hp", Type::Integer, Limit::Positive},
    {"/turret/<side>/range", Type::Number, Limit::NonNegative},
    {"/turret/<side>/armor", Type::Integer, Limit::NonNegative},
    {"/turret/<side>/damage", Type::Number, Limit::NonNegative},
    {"/turret/<side>/fire_rate", Type::Number, Limit::Positive},
    {"/turret/<side>/dodge", Type::Number, Limit::NonNegative},
    {"/turret/<side>/move_speed", Type::Number, Limit::NonNegative},
    {"/turret/<side>/base_radius", Type::Number, Limit::Positive},
    {"/turret/<side>/base_outline_thickness", Type::Number, Limit::NonNegative},
    {"/turret/<side>/barrel/width", Type::Number, Limit::NonNegative},
    {"/turret/<side>/barrel/length", Type::Number, Limit::NonNegative},
    {"/turret/<side>/barrel/outline_thickness", Type::Number, Limit::NonNegative},
    {"/turret/<side>/body_color", Type::Colour, Limit::Any},
    {"/turret/<side>/body_outline_color", Type::Colour, Limit::Any},
    {"/turret/<side>/barrel/color", Type::Colour, Limit::Any},
    {"/turret/<side>/barrel/outline_color", Type::Colour, Limit::Any},
    {"/turret/<side>/<faction>/hp", Type::Number, Limit::Positive},
    {"/turret/<side>/<faction>/range", Type::Number, Limit::NonNegative},
    {"/turret/<side>/<faction>/damage", Type::Number, Limit::NonNegative},
    {"/turret/<side>/<faction>/fire_rate", Type::Number, Limit::Positive},
    {"/turret/<side>/<faction>/dodge", Type::Number, Limit::NonNegative},
    {"/turret/<side>/<faction>/move_speed", Type::Number, Limit::NonNegative},
    {"/turret/<side>/<faction>/projectile_speed", Type::Number, Limit::Positive},
    {"/turret/<side>/<faction>/projectile_lifetime", Type::Number, Limit::Positive},
    {"/gameplay/player_start_money", Type::Number, Limit::NonNegative},
    {"/gameplay/enemy_start_money", Type::Number, Limit::NonNegative},
    {"/visual/muzzle_flash/size", Type::Number, Limit::NonNegative},
    {"/visual/muzzle_flash/duration", Type::Number, Limit::NonNegative},
    {"/visual/muzzle_flash/particle_count", Type::Integer, Limit::NonNegative},
    {"/visual/muzzle_flash/particle_life", Type::Number, Limit::NonNegative},
    {"/visual/trail/enabled", Type::Boolean, Limit::Any},
    {"/visual/trail/spawn_interval", Type::Number, Limit::NonNegative},
    {"/visual/trail/particle_lifetime", Type::Number, Limit::NonNegative},
    {"/visual/trail/particle_size", Type::Number, Limit::NonNegative},
    {"/visual/trail/fade_speed", Type::Number, Limit::NonNegative},
    {"/visual/trail/max_particles", Type::Integer, Limit::NonNegative},
    {"/ui/colors/panel_background", Type::UiColour, Limit::Any},
    {"/ui/colors/button_fire", Type::UiColour, Limit::Any},
    {"/ui/colors/button_range", Type::UiColour, Limit::Any},
    {"/ui/colors/button_dodge", Type::UiColour, Limit::Any},
    {"/ui/colors/button_income", Type::UiColour, Limit::Any},
    {"/ui/colors/button_proj_speed", Type::UiColour, Limit::Any},
    {"/ui/colors/button_move", Type::UiColour, Limit::Any},
    {"/ui/colors/text", Type::UiColour, Limit::Any},
    {"/upgrades/<stat>/base_cost", Type::Number, Limit::NonNegative},
    {"/upgrades/<stat>/cost_multiplier", Type::Number, Limit::Positive},
    {"/audio/music_volume", Type::Integer, Limit::Percent},
    {"/audio/effects_volume", Type::Integer, Limit::Percent},
    {"/window/antialiasing", Type::Integer, Limit::Any},  // negative: the renderer decides
};

const char* const kSides[] = {"player", "enemy"};
const char* const kStats[] = {"fire_rate", "range", "dodge", "income", "move_speed", "projectile_speed"};

// Replaces the first placeholder with each of its values, then expands the rest.
void expand(const std::string& path, Type type, Limit limit, std::vector<ConfigKey>& out) {
    struct Placeholder {
        const char* name;
        std::vector<std::string> values;
    };
    static const Placeholder placeholders[] = {
        {"<side>", {kSides[0], kSides[1]}},
        {"<faction>", {factionConfigKey(0), factionConfigKey(1), factionConfigKey(2), factionConfigKey(3),
                       factionConfigKey(4)}},
        {"<stat>", std::vector<std::string>(std::begin(kStats), std::end(kStats))},
    };
    for (const Placeholder& placeholder : placeholders) {
        size_t at = path.find(placeholder.name);
        if (at == std::string::npos) continue;
        for (const std::string& value : placeholder.values) {
            std::string filled = path;
            filled.replace(at, std::string(placeholder.name).size(), value);
            expand(filled, type, limit, out);
        }
        return;
    }
    out.push_back({path, type, limit});
}

const std::unordered_map<std::string, const ConfigKey*>& keyIndex() {
    static const std::unordered_map<std::string, const ConfigKey*> index = [] {
        std::unordered_map<std::string, const ConfigKey*> built;
        for (const ConfigKey& key : configKeys()) built[key.path] = &key;
        return built;
    }();
    return index;
}
}  // namespace

const std::vector<ConfigKey>& configKeys() {
    static const std::vector<ConfigKey> keys = [] {
        std::vector<ConfigKey> built;
        for (const KeyPattern& pattern : kPatterns) expand(pattern.path, pattern.type, pattern.limit, built);
        return built;
    }();
    return keys;
}

const ConfigKey* findConfigKey(const std::string& path) {
    auto found = keyIndex().find(path);
    return found == keyIndex().end() ? nullptr : found->second;
}

bool isConfigSection(const std::string& path) {
    static const std::unordered_set<std::string> sections = [] {
        std::unordered_set<std::string> built;
        for (const ConfigKey& key : configKeys())
            for (size_t slash = key.path.find('/', 1); slash != std::string::npos; slash = key.path.find('/', slash + 1))
                built.insert(key.path.substr(0, slash));
        return built;
    }();
    return sections.count(path) > 0;
}
