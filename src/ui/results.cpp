#include "ui/results.h"
#include "content/factions.h"

namespace {
// The winner's taunt for a loser outside the five.
constexpr const char* kAnyLoser = "other";

std::string factionKey(int faction, const char* part) {
    return std::string("faction.") + factionConfigKey(faction) + "." + part;
}
}  // namespace

std::string factionDisplayName(const Texts& texts, int faction) {
    return isFaction(faction) ? text(texts, factionKey(faction, "name")) : "";
}

std::string defeatLine(const Texts& texts, int faction) {
    return isFaction(faction) ? text(texts, std::string("results.defeat.") + factionConfigKey(faction)) : "";
}

std::string taunt(const Texts& texts, int winner, int loser) {
    if (!isFaction(winner)) return "";
    std::string key = std::string("results.taunt.") + factionConfigKey(winner) + "." +
                      (isFaction(loser) ? factionConfigKey(loser) : kAnyLoser);
    return text(texts, key);
}

// The local side's own lines come first, signed with its own name.
std::string resultsText(const Texts& texts, bool victory, int winner, int loser) {
    std::string taunt_line = taunt(texts, winner, loser);
    std::string defeat = defeatLine(texts, loser);
    std::string winner_name = factionDisplayName(texts, winner);
    std::string loser_name = factionDisplayName(texts, loser);
    if (victory)
        return text(texts, "results.victory") + "\n\n" + taunt_line + "\n\n" +
               fillText(texts, "results.signature", {winner_name}) + "\n\n" + "💀 " +
               fillText(texts, "results.speaker", {loser_name}) + "\n" + defeat;
    return text(texts, "results.defeat") + "\n\n" + defeat + "\n\n" +
           fillText(texts, "results.signature", {loser_name}) + "\n\n" + "🏆 " +
           fillText(texts, "results.speaker", {winner_name}) + "\n" + taunt_line;
}
