#!/bin/sh
# Builds SFML 3 from its source tarball once, into a cache outside the checkout keyed by
# the tarball's checksum, and prints the install prefix to build the game against:
#   scripts/build-sfml3.sh [TARBALL]
# (default ../shared/deps/SFML-3.0.2.tar.gz from the project, or $TARVEX_DEPS/...).
# Exits with 3, saying so in one line, when the tarball is not there.
set -eu
cd "$(dirname "$0")/.."
tarball="${1:-${TARVEX_DEPS:-$(pwd)/../shared/deps}/SFML-3.0.2.tar.gz}"
if [ ! -f "$tarball" ]; then
  echo "No SFML 3 source at $tarball: the SFML 3 build is skipped" >&2
  exit 3
fi
sum=$(sha256sum "$tarball" | cut -c1-16)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tarvex/sfml3-$sum"
if [ ! -f "$cache/done" ]; then
  work=$(mktemp -d)
  tar xzf "$tarball" -C "$work"
  source=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)
  cmake -S "$source" -B "$work/build" -G Ninja -DSFML_USE_SYSTEM_DEPS=ON -DBUILD_SHARED_LIBS=ON \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$cache" >/dev/null
  cmake --build "$work/build" -- -j"$(nproc)" >/dev/null
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
  touch "$cache/done"
fi
echo "$cache"
