#pragma once
#include "app/game.h"
#include "support.h"

#include <filesystem>
#include <memory>
#include <string>

// Starts a Game in dir after copying the generated faction pictures into it, all but
// the file named missing ("" copies all ten).
inline std::unique_ptr<Game> startWithPictures(const TempDir& dir, const std::string& missing) {
    for (const char* name : {"red", "yellow", "blue", "purple", "white"})
        for (const char* suffix : {"_normal.png", "_hover.png"}) {
            std::string file = std::string(name) + suffix;
            if (file != missing)
                std::filesystem::copy_file(std::string(TARVEX_RUN_DIR) + "/" + file, dir.path() + "/" + file);
        }
    return std::make_unique<Game>();
}
