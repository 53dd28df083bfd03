#include "app/frontend.h"
#include "app/update.h"
#include "battle/battle_support.h"
#include "support.h"
#include "ui/picture.h"

#include <cstdlib>

namespace {
constexpr int kHalf = 9;

// The pixels around a window point whose grey differs between two frames: the shape a
// greyscale screenshot, or a player who cannot tell the colours apart, sees.
std::vector<bool> silhouette(const sf::Image& with, const sf::Image& without, sf::Vector2f at) {
    auto grey = [](sf::Color c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; };
    std::vector<bool> lit;
    for (int y = -kHalf; y <= kHalf; ++y)
        for (int x = -kHalf; x <= kHalf; ++x) {
            unsigned px = unsigned(int(at.x) + x), py = unsigned(int(at.y) + y);
            lit.push_back(std::abs(grey(pixelAt(with, px, py)) - grey(pixelAt(without, px, py))) > 40);
        }
    return lit;
}

int litCount(const std::vector<bool>& lit) { return int(std::count(lit.begin(), lit.end(), true)); }

int differing(std::vector<bool> a, const std::vector<bool>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = a[i] != b[i];
    return litCount(a);
}

struct Marks {
    std::vector<bool> on_unit, turned, on_map;
};

// One unit of the faction on the field at (300, 300), window (490, 360), and one at the
// field's corner, whose minimap dot is at (W - 150, 20).
Marks marksOf(int faction) {
    GameFixture fixture("", "", true);
    Game& game = *fixture.game;
    enterMatch(game, faction, faction);
    game.hex_grid_enabled = 0;
    game.settings.faction_marks = true;
    sf::Image empty = renderedFrame(game);
    addUnit(game, true, 0, {300, 300});
    addUnit(game, true, 0, {game.world_bounds.min_x, game.world_bounds.min_y});
    const sf::Vector2f unit(490, 360), dot(float(game.frontend->window.getSize().x) - 150, 20);
    auto shapeAt = [&](sf::Vector2f at) {
        sf::Image on = renderedFrame(game);
        game.settings.faction_marks = false;
        sf::Image off = renderedFrame(game);
        return silhouette(on, off, at);
    };
    Marks marks;
    marks.on_map = silhouette(renderedFrame(game), empty, dot);
    marks.on_unit = shapeAt(unit);
    game.settings.faction_marks = true;
    game.player_turrets[0].barrel_degrees = 90;
    marks.turned = shapeAt(unit);
    return marks;
}
}  // namespace

// With marks on, each unit carries its faction's mark, turned with it, and the minimap's
// dots take the same shape; in greyscale no two factions' marks look alike.
TEST(FactionMarks, TellTheFiveFactionsApartInGreyscale) {
    std::vector<Marks> marks;
    for (int faction = 0; faction < kFactionCount; ++faction) marks.push_back(marksOf(faction));
    for (int a = 0; a < kFactionCount; ++a) {
        EXPECT_GT(litCount(marks[a].on_unit), 20) << a;
        EXPECT_GT(litCount(marks[a].on_map), 20) << a;
        for (int b = a + 1; b < kFactionCount; ++b) {
            EXPECT_GT(differing(marks[a].on_unit, marks[b].on_unit), 8) << a << " and " << b;
            EXPECT_GT(differing(marks[a].on_map, marks[b].on_map), 10) << a << " and " << b;
        }
    }
    // A quarter turn points the triangle elsewhere.
    EXPECT_GT(differing(marks[Red].on_unit, marks[Red].turned), 8);
}

// Each level card shows its faction's mark just after the name: the first level's Blue
// square and the second's Yellow circle.
TEST(FactionMarks, StandBesideTheNameOnTheLevelCards) {
    GameFixture fixture("", shippedData("levels.json"), true);
    Game& game = *fixture.game;
    game.game_started = game.faction_confirmed = game.level_select_active = true;
    enterLevelSelection(game);
    sf::Image off = renderedFrame(game);
    game.settings.faction_marks = true;
    sf::Image on = renderedFrame(game);
    auto markOf = [&](std::size_t card) {
        RectParts<float> name = partsOf(game.frontend->screen_texts.cards[card].name.getGlobalBounds());
        return silhouette(on, off, {name.left + name.width + 14, name.top + name.height / 2});
    };
    EXPECT_GT(std::min(litCount(markOf(0)), litCount(markOf(1))), 80);
    EXPECT_GT(differing(markOf(0), markOf(1)), 20);
}
