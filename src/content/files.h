#pragma once
#include <string>

// The game opens its files by bare name in the working directory; when a file is not
// there it is also looked for beside the executable, so the game can be started from
// anywhere. Returns the path to open (the bare name when neither place has the file).
std::string findDataFile(const std::string& name);

// Whether a file exists there and can be opened for reading.
bool isReadable(const std::string& path);

// Directory of the running executable, with a trailing slash ("" when unknown).
std::string executableDir();
