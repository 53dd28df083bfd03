#pragma once
#include "net/battle_sync.h"

struct Game;
struct Turret;

// Host: in a running LAN match, whether snapshots go out (a test may switch them off to
// play a host that knows only the older messages).
bool sharesBattle(const Game& game);
// Host, at the end of each match frame: a snapshot every kSnapshotInterval, at once
// after a unit died, and one saying the match is over with its winner.
void shareBattle(Game& game, float dt);

// Joining game: one packet of a snapshot; a whole, believable snapshot is followed.
// A malformed one is dropped, logged once a match.
void receiveSnapshotPart(Game& game, const Message& message);
// Moves this battle onto the host's: units the host lacks go (with their death sound),
// units it has are added, hp and the host's money are taken, and positions are eased
// onto the host's, mirrored (y' = player spawn line + enemy spawn line - y).
void followSnapshot(Game& game, const Snapshot& snapshot);
// Each frame: the rest of the way onto the host's positions, a share of it per frame.
void easeTowardsHost(Game& game, float dt);

// A move order (or its end) on one of our units, so the peer's copy drives the same way.
void shareMoveOrder(Game& game, const Turret& unit);
void receiveMoveOrder(Game& game, const Message& message);

// The field's mirror line between the two machines' views.
float mirrorY(const Game& game, float y);
