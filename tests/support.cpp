#include "support.h"
#include "content/config.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

// clang 14's sanitizer runtime sizes a dynamic TLS block (here the one of the GL driver's
// LLVM, made when a shader is compiled) from a header only old glibc put before it. Ours
// has none: when the block starts 16 bytes past a page, the leak check at exit reads an
// allocator header as that range and the checker crashes. On this glibc the runtime never
// finds a block's real size, so not following __tls_get_addr loses the leak check nothing.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

std::string variableValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

namespace {
// Sets an environment variable for this process; nullptr removes it.
void setVariable(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");  // "" removes it
#else
    value ? setenv(name, value, 1) : unsetenv(name);
#endif
}

// The variable that names the user's data folder (content/places.h).
#ifdef _WIN32
const char* const kDataFolderVariable = "APPDATA";
#else
const char* const kDataFolderVariable = "XDG_DATA_HOME";
#endif

// Each test's own settings.json: on Windows it lies beside the saves.
void pointConfigFolderAt(const std::string& folder) {
#ifndef _WIN32
    setVariable("XDG_CONFIG_HOME", folder.c_str());
#else
    (void)folder;
#endif
}

// A new, empty folder under the system's temporary folder.
std::string makeTemporaryFolder(const char* prefix) {
    static std::mt19937_64 names{std::random_device{}()};
    for (;;) {
        fs::path folder = fs::temp_directory_path() / (prefix + std::to_string(names()));
        if (fs::create_directory(folder)) return folder.string();
    }
}

// No test has a sound card. OpenAL Soft (SFML 2) plays into its null driver, and an ALSA
// that names no device sends SFML 3 to its null output rather than to a card it cannot open.
// A test program that listens sets its own driver.
const bool quiet_sound = [] {
    if (std::getenv("ALSOFT_DRIVERS") == nullptr) setVariable("ALSOFT_DRIVERS", "null");
    if (std::getenv("ALSA_CONFIG_PATH") == nullptr)
        setVariable("ALSA_CONFIG_PATH", TARVEX_SOURCE_DIR "/tests/no-sound-devices.conf");
    return true;
}();

// No test, nor a game a test starts, ever reads or writes the real user's saved progress:
// the user's folders point into a folder of this process, removed when it ends.
struct HiddenUserData {
    std::string home = makeTemporaryFolder("tarvex-home-");
    HiddenUserData() {
        setVariable("HOME", home.c_str());
        setVariable(kDataFolderVariable, (home + "/.local/share").c_str());
        pointConfigFolderAt(home + "/.config");
    }
    ~HiddenUserData() {
        std::error_code ignored;
        fs::remove_all(home, ignored);
    }
};
const HiddenUserData hidden_user_data;
}  // namespace

TempDir::TempDir(std::initializer_list<std::pair<std::string, std::string>> files)
    : dir(makeTemporaryFolder("tarvex-test-")), previous(fs::current_path().string()) {
    fs::current_path(dir);
    previous_data_home = variableValue(kDataFolderVariable);
    setVariable(kDataFolderVariable, (dir + "/data").c_str());
    pointConfigFolderAt(dir + "/config");
    Config::forget();
    for (const auto& [name, content] : files) write(name, content);
}

TempDir::~TempDir() {
    Config::forget();
    setVariable(kDataFolderVariable, previous_data_home.c_str());
    pointConfigFolderAt(hidden_user_data.home + "/.config");
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(dir, ignored);
}

void TempDir::write(const std::string& name, const std::string& content) const {
    std::ofstream file(dir + "/" + name, std::ios::binary);
    file << content;
}

GameFixture::GameFixture(const std::string& config_json, const std::string& levels_json, bool windowed) {
    if (!config_json.empty()) dir.write("config.json", config_json);
    if (!levels_json.empty()) dir.write("levels.json", levels_json);
    game = std::make_unique<Game>(GameOptions{!windowed, kTestSeeds, ""});
}

std::string fileContents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string shippedData(const std::string& name) { return fileContents(TARVEX_SOURCE_DIR "/data/" + name); }

int runCommand(const std::string& command) {
    int status = std::system(command.c_str());
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}
