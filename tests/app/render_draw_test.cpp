#include "app/frontend.h"
#include "battle/battle_support.h"
#include "battle/match.h"
#include "content/levels.h"
#include "content/settings_layout.h"
#include "events.h"
#include "ui/picture.h"

#include <tuple>

namespace {
const sf::Color kBackground(30, 30, 50);
const sf::Color kWhite = sf::Color::White;

// A translucent fill over the cleared background, as alpha blending gives it.
sf::Color over(sf::Color fill) {
    auto mix = [&](int top, int bottom) { return std::uint8_t((top * fill.a + bottom * (255 - fill.a)) / 255); };
    return sf::Color(mix(fill.r, kBackground.r), mix(fill.g, kBackground.g), mix(fill.b, kBackground.b));
}

void showMatch(Game& game, int player_faction) {
    enterMatch(game, player_faction, game.enemy_faction);
    game.hex_grid_enabled = 0;
    game.panel_x = 0;  // slid out
}

// The panel's labels show last frame's prices until this frame's are written: a second frame is current.
sf::Image settledFrame(Game& game) {
    renderedFrame(game);
    return renderedFrame(game);
}

void addShellWithSmoke(Game& game, sf::Vector2f at, sf::Vector2f direction, bool player) {
    Projectile shell = makeShell(at, direction, player, factionColour(player ? game.player_faction : game.enemy_faction),
                                 420, 1.0f);
    for (int i = 0; i < 12; ++i)  // x, y, vx, vy, life, max_life, size, colour: the newest ask for alpha above 255
        shell.smoke.push_back({at.x - direction.x * 2.0f * float(i), at.y - direction.y * 2.0f * float(i), 0, 0,
                               0.3f * float(12 - i) / 12, 0.3f, 0.6f + 0.1f * float(i), sf::Color()});
    game.projectiles.push_back(shell);
}
}  // namespace

using MenuDrawing = WindowedGameTest;
using HudDrawing = WindowedGameTest;
using Results = WindowedGameTest;

TEST_F(MenuDrawing, MainMenuButtonsAndTheLobby) {
    game.hex_grid_enabled = 0;
    sf::Image frame = renderedFrame(game);
    // Both buttons span 400 x 130 from x 440: single player from y 215, network from y 375.
    for (auto [y, fill] : {std::pair(215u, sf::Color(60, 180, 60, 220)), std::pair(375u, sf::Color(60, 100, 220, 220))}) {
        EXPECT_TRUE(near(pixelAt(frame, 440, y), over(fill)) && near(pixelAt(frame, 839, y + 129), over(fill))) << y;
        for (sf::Vector2u outside : {sf::Vector2u(439, y), {440, y - 1}, {840, y + 129}, {839, y + 130}})
            EXPECT_TRUE(near(pixelAt(frame, outside.x, outside.y), kBackground)) << outside.x << "," << outside.y;
    }
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "单人\nvs AI", 24, kWhite, game.frontend->single_text.getPosition()), 0);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "联机\n主机/加入", 24, kWhite, game.frontend->network_text.getPosition()), 0);

    game.network_mode = game.lobby_active = true;
    frame = renderedFrame(game);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "Found hosts: 0", 18, kWhite, {300, 150}), 0);
    game.lobby.found_hosts = {{sf::IpAddress(127, 0, 0, 1), 55003}};
    frame = renderedFrame(game);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "Found hosts: 1", 18, kWhite, {300, 150}), 0);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "127.0.0.1:55003", 16, kWhite, {300, 200}), 0);
}

