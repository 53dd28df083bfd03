#include "support.h"
#include "content/config.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

// clang 14's sanitizer runtime sizes a dynamic TLS block (here the one of the GL driver's
// LLVM, made when a shader is compiled) from a header only old glibc put before it. Ours
// has none: when the block starts 16 bytes past a page, the leak check at exit reads an
// allocator header as that range and the checker crashes. On this glibc the runtime never
// finds a block's real size, so not following __tls_get_addr loses the leak check nothing.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

namespace {
// No test has a sound card. OpenAL Soft (SFML 2) plays into its null driver, and an ALSA
// that names no device sends SFML 3 to its null output rather than to a card it cannot open.
// A test program that listens sets its own driver.
const bool quiet_sound = [] {
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("ALSA_CONFIG_PATH", TARVEX_SOURCE_DIR "/tests/no-sound-devices.conf", 0);
    return true;
}();

// No test, nor a game a test starts, ever reads or writes the real user's saved progress:
// HOME and XDG_DATA_HOME point into a folder of this process, removed when it ends.
struct HiddenUserData {
    std::string home;
    HiddenUserData() {
        char name_template[] = "/tmp/tarvex-home-XXXXXX";
        if (!mkdtemp(name_template)) throw std::runtime_error("mkdtemp failed");
        home = name_template;
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    }
    ~HiddenUserData() { (void)std::system(("rm -rf '" + home + "'").c_str()); }
};
const HiddenUserData hidden_user_data;
}  // namespace

TempDir::TempDir() {
    char name_template[] = "/tmp/tarvex-test-XXXXXX";
    if (!mkdtemp(name_template)) throw std::runtime_error("mkdtemp failed");
    dir = name_template;
    char cwd[4096];
    previous = getcwd(cwd, sizeof(cwd)) ? cwd : "/tmp";
    if (chdir(dir.c_str()) != 0) throw std::runtime_error("chdir failed");
    const char* data_home = std::getenv("XDG_DATA_HOME");
    previous_data_home = data_home ? data_home : "";
    setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    Config::forget();
}

TempDir::~TempDir() {
    Config::forget();
    setenv("XDG_DATA_HOME", previous_data_home.c_str(), 1);
    if (chdir(previous.c_str()) != 0) return;
    std::string command = "rm -rf '" + dir + "'";
    (void)std::system(command.c_str());
}

void TempDir::write(const std::string& name, const std::string& content) const {
    std::ofstream file(dir + "/" + name, std::ios::binary);
    file << content;
}

GameFixture::GameFixture(const std::string& config_json, const std::string& levels_json, bool windowed) {
    if (!config_json.empty()) dir.write("config.json", config_json);
    if (!levels_json.empty()) dir.write("levels.json", levels_json);
    game = std::make_unique<Game>(GameOptions{!windowed, kTestSeeds});
}

GameFixture::~GameFixture() { game.reset(); }

std::string fileContents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string shippedData(const std::string& name) { return fileContents(TARVEX_SOURCE_DIR "/data/" + name); }

int runCommand(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
