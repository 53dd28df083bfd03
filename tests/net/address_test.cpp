#include "net/address.h"
#include "net/net_memory.h"
#include "support.h"

#include <optional>

TEST(Address, HostAndPortAsTyped) {
    struct Case {
        const char* text;
        std::optional<std::string> host;
        unsigned short port;
    };
    const Case cases[] = {
        {"192.168.1.20", "192.168.1.20", 55003},
        {"  gamebox.lan:55010 ", "gamebox.lan", 55010},
        {"localhost:1", "localhost", 1},
        {"peer-2_x:65535", "peer-2_x", 65535},
        {"", std::nullopt, 0},
        {"   ", std::nullopt, 0},
        {":55003", std::nullopt, 0},
        {"host:", std::nullopt, 0},
        {"host:0", std::nullopt, 0},
        {"host:65536", std::nullopt, 0},
        {"host:12x", std::nullopt, 0},
        {"host:1:2", std::nullopt, 0},
        {"two words", std::nullopt, 0},
        {"主机", std::nullopt, 0},
        {"[::1]:55003", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        std::optional<PeerAddress> address = parseAddress(c.text);
        ASSERT_EQ(address.has_value(), c.host.has_value()) << c.text;
        if (!address) continue;
        EXPECT_EQ(address->host, *c.host) << c.text;
        EXPECT_EQ(address->port, c.port) << c.text;
    }
    EXPECT_TRUE(parseAddress(std::string(253, 'a')));
    EXPECT_FALSE(parseAddress(std::string(254, 'a')));
    EXPECT_EQ(describeAddress({"10.0.0.7", 55003}), "10.0.0.7:55003");
}

// The last address is kept in the user's data folder across runs; a damaged file, or one
// holding no address the field would take, remembers nothing.
TEST(Address, TheLastAddressIsRememberedAcrossRuns) {
    TempDir dir;
    NetMemory memory;
    memory.file = netMemoryFilePath();
    // In the user's data folder, which the test has put in its own folder.
    ASSERT_EQ(memory.file.rfind(dir.path(), 0), 0u);
    ASSERT_EQ(memory.file.substr(memory.file.size() - 12), "network.json");
    loadNetMemory(memory);
    EXPECT_EQ(memory.last_address, "");
    rememberAddress(memory, "gamebox.lan:55010");

    NetMemory next_run;
    next_run.file = memory.file;
    loadNetMemory(next_run);
    EXPECT_EQ(next_run.last_address, "gamebox.lan:55010");

    for (const char* damaged : {"{\"last_address\": \"a b\"}", "not json", "{\"last_address\": 7}"}) {
        dir.write("data/tarvex/network.json", damaged);
        std::string log = stdoutOf([&] { loadNetMemory(next_run); });
        EXPECT_EQ(next_run.last_address, "") << damaged;
        EXPECT_NE(log.find("is unreadable; no address remembered"), std::string::npos) << damaged;
    }

    NetMemory not_kept;
    not_kept.file = memory.file;
    not_kept.kept = false;
    rememberAddress(not_kept, "elsewhere");
    EXPECT_EQ(fileContents(memory.file), "{\"last_address\": 7}");  // untouched
}
