#include "content/key_names.h"
#include "content/places.h"
#include "content/settings.h"
#include "support.h"

#include <filesystem>
#include <fstream>
#include <map>

namespace {
// settings.json as a player's hand (or another program) left it.
std::string writeSettingsFile(const std::string& text) {
    const std::string file = settingsFile();
    std::filesystem::create_directories(std::filesystem::u8path(file).parent_path());
    std::ofstream(std::filesystem::u8path(file), std::ios::binary) << text;
    return file;
}
}  // namespace

TEST(Settings, KeptInTheConfigFolderOnEachPlatform) {
    auto folderOf = [](Platform platform, std::map<std::string, std::string> variables) {
        return userConfigFolder(platform, [&](const char* name) { return variables[name]; });
    };
    EXPECT_EQ(folderOf(Platform::gnu_linux, {{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/p"}}), "/cfg/tarvex/");
    EXPECT_EQ(folderOf(Platform::gnu_linux, {{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/p"}}), "/home/p/.config/tarvex/");
    EXPECT_EQ(folderOf(Platform::windows, {{"APPDATA", "C:\\Users\\p\\AppData\\Roaming"}}),
              "C:\\Users\\p\\AppData\\Roaming\\tarvex\\");
}

TEST(Settings, EveryValueRoundTripsThroughTheFile) {
    TempDir dir;
    Settings set;
    set.language = "en";
    set.music_volume = 0;
    set.effects_volume = 37;
    set.fullscreen = set.vsync = set.faction_marks = true;
    set.frame_limit = 144;
    bindKey(set, SpawnLane0, sf::Keyboard::Key::Numpad1);
    bindKey(set, OverlayKey, sf::Keyboard::Key::Semicolon);  // the fourth upgrade's: it takes F3
    EXPECT_EQ(set.keys[OpponentUpgrade4], sf::Keyboard::Key::F3);
    const std::string file = settingsFile();
    ASSERT_EQ(file.rfind(dir.path(), 0), 0u);  // the test's own
    ASSERT_EQ(saveSettings(file, set), "");
    Settings read = loadSettings(file);
    EXPECT_EQ(settingsJson(read), settingsJson(set));
    EXPECT_EQ(settingsJson(read)["keys"]["spawn_lane_0"], "Numpad1");
}

TEST(Settings, WithoutAFileTheConfigsVolumesAndTheGamesKeysHold) {
    TempDir dir({{"config.json", R"({"audio": {"music_volume": 30, "effects_volume": 80}})"}});
    Settings read = loadSettings(settingsFile());
    EXPECT_EQ(read.music_volume, 30);
    EXPECT_EQ(read.effects_volume, 80);
    EXPECT_EQ(settingsJson(read)["keys"]["opponent_upgrade_4"], "Semicolon");
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
}

TEST(Settings, ABrokenOrHostileFileIsMovedAsideAndTheDefaultsUsed) {
    const std::pair<std::string, std::string> files[] = {
        {"{\"music_volume\": 4", "not JSON"},
        {"[1, 2]", "not a JSON object"},
        {R"({"music_volume": 150})", "\"music_volume\" is not a whole number from 0 to 100"},
        {R"({"effects_volume": 50.5})", "\"effects_volume\" is not a whole number from 0 to 100"},
        {R"({"language": "fr"})", "\"language\" is neither \"zh\" nor \"en\""},
        {R"({"vsync": "yes"})", "\"vsync\" is not true or false"},
        {R"({"frame_limit": 75})", "\"frame_limit\" is not 0, 60, 120, 144 or 240"},
        {R"({"keys": {"spawn_lane_0": "Banana"}})", "\"keys\": \"spawn_lane_0\" names no key"},
        {R"({"keys": {"launch_missiles": "Q"}})", "\"keys\" names no action \"launch_missiles\""},
        {R"({"keys": {"spawn_lane_0": "W"}})", "\"keys\": spawn_lane_0 and spawn_lane_1 share a key"},
        {std::string(70000, ' ') + "{}", "larger than 65536 bytes, or unreadable"},
    };
    for (const auto& [text, why] : files) {
        TempDir dir;
        const std::string file = writeSettingsFile(text);
        std::string log = stdoutOf([&] { EXPECT_EQ(settingsJson(loadSettings(file)), settingsJson(defaultSettings())); });
        EXPECT_EQ(log, "⚠️ 设置文件无法使用（" + why + "），已移至 " + file + ".bad，使用默认设置\n");
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_EQ(fileContents(file + ".bad"), text);
    }
    // Keys a later version may write are left alone, and the file is kept.
    TempDir dir;
    writeSettingsFile(R"({"music_volume": 12, "colour_blind_palette": 2})");
    EXPECT_EQ(loadSettings(settingsFile()).music_volume, 12);
    EXPECT_TRUE(std::filesystem::exists(settingsFile()));
}
