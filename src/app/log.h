#pragma once
#include <sstream>
#include <string>

// Writes one diagnostic line to standard output in a single write and flushes it, so
// a pipe or a log file shows it at once and lines from the network threads never mix.
void writeLogLine(const std::string& line);

template <typename... Parts>
void logLine(const Parts&... parts) {
    std::ostringstream line;
    (line << ... << parts);
    writeLogLine(line.str());
}
