#pragma once
#include <optional>
#include <ostream>
#include <string>

// What the command line asks of the program.
struct CommandLine {
    // The program ends here with this status: the options that answer without starting
    // the game (--help, --version, --check-data, none of which opens a window or a sound
    // device), and those that are refused.
    std::optional<int> exit_status;
    bool fps_log = false;  // --fps-log: the game logs its frame rate once a second
    // --host [PORT]: straight into the LAN lobby, hosting from this port on.
    std::optional<unsigned short> host_port;
    // --join ADDRESS[:PORT]: straight into the LAN lobby, joining this address.
    std::optional<std::string> join_address;
    // --replay FILE: straight into watching this replay.
    std::optional<std::string> replay_file;
    // --lang en|zh, beside any of the options that play: the language of this run alone.
    std::optional<std::string> language;
};

CommandLine runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& errors);
