#include "content/progress.h"
#include "app/log.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <unistd.h>

using nlohmann::json;

namespace {
std::string absoluteFolder(const char* variable) {
    const char* value = std::getenv(variable);
    // A relative XDG path is to be ignored, as the XDG base directory rules say.
    return value && value[0] == '/' ? std::string(value) : std::string();
}

std::string folderOf(const std::string& file) { return file.substr(0, file.find_last_of('/')); }

// The won levels, or an error text when the file is not a progress file.
std::string readWonLevels(const std::string& text, std::set<std::string>& won) {
    try {
        json root = json::parse(text);
        if (!root.is_object()) return "not a JSON object";
        auto levels = root.find("won_levels");
        if (levels == root.end()) return "";
        if (!levels->is_array()) return "\"won_levels\" is not an array";
        for (const json& name : *levels)
            if (name.is_string()) won.insert(name.get<std::string>());
        return "";
    } catch (const json::parse_error& error) {
        return error.what();
    }
}

// Writes the text to a temporary file beside the target, flushes it to the disk and
// renames it over the target; returns an error text, "" on success.
std::string replaceFile(const std::string& file, const std::string& text) {
    std::error_code ignored;
    std::filesystem::create_directories(folderOf(file), ignored);
    std::string temporary = file + ".tmp";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return std::strerror(errno);
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t step = ::write(fd, text.data() + written, text.size() - written);
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) break;
        written += std::size_t(step);
    }
    int error = written == text.size() ? 0 : (errno ? errno : EIO);
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && std::rename(temporary.c_str(), file.c_str()) != 0) error = errno;
    if (error) {
        std::remove(temporary.c_str());
        return std::strerror(error);
    }
    // The rename itself is made durable by flushing the folder.
    int folder = ::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return "";
}
}  // namespace

std::string progressFilePath() {
    std::string data = absoluteFolder("XDG_DATA_HOME");
    if (data.empty()) {
        std::string home = absoluteFolder("HOME");
        if (home.empty()) return "";
        data = home + "/.local/share";
    }
    return data + "/tarvex/progress.json";
}

void loadProgress(Progress& progress) {
    progress.won_levels.clear();
    if (progress.file.empty()) return;
    std::ifstream stream(progress.file, std::ios::binary);
    if (!stream) return;
    std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    std::string error = readWonLevels(text, progress.won_levels);
    if (error.empty()) return;
    progress.won_levels.clear();
    std::string aside = progress.file + ".bad";
    if (std::rename(progress.file.c_str(), aside.c_str()) == 0)
        logLine("⚠️ Progress file ", progress.file, " is unreadable (", error, "); moved aside to ", aside);
    else
        logLine("⚠️ Progress file ", progress.file, " is unreadable (", error, ") and could not be moved aside: ",
                std::strerror(errno));
}

bool recordLevelWon(Progress& progress, const std::string& level_name) {
    progress.won_levels.insert(level_name);
    if (!progress.kept) return false;
    if (progress.file.empty()) {
        logLine("⚠️ Progress not saved: no data folder (neither XDG_DATA_HOME nor HOME is set)");
        return false;
    }
    json root = {{"won_levels", json(progress.won_levels)}};
    std::string error = replaceFile(progress.file, root.dump(2) + "\n");
    if (!error.empty()) {
        logLine("⚠️ Progress not saved to ", progress.file, ": ", error);
        return false;
    }
    logLine("✅ Progress saved: level won: ", level_name);
    return true;
}

bool isLevelWon(const Progress& progress, const std::string& level_name) {
    return progress.won_levels.count(level_name) > 0;
}