// The menu's third button opens the settings: each row shows its value, the volume sliders
// are filled to their volume, and a key being rebound asks for the new key.
TEST_F(MenuDrawing, TheSettingsScreenShowsEveryValueAndTheKeyBeingRebound) {
    game.hex_grid_enabled = 0;
    sf::Image frame = renderedFrame(game);
    const sf::Text& label = game.frontend->screen_texts.menu_settings.text;
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "设置", 24, kWhite, label.getPosition()), 0);
    RectParts<float> drawn = partsOf(label.getGlobalBounds());
    EXPECT_NEAR(drawn.left + drawn.width / 2, kMenuSettingsX + kMenuSettingsWidth / 2, 1);
    EXPECT_NEAR(drawn.top + drawn.height / 2, kMenuSettingsY + kMenuSettingsHeight / 2, 1);
    click(game, int(kMenuSettingsX) + 10, int(kMenuSettingsY) + 10);
    ASSERT_TRUE(game.settings_open);
    game.settings.music_volume = 25;
    game.settings.frame_limit = 144;
    game.rebinding = SpawnLane1;
    frame = renderedFrame(game);
    sf::FloatRect music = settingsControl(MusicRow);
    float filled_end = partsOf(music).left + partsOf(music).width * 0.25f;
    EXPECT_TRUE(near(pixelAt(frame, unsigned(filled_end) - 3, unsigned(partsOf(music).top) + 10), sf::Color(90, 160, 230)));
    EXPECT_TRUE(near(pixelAt(frame, unsigned(filled_end) + 3, unsigned(partsOf(music).top) + 10), sf::Color(40, 40, 60)));
    auto valueAt = [&](int row) { return sf::Vector2f(kSettingsControlX + 14, partsOf(settingsControl(row)).top + 6); };
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "144", 18, sf::Color(220, 220, 230), valueAt(FrameLimitRow)), 0);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "中文", 18, sf::Color(220, 220, 230), valueAt(LanguageRow)), 0);
    RectParts<float> lane1 = partsOf(keyBox(SpawnLane1)), lane2 = partsOf(keyBox(SpawnLane2));
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "按下新的键…", 16, sf::Color(220, 220, 230),
                           {lane1.left + 10, lane1.top + 4}), 0);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "E", 16, sf::Color(220, 220, 230), {lane2.left + 10, lane2.top + 4}), 0);

    // The key pressed is lane 1's; a click halfway along the slider, one on the frame cap;
    // each is kept at once. The defaults bring the keys back and leave the rest.
    keyPress(game, sf::Keyboard::Key::A);
    EXPECT_EQ(game.rebinding, -1);
    click(game, int(kSettingsControlX + kSettingsControlWidth / 2), int(partsOf(music).top) + 10);
    click(game, int(kSettingsControlX) + 5, int(partsOf(settingsControl(FrameLimitRow)).top) + 5);
    Settings kept = loadSettings(game.settings_file);
    EXPECT_EQ(std::make_tuple(kept.keys[SpawnLane1], kept.music_volume, kept.frame_limit),
              std::make_tuple(sf::Keyboard::Key::A, 50, 240));
    EXPECT_EQ(game.frontend->sounds.music_volume, 0.5f);
    // A drag is heard as it goes and kept when the button is let go.
    int slider_y = int(partsOf(music).top) + 10;
    press(game, int(kSettingsControlX) + 10, slider_y);
    move(game, int(kSettingsControlX + kSettingsControlWidth * 0.75f), slider_y);
    EXPECT_EQ(std::make_pair(game.frontend->sounds.music_volume, loadSettings(game.settings_file).music_volume),
              std::make_pair(0.75f, 50));
    release(game, int(kSettingsControlX + kSettingsControlWidth * 0.75f), slider_y);
    EXPECT_EQ(loadSettings(game.settings_file).music_volume, 75);
    click(game, int(kSettingsLabelX) + 5, int(partsOf(restoreDefaultsButton()).top) + 5);
    kept = loadSettings(game.settings_file);
    EXPECT_EQ(std::make_tuple(kept.keys[SpawnLane1], kept.music_volume), std::make_tuple(sf::Keyboard::Key::W, 75));
    keyPress(game, sf::Keyboard::Key::Escape);
    EXPECT_FALSE(game.settings_open);
}

