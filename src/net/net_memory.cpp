#include "net/net_memory.h"
#include "app/log.h"
#include "content/durable_file.h"
#include "content/places.h"
#include "net/address.h"

#include <nlohmann/json.hpp>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {
void writeMemory(const NetMemory& memory) {
    if (!memory.kept || memory.file.empty()) return;
    nlohmann::json root = {{"last_address", memory.last_address}};
    if (memory.match_token != 0) {
        char token[17];
        std::snprintf(token, sizeof token, "%016llx", static_cast<unsigned long long>(memory.match_token));
        root["match"] = {{"token", token}, {"host", memory.match_host}};
    }
    std::string error = replaceFileDurably(memory.file, root.dump(2) + "\n");
    if (!error.empty()) logLine("⚠️ Not remembered in ", memory.file, ": ", error);
}

void readMatch(NetMemory& memory, const nlohmann::json& root) {
    auto match = root.find("match");
    if (match == root.end() || !match->is_object()) return;
    auto token = match->find("token");
    auto host = match->find("host");
    if (token == match->end() || !token->is_string() || host == match->end() || !host->is_string()) return;
    const std::string& digits = token->get_ref<const std::string&>();
    if (digits.size() != 16 || digits.find_first_not_of("0123456789abcdef") != std::string::npos) return;
    if (!parseAddress(host->get<std::string>())) return;
    memory.match_token = std::stoull(digits, nullptr, 16);
    memory.match_host = host->get<std::string>();
}
}  // namespace

std::string netMemoryFilePath() { return userDataFile("network.json"); }

void loadNetMemory(NetMemory& memory) {
    memory.last_address.clear();
    memory.match_token = 0;
    memory.match_host.clear();
    if (!memory.kept || memory.file.empty()) return;
    std::ifstream stream(memory.file, std::ios::binary);
    if (!stream) return;
    std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
    auto address = root.is_object() ? root.find("last_address") : root.end();
    // Only an address the field itself would take comes back into it.
    if (root.is_object()) readMatch(memory, root);
    if (address != root.end() && address->is_string() && parseAddress(address->get<std::string>()))
        memory.last_address = address->get<std::string>();
    else if (!root.is_object() || (address != root.end() && *address != ""))
        logLine("⚠️ ", memory.file, " is unreadable; no address remembered");
}


void rememberAddress(NetMemory& memory, const std::string& address) {
    memory.last_address = address;
    writeMemory(memory);
}

void rememberMatch(NetMemory& memory, std::uint64_t token, const std::string& host) {
    memory.match_token = token;
    memory.match_host = host;
    writeMemory(memory);
}

void forgetMatch(NetMemory& memory) {
    if (memory.match_token == 0) return;
    memory.match_token = 0;
    memory.match_host.clear();
    writeMemory(memory);
}
