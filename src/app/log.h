#pragma once
#include <sstream>
#include <string>

// Writes one diagnostic line to standard output in a single write and flushes it, so
// a pipe or a log file shows it at once and lines from the network threads never mix.
void writeLogLine(const std::string& line);
// The headless checkers and the balance lab print their own lines alone: the game's log
// is silent from here until it is turned back on.
void silenceLog(bool silent);

template <typename... Parts>
void logLine(const Parts&... parts) {
    std::ostringstream line;
    (line << ... << parts);
    writeLogLine(line.str());
}
