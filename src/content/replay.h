#pragma once
#include "battle/battle_rand.h"
#include "battle/turret.h"

#include <SFML/System/Vector2.hpp>
#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

// A match kept as the engines' states at its start, the length of every frame and what
// the player did to the battle at each, with a digest of the battle every second of game
// time: played again with the same rules, it is the same battle bit for bit.

enum class ReplayCommandKind : std::uint8_t {
    Spawn = 1,        // side (0 the player's, 1 the opponent's keys), lane
    Pause = 2,        // P
    ClearOrders = 3,  // a click beside the units
    Select = 4,       // a box selection: the units it took
    Order = 5,        // a right click: the field point
    PanelPress = 6,   // a side-panel button pressed, within the frame
    Message = 7,      // a message from the peer, handled within the frame: its pass, its bytes
    Upgrade = 8,      // a panel purchase between frames (the balance lab's players): the button
    RoundTrip = 9,    // a round trip measured within the frame: its pass, the milliseconds
    OpponentUpgrade = 10,  // an opponent-upgrade key in a network match: the kind, 1 to 4
    LinkLost = 11,    // the connection dropped: 1 when the match was held for the peer
    TakenBack = 12,   // host: the held match's peer came back
};

// Where in a frame a peer's message was handled: with the link's own messages at the
// frame's start, or with the rest of the queue in the battle's step.
constexpr std::uint8_t kLinkPass = 0, kBattlePass = 1;

struct ReplayCommand {
    ReplayCommandKind kind = ReplayCommandKind::Pause;
    std::uint8_t side = 0;             // Spawn: the side; Message, RoundTrip: the pass
    std::uint8_t value = 0;            // a lane, a panel button, an upgrade kind, held or not
    std::uint32_t milliseconds = 0;    // RoundTrip
    sf::Vector2f point;                // Order
    std::vector<UnitId> units;         // Select
    std::vector<std::uint8_t> bytes;   // Message
};

inline ReplayCommand commandOf(ReplayCommandKind kind, std::uint8_t side = 0, std::uint8_t value = 0) {
    ReplayCommand command;
    command.kind = kind;
    command.side = side;
    command.value = value;
    return command;
}

// Commands that act inside a frame's update, where the frame met them; the others come
// from the input handled before it.
inline bool actsWithinFrame(ReplayCommandKind kind) {
    return kind == ReplayCommandKind::PanelPress || kind == ReplayCommandKind::Message ||
           kind == ReplayCommandKind::RoundTrip || kind == ReplayCommandKind::LinkLost ||
           kind == ReplayCommandKind::TakenBack;
}

struct ReplayCheck {
    std::uint32_t frame = 0;   // after this many frames
    std::uint64_t digest = 0;
};

// The build a replay was recorded by: the platform and SFML's version. The battle reckons
// with its own arithmetic (battle/battle_math.h) and keeps its own angles, so a replay is
// the same battle bit for bit on every build of the same game version.
std::string thisBuild();

struct Replay {
    std::string game_version;
    std::string build;
    std::string level_name;
    int level = 0;                  // 1 to 10 as players count, 0 a LAN match
    bool host = false;              // a LAN match: this side hosted
    int player_faction = 0, enemy_faction = 0;
    std::string result = "left";    // "won", "lost" or "left"
    std::int64_t recorded_at = 0;   // seconds since 1970, when the match began
    double length_seconds = 0;
    nlohmann::json config = nlohmann::json::object();  // the rules in force
    nlohmann::json levels = nlohmann::json::array();
    nlohmann::json level_data = nlohmann::json::object();  // the level as it was started
    nlohmann::json economy = nlohmann::json::object();  // money, incomes, upgrades, unit numbering at the start
    // A LAN match: this side's role, what it knew of the peer and whether it shared its
    // battle when the match began ({} for a level).
    nlohmann::json link = nlohmann::json::object();
    BattleRandState battle_rand;
    std::string units_rng, effects_rng;  // the engines' states, as the standard library writes them
    std::string frames;             // encoded (see replay.cpp)
    std::uint32_t frame_count = 0;
    std::vector<ReplayCheck> checks;
};

// Reads frames back one by one (readReplayFrame).
struct ReplayFrameReader {
    const std::string* frames = nullptr;
    std::size_t at = 0;
    std::int64_t previous_us = 0;
    std::string error;
};

