#include "media.h"

bool writeSounds(const std::string& directory) {
    (void)directory;
    return true;
}
