#include "support.h"

#include <tuple>

TEST(Address, HostAndPortAsTyped) {
    const std::tuple<const char*, const char*, unsigned short> good[] = {
        {"192.168.1.20", "192.168.1.20", 55003}, {"  gamebox.lan:55010 ", "gamebox.lan", 55010},
        {"localhost:1", "localhost", 1}, {"peer-2_x:65535", "peer-2_x", 65535}};
    for (auto [text, host, port] : good) {
        std::optional<PeerAddress> address = parseAddress(text);
        ASSERT_TRUE(address) << text;
        EXPECT_EQ(std::make_pair(address->host, address->port), std::make_pair(std::string(host), port)) << text;
    }
    for (const char* bad : {"", "   ", ":55003", "host:", "host:0", "host:65536", "host:12x", "host:1:2", "two words",
                            "主机", "[::1]:55003"})
        EXPECT_FALSE(parseAddress(bad)) << bad;
    EXPECT_TRUE(parseAddress(std::string(253, 'a')));
    EXPECT_FALSE(parseAddress(std::string(254, 'a')));
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
