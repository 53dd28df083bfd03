#include "content/progress.h"
#include "app/log.h"
#include "content/durable_file.h"
#include "content/places.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {
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

}  // namespace

std::string progressFilePath() { return userDataFile("progress.json"); }

void loadProgress(Progress& progress) {
    progress.won_levels.clear();
    if (progress.file.empty()) return;
    std::string text;
    {
        // Closed before a bad file is moved aside: Windows will not move an open file.
        std::ifstream stream(progress.file, std::ios::binary);
        if (!stream) return;
        text.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }
    std::string error = readWonLevels(text, progress.won_levels);
    if (error.empty()) return;
    progress.won_levels.clear();
    std::string aside = progress.file + ".bad";
    std::string move_error = moveFileOver(progress.file, aside);
    if (move_error.empty())
        logLine("⚠️ Progress file ", progress.file, " is unreadable (", error, "); moved aside to ", aside);
    else
        logLine("⚠️ Progress file ", progress.file, " is unreadable (", error, ") and could not be moved aside: ",
                move_error);
}

bool recordLevelWon(Progress& progress, const std::string& level_name) {
    progress.won_levels.insert(level_name);
    if (!progress.kept) return false;
    if (progress.file.empty()) {
        logLine("⚠️ Progress not saved: no data folder (", noUserDataFolderReason(kThisPlatform), ")");
        return false;
    }
    json root = {{"won_levels", json(progress.won_levels)}};
    std::string error = replaceFileDurably(progress.file, root.dump(2) + "\n");
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
