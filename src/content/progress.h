#pragma once
#include <set>
#include <string>

// The levels the player has won, kept across runs in a small JSON file in the user's
// data folder: {"won_levels": ["name", ...]}. Levels are known by their names.
struct Progress {
    std::string file;                  // where it is kept; "" when the user has no data folder
    std::set<std::string> won_levels;  // names of the levels won on this machine
    bool kept = true;                  // false: wins count for this run only (a headless game)
};

// progress.json in the user's data folder (content/places.h); "" when there is none.
std::string progressFilePath();

// Reads progress.file. A missing file is a fresh start; a file that does not parse is
// moved aside to "<file>.bad" with one log line, and play goes on with no level won.
void loadProgress(Progress& progress);

// Adds the level to the won ones and writes the file (again, so an earlier failed write
// is made good). The file
// is replaced atomically (temporary file, flush, rename), so a crash mid-write leaves the
// old file whole. A failure costs one log line; returns whether the file now holds the win.
bool recordLevelWon(Progress& progress, const std::string& level_name);

bool isLevelWon(const Progress& progress, const std::string& level_name);
