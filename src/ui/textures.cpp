#include "ui/textures.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/log.h"
#include "content/factions.h"
#include "content/files.h"
#include "content/places.h"

namespace {
// Loads one picture into a fresh texture and says how it went; a failure leaves it empty.
void loadPicture(sf::Texture& texture, const std::string& file_name) {
    if (texture.loadFromFile(findDataFile(file_name))) {
        sf::Vector2u size = texture.getSize();
        logLine(file_name, " loaded! Size: ", size.x, "x", size.y);
        texture.setSmooth(true);  // the cards show the pictures scaled down
    } else {
        logLine("ERROR: Cannot load ", file_name);
    }
}

int factionOfPictureName(const std::string& name) {
    for (int faction = 0; faction < kFactionCount; ++faction)
        if (name == factionConfigKey(faction)) return faction;
    return -1;
}
}  // namespace

void loadFactionPictures(Game& game, const std::string& name) {
    sf::Texture normal;
    sf::Texture hover;
    loadPicture(normal, name + "_normal.png");
    loadPicture(hover, name + "_hover.png");
    int faction = factionOfPictureName(name);
    if (faction < 0) return;
    game.frontend->faction_normal[size_t(faction)].swap(normal);
    game.frontend->faction_hover[size_t(faction)].swap(hover);

    const sf::Texture& stored = game.frontend->faction_normal[size_t(faction)];
    sf::Sprite& sprite = game.frontend->faction_sprites[size_t(faction)];
    sprite.setTexture(stored);
    sf::Vector2u size = stored.getSize();
    if (size.x != 0 && size.y != 0) sprite.setTextureRect(sf::IntRect({0, 0}, {int(size.x), int(size.y)}));
}

void loadFont(sf::Font& font) {
    if (openFont(font, findDataFile("msyh.ttc"))) return;
    logLine("字体加载失败，使用默认字体");
    for (const std::string& path : fallbackFonts()) {
        if (!openFont(font, path)) continue;
        logLine("Using system font: ", path);
        return;
    }
}
