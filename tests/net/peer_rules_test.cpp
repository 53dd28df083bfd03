#include "content/config.h"
#include "net/net_support.h"

// The rules exchange against a peer the test plays byte by byte, on 127.0.0.1 inside the private
// network: the game under test joins it (or hosts it), and both sides' config.json differ by design.
namespace {
const char kOwnConfig[] = R"({"gameplay": {"player_start_money": 1000, "enemy_start_money": 1000}})";

Message helloWith(std::uint64_t rules) {
    Message hello{MsgHello, kProtocolVersion};
    for (int shift = 56; shift >= 0; shift -= 8) hello.push_back(std::uint8_t(rules >> shift));
    return hello;
}

// The host's rules as its transfer: begin with the announced size, the text in parts, end.
std::vector<Message> rulesTransfer(const std::string& text, std::uint32_t announced) {
    std::vector<Message> messages{{MsgRulesBegin, std::uint8_t(announced >> 24), std::uint8_t(announced >> 16),
                                   std::uint8_t(announced >> 8), std::uint8_t(announced)}};
    for (std::size_t at = 0; at < text.size(); at += kTextPartBytes) {
        Message part{MsgRulesPart};
        part.insert(part.end(), text.begin() + std::ptrdiff_t(at),
                    text.begin() + std::ptrdiff_t(std::min(text.size(), at + kTextPartBytes)));
        messages.push_back(part);
    }
    messages.push_back({MsgRulesEnd});
    return messages;
}

struct PeerRulesNetns : testing::Test {
    GameFixture fixture{kOwnConfig};
    Game& game = *fixture.game;
    LoopbackPeer peer;

    void SetUp() override { REQUIRE_PRIVATE_NETWORK(); }

    // Frames until the peer has what the game sent; returns the game's log meanwhile.
    std::string frames() { return stdoutOf([&] { stepUntil(game, [] { return false; }, 0.06); }); }

    void send(const std::vector<Message>& messages) {
        for (const Message& message : messages) {
            sf::Packet packet;
            for (std::uint8_t byte : message) packet << byte;
            ASSERT_EQ(peer.socket.send(packet), sf::Socket::Status::Done);
        }
    }

    void joinAHostWhoseRulesDiffer(std::uint64_t host_rules = 42) {
        ASSERT_TRUE(peer.connect(game.lobby, false));
        enterNetworkGame(game);
        frames();
        std::vector<Message> sent = peer.receive();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.front(), helloWith(rulesHash(game)));
        send({helloWith(host_rules)});
    }
};
}  // namespace

TEST_F(PeerRulesNetns, TheJoiningGamePlaysByTheHostsRulesForThisConnectionOnly) {
    const std::string host_rules = R"({"gameplay":{"enemy_start_money":300,"player_start_money":300}})";
    joinAHostWhoseRulesDiffer();
    send(rulesTransfer(host_rules, std::uint32_t(host_rules.size())));
    std::string log = frames();
    EXPECT_NE(log.find("⚠️ 双方规则不同，本局使用主机的规则\n"), std::string::npos) << log;
    EXPECT_NE(log.find("✅ 已载入主机的规则\n"), std::string::npos) << log;
    EXPECT_EQ(chineseText(game.link.notice), "⚠️ 双方规则不同，本局使用主机的规则");
    EXPECT_EQ(Config::instance().document.dump(), host_rules);
    EXPECT_EQ(game.player_money, 300);
    EXPECT_EQ(rulesHash(game) == game.link.own_rules, false);

    // The host leaves: our own rules and money are back, and the notice is gone.
    peer.socket.disconnect();
    log = frames();
    EXPECT_NE(log.find("✅ 已恢复自己的规则\n"), std::string::npos) << log;
    EXPECT_EQ(Config::instance().document, nlohmann::json::parse(kOwnConfig));
    EXPECT_EQ(std::make_pair(game.player_money, chineseText(game.link.notice)), std::make_pair(1000.0f, std::string()));
}

TEST_F(PeerRulesNetns, AHostileTransferIsRefusedAndTheJoiningGameKeepsItsOwnRules) {
    const std::tuple<std::string, std::uint32_t, std::string> cases[] = {  // text, size announced, why refused
        {"", kMaxTextBytes + 1, "超过 262144 字节"},
        {std::string(600, '{'), 300, "超过宣布的大小"},
        {"not json at all", 15, ""},
        {R"({"gameplay": {"player_start_money": "lots"}})", 44, ""},
        {R"({"turret": {"player": {"red": {"hp": 1e300}}}})", 44, ""},
        {R"({"gameplay": {"player_start_money": 5}})", 60, "传输不完整"},
    };
    joinAHostWhoseRulesDiffer();
    for (const auto& [text, announced, why] : cases) {
        send(rulesTransfer(text, announced));
        std::string log = frames();
        SCOPED_TRACE(text.substr(0, 60));
        std::string notice = chineseText(game.link.notice);
        EXPECT_EQ(notice.rfind("⚠️ 主机的规则无法使用（", 0), 0u) << notice;
        EXPECT_NE(notice.find(why + "），本局使用自己的规则"), std::string::npos) << notice;
        EXPECT_NE(log.find(notice + "\n"), std::string::npos) << log;
        EXPECT_FALSE(game.link.playing_host_rules);
        EXPECT_EQ(Config::instance().document, nlohmann::json::parse(kOwnConfig));
        EXPECT_EQ(game.player_money, 1000);
        game.link.notice = {};
    }
}

// The host sends its rules when the joining game's differ, and only then; a host never
// takes rules from the joining game.
TEST_F(PeerRulesNetns, TheHostSendsItsRulesWhenTheJoinersDiffer) {
    startHostThread(game.lobby);  // the host without its beacon
    ASSERT_TRUE(waitUntil([&] { return game.lobby.listening.load(); }, 5));
    ASSERT_EQ(peer.socket.connect(sf::IpAddress::LocalHost, game.lobby.listen_port), sf::Socket::Status::Done);
    ASSERT_TRUE(waitUntil([&] { return game.lobby.connected.load(); }, 5));
    enterNetworkGame(game);
    frames();
    ASSERT_EQ(peer.receive(), std::vector<Message>{helloWith(rulesHash(game))});
    send({helloWith(rulesHash(game))});
    frames();
    EXPECT_EQ(chineseText(game.link.notice), "");
    for (const Message& message : peer.receive()) EXPECT_EQ(message[0], MsgPing);  // and no rules

    send({helloWith(7)});
    std::string log = frames();
    EXPECT_NE(log.find("⚠️ 双方规则不同，本局使用主机的规则\n"), std::string::npos) << log;
    std::string transferred;
    std::uint32_t announced = 0;
    bool ended = false;
    for (const Message& message : peer.receive()) {
        if (message[0] == MsgRulesBegin) announced = message[1] << 24 | message[2] << 16 | message[3] << 8 | message[4];
        if (message[0] == MsgRulesPart) transferred.append(message.begin() + 1, message.end());
        ended = ended || message[0] == MsgRulesEnd;
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(announced, transferred.size());
    EXPECT_EQ(nlohmann::json::parse(transferred), nlohmann::json::parse(kOwnConfig));

    const std::string joiner_rules = R"({"gameplay":{"player_start_money":5}})";
    send(rulesTransfer(joiner_rules, std::uint32_t(joiner_rules.size())));
    frames();
    EXPECT_EQ(Config::instance().document, nlohmann::json::parse(kOwnConfig));
}
