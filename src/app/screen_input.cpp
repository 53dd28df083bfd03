#include "app/screen_input.h"
#include "app/display.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/log.h"
#include "app/screen.h"
#include "app/replay_record.h"
#include "app/replay_view.h"
#include "app/settings_screen.h"
#include "app/update.h"
#include "battle/battle_rand.h"
#include "content/levels.h"
#include "content/settings_layout.h"
#include "net/join.h"
#include "net/protocol.h"

#include <SFML/Window/Clipboard.hpp>
#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {
// The menus' click, when the game has speakers.
void playClickSound(Game& game) {
    if (game.frontend) playClick(game.frontend->sounds);
}

std::u32string pastedText() {
    sf::String pasted = sf::Clipboard::getString();
    return std::u32string(pasted.begin(), pasted.end());
}

bool isPress(const InputEvent& event) { return event.kind == InputEvent::Kind::MouseButtonPressed; }

sf::Vector2f pressPoint(const InputEvent& event) { return sf::Vector2f(event.position); }

const char* const kSelectedLines[] = {"Selected Red", "Selected Yellow", "Selected Blue", "Selected Purple",
                                      "Selected White"};

void pickFactionCard(Game& game, sf::Vector2f click) {
    float x0 = (kLayoutWidth - 960) / 2;
    float y0 = (kLayoutHeight - 180) / 2;
    for (int i = 0; i < 5; ++i) {
        if (!sf::FloatRect({x0 + 195 * float(i), y0}, {180, 180}).contains(click)) continue;
        playClickSound(game);
        game.hovered_faction = i;
        logLine(kSelectedLines[i]);
        return;
    }
}

// The computer opponent is one of the four other factions, picked by battleRand().
int pickEnemyFaction(int player_faction) {
    int candidates[4];
    int count = 0;
    for (int faction = 0; faction < 5; ++faction)
        if (faction != player_faction) candidates[count++] = faction;
    return candidates[battleRand() % 4];
}

void announceReady(Game& game) {
    sendMessage(game, {MsgReady, 1});
    logLine("Send: I'm ready!");
    if (game.lobby.is_host) {
        std::uint8_t high = std::uint8_t(battleRand() >> 8);
        std::uint8_t low = std::uint8_t(battleRand());
        sendMessage(game, {MsgHandshake, high, low, std::uint8_t(game.player_faction)});
    } else {
        sendMessage(game, {MsgFaction, std::uint8_t(game.player_faction)});
    }
}

void confirmFaction(Game& game) {
    playClickSound(game);
    game.player_faction = game.hovered_faction;
    game.faction_confirmed = true;
    logLine("Faction confirmed: ", game.player_faction);
    game.enemy_faction = pickEnemyFaction(game.player_faction);
    game.match_clock.restart();
    game.income_clock.restart();
    if (game.lobby_active && game.lobby.connected) announceReady(game);
    game.level_select_active = true;
    enterLevelSelection(game);
}

void backToFactionSelect(Game& game) {
    playClickSound(game);
    game.faction_confirmed = false;
    game.level_select_active = false;
    game.hovered_faction = -1;
}

// The connection and everything the handshake learnt go; the lobby can host or join again.
void dropConnection(Game& game) {
    stopNetworking(game.lobby);
    forgetMatchToken(game);
    forgetPeer(game);
    game.opponent_ready = false;
    game.handshake_received = game.faction_received = 0;
}

// No network, no match, nothing chosen. A match that was reached (a lost connection
// shows the lobby over it) is cleared as after its results; a visit that never got
// that far leaves the start values as they are.

std::string levelNameForLog(const nlohmann::json& level) {
    auto name = level.find("name");
    return name != level.end() && name->is_string() ? name->get<std::string>() : "Unknown";
}
}  // namespace

void backToMainMenu(Game& game) {
    dropConnection(game);
    if (game.faction_confirmed || game.level_running || game.game_over) clearMatch(game);
    game.game_started = game.network_mode = game.lobby_active = false;
    game.faction_confirmed = game.level_select_active = false;
    game.hovered_faction = -1;
}

void mainMenuInput(Game& game, const InputEvent& event) {
    if (!isPress(event)) return;
    sf::Vector2f click = pressPoint(event);
    bool single = game.single_button.getGlobalBounds().contains(click);
    bool network = game.network_button.getGlobalBounds().contains(click);
    if (menuSettingsButton().contains(click)) {
        playClickSound(game);
        openSettings(game);
        return;
    }
    if (!single && !network) return;
    playClickSound(game);
    startMode(game, network);
}

void startMode(Game& game, bool network) {
    game.game_started = true;
    game.network_mode = network;
    game.lobby_active = network;
    game.match_clock.restart();
    game.income_clock.restart();
}

void hostFromStart(Game& game, unsigned short port) {
    startMode(game, true);
    game.lobby.base_port = game.lobby.listen_port = port;
    startHosting(game);
}

void joinFromStart(Game& game, const std::string& address) {
    startMode(game, true);
    game.lobby.address_text = address;
    joinByAddress(game.lobby, address);
}

