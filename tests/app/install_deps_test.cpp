#include "support.h"

#include <filesystem>
#include <map>
#include <regex>

// Every program the scripts and the suite start must come from a package that
// scripts/install-deps.sh installs: on a fresh machine nothing else is there.
namespace {
const std::map<std::string, std::string> kPackageOf = {
    {"cmake", "cmake"},         {"ctest", "cmake"},         {"ninja", "ninja-build"},
    {"c++", "build-essential"}, {"clang++", "clang"},       {"pkg-config", "pkg-config"},
    {"xvfb-run", "xvfb"},       {"Xvfb", "xvfb"},           {"xauth", "xauth"},
    {"xdotool", "xdotool"},     {"unshare", "util-linux"},  {"ip", "iproute2"},
    {"cpack", "cmake"},         {"lintian", "lintian"},     {"desktop-file-validate", "desktop-file-utils"},
    {"appstreamcli", "appstream"},
};
// What only the Windows leg starts, from the packages "scripts/install-deps.sh windows" adds.
const std::map<std::string, std::string> kWindowsPackageOf = {{"wine", "wine"}, {"wineserver", "wine"}};
// Shell built-ins and programs of Debian's essential packages, on every machine.
const std::set<std::string> kAlwaysThere = {"sh", "cd", "exec", "rm", "cp", "mkdir", "sleep", "cat", "kill", "test",
                                            "echo", "true", "env", "mv", "ls", "timeout", "id", "grep", "command",
                                            "dpkg"};

// The given group of every match of the pattern in the text.
std::vector<std::string> matches(const std::string& text, const std::string& pattern, int group = 1) {
    std::vector<std::string> found;
    std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[group]);
    return found;
}
}  // namespace

TEST(InstallDeps, EveryProgramTheSuiteStartsComesFromAListedPackage) {
    // The suite's shell text: the string literals of each runCommand, capture or system call
    // (a non-literal part, such as a window id, stands as "_"), and the test build's COMMAND
    // lines and shell snippets (not those that start one of our own targets).
    std::string shell;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TARVEX_SOURCE_DIR "/tests"))
        if (entry.path().extension() == ".cpp")
            for (const std::string& call : matches(fileContents(entry.path()),
                                                   "(?:runCommand|capture|system)\\(((?:[^;]|\"[^\"]*\")*?)\\);")) {
                for (const std::string& literal : matches(call, "\"((?:[^\"\\\\]|\\\\.)*)\"")) shell += literal + "_";
                shell += "\n";
            }
    std::string cmake = fileContents(TARVEX_SOURCE_DIR "/tests/CMakeLists.txt");
    for (const std::string& program : matches(cmake, "COMMAND\\s+([^$\\s]+)\\s")) shell += program + "\n";
    for (const std::string& snippet : matches(cmake, "TARVEX_PRIVATE_NET \"([^\"]*)\"")) shell += snippet + "\n";
    // The first word of each command (split at ; & | and line ends), past variable settings.
    std::set<std::string> programs;
    for (const std::string& command : matches(shell, "[^;&|\\n]+", 0))
        for (const std::string& word : matches(command, "^\\s*(?:\\w+=\\S*\\s+)*([A-Za-z][\\w.+-]*)"))
            programs.insert(word);
    for (const char* expected : {"xdotool", "unshare", "ip"})
        EXPECT_TRUE(programs.count(expected)) << "the scan of the suite's commands missed " << expected;
    for (const std::string& program : programs)
        EXPECT_TRUE(kAlwaysThere.count(program) || kPackageOf.count(program) || kWindowsPackageOf.count(program))
            << "the suite starts '" << program << "': add it and its package to this test and to scripts/install-deps.sh";

    const std::string script = fileContents(TARVEX_SOURCE_DIR "/scripts/install-deps.sh");
    const std::vector<std::string> lists = matches(script, "packages=\"([^\"]*)\"");
    const std::vector<std::string> windows_lists = matches(script, "for_windows=\"([^\"]*)\"");
    ASSERT_EQ(windows_lists.size(), 1u) << "no Windows package list in scripts/install-deps.sh";
    const std::vector<std::string> windows_words = matches(windows_lists[0], "(\\S+)");
    for (const auto& [program, package] : kWindowsPackageOf)
        EXPECT_TRUE(std::count(windows_words.begin(), windows_words.end(), package))
            << "'" << program << "' comes from package " << package << ", which \"install-deps.sh windows\" does not install";
    ASSERT_EQ(lists.size(), 1u) << "no package list in scripts/install-deps.sh";
    const std::vector<std::string> words = matches(lists[0], "(\\S+)");
    const std::set<std::string> packages(words.begin(), words.end());
    for (const auto& [program, package] : kPackageOf) {  // the suite's and the scripts' own
        EXPECT_TRUE(packages.count(package))
            << "'" << program << "' comes from package " << package << ", which scripts/install-deps.sh does not install";
        EXPECT_EQ(runCommand("command -v '" + program + "' > /dev/null"), 0)
            << "'" << program << "' is not installed (package " << package << ")";
    }
}