// Wrongly typed fields of the third card read as missing: "Level", one star, no bonus. The
// hint sits inside the fourth row of cards, or below it once it holds the tenth card.
TEST_F(MenuDrawing, LevelCardsReadTheirFieldsSafelyAndTheHintMakesRoomForTheTenth) {
    game.game_started = game.faction_confirmed = game.level_select_active = true;
    game.player_faction = Purple;
    enterLevelSelection(game);
    game.shown_levels.assign(11, nlohmann::json{{"name", "Later"}, {"faction", "Yellow"}});
    game.shown_levels[0] = {{"name", "Alpha"}, {"faction", "Blue"}, {"player_bonus", 150}};
    game.shown_levels[1] = {{"name", "Beta"}, {"difficulty", 3}, {"player_bonus", 20.9}};
    game.shown_levels[2] = {{"name", 5}, {"faction", 3}, {"difficulty", "hard"}, {"player_bonus", "x"}};
    sf::Image frame = renderedFrame(game);
    const sf::Color star(255, 255, 0), bonus(100, 200, 100), grey(100, 100, 130);
    using Text = std::tuple<const char*, unsigned, sf::Color, sf::Vector2f>;
    for (auto [utf8, size, colour, at] : {Text{"选择关卡", 28, factionColour(Purple), {350, 30}},
                                          {"共 11 关", 16, kWhite, {350, 70}}, {"Alpha", 16, kWhite, {100, 135}},
                                          {"★", 14, star, {100, 165}}, {"+$150", 12, bonus, {100, 190}},
                                          {"★★★", 14, star, {350, 165}}, {"+$20", 12, bonus, {350, 190}},
                                          {"Level", 16, kWhite, {600, 135}}, {"★", 14, star, {600, 165}},
                                          {"+$0", 12, bonus, {600, 190}}})
        EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, utf8, size, colour, at), 0) << utf8;
    EXPECT_GT(textMismatch(frame, game.frontend->ui_font, "★★", 14, star, {100, 165}), 0);
    EXPECT_TRUE(near(pixelAt(frame, 89, 175), sf::Color(0, 0, 255)));  // outlined in the enemy's colour
    EXPECT_TRUE(near(pixelAt(frame, 589, 175), sf::Color(255, 0, 0)));  // a faction of the wrong type: Red
    // Ten cards at most: the tenth is outlined, the eleventh place stays empty.
    EXPECT_TRUE(near(pixelAt(frame, 89, 640), factionColour(Yellow)));
    EXPECT_TRUE(near(pixelAt(frame, 339, 640), kBackground));

    const std::string hint = "点击关卡开始游戏 | 点击返回按钮回到阵营选择";
    const float x =
        (900 - rectSize(makeText(game.frontend->ui_font, sf::String::fromUtf8(hint.begin(), hint.end()), 14)
                            .getLocalBounds()).x) / 2;
    for (auto [cards, y] : {std::pair(10u, 698.0f), std::pair(9u, 570.0f)}) {  // the tenth reaches y 690
        game.shown_levels.resize(cards);
        EXPECT_EQ(textMismatch(renderedFrame(game), game.frontend->ui_font, hint, 14, grey, {x, y}), 0) << cards;
    }
}

TEST_F(HudDrawing, APausedMatchIsDimmedUnderThePauseLine) {
    showMatch(game, Blue);
    game.paused = true;
    sf::Image paused = renderedFrame(game);
    game.paused = false;
    sf::Image running = renderedFrame(game);
    // The field's plain background darkens everywhere, the HUD included.
    for (sf::Vector2u at : {sf::Vector2u(1000, 600), sf::Vector2u(100, 700)}) {
        sf::Color before = pixelAt(running, at.x, at.y), after = pixelAt(paused, at.x, at.y);
        EXPECT_LT(after.r + after.g + after.b, (before.r + before.g + before.b) / 2) << at.x << "," << at.y;
    }
    // The line is centred on the window, and only the paused frame shows it.
    const sf::Text& line = game.frontend->screen_texts.pause_line.text;
    RectParts<float> box = partsOf(line.getGlobalBounds());
    EXPECT_NEAR(box.left + box.width / 2, 640, 1);
    EXPECT_NEAR(box.top + box.height / 2, 360, 1);
    EXPECT_EQ(textMismatch(paused, game.frontend->ui_font, "已暂停 — P 继续", 36, kWhite, line.getPosition()), 0);
    EXPECT_GT(textMismatch(running, game.frontend->ui_font, "已暂停 — P 继续", 36, kWhite, line.getPosition()), 200);
}

