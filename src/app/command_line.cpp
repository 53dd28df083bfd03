#include "app/command_line.h"
#include "app/balance_lab.h"
#include "app/replay_play.h"
#include "content/data_check.h"
#include "content/texts.h"
#include "net/address.h"

#include <string>
#include <vector>

#ifndef TARVEX_VERSION
#define TARVEX_VERSION "unknown"
#endif

namespace {
const char kUsage[] =
    "Usage: tarvex [OPTION]\n"
    "A real-time lane battle for one player against the computer, or two on a local network.\n"
    "\n"
    "Options:\n"
    "  --check-data [DIR]  check config.json and levels.json (in DIR, else where the game\n"
    "                      would load them) and print one line per problem as\n"
    "                      file:line:column: message; exit status 0 when clean, 1 otherwise\n"
    "  --fps-log           play, printing frames per second and frame times once a second\n"
    "  --host [PORT]       open the network lobby hosting a match, listening on PORT\n"
    "                      (55003 unless given) or the next free port after it\n"
    "  --join ADDRESS[:PORT]\n"
    "                      open the network lobby and join the match hosted at ADDRESS,\n"
    "                      a name or an IPv4 address (port 55003 unless given)\n"
    "  --replay FILE       watch a recorded match: Space pauses, 1 to 4 play at 1x, 2x,\n"
    "                      4x and 8x, Esc leaves\n"
    "  --verify-replay FILE\n"
    "                      play a recorded match without a window at full speed and\n"
    "                      check it against its digests; exit status 0 when every digest\n"
    "                      matches, 1 when the battle diverged, 2 when the file is refused\n"
    "  --simulate [--levels 1-10] [--factions red,yellow,blue,purple,white]\n"
    "             [--strategies spam,balanced,eco] [--runs K] [--seed S] [--json FILE]\n"
    "             [--record DIR]\n"
    "                      play the levels without a window as scripted players, K matches\n"
    "                      each (10 unless given), and print wins, mean length and the\n"
    "                      lowest money; the same seed gives the same table; with --record\n"
    "                      every match is kept in DIR as a replay\n"
    "  --lang en|zh        show the game in English or Chinese for this run, whatever the\n"
    "                      settings say (beside any option that plays)\n"
    "  -h, --help          show this help and exit\n"
    "  -V, --version       show the version and exit\n"
    "\n"
    "In the game: Q, W, E send units; M turns the music off and on; F11 switches fullscreen.\n"
#ifdef _WIN32
    "Progress is kept in %APPDATA%\\tarvex\\progress.json, replays in %APPDATA%\\tarvex\\replays\\.\n";
#else
    "Progress is kept in $XDG_DATA_HOME/tarvex/progress.json (else ~/.local/share/tarvex/),\n"
    "replays in replays/ beside it.\n";
#endif

CommandLine exitWith(int status) {
    CommandLine line;
    line.exit_status = status;
    return line;
}

CommandLine refuse(std::ostream& errors, const std::string& complaint) {
    errors << "tarvex: " << complaint << "\nTry 'tarvex --help' for more information.\n";
    return exitWith(2);
}
}  // namespace

namespace {
CommandLine runWithoutLanguage(int argc, const char* const* argv, std::ostream& out, std::ostream& errors);
}  // namespace

// "--lang CODE" may stand anywhere; the rest is read as if it were not there.
CommandLine runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& errors) {
    std::vector<const char*> rest(argv, argv + argc);
    std::optional<std::string> language;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        if (std::string(rest[i]) != "--lang") continue;
        if (language) return refuse(errors, "--lang goes once");
        if (i + 1 >= rest.size() || !isLanguage(rest[i + 1])) return refuse(errors, "--lang takes en or zh");
        language = rest[i + 1];
        rest.erase(rest.begin() + std::ptrdiff_t(i), rest.begin() + std::ptrdiff_t(i) + 2);
        --i;
    }
    CommandLine line = runWithoutLanguage(int(rest.size()), rest.data(), out, errors);
    line.language = language;
    return line;
}

namespace {
CommandLine runWithoutLanguage(int argc, const char* const* argv, std::ostream& out, std::ostream& errors) {
    if (argc < 2) return {};
    std::string option = argv[1];
    if (option == "-h" || option == "--help") {
        out << kUsage;
        return exitWith(0);
    }
    if (option == "-V" || option == "--version") {
        out << "tarvex " << TARVEX_VERSION << "\n";
        return exitWith(0);
    }
    if (option == "--check-data") {
        if (argc > 3) return refuse(errors, "--check-data takes at most one directory");
        return exitWith(checkDataFiles(argc == 3 ? argv[2] : "", out));
    }
    if (option == "--simulate") {
        std::string why = simulateFromCommandLine(std::vector<std::string>(argv + 2, argv + argc), out, errors);
        return why.empty() ? exitWith(0) : refuse(errors, "--simulate: " + why);
    }
    if (option == "--replay") {
        if (argc != 3) return refuse(errors, "--replay takes one replay file");
        Replay replay;
        if (std::string why = loadReplay(argv[2], replay); !why.empty()) {
            errors << "replay refused: " << argv[2] << ": " << why << "\n";
            return exitWith(2);
        }
        CommandLine line;
        line.replay_file = argv[2];
        return line;
    }
    if (option == "--verify-replay") {
        if (argc != 3) return refuse(errors, "--verify-replay takes one replay file");
        ReplayVerdict verdict = verifyReplay(argv[2]);
        (verdict.status == 2 ? errors : out) << verdict.line << "\n";
        return exitWith(verdict.status);
    }
    // The options that play go together: --fps-log with one way into the lobby.
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        option = argv[i];
        bool has_value = i + 1 < argc && argv[i + 1][0] != '-';
        if (option == "--fps-log") {
            line.fps_log = true;
        } else if (option == "--host" || option == "--join") {
            if (line.host_port || line.join_address) return refuse(errors, "--host and --join go alone, once");
            if (option == "--join") {
                if (!has_value) return refuse(errors, "--join needs an address: --join ADDRESS[:PORT]");
                if (!parseAddress(argv[i + 1]))
                    return refuse(errors, std::string("'") + argv[i + 1] + "' is no address: --join ADDRESS[:PORT]");
                line.join_address = argv[++i];
                continue;
            }
            line.host_port = kDefaultGamePort;
            if (!has_value) continue;
            line.host_port = parsePort(argv[i + 1]);
            if (!line.host_port) return refuse(errors, std::string("'") + argv[i + 1] + "' is no port: --host [PORT]");
            ++i;
        } else {
            return refuse(errors, "unrecognised option '" + option + "'");
        }
    }
    return line;
}
}  // namespace
