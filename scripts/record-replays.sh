#!/bin/sh
# Records the regression replays again: scripts/record-replays.sh BUILD_DIR
# Four shipped levels, each played once by the balanced player of another faction (a
# cannon, rockets, a cannon with dodge, the laser), kept in tests/data/replays. Run it when
# a change to the battle is meant, and say so in the commit.
set -eu
cd "$(dirname "$0")/.."
game="$(pwd)/$1/run/tarvex"
out="$(pwd)/tests/data/replays"
rm -f "$out"/*.tvxreplay
cd data
for plan in 1:red 4:yellow 7:purple 10:white; do
  "$game" --simulate --levels "${plan%%:*}" --factions "${plan#*:}" --strategies balanced --runs 1 \
    --seed 1 --record "$out" >/dev/null
done
ls -l "$out"
