#pragma once
#include <optional>
#include <ostream>

// The options that answer without starting the game (--help, --version, --check-data)
// and those that are refused. Returns the exit status when the program should end
// there, nothing when the game should start. None of them opens a window or a sound device.
std::optional<int> runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& errors);
