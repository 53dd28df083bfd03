#include "content/files.h"

#include "app/log.h"

#include <fstream>
#include <unistd.h>

std::string executableDir() {
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0) return "";
    std::string path(buffer, static_cast<size_t>(length));
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

bool isReadable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file.good();
}

std::string findDataFile(const std::string& name) {
    if (isReadable(name)) return name;
    std::string dir = executableDir();
    if (dir.empty()) return name;
    for (const std::string& candidate : {dir + name, dir + "../share/tarvex/" + name})
        if (isReadable(candidate)) return candidate;
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
