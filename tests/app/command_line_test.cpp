#include "app/command_line.h"
#include "support.h"

#include <sstream>

namespace {
struct Outcome {
    CommandLine line;
    std::string out, errors;
};

Outcome run(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "tarvex");
    std::ostringstream out, errors;
    return {runCommandLine(int(arguments.size()), arguments.data(), out, errors), out.str(), errors.str()};
}
}  // namespace

TEST(CommandLine, HelpVersionAndRefusals) {
    EXPECT_EQ(run({}).line.exit_status, std::nullopt);  // no option starts the game
    EXPECT_TRUE(run({"--fps-log"}).line.fps_log && !run({"--fps-log"}).line.exit_status);
    EXPECT_EQ(run({"--fps-log", "x"}).line.exit_status, 2);
    for (const char* help : {"--help", "-h"}) {
        Outcome outcome = run({help});
        EXPECT_EQ(outcome.line.exit_status, 0);
        EXPECT_EQ(outcome.out.rfind("Usage: tarvex [OPTION]\n", 0), 0u);
        EXPECT_NE(outcome.out.find("--check-data [DIR]"), std::string::npos);
    }
    for (const char* version : {"--version", "-V"}) EXPECT_EQ(run({version}).out, "tarvex " TARVEX_VERSION_TEXT "\n");
    Outcome unknown = run({"--fly"});
    EXPECT_EQ(unknown.line.exit_status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.errors, "tarvex: unrecognised option '--fly'\nTry 'tarvex --help' for more information.\n");
    EXPECT_EQ(run({"--check-data", "a", "b"}).line.exit_status, 2);
}

// --host and --join open the lobby; either may come with --fps-log, never with the other.
TEST(CommandLine, HostAndJoinOpenTheLobby) {
    EXPECT_EQ(run({"--host"}).line.host_port, 55003);
    EXPECT_EQ(run({"--host", "56000", "--fps-log"}).line.host_port, 56000);
    Outcome joining = run({"--fps-log", "--join", "gamebox.lan:55010"});
    EXPECT_EQ(joining.line.join_address, "gamebox.lan:55010");
    EXPECT_TRUE(joining.line.fps_log && !joining.line.exit_status && !joining.line.host_port);
    EXPECT_EQ(joining.errors, "");
    const std::pair<std::vector<const char*>, const char*> refused[] = {
        {{"--join"}, "tarvex: --join needs an address: --join ADDRESS[:PORT]\n"},
        {{"--join", "a:0"}, "tarvex: 'a:0' is no address: --join ADDRESS[:PORT]\n"},
        {{"--host", "70000"}, "tarvex: '70000' is no port: --host [PORT]\n"},
        {{"--host", "--join", "a"}, "tarvex: --host and --join go alone, once\n"},
    };
    for (const auto& [arguments, complaint] : refused) {
        Outcome refusal = run(arguments);
        EXPECT_EQ(refusal.line.exit_status, 2) << complaint;
        EXPECT_EQ(refusal.errors, std::string(complaint) + "Try 'tarvex --help' for more information.\n");
    }
    EXPECT_NE(run({"--help"}).out.find("  --join ADDRESS[:PORT]\n"), std::string::npos);
}

// --lang stands anywhere beside the options that play; only en and zh, and once.
TEST(CommandLine, LangChoosesTheLanguageOfOneRun) {
    Outcome english = run({"--host", "56000", "--lang", "en"});
    EXPECT_EQ(
        std::make_tuple(english.line.language, english.line.host_port, english.line.exit_status),
        std::make_tuple(std::optional<std::string>("en"), std::optional<unsigned short>(56000), std::optional<int>()));
    EXPECT_EQ(run({"--lang", "zh", "--replay", "/nonexistent.tvxreplay"}).line.exit_status, 2);  // the replay is read
    EXPECT_EQ(run({"--lang", "zh"}).line.language, "zh");
    for (auto arguments : {std::vector<const char*>{"--lang"}, {"--lang", "fr"}, {"--lang", "--host"}})
        EXPECT_EQ(run(arguments).errors, "tarvex: --lang takes en or zh\nTry 'tarvex --help' for more information.\n");
    EXPECT_EQ(run({"--lang", "en", "--lang", "zh"}).line.exit_status, 2);
}

// The three answer without a display or a sound device: the real binary with no X display.
// (Through a POSIX shell; under Wine the Windows exe is driven end to end instead.)
#ifndef _WIN32
TEST(CommandLine, TheRealBinaryAnswersWithoutADisplay) {
    TempDir dir({{"levels.json", R"({"levels": [{"faction": "Grey"}]})"}});
    const std::string binary = "env -u DISPLAY '" TARVEX_BINARY "'";
    EXPECT_EQ(runCommand(binary + " --version > version.txt"), 0);
    EXPECT_EQ(runCommand(binary + " --help > /dev/null"), 0);
    EXPECT_EQ(runCommand(binary + " --check-data '" TARVEX_SOURCE_DIR "/data' > shipped.txt"), 0);
    EXPECT_EQ(runCommand(binary + " --check-data > here.txt"), 1);
    EXPECT_EQ(runCommand("grep -qx 'tarvex " TARVEX_VERSION_TEXT "' version.txt"), 0);
    EXPECT_EQ(runCommand("grep -q '^No problems found in ' shipped.txt"), 0);
    // Without DIR the game's own lookup: levels.json here, config.json beside the binary.
    EXPECT_EQ(runCommand("grep -qx 'levels.json:1:25: faction \"Grey\" is none of .*' here.txt"), 0);
}
#endif