void lobbyInput(Game& game, const InputEvent& event) {
    if (!isPress(event)) return;
    sf::Vector2f click = pressPoint(event);
    LanLobby& lobby = game.lobby;
    lobby.address_focused = lobby.address_box.getGlobalBounds().contains(click);
    if (lobby.host_button.getGlobalBounds().contains(click) && !lobby.hosting) {
        playClickSound(game);
        startHosting(game);
    }
    if (lobby.join_button.getGlobalBounds().contains(click)) {
        playClickSound(game);
        startScan(game);
    }
    if (lobby.connect_button.getGlobalBounds().contains(click)) {
        playClickSound(game);
        joinByAddress(lobby, lobby.address_text);
    }
    std::optional<HostEntry> picked;
    {
        std::lock_guard<std::mutex> lock(lobby.hosts_mutex);
        size_t rows = std::min(lobby.found_hosts.size(), kMaxListedHosts);
        for (size_t i = 0; i < rows && !picked; ++i)
            if (sf::FloatRect({300, 200 + 28 * float(i)}, {300, 20}).contains(click)) picked = lobby.found_hosts[i];
    }
    // The connect runs in the background: the lobby stays live while the host answers.
    if (picked) startDialing(lobby, {picked->address.toString(), picked->port});
}

bool typingAddress(const Game& game) {
    return game.lobby.address_focused && currentScreen(game) == Screen::Lobby;
}

void addressFieldInput(Game& game, const InputEvent& event) {
    LanLobby& lobby = game.lobby;
    std::string& text = lobby.address_text;
    auto type = [&text](char32_t c) {
        // Host names and IPv4 addresses are plain ASCII without blanks.
        if (c > 32 && c < 127 && text.size() < kMaxAddressLength) text.push_back(char(c));
    };
    if (event.kind == InputEvent::Kind::TextEntered) type(event.character);
    if (event.kind != InputEvent::Kind::KeyPressed) return;
    using Key = sf::Keyboard::Key;
    if (event.key == Key::Backspace && !text.empty()) text.pop_back();
    if (event.key == Key::Enter) joinByAddress(lobby, text);
    if (event.key == Key::Escape) lobby.address_focused = false;
    if (event.key == Key::V && event.control && game.frontend)
        for (char32_t c : pastedText()) type(c);
}

void factionSelectInput(Game& game, const InputEvent& event) {
    // A game back for its match waits for the host's answer: the match, or a fresh one.
    if (!isPress(event) || game.rejoin.token != 0) return;
    if (game.hovered_faction == -1)
        pickFactionCard(game, pressPoint(event));
    else
        confirmFaction(game);
}

void levelSelectInput(Game& game, const InputEvent& event) {
    if (event.kind == InputEvent::Kind::MouseMoved) {
        sf::Vector2f mouse(event.position);
        bool over = game.back_button.getGlobalBounds().contains(mouse);
        game.back_button.setFillColor(over ? sf::Color(80, 80, 100) : sf::Color(60, 60, 80));
        game.back_button.setOutlineColor(over ? sf::Color(200, 200, 255) : sf::Color(150, 150, 200));
        return;
    }
    if (!isPress(event) || event.button != sf::Mouse::Button::Left) return;
    sf::Vector2f click = pressPoint(event);
    if (game.back_button.getGlobalBounds().contains(click)) {
        backToFactionSelect(game);
        return;
    }
    if (sf::FloatRect({kReplaysButtonX, kReplaysButtonY}, {kReplaysButtonWidth, kReplaysButtonHeight}).contains(click)) {
        playClickSound(game);
        openReplayList(game);
        return;
    }
    size_t cards = std::min<size_t>(game.shown_levels.size(), 10);
    for (size_t i = 0; i < cards; ++i) {
        if (!sf::FloatRect({90 + 250 * float(i % 3), 110 + 150 * float(i / 3)}, {220, 130}).contains(click)) continue;
        playClickSound(game);
        startLevel(game, game.shown_levels[i]);
        clearFieldForMatch(game);
        game.level_running = true;
        game.level_select_active = false;
        beginRecording(game, int(i) + 1, game.shown_levels[i]);
        logLine("Starting level: ", i, " - ", levelNameForLog(game.shown_levels[i]));
        return;
    }
}

void stepBack(Game& game) {
    switch (currentScreen(game)) {
        case Screen::MainMenu: return;  // never out of the game: closing the window quits
        case Screen::Lobby:
            playClickSound(game);
            backToMainMenu(game);
            return;
        case Screen::FactionSelect:
            playClickSound(game);
            if (game.network_mode) {
                dropConnection(game);  // the lobby shows again
                game.hovered_faction = -1;
            } else {
                backToMainMenu(game);
            }
            return;
        case Screen::LevelSelect: backToFactionSelect(game); return;
        case Screen::Replays:
            playClickSound(game);
            game.shelf.listing = false;
            return;
        case Screen::Results: resetAfterResults(game); return;
        case Screen::Settings:
            playClickSound(game);
            leaveSettings(game);
            return;
        case Screen::Match: return;  // the pause menu takes Esc first (app/settings_screen.h)
    }
}
