#include "app/game.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/log.h"
#include "app/renderer.h"
#include "app/settings_keys.h"
#include "app/sfml_compat.h"
#include "app/update.h"
#include "battle/battle_rand.h"
#include "battle/match.h"
#include "content/config.h"
#include "content/files.h"
#include "content/levels.h"
#include "ui/results.h"
#include "ui/textures.h"

#include <SFML/Audio/Listener.hpp>
#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {
struct PanelButtonLayout {
    float y;
    const char* label;
    const char* colour_key;  // /ui/colors/<key> may retint the button
    sf::Color fill;
};

// The seven upgrade buttons in the panel's own coordinates, in PanelButton order.
const PanelButtonLayout kPanelButtons[kPanelButtonCount] = {
    {60, "FireRate", "button_fire", sf::Color(200, 80, 80, 255)},
    {105, "Range", "button_range", sf::Color(80, 200, 80, 255)},
    {150, "Dodge", "button_dodge", sf::Color(80, 80, 200, 255)},
    {195, "ProjSpeed", "button_proj_speed", sf::Color(200, 80, 200, 255)},
    {240, "Move", "button_move", sf::Color(80, 200, 200, 255)},
    {285, "Income", "button_income", sf::Color(200, 200, 80, 255)},
    {330, "match.laser_damage", nullptr, sf::Color(255, 200, 100, 255)},  // a text key: the one label in words
};

// config.json may recolour the panel; without the key the panel keeps its own colours
// (a white default would leave the white labels unreadable).
sf::Color panelColour(const char* key, sf::Color own) {
    if (!key || !Config::instance().contains(std::string("/ui/colors/") + key)) return own;
    return uiColor(key);
}

void setText(sf::Text& text, const sf::Font& font, const std::string& utf8, unsigned size) {
    text.setFont(font);
    text.setString(sf::String::fromUtf8(utf8.begin(), utf8.end()));
    text.setCharacterSize(size);
}

void layOutMenuButtons(Game& game) {
    float x = (kLayoutWidth - 400) / 2;
    float y = (kLayoutHeight - 290) / 2;
    game.single_button.setSize({400, 130});
    game.single_button.setPosition({x, y});
    game.single_button.setFillColor(sf::Color(60, 180, 60, 220));
    game.network_button.setSize({400, 130});
    game.network_button.setPosition({x, y + 160});
    game.network_button.setFillColor(sf::Color(60, 100, 220, 220));
}

// Each label is centred once by its English text; the Chinese text then takes its place,
// so the design's Chinese menu sits where it always has. Other languages centre themselves.
void layOutMenuLabels(Game& game) {
    Frontend& front = *game.frontend;
    struct MenuLabel {
        sf::Text& text;
        const sf::RectangleShape& button;
        const char* english;
        const char* key;
    };
    MenuLabel labels[] = {{front.single_text, game.single_button, "SINGLE\nvs AI", "menu.single"},
                          {front.network_text, game.network_button, "NETWORK\nHost/Join", "menu.network"}};
    for (MenuLabel& label : labels) {
        const std::string& words = text(game.texts, label.key);
        setText(label.text, front.ui_font, game.texts.language == "zh" ? label.english : words, 24);
        RectParts<float> bounds = partsOf(label.text.getLocalBounds());
        sf::Vector2f corner = label.button.getPosition();
        label.text.setPosition({corner.x + (400 - bounds.width) / 2, corner.y + (130 - bounds.height) / 2});
        setText(label.text, front.ui_font, words, 24);
    }
}

void layOutLobbyLabels(Game& game) {
    Frontend& front = *game.frontend;
    setText(front.host_text, front.lobby_font, text(game.texts, "lobby.host"), 20);
    front.host_text.setPosition(game.lobby.host_button.getPosition() + sf::Vector2f(60, 20));
    setText(front.join_text, front.lobby_font, text(game.texts, "lobby.join"), 20);
    front.join_text.setPosition(game.lobby.join_button.getPosition() + sf::Vector2f(60, 20));
}

void layOutScreenTexts(Game& game) {
    Frontend& front = *game.frontend;
    setText(front.back_text, front.ui_font, text(game.texts, "menu.back"), 18);
    front.back_text.setPosition({35, 28});
    front.screen_texts.status_colour = uiColor("text");
}

void layOutPanel(Game& game) {
    game.panel_hidden_x = 20 - game.panel_width;
    game.panel_shown_x = 0;
    game.panel_x = game.panel_target_x = game.panel_hidden_x;
    for (int i = 0; i < kPanelButtonCount; ++i) {
        const PanelButtonLayout& layout = kPanelButtons[i];
        sf::RectangleShape& button = game.upgrade_buttons[i];
        button.setSize({140, 32});
        button.setPosition({10, layout.y});
        button.setFillColor(panelColour(layout.colour_key, layout.fill));
    }
}

