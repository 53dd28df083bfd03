#pragma once
#include <functional>
#include <string>
#include <vector>

// Every folder the game reads from or keeps the player's files in that is not its working
// directory differs between Linux and Windows; this is the one place that knows them.
// The rules take the environment as a function, so both platforms' rules can be checked
// on either.

enum class Platform { gnu_linux, windows };
#ifdef _WIN32
constexpr Platform kThisPlatform = Platform::windows;
#else
constexpr Platform kThisPlatform = Platform::gnu_linux;
#endif

// An environment variable's value, "" when it is unset.
using Environment = std::function<std::string(const char* variable)>;
std::string processEnvironment(const char* variable);

// The folder the player's files are kept in, ending in a separator; "" when there is none.
//   Linux:   $XDG_DATA_HOME/tarvex/, else $HOME/.local/share/tarvex/ (relative values are
//            ignored, as the XDG base directory rules say)
//   Windows: %APPDATA%\tarvex\ (the roaming profile, where Windows games keep saves)
std::string userDataFolder(Platform platform, const Environment& environment);
std::string userDataFolder();
// The folder the player's settings are kept in, ending in a separator; "" when there is none.
//   Linux:   $XDG_CONFIG_HOME/tarvex/, else $HOME/.config/tarvex/
//   Windows: %APPDATA%\tarvex\ (beside the saves)
std::string userConfigFolder(Platform platform, const Environment& environment);
std::string userConfigFolder();
// A file of that name in the user's data folder; "" when there is no such folder.
std::string userDataFile(const std::string& name);
// Why userDataFolder is "", for the log.
const char* noUserDataFolderReason(Platform platform);

// Where a data file the game opens by name is looked for, in order: the working directory,
// beside the game, and on Linux ../share/tarvex from it (the installed layout).
std::vector<std::string> dataFilePlaces(Platform platform, const std::string& name,
                                        const std::string& executable_folder);

// The fonts tried, in order, when "msyh.ttc" is in none of the data file places:
//   Linux:   the free CJK fonts Debian installs (fonts-noto-cjk, fonts-wqy-microhei)
//   Windows: the system's own Microsoft YaHei (%WINDIR%\Fonts\msyh.ttc), then the free
//            CJK font the Windows zip carries beside the game
std::vector<std::string> fallbackFonts(Platform platform, const Environment& environment,
                                       const std::string& executable_folder);
std::vector<std::string> fallbackFonts();

// The fonts of the pictographs the CJK fonts lack (the results' trophy and skull), in order:
//   Linux:   Debian's Symbola (fonts-symbola)
//   Windows: the system's Segoe UI Symbol, then the Symbola the Windows zip carries
std::vector<std::string> symbolFonts(Platform platform, const Environment& environment,
                                     const std::string& executable_folder);
std::vector<std::string> symbolFonts();

// The font files the Windows zip carries: WenQuanYi Micro Hei (Apache-2.0) and Symbola
// (free for any use).
inline const char* const kShippedFontFile = "wqy-microhei.ttc";
inline const char* const kShippedSymbolFontFile = "Symbola_hint.ttf";

// The running executable's folder, ending in a separator ("" when unknown).
std::string executableDir();
