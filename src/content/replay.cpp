#include "content/replay.h"
#include "content/upgrades.h"

#include <cstring>

// A frame is one variable-length number: the change in its length from the frame before
// (zigzag-coded, so a steady frame rate costs a byte or two a frame) shifted left once,
// the low bit set when commands follow: their count, then each as its kind and fields.
namespace {
constexpr std::int64_t kLongestFrameUs = 3'600'000'000;  // an hour: a window dragged about, a debugger
constexpr std::uint64_t kMostCommands = 1000;            // in one frame
constexpr std::uint64_t kMostUnits = 4096;               // in one selection
constexpr std::uint64_t kLongestMessage = 65536;
constexpr std::uint64_t kLongestRoundTripMs = 60000;  // longer ones are never taken

void putNumber(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(char(value | 0x80));
        value >>= 7;
    }
    out.push_back(char(value));
}

bool takeNumber(ReplayFrameReader& reader, std::uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (reader.at >= reader.frames->size()) return false;
        auto byte = std::uint8_t((*reader.frames)[reader.at++]);
        value |= std::uint64_t(byte & 0x7f) << shift;
        if (!(byte & 0x80)) return true;
    }
    return false;
}

bool takeByte(ReplayFrameReader& reader, std::uint8_t& byte) {
    if (reader.at >= reader.frames->size()) return false;
    byte = std::uint8_t((*reader.frames)[reader.at++]);
    return true;
}

void putFloat(std::string& out, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(char(bits >> shift));
}

bool takeFloat(ReplayFrameReader& reader, float& value) {
    std::uint32_t bits = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        std::uint8_t byte;
        if (!takeByte(reader, byte)) return false;
        bits |= std::uint32_t(byte) << shift;
    }
    std::memcpy(&value, &bits, 4);
    return true;
}

void putCommand(std::string& out, const ReplayCommand& command) {
    out.push_back(char(command.kind));
    switch (command.kind) {
        case ReplayCommandKind::Spawn:
            out.push_back(char(command.side));
            out.push_back(char(command.value));
            break;
        case ReplayCommandKind::PanelPress:
        case ReplayCommandKind::Upgrade:
        case ReplayCommandKind::OpponentUpgrade:
        case ReplayCommandKind::LinkLost: out.push_back(char(command.value)); break;
        case ReplayCommandKind::Order:
            putFloat(out, command.point.x);
            putFloat(out, command.point.y);
            break;
        case ReplayCommandKind::Select:
            putNumber(out, command.units.size());
            for (UnitId id : command.units) putNumber(out, id);
            break;
        case ReplayCommandKind::Message:
            out.push_back(char(command.side));
            putNumber(out, command.bytes.size());
            out.append(command.bytes.begin(), command.bytes.end());
            break;
        case ReplayCommandKind::RoundTrip:
            out.push_back(char(command.side));
            putNumber(out, command.milliseconds);
            break;
        case ReplayCommandKind::Pause:
        case ReplayCommandKind::ClearOrders:
        case ReplayCommandKind::TakenBack: break;
    }
}

bool fail(ReplayFrameReader& reader, const std::string& why) {
    reader.error = why + " at byte " + std::to_string(reader.at) + " of the frames";
    return false;
}

