#pragma once
#include <string>

// Writes text to a temporary file beside the target, flushes it to the disk and moves it
// over the target, creating the folder first; a crash mid-write leaves the old file
// whole. Returns an error text, "" on success.
std::string replaceFileDurably(const std::string& file, const std::string& text);

// Moves a file over another, replacing it, as rename does on Linux (Windows' own rename
// refuses an existing target). Returns an error text, "" on success.
std::string moveFileOver(const std::string& from, const std::string& to);
