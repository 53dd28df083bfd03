#include "app/clock.h"
#include "app/frontend.h"
#include "app/replay_view.h"
#include "app/update.h"
#include "content/settings_layout.h"
#include "events.h"
#include "support.h"
#include "ui/picture.h"

#include <set>

namespace {
// No Chinese character or full-width sign. Each language is named in its own words on the
// settings screen, so "中文" is allowed there.
bool readsInEnglish(const std::string& words) {
    if (words == "中文") return true;
    sf::String decoded = sf::String::fromUtf8(words.begin(), words.end());
    for (std::size_t i = 0; i < decoded.getSize(); ++i) {
        char32_t c = decoded[i];
        if ((c >= 0x3000 && c <= 0x303f) || (c >= 0x4e00 && c <= 0x9fff) || (c >= 0xff00 && c <= 0xffef)) return false;
    }
    return true;
}

// The screens a player passes through, each set up and drawn once; what each drew is
// collected by its name.
std::vector<std::pair<std::string, std::string>> wordsOfEveryScreen(Game& game) {
    std::vector<std::string> drawn;
    std::vector<std::pair<std::string, std::string>> seen;
    game.frontend->canvas.words_drawn = &drawn;
    auto draw = [&](const char* screen) {
        drawn.clear();
        renderedFrame(game);
        for (const std::string& words : drawn) seen.emplace_back(screen, words);
    };
    draw("main menu");
    game.network_mode = game.lobby_active = game.lobby.opponent_left = true;
    game.lobby.connect_line = {"join.refused", {"10.0.0.9:55003"}};
    draw("lobby");
    game.lobby_active = game.network_mode = false;
    game.game_started = true;
    draw("faction cards");
    game.hovered_faction = Blue;
    draw("faction panel");
    game.faction_confirmed = game.level_select_active = true;
    enterLevelSelection(game);
    game.progress.won_levels.insert("边境哨所");
    draw("level selection");
    Replay replay;
    replay.level = 1;
    replay.level_name = "边境哨所";
    replay.result = "won";
    game.shelf.listing = true;
    game.shelf.listings = {{"a.tvxreplay", listingLine(game.texts, replay)}};
    game.shelf.notice = fillText(game.texts, "replays.cannot_play", {"cut short"});
    draw("replays");
    game.shelf = ReplayShelf{};
    game.shelf.listing = true;
    draw("no replays");
    game.shelf.listing = false;
    game.settings_open = true;
    game.rebinding = SpawnLane0;
    draw("settings");
    game.settings_open = false;
    game.rebinding = -1;
    enterMatch(game, White, Red);
    game.level_title = game.shown_levels.at(0).at("name");
    game.level_description = game.shown_levels.at(0).at("description");
    game.level_status = "In Progress...";
    game.panel_x = game.panel_target_x = game.panel_shown_x;
    draw("match");
    game.paused = true;
    draw("paused");
    game.pause_menu = true;
    draw("pause menu");
    game.pause_menu = game.paused = false;
    game.network_mode = true;
    game.link.round_trip_ms = 20;
    game.link.notice = {"net.rules_differ", {}};
    game.link.pause_notice = {"net.pauses_used", {"3"}};
    game.link.pause_notice_until_us = realNowMicroseconds() + 60'000'000;
    game.rejoin.waiting = true;
    game.pause_menu = true;
    draw("network match");
    game.rejoin.waiting = game.pause_menu = game.network_mode = false;
    game.game_over = game.match_won = true;
    draw("results");
    game.game_over = false;
    game.replay.playing = game.shelf.ended = true;
    draw("replay");
    game.frontend->canvas.words_drawn = nullptr;
    return seen;
}
}  // namespace

// `--lang en` draws the English main menu for that run alone. Switched on the settings
// screen, every screen of a game reads in English at once, where each said something in
// Chinese before, and the choice is there the next time.
TEST(Languages, EveryScreenFollowsTheLanguageSwitch) {
    TempDir dir{{"levels.json", shippedData("levels.json")}};
    {
        Game game(GameOptions{false, kTestSeeds, "en"});
        game.hex_grid_enabled = 0;
        sf::Image frame = renderedFrame(game);
        const Frontend& front = *game.frontend;
        for (auto [words, text] : {std::pair<const char*, const sf::Text*>{"Single player\nvs AI", &front.single_text},
                                   {"Network\nHost / Join", &front.network_text},
                                   {"Settings", &front.screen_texts.menu_settings.text}})
            EXPECT_EQ(textMismatch(frame, front.ui_font, words, 24, sf::Color::White, text->getPosition()), 0) << words;
        EXPECT_EQ(game.settings.language, "zh");
    }
    std::set<std::string> screens, with_chinese;
    for (const auto& [screen, words] :
         wordsOfEveryScreen(*std::make_unique<Game>(GameOptions{false, kTestSeeds, ""}))) {
        screens.insert(screen);
        if (!readsInEnglish(words)) with_chinese.insert(screen);
    }
    EXPECT_EQ(with_chinese, screens);
    Game game(GameOptions{false, kTestSeeds, ""});
    game.hex_grid_enabled = 0;
    click(game, int(kMenuSettingsX) + 10, int(kMenuSettingsY) + 10);
    click(game, int(kSettingsControlX) + 5, int(partsOf(settingsControl(LanguageRow)).top) + 5);
    keyPress(game, sf::Keyboard::Key::Escape);
    std::vector<std::pair<std::string, std::string>> english = wordsOfEveryScreen(game);
    for (const auto& [screen, words] : english) EXPECT_TRUE(readsInEnglish(words)) << screen << ": " << words;
    EXPECT_GT(english.size(), 80u);
    EXPECT_EQ(loadSettings(game.settings_file).language, "en");
}
