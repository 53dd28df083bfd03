#include "support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <unistd.h>

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
const std::set<std::string> kAlwaysThere = {"sh", "cd", "exec", "rm", "cp", "mkdir", "sleep", "cat", "kill",
                                            "test", "echo", "true", "env", "mv", "ls", "timeout", "id", "grep"};

std::string readFile(const fs::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::set<std::string> listedPackages() {
    std::string script = readFile(TARVEX_SOURCE_DIR "/scripts/install-deps.sh");
    std::smatch found;
    std::set<std::string> packages;
    if (!std::regex_search(script, found, std::regex("packages=\"([^\"]*)\""))) return packages;
    std::istringstream words(found[1].str());
    for (std::string word; words >> word;) packages.insert(word);
    return packages;
}

bool onPath(const std::string& program) {
    std::istringstream dirs(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    return false;
}

// The first word of each command in a shell text (split at ; & | and line ends),
// leaving out variable settings.
void addCommandWords(const std::string& shell, std::set<std::string>& programs) {
    static const std::regex segment("[^;&|\\n]+");
    static const std::regex first_word("^\\s*(?:\\w+=\\S*\\s+)*([A-Za-z][\\w.+-]*)");
    for (auto it = std::sregex_iterator(shell.begin(), shell.end(), segment); it != std::sregex_iterator(); ++it) {
        std::smatch word;
        std::string text = it->str();
        if (std::regex_search(text, word, first_word)) programs.insert(word[1]);
    }
}

// The shell commands the suite runs: the string literals of each runCommand, capture
// or system call (a non-literal part, such as a window id, stands as "_"), and
// the COMMAND lines and shell snippets of the test build.
std::set<std::string> programsTheSuiteStarts() {
    std::set<std::string> programs;
    static const std::regex call("(?:runCommand|capture|system)\\(((?:[^;]|\"[^\"]*\")*?)\\);");
    static const std::regex literal("\"((?:[^\"\\\\]|\\\\.)*)\"");
    for (const auto& entry : fs::recursive_directory_iterator(TARVEX_SOURCE_DIR "/tests")) {
        if (entry.path().extension() != ".cpp") continue;
        std::string source = readFile(entry.path());
        for (auto it = std::sregex_iterator(source.begin(), source.end(), call); it != std::sregex_iterator(); ++it) {
            std::string arguments = (*it)[1], shell;
            for (auto part = std::sregex_iterator(arguments.begin(), arguments.end(), literal);
                 part != std::sregex_iterator(); ++part)
                shell += (*part)[1].str() + "_";
            addCommandWords(shell, programs);
        }
    }
    std::string cmake = readFile(TARVEX_SOURCE_DIR "/tests/CMakeLists.txt");
    static const std::regex command_line("COMMAND\\s+(\\S+)");
    for (auto it = std::sregex_iterator(cmake.begin(), cmake.end(), command_line); it != std::sregex_iterator(); ++it)
        if ((*it)[1].str().find('$') == std::string::npos) programs.insert((*it)[1]);  // not one of our own targets
    std::smatch net;
    if (std::regex_search(cmake, net, std::regex("TARVEX_PRIVATE_NET \"([^\"]*)\""))) addCommandWords(net[1], programs);
    programs.erase("_");
    return programs;
}
}  // namespace

TEST(InstallDeps, EveryProgramTheSuiteStartsComesFromAListedPackage) {
    std::set<std::string> packages = listedPackages();
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
        EXPECT_TRUE(onPath(program)) << "'" << program << "' is not installed (package " << known->second << ")";
    }
}
