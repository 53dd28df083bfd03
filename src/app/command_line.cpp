#include "app/command_line.h"
#include "content/data_check.h"

#include <string>

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
    "  -h, --help          show this help and exit\n"
    "  -V, --version       show the version and exit\n"
    "\n"
    "In the game: Q, W, E send units; M turns the music off and on; F11 switches fullscreen.\n"
#ifdef _WIN32
    "Progress is kept in %APPDATA%\\tarvex\\progress.json.\n";
#else
    "Progress is kept in $XDG_DATA_HOME/tarvex/progress.json (else ~/.local/share/tarvex/).\n";
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

CommandLine runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& errors) {
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
    if (option == "--fps-log") {
        if (argc > 2) return refuse(errors, "--fps-log takes no argument");
        CommandLine line;
        line.fps_log = true;
        return line;
    }
    return refuse(errors, "unrecognised option '" + option + "'");
}
