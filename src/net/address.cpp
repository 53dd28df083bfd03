#include "net/address.h"

namespace {
bool isHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

std::string_view trimmed(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<unsigned short> parsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + unsigned(c - '0');
    }
    if (value == 0 || value > 65535) return std::nullopt;
    return static_cast<unsigned short>(value);
}
std::optional<PeerAddress> parseAddress(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || text.size() > kMaxAddressLength) return std::nullopt;
    PeerAddress address;
    std::string_view host = text;
    std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        host = text.substr(0, colon);
        std::optional<unsigned short> port = parsePort(text.substr(colon + 1));
        if (!port) return std::nullopt;
        address.port = *port;
    }
    if (host.empty() || host.size() > 253) return std::nullopt;
    for (char c : host)
        if (!isHostCharacter(c)) return std::nullopt;
    address.host = std::string(host);
    return address;
}

std::string describeAddress(const PeerAddress& address) { return address.host + ":" + std::to_string(address.port); }