// The round trip under the status line, in a warning colour above 150 ms; the rules notice at the bottom left.
TEST_F(HudDrawing, TheRoundTripAndTheRulesNoticeOfANetworkMatch) {
    showMatch(game, Blue);
    game.network_mode = game.lobby_active = true;
    game.lobby.connected = true;
    const sf::Color grey(200, 200, 200), warning(255, 110, 80), notice(255, 180, 80);
    game.link.notice = {"net.rules_differ", {}};
    for (auto [round_trip, colour] : {std::pair(150, grey), std::pair(151, warning)}) {
        game.link.round_trip_ms = round_trip;
        std::string line = "延迟 " + std::to_string(round_trip) + " ms";
        EXPECT_EQ(textMismatch(renderedFrame(game), game.frontend->ui_font, line, 16, colour, {10, 80}), 0) << line;
    }
    EXPECT_EQ(game.frontend->screen_texts.rules_notice.words,
              "⚠️ 双方规则不同，本局使用主机的规则");
    EXPECT_EQ(game.frontend->screen_texts.rules_notice.text.getFillColor(), notice);
    game.lobby.connected = false;
}

TEST_F(HudDrawing, PanelPricesFollowThePlayersFaction) {
    showMatch(game, White);
    sf::Image frame = settledFrame(game);
    // The dodge label is drawn with the buttons and once more with the fresh prices.
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "Dodge $10", 14, kWhite, {15, 40 + 150 + 5}, 2), 0);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "LaserDmg $100", 14, kWhite, {15, 40 + 330 + 5}), 0);
    // Where the projectile-speed button would be, the panel shows through, as between buttons.
    EXPECT_TRUE(near(pixelAt(frame, 80, 40 + 195 + 16), pixelAt(frame, 80, 40 + 190)));
    EXPECT_TRUE(near(pixelAt(frame, 80, 40 + 240 + 16), sf::Color(80, 200, 200)));

    showMatch(game, Purple);
    game.panel_scroll = 20;
    frame = settledFrame(game);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "LaserDmg $50", 14, kWhite, {15, 40 + 330 + 5 - 20}), 0);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "ProjSp $25", 14, kWhite, {15, 40 + 195 + 5 - 20}, 3), 0);
    // A purchase raises the price its label shows.
    game.player_upgrades.levels[Range] = 1;
    frame = settledFrame(game);
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "Range $70", 14, kWhite, {15, 40 + 105 + 5 - 20}, 2), 0);
}

// Its words, size or colour changed, a text is built again: a rebuilt one starts at the origin.
TEST_F(HudDrawing, KeptTextsAreBuiltAgainOnlyWhenTheyChange) {
    KeptText kept;
    keptText(game, kept, "已通关", 14, kWhite).setPosition({5, 5});
    EXPECT_EQ(keptText(game, kept, "已通关", 14, kWhite).getPosition(), sf::Vector2f(5, 5));
    sf::Text& changed = keptText(game, kept, "已暂停", 14, kWhite);
    EXPECT_EQ(changed.getString(), sf::String::fromUtf8(kept.words.begin(), kept.words.end()));
    EXPECT_EQ(changed.getPosition(), sf::Vector2f(0, 0));
    keptText(game, kept, "已暂停", 14, kWhite).setPosition({5, 5});
    EXPECT_EQ(keptText(game, kept, "已暂停", 15, kWhite).getCharacterSize(), 15u);
    keptText(game, kept, "已暂停", 15, kWhite).setPosition({5, 5});
    EXPECT_EQ(keptText(game, kept, "已暂停", 15, sf::Color::Red).getPosition(), sf::Vector2f(0, 0));
}

