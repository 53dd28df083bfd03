#pragma once
#include "app/game.h"
#include "net/snapshot.h"

#include <map>

// The host's units against what the joining game shows of them, and the other way round.
struct Comparison {
    int pairs = 0, unmatched = 0;
    double mean_gap = 0, max_gap = 0, max_hp_difference = 0;
};

inline Comparison compareBattles(const Game& host, const Game& joiner) {
    Comparison result;
    double gap_sum = 0;
    auto compareSide = [&](const std::vector<Turret>& host_units, const std::vector<Turret>& joiner_units) {
        std::map<std::uint16_t, const Turret*> joined;
        for (const Turret& unit : joiner_units) joined[unit.net_number] = &unit;
        result.unmatched += int(host_units.size() + joiner_units.size());  // until paired
        for (const Turret& unit : host_units) {
            auto found = joined.find(unit.net_number);
            if (found == joined.end()) continue;
            sf::Vector2f seen = found->second->position, truth = unit.position;
            double gap = std::hypot(seen.x - truth.x, mirrorY(host, seen.y) - truth.y);
            gap_sum += gap;
            result.max_gap = std::max(result.max_gap, gap);
            result.max_hp_difference = std::max(result.max_hp_difference, double(std::abs(found->second->hp - unit.hp)));
            ++result.pairs;
            result.unmatched -= 2;
            joined.erase(found);
        }
    };
    compareSide(host.player_turrets, joiner.enemy_turrets);
    compareSide(host.enemy_turrets, joiner.player_turrets);
    if (result.pairs > 0) result.mean_gap = gap_sum / result.pairs;
    return result;
}
