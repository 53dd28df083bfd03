#pragma once
#include "app/sfml_compat_view.h"
#include "content/factions.h"
#include "content/replay.h"
#include "content/upgrades.h"

#include <SFML/Network/IpAddress.hpp>
#include <nlohmann/json.hpp>
#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// A text kept between frames, built again only when its words, size or colour change;
// whoever draws it places it.
struct KeptText {
    bool built = false;
    std::string words;
    UiText text;
};

struct Game;
// The kept text, built again with the UI font when its words, size or colour differ.
sf::Text& keptText(const Game& game, KeptText& kept, std::string_view utf8, unsigned size, sf::Color colour);

// The texts of a level card, built for the level they show.
struct LevelCardTexts {
    bool built = false;
    nlohmann::json level;  // the level the texts were built for
    UiText name;
    UiText stars;
    UiText bonus;
};

struct HostRowText {
    sf::IpAddress address = sf::IpAddress::Any;
    unsigned short port = 0;
    UiText text;
};

// Texts the screens draw every frame but whose content changes seldom: each is built
// again only when what it shows changes, so drawing a frame lays out no glyphs.
struct ScreenTexts {
    KeptText status;          // money and income, top left
    std::array<double, 3> status_figures{};  // the player's and the enemy's money and the income it shows
    sf::Color status_colour;  // "/ui/colors/text"
    KeptText level_title;     // the running level's header
    KeptText level_description;
    KeptText level_status;

    int title_faction = -1;   // the level selection's title, in the player's colour
    UiText title;
    std::size_t level_count = std::numeric_limits<std::size_t>::max();
    UiText count;
    bool hint_built = false;
    UiText hint;
    std::array<LevelCardTexts, 10> cards;

    int lobby_status = -2;    // -1 while scanning, else the number of hosts found
    UiText lobby_status_text;
    std::vector<HostRowText> host_rows;
    UiText opponent_left_text;  // built the first time the lobby says so
    KeptText address_field;     // what is typed, with a caret while it has the keys
    KeptText connect_label;
    KeptText connect_line;      // how the last connect by address went

    std::array<float, 4> info_values{};  // hit points, range, fire interval, dodge of the inspected unit
    bool info_built = false;
    UiText info;

    KeptText pause_line;
    KeptText rejoin_line;                   // "等待对手重新连接… N" while the match is held
    KeptText latency;                       // "延迟 N ms" in a network match
    KeptText rules_notice;
    KeptText pause_notice;
    KeptText won_badge;                     // one text, placed on each won level's card
    KeptText faction_title;
    KeptText faction_hint;
    std::array<KeptText, kFactionCount> faction_mottos;  // under the cards, one character a line
    KeptText faction_full_motto;            // on the chosen faction's panel
    KeptText replays_button;                // "回放" on the level selection
    KeptText replays_title;
    KeptText replays_hint;                  // "没有回放" or how to use the list
    KeptText replays_notice;                // why a replay could not be played
    KeptText menu_settings;                 // "设置" on the main menu
    KeptText settings_title;
    std::array<KeptText, 7> settings_labels;   // a row's name
    std::array<KeptText, 7> settings_values;   // its value
    std::array<KeptText, 16> key_labels;       // an action's name
    std::array<KeptText, 16> key_names;        // its key, or the prompt while it is rebound
    KeptText restore_defaults;
    KeptText settings_hint;
    std::array<KeptText, 3> pause_menu;     // continue, settings, leave
    std::array<KeptText, kReplayRowsShown> replay_rows;
    KeptText replay_badge;                  // "回放 2×" over a replay
    KeptText replay_end;

    // The results of the match that ended: victory, winner and loser they were written for.
    std::array<int, 3> results_for{-1, -1, -1};
    UiText results;
    // The results with each pictograph as spaces, and the pictographs placed over them,
    // laid out for this text at this place.
    sf::String results_source;
    sf::Vector2f results_position;
    bool results_built = false;
    UiText results_letters;
    std::vector<sf::Text> results_pictographs;

    // The player's upgrade levels and faction the panel's price labels were written for.
    std::array<int, kUpgradeStatCount> price_levels{};
    int price_faction = -1;
};
