#include "app/log.h"
#include "content/data_check.h"
#include "content/durable_file.h"
#include "content/json_positions.h"
#include "content/places.h"
#include "content/replay.h"

#include <SFML/Config.hpp>
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

using nlohmann::json;

namespace {
const char kMagic[] = "TVXREPLAY";
constexpr std::size_t kMagicBytes = sizeof(kMagic) - 1;
constexpr std::size_t kLongestEngineText = 20000;
const char* const kResults[] = {"won", "lost", "left"};

void putWord(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(char(value >> (8 * i)));
}

// The bytes of a file, read front to back; every read says whether the bytes were there.
struct Cursor {
    const std::string& bytes;
    std::size_t at = 0;

    bool word(std::uint64_t& value, int count) {
        if (bytes.size() - at < std::size_t(count)) return false;
        value = 0;
        for (int i = 0; i < count; ++i) value |= std::uint64_t(std::uint8_t(bytes[at++])) << (8 * i);
        return true;
    }
    bool block(std::string& out) {
        std::uint64_t size;
        if (!word(size, 4) || bytes.size() - at < size) return false;
        out.assign(bytes, at, size);
        at += size;
        return true;
    }
};

json randState(const BattleRandState& state) {
    return {{"table", state.table}, {"front", state.front}, {"rear", state.rear}};
}

template <typename Engine>
bool readEngine(const std::string& text) {
    if (text.empty() || text.size() > kLongestEngineText) return false;
    std::istringstream stream(text);
    Engine engine;
    stream >> engine;
    return !stream.fail();
}

std::string readRandState(const json& value, BattleRandState& state) {
    if (!value.is_object()) return "\"battle_rand\" is not an object";
    const json& table = value.value("table", json());
    if (!table.is_array() || table.size() != state.table.size()) return "\"battle_rand\" has no table of 31 numbers";
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i].is_number_integer()) return "\"battle_rand\" has no table of 31 numbers";
        std::int64_t entry = table[i].get<std::int64_t>();
        if (entry < INT32_MIN || entry > INT32_MAX) return "\"battle_rand\" has no table of 31 numbers";
        state.table[i] = std::int32_t(entry);
    }
    const json& front = value.value("front", json());
    const json& rear = value.value("rear", json());
    if (!front.is_number_integer() || !rear.is_number_integer()) return "\"battle_rand\" has no taps";
    state.front = front.get<int>();
    state.rear = rear.get<int>();
    if (state.front < 0 || state.front > 30 || (state.front - state.rear + 31) % 31 != 3)
        return "\"battle_rand\" has no taps";
    return "";
}

// What a LAN match's side knew of its peer as the match began; a field left out keeps
// what a fresh game knows.
std::string readLink(const json& value, json& link) {
    const char* const why = "the header's link is out of range";
    if (!value.is_object()) return value.is_null() ? "" : why;
    auto number = [&](const char* key, double low, double high) {
        const json& field = value.value(key, json());
        return field.is_null() || (field.is_number() && field.get<double>() >= low && field.get<double>() <= high);
    };
    const json& share = value.value("share_battle", json());
    if (!number("peer_version", 0, 255) || !number("round_trip_ms", -1, 60000) ||
        !number("smoothed_round_trip_ms", -1, 60000) || !(share.is_null() || share.is_boolean()))
        return why;
    link = value;
    return "";
}