// The match being recorded, or played back.
struct ReplayLog {
    bool recording = false;
    bool playing = false;              // a replay drives the battle: live input is ignored
    Replay replay;
    std::vector<ReplayCommand> pending;  // this frame's, until the frame ends
    std::int64_t previous_frame_us = 0;
    double game_time = 0;              // seconds of recorded frames
    std::vector<ReplayCommand> feed;   // while playing: the current frame's in-frame commands
    ReplayFrameReader reader;          // while playing: the next frame
    std::int64_t ahead_us = -1;        // while playing: the frame read ahead, -1 none
    std::vector<ReplayCommand> ahead_commands;
    std::size_t next_check = 0;        // while playing: the digest to compare next
    std::uint32_t frames_played = 0;
    std::uint64_t last_digest = 0;
    bool diverged = false;             // a digest differed
    std::string folder;                // where finished recordings go; "" keeps none
    // Both sides' money (x the player's) every half second of the match and at its end,
    // for the tug of war on the results screen.
    std::vector<sf::Vector2f> money;
};

// One kept replay as the list shows it.
struct ReplayListing {
    std::string file;
    std::string line;  // date, level, factions, result and length
};

constexpr int kReplayRowsShown = 16;
// Where the replays button lies on the level selection, and the list's rows.
constexpr float kReplaysButtonX = 1140, kReplaysButtonY = 20, kReplaysButtonWidth = 120, kReplaysButtonHeight = 40;
constexpr float kReplayRowX = 100, kReplayRowY = 100, kReplayRowWidth = 1080, kReplayRowHeight = 34;

// The replays button's list, and how the replay being watched is shown.
struct ReplayShelf {
    bool listing = false;                 // the list shows (over the level selection)
    std::vector<ReplayListing> listings;  // newest first
    int first_shown = 0;                  // rows scrolled past
    std::string notice;                   // why the replay clicked could not be played
    int speed = 1;                        // 1, 2, 4 or 8 recorded frames' time a wall second
    bool paused = false;
    std::int64_t owed_us = 0;             // wall time times the speed, not yet played
    bool ended = false;                   // every recorded frame has been played
    bool from_command_line = false;       // --replay: Esc leaves for the main menu
    nlohmann::json own_config;            // the player's rules, back when watching ends
    std::vector<nlohmann::json> own_levels;
    std::array<int, 2> own_factions{};
};

inline void recordCommand(ReplayLog& log, ReplayCommand command) {
    if (log.recording) log.pending.push_back(std::move(command));
}

inline void recordMessage(ReplayLog& log, std::uint8_t pass, const std::vector<std::uint8_t>& bytes) {
    if (!log.recording) return;
    ReplayCommand command = commandOf(ReplayCommandKind::Message, pass);
    command.bytes = bytes;
    log.pending.push_back(std::move(command));
}

inline void recordRoundTrip(ReplayLog& log, std::uint8_t pass, std::uint32_t milliseconds) {
    if (!log.recording) return;
    ReplayCommand command = commandOf(ReplayCommandKind::RoundTrip, pass);
    command.milliseconds = milliseconds;
    log.pending.push_back(std::move(command));
}

// The next in-frame command of a kind while playing back, in the order the frame met them.
std::optional<ReplayCommand> takeFedCommand(ReplayLog& log, ReplayCommandKind kind);
// The next message or round trip the frame handled in this pass, while playing back.
std::optional<ReplayCommand> takeFedMessage(ReplayLog& log, std::uint8_t pass);

// Appends one frame and its commands to the recording.
void appendReplayFrame(ReplayLog& log, std::int64_t frame_us);

// The next frame; false at the end or at a malformed frame (error says why).
bool readReplayFrame(ReplayFrameReader& reader, std::int64_t& frame_us, std::vector<ReplayCommand>& commands);

// The file: "TVXREPLAY" and a format number, then the header as JSON, the frames and the
// checks, each after its byte count. Returns "" or why the bytes are not a replay; nothing
// in them is trusted.
std::string encodeReplay(const Replay& replay);
std::string decodeReplay(const std::string& bytes, Replay& replay);

constexpr int kReplayFormat = 1;
constexpr std::size_t kMaxReplayBytes = 64u << 20;
constexpr int kKeptReplays = 50;

// Seconds since 1970 in local time, as strftime writes them with the format.
std::string localTimeText(std::int64_t seconds, const char* format);
// "YYYYMMDD-HHMMSS-<level or lan>.tvxreplay", in local time.
std::string replayFileName(const Replay& replay);
// The folder kept replays go to: "replays" in the user's data folder.
std::string replayFolder();
// Writes the replay atomically into the folder and keeps only the newest kKeptReplays
// there; returns the file written, or "" (the reason logged).
std::string saveReplay(const Replay& replay, const std::string& folder);
// Every replay in the folder, newest first.
std::vector<std::string> listReplays(const std::string& folder);
// Reads a replay file; "" or why it cannot be played.
std::string loadReplay(const std::string& file, Replay& replay);
