#include "content/places.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {
bool isAbsolute(Platform platform, const std::string& path) {
    if (platform == Platform::gnu_linux) return !path.empty() && path[0] == '/';
    // C:\… or a network share \\server\…
    return (path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
           (path.size() > 1 && (path[0] == '\\' || path[0] == '/') && path[0] == path[1]);
}

char separatorOf(Platform platform) { return platform == Platform::windows ? '\\' : '/'; }

std::string withSeparator(Platform platform, std::string folder) {
    char separator = separatorOf(platform);
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += separator;
    return folder;
}
}  // namespace

std::string processEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    return value ? value : "";
}

namespace {
// $variable/tarvex/, else $HOME/under_home/tarvex/; a relative value is ignored, as the XDG
// base directory rules say.
std::string xdgFolder(Platform platform, const Environment& environment, const char* variable,
                      const char* under_home) {
    std::string folder = environment(variable);
    if (!isAbsolute(platform, folder)) {
        std::string home = environment("HOME");
        if (!isAbsolute(platform, home)) return "";
        folder = withSeparator(platform, home) + under_home;
    }
    return withSeparator(platform, folder) + "tarvex/";
}
}  // namespace

std::string userDataFolder(Platform platform, const Environment& environment) {
    if (platform == Platform::windows) {
        std::string app_data = environment("APPDATA");
        return isAbsolute(platform, app_data) ? withSeparator(platform, app_data) + "tarvex\\" : "";
    }
    return xdgFolder(platform, environment, "XDG_DATA_HOME", ".local/share");
}

std::string userDataFolder() { return userDataFolder(kThisPlatform, processEnvironment); }

std::string userConfigFolder(Platform platform, const Environment& environment) {
    if (platform == Platform::windows) return userDataFolder(platform, environment);
    return xdgFolder(platform, environment, "XDG_CONFIG_HOME", ".config");
}

std::string userConfigFolder() { return userConfigFolder(kThisPlatform, processEnvironment); }

const char* noUserDataFolderReason(Platform platform) {
    return platform == Platform::windows ? "APPDATA names no folder" : "neither XDG_DATA_HOME nor HOME is set";
}

std::vector<std::string> dataFilePlaces(Platform platform, const std::string& name,
                                        const std::string& executable_folder) {
    if (executable_folder.empty()) return {name};
    std::string folder = withSeparator(platform, executable_folder);
    if (platform == Platform::windows) return {name, folder + name};
    return {name, folder + name, folder + "../share/tarvex/" + name};
}

namespace {
// Windows' own font of that name, then the one shipped beside the game.
std::vector<std::string> windowsFonts(const Environment& environment, const std::string& executable_folder,
                                      const char* system_font, const char* shipped_font) {
    std::vector<std::string> fonts;
    std::string windows = environment("WINDIR");
    if (windows.empty()) windows = environment("SystemRoot");
    if (isAbsolute(Platform::windows, windows))
        fonts.push_back(withSeparator(Platform::windows, windows) + "Fonts\\" + system_font);
    if (!executable_folder.empty()) fonts.push_back(withSeparator(Platform::windows, executable_folder) + shipped_font);
    return fonts;
}
}  // namespace

std::vector<std::string> fallbackFonts(Platform platform, const Environment& environment,
                                       const std::string& executable_folder) {
    if (platform == Platform::gnu_linux)
        return {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
                "/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc",
                "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"};
    return windowsFonts(environment, executable_folder, "msyh.ttc", kShippedFontFile);
}

std::vector<std::string> symbolFonts(Platform platform, const Environment& environment,
                                     const std::string& executable_folder) {
    if (platform == Platform::gnu_linux) return {"/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"};
    return windowsFonts(environment, executable_folder, "seguisym.ttf", kShippedSymbolFontFile);
}

std::vector<std::string> symbolFonts() { return symbolFonts(kThisPlatform, processEnvironment, executableDir()); }

std::vector<std::string> fallbackFonts() {
    return fallbackFonts(kThisPlatform, processEnvironment, executableDir());
}

std::string executableDir() {
#ifdef _WIN32
    // The ANSI form, as the standard library's file streams open narrow names in it.
    char buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, buffer, DWORD(sizeof(buffer)));
    if (length == 0 || length >= sizeof(buffer)) return "";
#else
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0) return "";
#endif
    std::string path(buffer, static_cast<size_t>(length));
    size_t separator = path.find_last_of(kThisPlatform == Platform::windows ? "\\/" : "/");
    return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

std::string userDataFile(const std::string& name) {
    std::string folder = userDataFolder();
    return folder.empty() ? "" : folder + name;
}
