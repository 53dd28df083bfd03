#pragma once
#include "app/game.h"
#include "app/sfml_compat.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

// A fresh temporary directory, holding the given files (name, content), that is the working
// directory while the object lives. The config holder is dropped on entry and exit so each
// test reads its own files, and the user's data folder (saved progress) points inside it.
class TempDir {
public:
    explicit TempDir(std::initializer_list<std::pair<std::string, std::string>> files = {});
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return dir; }
    void write(const std::string& name, const std::string& content) const;

private:
    std::string dir;
    std::string previous;
    std::string previous_data_home;
};

// The seeds every test game starts from, so a test plays the same battle on every run.
constexpr Seeds kTestSeeds{11, 12, 13, 14};

// A real Game started in a fresh working directory that holds the given config.json and
// levels.json contents ("" leaves the file out): headless, or with its window (under Xvfb).
struct GameFixture {
    explicit GameFixture(const std::string& config_json = "", const std::string& levels_json = "",
                         bool windowed = false);
    TempDir dir;
    std::unique_ptr<Game> game;
};

// A match under way, both factions chosen; a network one as the ready exchange leaves it.
inline void enterMatch(Game& game, int player_faction = 0, int enemy_faction = 0, bool network = false) {
    game.game_started = game.faction_confirmed = game.level_running = true;
    game.network_mode = game.lobby_active = network;
    game.level_select_active = game.game_over = false;
    game.player_faction = player_faction;
    game.enemy_faction = enemy_faction;
}

// A test on a real headless game with the default files.
struct GameTest : testing::Test {
    GameFixture fixture;
    Game& game = *fixture.game;
};

// A test that draws or listens: the game has its window and sound bank.
struct WindowedGameTest : testing::Test {
    GameFixture fixture{"", "", true};
    Game& game = *fixture.game;
};

// The whole of a file ("" when it cannot be read), and of a data file the game ships
// (data/config.json, data/levels.json).
std::string fileContents(const std::string& path);
std::string shippedData(const std::string& name);

// An environment variable's value, "" when unset.
std::string variableValue(const char* name);

int runCommand(const std::string& command);

// What a call printed to standard output.
template <typename Call>
std::string stdoutOf(Call call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

inline size_t countOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Polls a condition every poll_ms for up to `seconds`; returns whether it came true.
template <typename Condition>
bool waitUntil(Condition condition, double seconds, int poll_ms = 5) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(poll_ms));
    }
    return true;
}