TEST_F(HudDrawing, MinimapDotsAndTheInfoBox) {
    showMatch(game, Blue);
    game.panel_x = game.panel_hidden_x;
    const WorldBounds& bounds = game.world_bounds;
    addUnit(game, true, 0, {bounds.min_x, bounds.min_y});
    addUnit(game, false, 0, {bounds.min_x - 0.2f * (bounds.max_x - bounds.min_x), bounds.max_y});
    Turret& unit = addUnit(game, true, 0, {150, 500});
    std::tie(unit.hp, unit.range, unit.fire_rate, unit.dodge) = std::make_tuple(2.7f, 95.5f, 0.5f, 0.125f);
    game.inspected_unit = 1;
    sf::Image frame = renderedFrame(game);
    unsigned w = game.frontend->window.getSize().x;
    sf::Color map = pixelAt(frame, w - 100, 60);
    // The dot's top-left corner is at (W - 152, 18): a radius-2 dot centred on (W - 150, 20).
    EXPECT_TRUE(near(pixelAt(frame, w - 150, 20), sf::Color(0, 255, 0)));
    EXPECT_TRUE(near(pixelAt(frame, w - 153, 20), map));
    EXPECT_TRUE(near(pixelAt(frame, w - 150, 17), map));
    // Left of the map by a fifth of its width: drawn off the map, not pinned to its edge.
    EXPECT_TRUE(near(pixelAt(frame, w - 176, 100), sf::Color(255, 0, 0)));
    EXPECT_TRUE(near(pixelAt(frame, w - 150, 100), map));

    // The view shows field point (0, 0) at window point (190, 60).
    EXPECT_EQ(textMismatch(frame, game.frontend->ui_font, "HP: 2\nRange: 95\nFireRate: 500ms\nDodge: 12%", 14, kWhite,
                           {190 + 150 - 80, 60 + 500 - 125}), 0);
}

// The hex floor, both sides' art at many angles, shells and a rocket with smoke, a beam, a selection,
// the info box, the slid-out panel and, for White, the results overlay.
TEST(MatchDrawing, BatchedAndPerShapeDrawTheSamePicture) {
    for (auto [player, enemy] : {std::pair(Red, Yellow), {Blue, Purple}, {White, Red}}) {
        GameFixture fixture("", "", true);
        Game& game = *fixture.game;
        showMatch(game, player);
        game.hex_grid_enabled = 1;
        game.enemy_faction = enemy;
        game.settings.faction_marks = player == Blue;
        for (int i = 0; i < 8; ++i) {
            Turret& mine = addUnit(game, true, 0, {120.0f + 90 * float(i), 420.0f + 17 * float(i % 3)});
            mine.barrel_degrees = float((320 + 11 * i) % 360);
            addUnit(game, false, 0, {150.0f + 85 * float(i), 170.0f - 13 * float(i % 4)}).barrel_degrees =
                160.0f + 9 * float(i);
            game.selection.push_back(mine.id);
        }
        for (int i = 0; i < 6; ++i) addShellWithSmoke(game, {200.0f + 80 * float(i), 300}, {0.6f, i % 2 ? 0.8f : -0.8f}, i % 2);
        addShellWithSmoke(game, {640, 250}, {0, -1}, true);
        game.projectiles.back().is_rocket = 1;
        game.projectiles.back().rotation_deg = -90;
        game.laser_beams.push_back({{300, 400}, {340, 200}, 0.1f, 0.2f, 1, sf::Color(255, 60, 60), 1, 1});
        game.inspected_unit = 2;
        game.game_over = player == White;

        renderedFrame(game);  // settles the panel labels
        flame_phase = 0;      // each rocket drawn flickers its flame on
        sf::Image batched = renderedFrame(game, true);
        flame_phase = 0;
        // The floor shader may move a channel by 3 and give a hexagon's edge pixel to either neighbour;
        // the units stand on pixel corners at whole degrees, where their pre-drawn cells are their shapes.
        EXPECT_LE(differingPixels(batched, renderedFrame(game, false), 3), 8 + 92) << player << " against " << enemy;
    }
}

