#!/bin/sh
# Configures and builds one build directory: scripts/build.sh DIR [cmake options...]
# TARVEX_TARGETS, when set, names the targets to build instead of all of them.
set -eu
dir="$1"
shift
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
# shellcheck disable=SC2086 # the target list splits into words
cmake --build "$dir" ${TARVEX_TARGETS:+--target $TARVEX_TARGETS} -- -j"$(nproc)"
