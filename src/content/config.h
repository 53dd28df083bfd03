#pragma once
#include <SFML/Graphics/Color.hpp>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// All tuning lives in config.json, read once on first use. Every key is optional:
// a missing key gives its default silently; a present value of the wrong type gives
// the default and a warning line on standard error.
struct Config {
    nlohmann::json document;            // stays null when the file cannot be opened
    std::string file_name = "config.json";
    mutable std::vector<std::string> unlisted_reads;  // paths read that the key table lacks; each once

    static Config& instance();          // created and loaded on first use, never freed
    static void forget();               // tests only: the next instance() loads the file again

    void load();
    bool contains(const std::string& path) const;  // a value is present at the path

    float getFloat(const std::string& path, float fallback) const;
    int getInt(const std::string& path, int fallback) const;
    bool getBool(const std::string& path, bool fallback) const;
    std::vector<int> getIntArray(const std::string& path, const std::vector<int>& fallback) const;

private:
    // Every read is checked against the key table (config_keys.h), which the data
    // checker trusts to name every key the game reads.
    void noteRead(const std::string& path) const;
};

// Path builders: "/turret/<side>/<key>" and friends. side is "player" or "enemy".
float turretFloat(bool is_player, const std::string& key, float fallback);
int turretInt(bool is_player, const std::string& key, int fallback);
float factionStat(bool is_player, const std::string& faction_key, const std::string& key, float fallback);
float upgradeParam(const std::string& stat, const std::string& key, float fallback);

// which: "body_color", "body_outline_color", "barrel/color" or "barrel/outline_color".
sf::Color turretColor(bool is_player, const std::string& which);
sf::Color uiColor(const std::string& name);
// "/window/antialiasing": the window's multisampling level; -1 (the default, and any
// negative value) leaves the choice to the renderer rule.
int windowAntialiasingSetting();

// Array-to-colour rules, shared by the two colour builders. Only the low 8 bits of
// each entry count, so 256 is 0 and -1 is 255.
sf::Color colourFromArray(const std::vector<int>& entries, sf::Color short_fallback);
sf::Color uiColourFromArray(const std::vector<int>& entries);