void layOutPanelLabels(Game& game) {
    Frontend& front = *game.frontend;
    front.panel_background.setSize({game.panel_width, game.panel_height});
    front.panel_background.setPosition({game.panel_x, 40});
    front.panel_background.setFillColor(panelColour("panel_background", sf::Color(40, 40, 40, 220)));
    for (int i = 0; i < kPanelButtonCount; ++i) {
        const char* label =
            i == ButtonLaserDamage ? text(game.texts, kPanelButtons[i].label).c_str() : kPanelButtons[i].label;
        setText(front.button_labels[i], front.ui_font, label, 14);
        front.button_labels[i].setPosition({15, kPanelButtons[i].y + 5});
    }
}

void layOutLevelCards(Game& game) {
    for (size_t i = 0; i < game.level_cards.size(); ++i) {
        game.level_cards[i].setSize({220, 130});
        game.level_cards[i].setPosition({90 + 250 * float(i % 3), 110 + 150 * float(i / 3)});
    }
}

void layOutSelectionBox(Game& game) {
    game.selection_box.setSize({0, 0});
    game.selection_box.setFillColor(sf::Color(100, 200, 255, 50));
    game.selection_box.setOutlineColor(sf::Color(100, 200, 255, 200));
    game.selection_box.setOutlineThickness(1);
}

unsigned freshSeed() { return std::random_device{}(); }

void openGameWindow(Frontend& front) {
    openWindow(front.window, false, windowAntialiasing());
    centreWindow(front.window);
    front.canvas.target = &front.window;
    front.canvas.batched = true;
}

void setListenerFirst() {
    sf::Listener::setPosition({0, 0, 0});
    sf::Listener::setDirection({0, 0, -1});
    sf::Listener::setUpVector({0, 1, 0});
    sf::Listener::setGlobalVolume(100);
}
}  // namespace

void layOutTexts(Game& game) {
    if (!game.frontend) return;
    game.frontend->screen_texts = ScreenTexts{};
    layOutMenuLabels(game);
    layOutLobbyLabels(game);
    layOutScreenTexts(game);
    layOutPanelLabels(game);
}

Game::Game() : Game(GameOptions{}) {}

// The windowed start-up keeps its order step by step; a headless game takes the same
// steps less those that open a device or load a font, picture or sound.
Game::Game(const GameOptions& options) {
    const bool windowed = !options.headless;
    language_override = options.language;
    texts = textsIn(options.language);
    if (windowed) frontend = std::make_unique<Frontend>();
    effects.rng.seed(options.seeds ? options.seeds->effects : freshSeed());
    initLanLobby(lobby);
    if (windowed) loadFont(frontend->lobby_font);

    if (windowed) openGameWindow(*frontend);
    rng.seed(options.seeds ? options.seeds->units : freshSeed());
    if (windowed) {
        frontend->sounds.rng.seed(options.seeds ? options.seeds->sounds : freshSeed());
        setListenerFirst();
    }

    hovered_faction = -1;
    faction_screen_rng.seed(std::mt19937::default_seed);
    seedBattleRand(options.seeds ? options.seeds->rand : static_cast<unsigned>(std::time(nullptr)));

    if (windowed) {
        loadFont(frontend->ui_font);
        loadSymbolFont(frontend->symbol_font);
    }
    layOutMenuButtons(*this);
    if (windowed) {
        layOutMenuLabels(*this);
        layOutLobbyLabels(*this);
        layOutScreenTexts(*this);
    }
    layOutLevelCards(*this);
    layOutPanel(*this);
    if (windowed) layOutPanelLabels(*this);
    readStartMoney(*this);

    panel_content_height = 360;
    world_view = windowed ? frontend->window.getDefaultView()
                          : sf::View(sf::FloatRect({0, 0}, {kLayoutWidth, kLayoutHeight}));
    world_view.setCenter({450, 300});
    camera_target = world_view.getCenter();
    layOutSelectionBox(*this);

    settings = defaultSettings();
    if (windowed) {
        settings_file = settingsFile();
        settings = loadSettings(settings_file);
        setUpListener();
        logLine("Audio listener initialized");
        loadSounds(frontend->sounds);
        applySettings(*this);
    }
    buildHexGrid(*this);
    loadEffectSettings(effects);
    if (windowed)
        for (const char* name : {"blue", "yellow", "red", "white", "purple"}) loadFactionPictures(*this, name);
    loadLevels(*this, "levels.json");
    if (windowed) {
        progress.file = progressFilePath();
        replay.folder = replayFolder();
        loadProgress(progress);
        lobby.memory.file = netMemoryFilePath();
        loadNetMemory(lobby.memory);
        lobby.address_text = lobby.memory.last_address;
        recallMatch(*this);
    } else {
        // A game without a window never touches the player's saved wins or addresses.
        progress.kept = false;
        lobby.memory.kept = false;
    }
    logDataFiles();

    faction_confirmed = false;
    level_select_active = false;
}

Game::~Game() {
    shutdownLanLobby(lobby);
    if (paused) releaseMatchClocks();  // the hold is process-wide; a later Game must not inherit it
}

void enterLevelSelection(Game& game) {
    game.shown_levels = game.all_levels;
    game.back_button.setSize({120, 40});
    game.back_button.setPosition({20, 20});
    game.back_button.setFillColor(sf::Color(60, 60, 80));
    game.back_button.setOutlineColor(sf::Color(150, 150, 200));
    game.back_button.setOutlineThickness(1);
}
