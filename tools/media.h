#pragma once
#include <string>

// Each writer synthesises its files into directory (ending in '/'); false on a write failure.
bool writeSounds(const std::string& directory);
bool writePictures(const std::string& directory);
