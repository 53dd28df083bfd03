#include "net/join.h"
#include "app/log.h"
#include "net/lan_lobby.h"

namespace {
void say(LanLobby& lobby, Phrase line, bool failed) {
    lobby.connect_line = std::move(line);
    lobby.connect_failed = failed;
    if (failed) logLine("❌ ", chineseText(lobby.connect_line));
}
}  // namespace

std::string addressText(const PeerAddress& address) {
    return address.port == kDefaultGamePort ? address.host : describeAddress(address);
}

bool joinByAddress(LanLobby& lobby, const std::string& text) {
    std::optional<PeerAddress> address = parseAddress(text);
    if (!address) {
        say(lobby, {"join.bad_address", {}}, true);
        return false;
    }
    if (!startDialing(lobby, *address)) return false;
    say(lobby, {"join.connecting", {describeAddress(*address)}}, false);
    return true;
}

void followDial(LanLobby& lobby) {
    DialOutcome outcome = lobby.dial_outcome;
    if (outcome == DialOutcome::Idle || outcome == DialOutcome::Dialing) return;
    lobby.dial_outcome = DialOutcome::Idle;
    if (lobby.quiet_dial) return;  // a match being rejoined tries again by itself
    const PeerAddress& target = lobby.dial_target;
    switch (outcome) {
        case DialOutcome::Connected:
            lobby.connect_line = {};
            rememberAddress(lobby.memory, addressText(target));
            lobby.address_text = lobby.memory.last_address;
            break;
        case DialOutcome::NoSuchName: say(lobby, {"join.no_such_name", {target.host}}, true); break;
        case DialOutcome::Refused: say(lobby, {"join.refused", {describeAddress(target)}}, true); break;
        case DialOutcome::TimedOut: say(lobby, {"join.timed_out", {describeAddress(target)}}, true); break;
        default: break;
    }
}
