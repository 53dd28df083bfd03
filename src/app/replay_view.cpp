#include "app/replay_view.h"
#include "app/clock.h"
#include "app/frame_stats.h"
#include "app/game.h"
#include "app/replay_play.h"
#include "app/replay_record.h"
#include "app/screen_input.h"
#include "app/update.h"
#include "content/config.h"
#include "content/factions.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr std::int64_t kLongestCatchUpUs = 250'000;  // a stalled window never fast-forwards

const char* resultKey(const std::string& result) {
    if (result == "won") return "replays.won";
    if (result == "lost") return "replays.lost";
    return "replays.left";
}

bool within(sf::Vector2i point, float x, float y, float width, float height) {
    return float(point.x) >= x && float(point.x) < x + width && float(point.y) >= y && float(point.y) < y + height;
}

void closeReplayList(Game& game) {
    game.shelf.listing = false;
    game.shelf.notice.clear();
}
}  // namespace

std::string listingLine(const Texts& texts, const Replay& replay) {
    char length[32];
    int seconds = int(replay.length_seconds);
    std::snprintf(length, sizeof(length), "%d:%02d", seconds / 60, seconds % 60);
    std::string level = replay.level > 0 ? fillText(texts, "replays.level",
                                                    {std::to_string(replay.level), levelName(texts, replay.level_name)})
                                         : text(texts, "replays.lan");
    std::string sides = fillText(texts, "replays.versus",
                                 {factionLevelName(replay.player_faction), factionLevelName(replay.enemy_faction)});
    return localTimeText(replay.recorded_at, "%Y-%m-%d %H:%M") + "   " + level + "   " + sides + "   " +
           text(texts, resultKey(replay.result)) + "   " + length;
}

void openReplayList(Game& game) {
    ReplayShelf& shelf = game.shelf;
    shelf.listing = true;
    shelf.first_shown = 0;
    shelf.listings.clear();
    for (const std::string& file : listReplays(game.replay.folder)) {
        Replay replay;
        if (loadReplay(file, replay).empty()) shelf.listings.push_back({file, listingLine(game.texts, replay)});
    }
}

void replayListInput(Game& game, const InputEvent& event) {
    ReplayShelf& shelf = game.shelf;
    if (event.kind == InputEvent::Kind::MouseWheelScrolled) {
        int most = std::max(0, int(shelf.listings.size()) - kReplayRowsShown);
        shelf.first_shown = std::clamp(shelf.first_shown - int(event.wheel_delta), 0, most);
        return;
    }
    if (event.kind != InputEvent::Kind::MouseButtonPressed || event.button != sf::Mouse::Button::Left) return;
    if (game.back_button.getGlobalBounds().contains(sf::Vector2f(event.position))) {
        closeReplayList(game);
        return;
    }
    for (int row = 0; row < kReplayRowsShown; ++row) {
        std::size_t index = std::size_t(shelf.first_shown + row);
        if (index >= shelf.listings.size()) return;
        if (!within(event.position, kReplayRowX, kReplayRowY + kReplayRowHeight * float(row), kReplayRowWidth,
                    kReplayRowHeight - 4))
            continue;
        std::string why = watchReplay(game, shelf.listings[index].file);
        if (!why.empty()) shelf.notice = fillText(game.texts, "replays.cannot_play", {why});
        return;
    }
}

bool watchingReplay(const Game& game) { return game.replay.playing; }

std::string watchReplay(Game& game, const std::string& file) {
    Replay replay;
    if (std::string why = loadReplay(file, replay); !why.empty()) return why;
    ReplayShelf& shelf = game.shelf;
    shelf.own_config = std::exchange(Config::instance().document, replay.config);
    shelf.own_levels = game.all_levels;
    shelf.own_factions = {game.player_faction, game.enemy_faction};
    game.replay.replay = std::move(replay);
    if (std::string why = startReplay(game); !why.empty()) {
        stopWatching(game);
        return why;
    }
    shelf.listing = false;
    shelf.notice.clear();
    shelf.speed = 1;
    shelf.paused = shelf.ended = false;
    shelf.owed_us = 0;
    return "";
}

void stopWatching(Game& game) {
    ReplayShelf& shelf = game.shelf;
    endReplay(game);
    Config::instance().document = std::move(shelf.own_config);
    game.all_levels = std::move(shelf.own_levels);
    game.player_faction = shelf.own_factions[0];
    game.enemy_faction = shelf.own_factions[1];
    clearMatch(game);
    if (shelf.from_command_line) {
        shelf.from_command_line = false;
        backToMainMenu(game);
        return;
    }
    game.level_select_active = true;
    enterLevelSelection(game);
    openReplayList(game);
}

bool replayViewerInput(Game& game, const InputEvent& event) {
    using Key = sf::Keyboard::Key;
    ReplayShelf& shelf = game.shelf;
    switch (event.kind) {
        case InputEvent::Kind::KeyPressed:
            if (event.key == Key::Space) shelf.paused = !shelf.paused;
            if (event.key >= Key::Num1 && event.key <= Key::Num4) shelf.speed = 1 << (int(event.key) - int(Key::Num1));
            if (event.key == Key::Escape) stopWatching(game);
            // The frame overlay, the music and fullscreen work as in a match; no other key.
            return event.key != game.settings.keys[OverlayKey] && event.key != game.settings.keys[MusicKey] &&
                   event.key != game.settings.keys[FullscreenKey];
        case InputEvent::Kind::MouseButtonPressed:
        case InputEvent::Kind::MouseButtonReleased:
        case InputEvent::Kind::TextEntered: return true;
        default: return false;  // the wheel moves the camera; closing closes
    }
}

void watchReplayFrame(Game& game, FrameClockSource& time, std::int64_t wall_us) {
    ReplayShelf& shelf = game.shelf;
    bool played = false;
    if (!shelf.paused && !shelf.ended) {
        shelf.owed_us = std::min(shelf.owed_us + wall_us * shelf.speed, kLongestCatchUpUs * shelf.speed);
        // A battle that ends before its recording does (a replay of another build) stays on
        // its results rather than count them down.
        while (!game.game_over && readReplayFrameAhead(game) && game.replay.ahead_us <= shelf.owed_us) {
            shelf.owed_us -= game.replay.ahead_us;
            playFrameAhead(game, [&](std::int64_t frame_us) { time.advance(frame_us); });
            played = true;
        }
        shelf.ended = game.game_over || !readReplayFrameAhead(game);
    }
    // Between recorded frames the camera and the panel still follow the player.
    if (!played) followView(game, static_cast<float>(wall_us) / 1000000.0f);
}