bool takeCommand(ReplayFrameReader& reader, ReplayCommand& command) {
    std::uint8_t kind;
    if (!takeByte(reader, kind)) return fail(reader, "a command is cut short");
    command = ReplayCommand{};
    command.kind = ReplayCommandKind(kind);
    std::uint64_t count = 0;
    switch (command.kind) {
        case ReplayCommandKind::Spawn:
            if (!takeByte(reader, command.side) || !takeByte(reader, command.value)) return fail(reader, "a spawn is cut short");
            if (command.side > 1 || command.value > 2) return fail(reader, "a spawn names no lane");
            return true;
        case ReplayCommandKind::PanelPress:
        case ReplayCommandKind::Upgrade:
            if (!takeByte(reader, command.value)) return fail(reader, "a panel press is cut short");
            if (command.value >= kPanelButtonCount) return fail(reader, "a panel press names no button");
            return true;
        case ReplayCommandKind::Order:
            if (!takeFloat(reader, command.point.x) || !takeFloat(reader, command.point.y))
                return fail(reader, "an order is cut short");
            return true;
        case ReplayCommandKind::Select:
            if (!takeNumber(reader, count) || count > kMostUnits) return fail(reader, "a selection is too large");
            command.units.resize(count);
            for (UnitId& id : command.units) {
                std::uint64_t value;
                if (!takeNumber(reader, value) || value > 0xffffffffu) return fail(reader, "a selection is cut short");
                id = UnitId(value);
            }
            return true;
        case ReplayCommandKind::OpponentUpgrade:
            if (!takeByte(reader, command.value) || command.value < 1 || command.value > 4)
                return fail(reader, "an opponent upgrade names no kind");
            return true;
        case ReplayCommandKind::LinkLost:
            if (!takeByte(reader, command.value) || command.value > 1) return fail(reader, "a lost link is malformed");
            return true;
        case ReplayCommandKind::RoundTrip:
            if (!takeByte(reader, command.side) || command.side > kBattlePass || !takeNumber(reader, count) ||
                count >= kLongestRoundTripMs)
                return fail(reader, "a round trip is malformed");
            command.milliseconds = std::uint32_t(count);
            return true;
        case ReplayCommandKind::Message:
            if (!takeByte(reader, command.side) || command.side > kBattlePass) return fail(reader, "a message has no pass");
            if (!takeNumber(reader, count) || count == 0 || count > kLongestMessage ||
                count > reader.frames->size() - reader.at)
                return fail(reader, "a message is cut short");
            command.bytes.assign(reader.frames->begin() + std::ptrdiff_t(reader.at),
                                 reader.frames->begin() + std::ptrdiff_t(reader.at + count));
            reader.at += count;
            return true;
        case ReplayCommandKind::Pause:
        case ReplayCommandKind::ClearOrders:
        case ReplayCommandKind::TakenBack: return true;
    }
    return fail(reader, "unknown command " + std::to_string(kind));
}
}  // namespace

void appendReplayFrame(ReplayLog& log, std::int64_t frame_us) {
    std::int64_t change = frame_us - log.previous_frame_us;
    log.previous_frame_us = frame_us;
    auto zigzag = change < 0 ? (std::uint64_t(-(change + 1)) << 1) | 1 : std::uint64_t(change) << 1;
    std::string& out = log.replay.frames;
    putNumber(out, zigzag << 1 | (log.pending.empty() ? 0 : 1));
    if (!log.pending.empty()) {
        putNumber(out, log.pending.size());
        for (const ReplayCommand& command : log.pending) putCommand(out, command);
        log.pending.clear();
    }
    ++log.replay.frame_count;
}

bool readReplayFrame(ReplayFrameReader& reader, std::int64_t& frame_us, std::vector<ReplayCommand>& commands) {
    commands.clear();
    std::uint64_t value;
    if (reader.at >= reader.frames->size()) return false;
    if (!takeNumber(reader, value)) return fail(reader, "a frame is cut short");
    std::uint64_t zigzag = value >> 1;
    std::int64_t change = zigzag & 1 ? -std::int64_t(zigzag >> 1) - 1 : std::int64_t(zigzag >> 1);
    if (change > kLongestFrameUs || change < -kLongestFrameUs) return fail(reader, "a frame's length is out of range");
    frame_us = reader.previous_us + change;
    if (frame_us < 0 || frame_us > kLongestFrameUs) return fail(reader, "a frame's length is out of range");
    reader.previous_us = frame_us;
    if (!(value & 1)) return true;
    std::uint64_t count;
    if (!takeNumber(reader, count) || count == 0 || count > kMostCommands) return fail(reader, "a frame has too many commands");
    commands.resize(count);
    for (ReplayCommand& command : commands)
        if (!takeCommand(reader, command)) return false;
    return true;
}

namespace {
template <typename Wanted>
std::optional<ReplayCommand> takeFed(ReplayLog& log, Wanted wanted) {
    if (!log.playing) return std::nullopt;
    for (std::size_t i = 0; i < log.feed.size(); ++i) {
        if (!wanted(log.feed[i])) continue;
        ReplayCommand taken = std::move(log.feed[i]);
        log.feed.erase(log.feed.begin() + std::ptrdiff_t(i));
        return taken;
    }
    return std::nullopt;
}
}  // namespace

std::optional<ReplayCommand> takeFedCommand(ReplayLog& log, ReplayCommandKind kind) {
    return takeFed(log, [kind](const ReplayCommand& command) { return command.kind == kind; });
}

std::optional<ReplayCommand> takeFedMessage(ReplayLog& log, std::uint8_t pass) {
    return takeFed(log, [pass](const ReplayCommand& command) {
        return command.side == pass &&
               (command.kind == ReplayCommandKind::Message || command.kind == ReplayCommandKind::RoundTrip);
    });
}
