#pragma once
#include <cstdint>
#include <vector>

// What the battle's rules did that the player must hear or the peer must be told. The
// rules only record it; the frame step that owns the sound bank and the connection acts
// on the events in the order they happened and empties the list.
enum class BattleEventKind : std::uint8_t {
    CannonFired,      // x
    RocketLaunched,   // x
    Exploded,         // x
    UnitKilled,       // x: a unit's hit points fell to zero, or the host's battle dropped it
    UnitSpawned,      // x, side, lane; a player's unit is announced to the peer with the money paid
    UpgradeBought,    // code (the MsgUpgrade kind), money: the player's panel purchase
    DeadUnitSwept,    // side, lane: the peer removes its copy
    MatchEnded,       // the music stops
};

struct BattleEvent {
    BattleEventKind kind;
    float x = 0;               // where it happened, for the sound's pan
    std::uint8_t side = 0;     // 0 the player's, 1 the enemy's
    std::uint8_t lane = 0;
    std::uint8_t code = 0;
    float money = 0;           // the player's money just after paying
};

inline void recordEvent(std::vector<BattleEvent>& events, BattleEventKind kind, float x = 0) {
    events.push_back({kind, x});
}
