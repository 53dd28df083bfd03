#pragma once
#include <memory>
#include <string>

struct Game;

// A fresh temporary directory that is the working directory while the object lives.
// The config holder is dropped on entry and exit so each test reads its own files.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return dir; }
    void write(const std::string& name, const std::string& content) const;

private:
    std::string dir;
    std::string previous;
};

// A real Game (window under Xvfb) started in a fresh working directory that holds the
// given config.json and levels.json contents ("" leaves the file out).
struct GameFixture {
    explicit GameFixture(const std::string& config_json = "", const std::string& levels_json = "");
    ~GameFixture();
    TempDir dir;
    std::unique_ptr<Game> game;
};

// Runs a shell command and returns its exit status.
int runCommand(const std::string& command);
