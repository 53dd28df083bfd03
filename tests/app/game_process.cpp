#include "app/game_process.h"
#include "support.h"

#include <filesystem>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <cstdio>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string capture(const std::string& command) {
    std::string result;
    FILE* pipe = popen(command.c_str(), "r");
    for (char buffer[256]; pipe && fgets(buffer, sizeof(buffer), pipe);) result += buffer;
    if (pipe) pclose(pipe);
    return result;
}

void pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// SFML 2's windows name no process: each such game takes a window no other game has claimed.
std::set<std::string> claimed_windows;

// Wine opens a game's sockets in its server process, so a game inside the private network
// must not reach a server started outside it: there its broadcasts would go out on the
// machine's real network. Games inside it use a prefix of their own, whose server starts
// inside (stopWineServerOfPrivateNetwork drops one left from another namespace).
std::string winePrefix() {
    std::string prefix = variableValue("WINEPREFIX");
    return prefix.empty() ? "" : prefix + (std::getenv("TARVEX_PRIVATE_NET") ? "-private-net" : "");
}
}  // namespace

std::string linuxGameCommand() { return "'" TARVEX_BINARY "'"; }

std::string windowsGameCommand() {
    std::string exe = variableValue("TARVEX_WINDOWS_EXE"), prefix = winePrefix();
    if (exe.empty() || prefix.empty()) return "";
    return "env WINEPREFIX='" + prefix + "' wine '" + exe + "'";
}

void stopWineServerOfPrivateNetwork() {
    if (!std::getenv("TARVEX_PRIVATE_NET") || winePrefix().empty()) return;
    (void)runCommand("WINEPREFIX='" + winePrefix() + "' wineserver -k 2>/dev/null");
}

std::string gameReplayFolder(const std::string& working_dir) {
    if (defaultGameCommand() == linuxGameCommand()) return working_dir + "/data/tarvex/replays";
    std::error_code error;
    for (const auto& user : std::filesystem::directory_iterator(winePrefix() + "/drive_c/users", error))
        if (std::filesystem::is_directory(user.path() / "AppData/Roaming"))
            return (user.path() / "AppData/Roaming/tarvex/replays").string();
    return "";
}

std::string defaultGameCommand() {
    return variableValue("TARVEX_GAME") == "windows" ? windowsGameCommand() : linuxGameCommand();
}

GameProcess::GameProcess(const std::string& working_dir, const std::string& command) : dir(working_dir) {
    // Everything is prepared before the fork: the child may only exec, because another
    // thread of this process (the GL driver's) may hold the allocator's lock at fork time.
    // Leaks are checked in-process by the other tests; here only the exit code counts.
    std::string script = "cd '" + dir + "' && ASAN_OPTIONS=detect_leaks=0 exec " + command +
                         " >stdout.txt 2>stderr.txt";
    pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

GameProcess::~GameProcess() {
    claimed_windows.erase(window_id);
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool GameProcess::waitForWindow(double seconds) {
    bool found = waitUntil([&] {
        // Only mapped windows: Wine makes hidden helper windows of the same name.
        std::istringstream ids(capture("xdotool search --onlyvisible --name '^Tarvex$' 2>/dev/null"));
        for (std::string id; ids >> id;) {
            // A window that names its process must name this one; one that does not
            // (SFML 2's) is the first that no other game has taken.
            std::string owner = capture("xdotool getwindowpid " + id + " 2>/dev/null");
            if (!owner.empty() && std::stol(owner) != long(pid)) continue;
            if (claimed_windows.insert(id).second) return window_id = id, true;
        }
        return false;
    }, seconds, 100);
    if (found) pause(300);  // let the first frames draw
    return found;
}

void GameProcess::click(int x, int y) {
    capture("xdotool windowraise " + window_id + " mousemove --window " + window_id + " " + std::to_string(x) + " " +
            std::to_string(y) + " sleep 0.1 click 1");
    pause(250);
}

void GameProcess::key(const std::string& name) {
    capture("xdotool windowfocus " + window_id + " key " + name);
    pause(150);
}

void GameProcess::type(const std::string& text) {
    capture("xdotool windowfocus " + window_id + " type --delay 30 '" + text + "'");
    pause(150);
}

std::string GameProcess::output() const { return fileContents(dir + "/stdout.txt"); }

bool GameProcess::waitForOutput(const std::string& text, double seconds) {
    return waitUntil([&] { return output().find(text) != std::string::npos; }, seconds, 100);
}

std::string GameProcess::resultShown() {
    capture("xdotool windowraise " + window_id);  // the games' windows overlap
    pause(200);
    Display* display = XOpenDisplay(nullptr);
    if (!display) return "";
    Window window = std::stoul(window_id);
    XWindowAttributes attributes{};
    XImage* image = XGetWindowAttributes(display, window, &attributes)
                        ? XGetImage(display, window, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                                    AllPlanes, ZPixmap)
                        : nullptr;
    std::size_t green = 0, red = 0;
    for (int y = 0; image && y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y) & 0xffffff;
            green += pixel == 0x64ff64;  // the results' colours, (100, 255, 100) and (255, 100, 100)
            red += pixel == 0xff6464;
        }
    if (image) XDestroyImage(image);
    XCloseDisplay(display);
    if (green > 50 && green > 10 * red) return "victory";
    if (red > 50 && red > 10 * green) return "defeat";
    return "";
}

// Sends WM_DELETE_WINDOW, as a window manager does when the close button is pressed.
void GameProcess::requestClose() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window_id);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
}

int GameProcess::waitForExit(double seconds) {
    int status = 0;
    if (!waitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, seconds, 50)) return -1;
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void pickFaction(GameProcess& game, int card, const std::string& name) {
    game.click(160 + 195 * card + 90, 360);
    ASSERT_TRUE(game.waitForOutput("Selected " + name + "\n", 5)) << game.output();
    game.click(900, 650);
    ASSERT_TRUE(game.waitForOutput("Faction confirmed: " + std::to_string(card) + "\n", 5)) << game.output();
}