TEST(Progress, WinningALevelMarksItsCardInTheNextRun) {
    GameFixture fixture("", R"({"levels": [{"name": "One"}, {"name": "Two"}]})", true);
    for (int level : {0, 1}) {  // the first is won, the second lost and not recorded
        Game& first = *fixture.game;
        startLevel(first, first.all_levels[level]);
        first.game_over = false;
        first.player_money = level ? -1 : 100;
        first.enemy_money = level ? 100 : -1;
        stdoutOf([&] { checkMatchEnd(first); });
    }
    fixture.game = std::make_unique<Game>(GameOptions{false, kTestSeeds, ""});
    Game& next = *fixture.game;
    EXPECT_EQ(next.progress.won_levels, std::set<std::string>({"One"}));
    next.game_started = next.faction_confirmed = next.level_select_active = true;
    enterLevelSelection(next);
    sf::Image frame = renderedFrame(next);
    // The badge lies in the bottom right of the first card; the second card is plain there.
    EXPECT_EQ(pixelAt(frame, 298, 229), sf::Color(40, 110, 50));
    EXPECT_EQ(pixelAt(frame, 298 + 250, 229), sf::Color(30, 30, 50));
}

// The results over the field: green for a victory, red for a defeat, centred over the
// panel, with the symbol font's pictograph where the CJK font has none; the status line
// shows the money truncated toward zero. The layout is made again when the results change.
TEST_F(Results, TheResultsAndTheStatusLineAsDrawn) {
    showMatch(game, Blue);
    game.player_income = 10;
    const ScreenTexts& texts = game.frontend->screen_texts;
    const sf::Text& results = texts.results;
    // The money of each side, the status line, the pictograph (the rest of the results' text is
    // the ResultsText tests' concern) and the colour.
    using Case = std::tuple<float, float, const char*, const char*, sf::Color>;
    for (auto [player_money, enemy_money, status, pictograph, colour] :
         {Case{12.9f, -3.7f, "你: 12 敌: -3\n收入: 10\nQ/W/E 三路出兵", "🏆", {100, 255, 100}},
          Case{-0.5f, 20, "你: 0 敌: 20\n收入: 10\nQ/W/E 三路出兵", "💀", {255, 100, 100}}}) {
        game.game_over = false;
        game.player_money = player_money;
        game.enemy_money = enemy_money;
        stdoutOf([&] { checkMatchEnd(game); });
        sf::Image frame = renderedFrame(game);
        EXPECT_EQ(texts.status.words, status);
        EXPECT_EQ(results.getFillColor(), colour);
        RectParts<float> bounds = partsOf(results.getLocalBounds());
        EXPECT_EQ(results.getPosition(), sf::Vector2f((900 - bounds.width) / 2, (600 - bounds.height) / 2 - 50));
        unsigned size = results.getCharacterSize();
        EXPECT_GT(rectSize(game.frontend->symbol_font.getGlyph(results.getString()[0], size, false).bounds).x, 10);
        EXPECT_EQ(textMismatch(frame, game.frontend->symbol_font, pictograph, size, colour, results.findCharacterPos(0)),
                  0);
    }
}

// The tug of war below the results: Blue's money climbing from 1000 to 1600 and Red's
// falling to -400, over 21 half-second samples; the area runs from -400 at its bottom to
// 1600 at its top.
TEST_F(Results, TheTugOfWarShowsTheRecordedMoney) {
    game.enemy_faction = Red;
    showMatch(game, Blue);
    for (int i = 0; i <= 20; ++i) game.replay.money.push_back({1000.0f + 30 * float(i), 1000.0f - 70 * float(i)});
    game.enemy_money = -400;
    stdoutOf([&] { checkMatchEnd(game); });
    sf::Image frame = renderedFrame(game);
    RectParts<float> text = partsOf(game.frontend->screen_texts.results.getGlobalBounds());
    float top = std::clamp(text.top + text.height + 16, 360.0f, 420.0f), height = 485 - top;
    auto y = [&](float money) { return unsigned(std::lround(top + height * (1600 - money) / 2000)); };
    EXPECT_TRUE(near(pixelAt(frame, 130 + 320, y(1300)), factionColour(Blue), 40)) << y(1300);
    EXPECT_TRUE(near(pixelAt(frame, 130 + 320, y(300)), factionColour(Red), 40)) << y(300);
    EXPECT_TRUE(near(pixelAt(frame, 130 + 64, y(0)), sf::Color(160, 160, 160), 40));  // zero
    // Between the lines, and beside the zero line: the chart's own background.
    for (unsigned at : {y(800), y(0) + 4})
        EXPECT_FALSE(near(pixelAt(frame, 130 + 320, at), factionColour(Blue), 60)) << at;
}
