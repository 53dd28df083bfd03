#include "net/join.h"
#include "app/log.h"
#include "net/lan_lobby.h"

namespace {
void say(LanLobby& lobby, const std::string& line, bool failed) {
    lobby.connect_line = line;
    lobby.connect_failed = failed;
    if (failed) logLine("❌ ", line);
}
}  // namespace

std::string addressText(const PeerAddress& address) {
    return address.port == kDefaultGamePort ? address.host : describeAddress(address);
}

bool joinByAddress(LanLobby& lobby, const std::string& text) {
    std::optional<PeerAddress> address = parseAddress(text);
    if (!address) {
        say(lobby, "地址格式不对，应为 主机[:端口]", true);
        return false;
    }
    if (!startDialing(lobby, *address)) return false;
    say(lobby, "正在连接 " + describeAddress(*address) + " …", false);
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
            lobby.connect_line.clear();
            rememberAddress(lobby.memory, addressText(target));
            lobby.address_text = lobby.memory.last_address;
            break;
        case DialOutcome::NoSuchName: say(lobby, "找不到主机 " + target.host, true); break;
        case DialOutcome::Refused: say(lobby, "连接被拒绝 " + describeAddress(target) + "：那里没有主机在等待", true); break;
        case DialOutcome::TimedOut: say(lobby, "连接超时 " + describeAddress(target) + "：没有应答", true); break;
        default: break;
    }
}
