#include "net/net_support.h"
#include "net/packet_reader.h"
#include "net/snapshot.h"

// The joining game's side of a snapshot, fed straight into its message handling.
namespace {
std::vector<Message> packetsOf(const Snapshot& snapshot) {
    std::vector<Message> packets;
    encodeSnapshot(snapshot, packets);
    return packets;
}

struct SnapshotFollow : GameTest {
    SnapshotFollow() { enterMatch(game, Blue, Red, true); }

    // A host with `count` units spread over the lanes (number, lane, order, x, y, hp and
    // seconds since the last shot), and none of ours.
    Snapshot hostWith(int count) {
        Snapshot snapshot;
        snapshot.serial = 7;
        snapshot.host_money = 432.5f;
        for (int i = 0; i < count; ++i)
            snapshot.host_units.push_back(
                {std::uint16_t(i + 1), std::uint8_t(i % 3), false, 380.0f + float(i), 900.0f - 10 * float(i), 2, 0.25f});
        return snapshot;
    }
};
}  // namespace

// Our spawns reach the host in order: one it has not numbered yet is still on its way
// and stays; one it numbered and no longer has is gone.
TEST_F(SnapshotFollow, AWholeSnapshotIsFollowedAndOurUnitsTheHostHasNotHeardOfYetStay) {
    for (int lane : {0, 1}) spawnPlayerTurret(game, lane);
    game.player_money = 500;
    Snapshot snapshot = hostWith(30);
    snapshot.host_units[4] = {5, 1, true, 123.4375f, 860, 2, 0.25f, 450, 1000};  // a sixteenth of a pixel travels exactly
    snapshot.joiner_base_damage = 40;
    snapshot.joiner_spawns = 1;
    snapshot.joiner_units.push_back({1, 0, false, 380, -550, 1});
    std::vector<Message> packets = packetsOf(snapshot);
    ASSERT_EQ(packets.size(), 1u + 3u + 1u + 1u);  // begin, 30 host units in packets of 12, ours, end
    for (const Message& packet : packets) EXPECT_LE(packet.size(), kMaxPacketBytes);

    EXPECT_EQ(handleMessages(game, packets), "") << "snapshots are too frequent to log";
    EXPECT_TRUE(game.sync.following);
    ASSERT_EQ(game.enemy_turrets.size(), 30u);
    const Turret& fifth = game.enemy_turrets[4];
    EXPECT_EQ(std::make_tuple(fifth.net_number, fifth.lane, fifth.move_order, fifth.hp), std::make_tuple(5, 1, 1, 2.0f));
    EXPECT_EQ(fifth.position, sf::Vector2f(123.4375f, 600.0f - 860.0f));  // mirrored
    EXPECT_EQ(fifth.move_target, sf::Vector2f(450, 600.0f - 1000.0f));
    EXPECT_NEAR(fifth.fire_clock.elapsedSeconds(), 0.25f, 0.01f);
    EXPECT_EQ(std::make_tuple(game.enemy_money, game.player_money), std::make_tuple(432.5f, 460.0f));  // ours less 40
    EXPECT_EQ(game.player_turrets.size(), 2u);  // our second spawn is still on its way

    // The host lost ten units, hit one and numbered our second spawn, which it no longer
    // has; the rest keep their place in our lists.
    snapshot.serial = 8;
    snapshot.host_units.erase(snapshot.host_units.begin(), snapshot.host_units.begin() + 10);
    snapshot.host_units[0].hp = 0.5f;
    snapshot.joiner_spawns = 2;
    handleMessages(game, packetsOf(snapshot));
    ASSERT_EQ(game.enemy_turrets.size(), 20u);
    EXPECT_EQ(std::make_tuple(game.enemy_turrets[0].net_number, game.enemy_turrets[0].hp), std::make_tuple(11, 0.5f));
    EXPECT_EQ(game.player_money, 460.0f);  // the same damage is not charged twice
    ASSERT_EQ(game.player_turrets.size(), 1u);
    EXPECT_EQ(std::make_tuple(game.player_turrets[0].net_number, game.player_turrets[0].lane), std::make_tuple(1, 0));
}

TEST_F(SnapshotFollow, MalformedSnapshotsAreDroppedAndLoggedOnce) {
    using Spoil = std::function<void(std::vector<Message>&)>;
    auto unitByte = [](std::size_t unit, std::size_t byte) { return kSnapshotUnitsHeader + unit * kUnitRecordLength + byte; };
    const std::vector<std::pair<const char*, Spoil>> spoilers = {
        {"lane 3", [&](std::vector<Message>& p) { p[1][unitByte(0, 2)] = 3; }},
        {"hp not a number", [&](std::vector<Message>& p) { for (int i = 0; i < 4; ++i) p[1][unitByte(1, 8 + i)] = 0xFF; }},
        {"hp zero", [&](std::vector<Message>& p) { for (int i = 0; i < 4; ++i) p[1][unitByte(1, 8 + i)] = 0; }},
        {"far off the field", [&](std::vector<Message>& p) { p[1][unitByte(2, 4)] = 0x7F; }},
        {"two units, one number", [&](std::vector<Message>& p) { p[1][unitByte(1, 1)] = p[1][unitByte(0, 1)]; }},
        {"units of another serial", [&](std::vector<Message>& p) { p[1][2] ^= 1; }},
        {"a unit packet missing", [&](std::vector<Message>& p) { p.erase(p.begin() + 1); }},
        {"more units than announced", [&](std::vector<Message>& p) { p[0][15] = 1; }},
        {"no begin", [&](std::vector<Message>& p) { p.erase(p.begin()); }},
        {"short begin", [&](std::vector<Message>& p) { p[0].resize(10); }},
        {"short units", [&](std::vector<Message>& p) { p[1].resize(p[1].size() - 1); }},
        {"thirteen in one packet", [&](std::vector<Message>& p) { p[1][4] = 13; }},
        {"money not a number", [&](std::vector<Message>& p) { for (int i = 0; i < 4; ++i) p[0][4 + i] = 0xFF; }},
    };
    std::string log;
    for (const auto& [name, spoil] : spoilers) {
        std::vector<Message> packets = packetsOf(hostWith(14));
        spoil(packets);
        log += handleMessages(game, packets);
        EXPECT_TRUE(game.enemy_turrets.empty() && !game.sync.following) << name;
    }
    EXPECT_EQ(countOf(log, "⚠️ 收到无效的战场快照，已丢弃\n"), 1u) << log;

    // Nobody corrects the host's battle, not even with a whole snapshot; the joining game
    // follows the next whole snapshot as usual.
    for (bool host : {true, false}) {
        game.lobby.is_host = host;
        handleMessages(game, packetsOf(hostWith(14)));
        EXPECT_EQ(game.enemy_turrets.size(), host ? 0u : 14u);
    }
}
