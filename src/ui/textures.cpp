#include "ui/textures.h"
#include "app/game.h"
#include "app/log.h"
#include "content/files.h"

namespace {
// Free CJK fonts that Debian installs (fonts-noto-cjk), tried in order when the
// game's own font file is missing.
const char* const kFallbackFonts[] = {
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
    "/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc",
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
};
}  // namespace

void loadFactionPictures(Game& game, const std::string& name) {
    (void)game;
    (void)name;
}

void loadFont(sf::Font& font) {
    if (font.loadFromFile(findDataFile("msyh.ttc"))) return;
    logLine("字体加载失败，使用默认字体");
    for (const char* path : kFallbackFonts) {
        if (!font.loadFromFile(path)) continue;
        logLine("Using system font: ", path);
        return;
    }
}
