#pragma once
#include <string>
#include <sys/types.h>

// Shell commands that start the game: this build's binary, and the Windows build's
// tarvex.exe under Wine, which $TARVEX_WINDOWS_EXE names in the Wine prefix $WINEPREFIX
// ("" without both).
std::string linuxGameCommand();
std::string windowsGameCommand();
// Stops the private network's Wine server, so the next Windows game starts one inside this namespace.
void stopWineServerOfPrivateNetwork();
// The Windows exe when $TARVEX_GAME is "windows" (the Wine leg's end-to-end tests), else this build's.
std::string defaultGameCommand();
// Where the game that defaultGameCommand() starts from working_dir keeps its replays: the
// test's own data folder, or under Wine the prefix's %APPDATA%.
std::string gameReplayFolder(const std::string& working_dir);

// The real game in its own working directory under the test's X display, driven with xdotool as by a player.
class GameProcess {
public:
    explicit GameProcess(const std::string& working_dir, const std::string& command = defaultGameCommand());
    ~GameProcess();

    bool waitForWindow(double seconds);         // the "Tarvex" window is mapped
    void click(int x, int y);                   // window coordinates
    void key(const std::string& name);          // an xdotool key name, e.g. "q"
    void type(const std::string& text);         // typed as on a keyboard
    bool waitForOutput(const std::string& text, double seconds);  // standard output holds text
    std::string output() const;
    // The results screen's verdict: "victory" (in green), "defeat" (in red), or "" when it shows neither.
    std::string resultShown();
    void requestClose();                        // the window manager's close request
    int waitForExit(double seconds);            // exit code, or -1 when still running (then killed)

private:
    pid_t pid = -1;
    std::string dir;
    std::string window_id;
};

// Fast units, so a match runs its course in seconds, and sturdier ones for the player, so
// its three always outlast the enemy's two; every other value keeps its default.
inline const char* const kQuickConfig = R"({"turret": {
    "player": {"blue": {"move_speed": 300, "hp": 6}},
    "enemy": {"red": {"move_speed": 300, "hp": 1}}}})";

// Two cheap Red units spend all but one of the enemy's money: a hit or two on its base wins.
inline const char* const kQuickLevel = R"({"levels": [{
    "name": "速战", "faction": "Red", "enemy_initial_money": 26, "enemy_income": 0,
    "waves": [{"time": 0, "lane": 1, "count": 2, "interval": 0.2}]}]})";

// Picks a faction card on the faction screen and confirms it, as a player clicks.
void pickFaction(GameProcess& game, int card, const std::string& name);