// The header's fields, each of its type and range.
std::string readHeader(const json& header, Replay& replay) {
    if (!header.is_object()) return "the header is not a JSON object";
    auto text = [&](const char* key, std::string& out) {
        const json& value = header.value(key, json());
        if (!value.is_string()) return false;
        out = value.get<std::string>();
        return true;
    };
    auto integer = [&](const char* key, auto& out, long long low, long long high) {
        const json& value = header.value(key, json());
        if (!value.is_number_integer() || value.get<long long>() < low || value.get<long long>() > high) return false;
        out = decltype(out + 0)(value.get<long long>());
        return true;
    };
    if (!text("game_version", replay.game_version) || !text("build", replay.build) ||
        !text("level_name", replay.level_name) ||
        !text("result", replay.result) || !text("units_rng", replay.units_rng) ||
        !text("effects_rng", replay.effects_rng))
        return "the header lacks a text field";
    if (std::find(std::begin(kResults), std::end(kResults), replay.result) == std::end(kResults))
        return "unknown result \"" + replay.result + "\"";
    if (!integer("level", replay.level, 0, 10) || !integer("player_faction", replay.player_faction, 0, 4) ||
        !integer("enemy_faction", replay.enemy_faction, 0, 4) ||
        !integer("recorded_at", replay.recorded_at, 0, 1LL << 40) ||
        !integer("frame_count", replay.frame_count, 0, 0xffffffffLL))
        return "the header's level, factions, date or frame count are missing or out of range";
    const json& host = header.value("host", json());
    const json& length = header.value("length_seconds", json());
    if (!host.is_boolean() || !length.is_number() || !(length.get<double>() >= 0))
        return "the header's host or length is wrong";
    replay.host = host.get<bool>();
    replay.length_seconds = length.get<double>();
    if (!readEngine<std::mt19937>(replay.units_rng) || !readEngine<std::mt19937>(replay.effects_rng))
        return "an engine's state does not read";
    if (std::string why = readRandState(header.value("battle_rand", json()), replay.battle_rand); !why.empty()) return why;

    replay.config = header.value("config", json());
    replay.levels = header.value("levels", json());
    replay.level_data = header.value("level_data", json());
    replay.economy = header.value("economy", json());
    if (!replay.config.is_object() || !replay.levels.is_array() || !replay.level_data.is_object() ||
        !replay.economy.is_object())
        return "the rules are missing";
    // The rules are checked as the game checks its own files.
    if (auto problems = checkConfigText(replay.config.dump()); !problems.empty())
        return "its config.json: " + problems.front().message;
    if (auto problems = checkLevelsText(json{{"levels", replay.levels}}.dump()); !problems.empty())
        return "its levels.json: " + problems.front().message;
    if (replay.level == 0) return readLink(header.value("link", json()), replay.link);
    if (auto problems = checkLevelsText(json{{"levels", json::array({replay.level_data})}}.dump()); !problems.empty())
        return "its level: " + problems.front().message;
    return "";
}
}  // namespace

std::string thisBuild() {
#ifdef _WIN32
    const char* platform = "windows";
#else
    const char* platform = "linux";
#endif
    return std::string(platform) + " sfml " + std::to_string(SFML_VERSION_MAJOR) + "." +
           std::to_string(SFML_VERSION_MINOR);
}

std::string encodeReplay(const Replay& replay) {
    json header = {
        {"game_version", replay.game_version}, {"build", replay.build}, {"level", replay.level},
        {"level_name", replay.level_name},
        {"host", replay.host}, {"player_faction", replay.player_faction}, {"enemy_faction", replay.enemy_faction},
        {"result", replay.result}, {"recorded_at", replay.recorded_at}, {"length_seconds", replay.length_seconds},
        {"frame_count", replay.frame_count}, {"config", replay.config}, {"levels", replay.levels},
        {"level_data", replay.level_data}, {"economy", replay.economy}, {"link", replay.link},
        {"battle_rand", randState(replay.battle_rand)},
        {"units_rng", replay.units_rng}, {"effects_rng", replay.effects_rng},
    };
    std::string text = header.dump();
    std::string out(kMagic, kMagicBytes);
    out.push_back(char(kReplayFormat));
    putWord(out, text.size(), 4);
    out += text;
    putWord(out, replay.frames.size(), 4);
    out += replay.frames;
    putWord(out, replay.checks.size(), 4);
    for (const ReplayCheck& check : replay.checks) {
        putWord(out, check.frame, 4);
        putWord(out, check.digest, 8);
    }
    return out;
}

