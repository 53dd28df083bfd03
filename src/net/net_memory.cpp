#include "net/net_memory.h"
#include "app/log.h"
#include "content/durable_file.h"
#include "content/places.h"
#include "net/address.h"

#include <nlohmann/json.hpp>
#include <fstream>
#include <iterator>

std::string netMemoryFilePath() {
    std::string folder = userDataFolder();
    return folder.empty() ? "" : folder + "network.json";
}

void loadNetMemory(NetMemory& memory) {
    memory.last_address.clear();
    if (!memory.kept || memory.file.empty()) return;
    std::ifstream stream(memory.file, std::ios::binary);
    if (!stream) return;
    std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
    auto address = root.is_object() ? root.find("last_address") : root.end();
    // Only an address the field itself would take comes back into it.
    if (address != root.end() && address->is_string() && parseAddress(address->get<std::string>()))
        memory.last_address = address->get<std::string>();
    else if (!root.is_object() || address != root.end())
        logLine("⚠️ ", memory.file, " is unreadable; no address remembered");
}

void rememberAddress(NetMemory& memory, const std::string& address) {
    memory.last_address = address;
    if (!memory.kept || memory.file.empty()) return;
    nlohmann::json root = {{"last_address", address}};
    std::string error = replaceFileDurably(memory.file, root.dump(2) + "\n");
    if (!error.empty()) logLine("⚠️ Address not remembered in ", memory.file, ": ", error);
}
