#include "media.h"

#include <iostream>
#include <string>

// Writes every sound and picture the game opens by name into the given directory.
int main(int argc, char** argv) {
    std::string directory = argc > 1 ? argv[1] : ".";
    if (!directory.empty() && directory.back() != '/') directory += '/';
    bool ok = writeSounds(directory) && writePictures(directory);
    if (!ok) std::cerr << "tarvex_media: could not write the media files into " << directory << std::endl;
    return ok ? 0 : 1;
}
