#pragma once
#include <string>

// The game opens its files by bare name in the working directory; when a file is not
// there it is looked for beside the executable, then on Linux in ../share/tarvex from it
// (the installed layout), so the game can be started from anywhere (content/places.h).
// Returns the path to open (the bare name when no place has the file).
std::string findDataFile(const std::string& name);

// Whether a file exists there and can be opened for reading.
bool isReadable(const std::string& path);
// Says on standard output where config.json and levels.json were found, or that the
// built-in defaults stand in for one.
void logDataFiles();