std::string decodeReplay(const std::string& bytes, Replay& replay) {
    if (bytes.size() > kMaxReplayBytes) return "larger than " + std::to_string(kMaxReplayBytes) + " bytes";
    if (bytes.compare(0, kMagicBytes, kMagic) != 0) return "not a replay file";
    Cursor cursor{bytes, kMagicBytes};
    std::uint64_t format = 0;
    if (!cursor.word(format, 1)) return "cut short";
    if (format != kReplayFormat) return "replay format " + std::to_string(format) + " is not known to this game";
    std::string header_text;
    if (!cursor.block(header_text)) return "cut short in the header";
    if (tooDeepOffset(header_text) < header_text.size()) return "the header is nested too deep";
    json header = json::parse(header_text, nullptr, false);
    if (header.is_discarded()) return "the header is not JSON";
    replay = Replay{};
    if (std::string why = readHeader(header, replay); !why.empty()) return why;
    if (!cursor.block(replay.frames)) return "cut short in the frames";
    std::uint64_t count = 0;
    if (!cursor.word(count, 4) || count > (bytes.size() - cursor.at) / 12) return "cut short in the digests";
    replay.checks.resize(count);
    std::uint32_t last = 0;
    for (ReplayCheck& check : replay.checks) {
        std::uint64_t frame = 0;
        cursor.word(frame, 4);
        cursor.word(check.digest, 8);
        check.frame = std::uint32_t(frame);
        if (check.frame < last || check.frame > replay.frame_count) return "the digests are out of order";
        last = check.frame;
    }
    if (cursor.at != bytes.size()) return "bytes after the end";
    // The last digest is taken at the last frame: without it nothing could be checked.
    if (replay.checks.empty() || replay.checks.back().frame != replay.frame_count) return "no digest at its end";
    return "";
}

std::string localTimeText(std::int64_t seconds, const char* format) {
    std::time_t when = std::time_t(seconds);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char text[64];
    std::strftime(text, sizeof(text), format, &local);
    return text;
}

std::string replayFileName(const Replay& replay) {
    return localTimeText(replay.recorded_at, "%Y%m%d-%H%M%S") + "-" +
           (replay.level > 0 ? std::to_string(replay.level) : "lan") + ".tvxreplay";
}

std::string replayFolder() { return userDataFile("replays"); }

std::vector<std::string> listReplays(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder), error))
        if (entry.path().extension() == ".tvxreplay") files.push_back(entry.path().u8string());
    // The names begin with the date and time, so the newest sorts last.
    std::sort(files.rbegin(), files.rend());
    return files;
}

std::string saveReplay(const Replay& replay, const std::string& folder) {
    if (folder.empty()) return "";
    std::string name = replayFileName(replay);
    std::filesystem::path file = std::filesystem::u8path(folder) / std::filesystem::u8path(name);
    // Two matches that end within the same second keep both.
    for (int n = 2; std::filesystem::exists(file); ++n)
        file = std::filesystem::u8path(folder) / std::filesystem::u8path(name.substr(0, name.size() - 10) + "-" +
                                                                          std::to_string(n) + ".tvxreplay");
    std::string error = replaceFileDurably(file.u8string(), encodeReplay(replay));
    if (!error.empty()) {
        logLine("⚠️ 回放未能保存：", error);
        return "";
    }
    std::vector<std::string> kept = listReplays(folder);
    for (std::size_t i = kKeptReplays; i < kept.size(); ++i) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::u8path(kept[i]), ignored);
    }
    logLine("🎬 回放已保存：", file.u8string());
    return file.u8string();
}

std::string loadReplay(const std::string& file, Replay& replay) {
    std::ifstream stream(std::filesystem::u8path(file), std::ios::binary | std::ios::ate);
    if (!stream) return "cannot be opened";
    std::streamoff size = stream.tellg();
    if (size < 0 || std::uint64_t(size) > kMaxReplayBytes)
        return "cannot be read, or larger than " + std::to_string(kMaxReplayBytes) + " bytes";
    std::string bytes(std::size_t(size), '\0');
    stream.seekg(0);
    if (!stream.read(bytes.data(), size)) return "cannot be read";
    return decodeReplay(bytes, replay);
}
