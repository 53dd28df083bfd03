#include "content/files.h"

#include "app/log.h"
#include "content/places.h"

#include <fstream>

bool isReadable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file.good();
}

std::string findDataFile(const std::string& name) {
    for (const std::string& place : dataFilePlaces(kThisPlatform, name, executableDir()))
        if (isReadable(place)) return place;
    return name;
}

void logDataFiles() {
    for (const char* name : {"config.json", "levels.json"}) {
        std::string path = findDataFile(name);
        if (isReadable(path))
            logLine("Data file ", name, ": ", path);
        else
            logLine("Data file ", name, ": not found, using the built-in defaults");
    }
}
