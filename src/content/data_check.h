#pragma once
#include "content/json_positions.h"

#include <ostream>
#include <string>
#include <vector>

// One mistake in a data file, at the key or value it concerns.
struct DataProblem {
    TextPosition at;
    std::string message;
};

// The mistakes of one file's text: syntax, keys the game never reads, wrong types and
// values no game rule can use.
std::vector<DataProblem> checkConfigText(const std::string& text);
std::vector<DataProblem> checkLevelsText(const std::string& text);

// `tarvex --check-data [DIR]`: checks config.json and levels.json in directory, or where
// the game would load them when directory is empty. Prints "file:line:column: message"
// per problem and a summary; returns 0 when both files are clean, else 1.
int checkDataFiles(const std::string& directory, std::ostream& out);
