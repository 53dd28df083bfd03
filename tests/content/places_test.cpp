#include "content/places.h"
#include "content/files.h"
#include "support.h"

#include <filesystem>
#include <fstream>
#include <map>

namespace {
// An environment that holds only the given variables.
Environment environmentOf(std::map<std::string, std::string> variables) {
    return [variables](const char* name) {
        auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    };
}

// Every font file the game tries, in order, as loadFont goes: "msyh.ttc" where the data
// files are looked for, then the fallbacks.
std::vector<std::string> fontSearchOrder(Platform platform, const Environment& environment,
                                         const std::string& executable_folder) {
    std::vector<std::string> order = dataFilePlaces(platform, "msyh.ttc", executable_folder);
    for (std::string& font : fallbackFonts(platform, environment, executable_folder)) order.push_back(std::move(font));
    return order;
}
}  // namespace

TEST(Places, TheUserDataFolderOnEachPlatform) {
    const std::tuple<Platform, std::map<std::string, std::string>, std::string> cases[] = {
        {Platform::gnu_linux, {{"XDG_DATA_HOME", "/data/player"}, {"HOME", "/home/player"}}, "/data/player/tarvex/"},
        {Platform::gnu_linux, {{"XDG_DATA_HOME", "/data/player/"}}, "/data/player/tarvex/"},
        // A relative XDG folder is ignored, as the XDG rules say.
        {Platform::gnu_linux, {{"XDG_DATA_HOME", "relative/data"}, {"HOME", "/home/player"}},
         "/home/player/.local/share/tarvex/"},
        {Platform::gnu_linux, {{"HOME", "/home/player"}}, "/home/player/.local/share/tarvex/"},
        {Platform::gnu_linux, {{"HOME", "home/player"}}, ""},
        {Platform::gnu_linux, {{"APPDATA", "C:\\Users\\p\\AppData\\Roaming"}}, ""},
        {Platform::windows, {{"APPDATA", "C:\\Users\\p\\AppData\\Roaming"}, {"XDG_DATA_HOME", "/data"}},
         "C:\\Users\\p\\AppData\\Roaming\\tarvex\\"},
        {Platform::windows, {{"APPDATA", "\\\\server\\profiles\\p\\"}}, "\\\\server\\profiles\\p\\tarvex\\"},
        {Platform::windows, {{"APPDATA", "Roaming"}, {"HOME", "/home/player"}}, ""},
        {Platform::windows, {}, ""},
    };
    for (const auto& [platform, variables, folder] : cases)
        EXPECT_EQ(userDataFolder(platform, environmentOf(variables)), folder) << variables.size();
    EXPECT_STREQ(noUserDataFolderReason(Platform::windows), "APPDATA names no folder");
}

TEST(Places, FontsAreTriedInTheWorkingDirectoryThenTheSystemsThenTheShippedOnes) {
    Environment windows = environmentOf({{"WINDIR", "C:\\Windows"}});
    EXPECT_EQ(fontSearchOrder(Platform::windows, windows, "D:\\Games\\tarvex\\"),
              (std::vector<std::string>{"msyh.ttc", "D:\\Games\\tarvex\\msyh.ttc", "C:\\Windows\\Fonts\\msyh.ttc",
                                        "D:\\Games\\tarvex\\wqy-microhei.ttc"}));
    // Windows names its folder SystemRoot too; with neither, the shipped font is the last hope.
    EXPECT_EQ(fallbackFonts(Platform::windows, environmentOf({{"SystemRoot", "C:\\WINNT"}}), "D:\\tarvex")[0],
              "C:\\WINNT\\Fonts\\msyh.ttc");
    EXPECT_EQ(fallbackFonts(Platform::windows, environmentOf({}), "D:\\tarvex\\"),
              std::vector<std::string>{"D:\\tarvex\\wqy-microhei.ttc"});
    EXPECT_EQ(symbolFonts(Platform::windows, windows, "D:\\tarvex\\"),
              (std::vector<std::string>{"C:\\Windows\\Fonts\\seguisym.ttf", "D:\\tarvex\\Symbola_hint.ttf"}));
    std::vector<std::string> on_linux = fontSearchOrder(Platform::gnu_linux, windows, "/opt/tarvex/");
    ASSERT_EQ(on_linux.size(), 6u);
    EXPECT_EQ(on_linux[2], "/opt/tarvex/../share/tarvex/msyh.ttc");
    EXPECT_EQ(on_linux[3], "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
}

// The search itself on this platform, with the game's and the system's folders faked: the
// first font that is there wins, and a font only in a later place is still found.
TEST(Places, TheFontSearchTakesTheFirstFontThatIsThere) {
    TempDir dir;
    namespace fs = std::filesystem;
    const std::string game = dir.path() + "/game/", windows = dir.path() + "/windows";
    fs::create_directories(game);
    fs::create_directories(windows + "/Fonts");
    Environment environment = environmentOf({{"WINDIR", windows}});
    auto chosen = [&] {
        for (const std::string& font : fontSearchOrder(kThisPlatform, environment, game))
            if (isReadable(font)) return font;
        return std::string();
    };
    std::vector<std::string> places = {"msyh.ttc", game + "msyh.ttc"};
    if (kThisPlatform == Platform::windows) {
        places.push_back(windows + "\\Fonts\\msyh.ttc");
        places.push_back(game + kShippedFontFile);
    }
    for (const std::string& place : places) std::ofstream(place) << "font";
    for (const std::string& place : places) {
        EXPECT_EQ(chosen(), place);
        fs::remove(place);
    }
    // With none of its own, Linux goes on to the system's CJK fonts, Windows to nothing.
    EXPECT_EQ(chosen().rfind("/usr/share/fonts/", 0) == 0, kThisPlatform == Platform::gnu_linux) << chosen();
}
