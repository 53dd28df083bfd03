#include "support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>

// Every program the scripts and the suite start must come from a package that
// scripts/install-deps.sh installs: on a fresh machine nothing else is there.
namespace {
namespace fs = std::filesystem;

// Where each outside program comes from.
const std::map<std::string, std::string> kPackageOf = {
    {"cmake", "cmake"},         {"ctest", "cmake"},         {"ninja", "ninja-build"},
    {"c++", "build-essential"}, {"clang++", "clang"},       {"pkg-config", "pkg-config"},
    {"xvfb-run", "xvfb"},       {"Xvfb", "xvfb"},           {"xauth", "xauth"},
    {"xdotool", "xdotool"},     {"import", "imagemagick"},  {"unshare", "util-linux"},
    {"ip", "iproute2"},
};
// Shell built-ins and programs of Debian's essential packages, on every machine.
const std::set<std::string> kAlwaysThere = {"sh", "cd", "exec", "rm", "cp", "mkdir", "sleep", "cat", "kill", "test",
                                            "echo", "true", "env", "mv", "ls", "timeout", "id", "grep", "command"};

std::string readFile(const fs::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The given group of every match of the pattern in the text.
std::vector<std::string> matches(const std::string& text, const std::string& pattern, int group = 1) {
    std::vector<std::string> found;
    std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[group]);
    return found;
}

// The first word of each command in a shell text (split at ; & | and line ends),
// leaving out variable settings.
void addCommandWords(const std::string& shell, std::set<std::string>& programs) {
    for (const std::string& command : matches(shell, "[^;&|\\n]+", 0))
        for (const std::string& word : matches(command, "^\\s*(?:\\w+=\\S*\\s+)*([A-Za-z][\\w.+-]*)"))
            programs.insert(word);
}

// The shell commands the suite runs: the string literals of each runCommand, capture
// or system call (a non-literal part, such as a window id, stands as "_"), and
// the COMMAND lines and shell snippets of the test build.
std::set<std::string> programsTheSuiteStarts() {
    std::set<std::string> programs;
    for (const auto& entry : fs::recursive_directory_iterator(TARVEX_SOURCE_DIR "/tests")) {
        if (entry.path().extension() != ".cpp") continue;
        for (const std::string& call :
             matches(readFile(entry.path()), "(?:runCommand|capture|system)\\(((?:[^;]|\"[^\"]*\")*?)\\);")) {
            std::string shell;
            for (const std::string& literal : matches(call, "\"((?:[^\"\\\\]|\\\\.)*)\"")) shell += literal + "_";
            addCommandWords(shell, programs);
        }
    }
    std::string cmake = readFile(TARVEX_SOURCE_DIR "/tests/CMakeLists.txt");
    for (const std::string& program : matches(cmake, "COMMAND\\s+(\\S+)"))
        if (program.find('$') == std::string::npos) programs.insert(program);  // not one of our own targets
    for (const std::string& shell : matches(cmake, "TARVEX_PRIVATE_NET \"([^\"]*)\"")) addCommandWords(shell, programs);
    programs.erase("_");
    return programs;
}
}  // namespace

TEST(InstallDeps, EveryProgramTheSuiteStartsComesFromAListedPackage) {
    std::vector<std::string> lists = matches(readFile(TARVEX_SOURCE_DIR "/scripts/install-deps.sh"), "packages=\"([^\"]*)\"");
    std::istringstream words(lists.empty() ? "" : lists[0]);
    const std::set<std::string> packages{std::istream_iterator<std::string>(words), {}};
    ASSERT_FALSE(packages.empty()) << "no package list in scripts/install-deps.sh";
    std::set<std::string> programs = programsTheSuiteStarts();
    for (const char* expected : {"xdotool", "import", "unshare", "ip"})
        EXPECT_TRUE(programs.count(expected)) << "the scan of the suite's commands missed " << expected;
    for (const auto& [program, package] : kPackageOf) programs.insert(program);  // the scripts' own

    for (const std::string& program : programs) {
        if (kAlwaysThere.count(program)) continue;
        auto known = kPackageOf.find(program);
        if (known == kPackageOf.end()) {
            ADD_FAILURE() << "the suite starts '" << program << "': add it and its package to this test and to "
                          << "scripts/install-deps.sh";
            continue;
        }
        EXPECT_TRUE(packages.count(known->second))
            << "'" << program << "' comes from package " << known->second << ", which scripts/install-deps.sh does not install";
        int found = runCommand("command -v '" + program + "' > /dev/null");
        EXPECT_EQ(found, 0) << "'" << program << "' is not installed (package " << known->second << ")";
    }
}
