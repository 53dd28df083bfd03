#!/bin/sh
# Cross-builds SFML 3 for 64-bit Windows, static, with the four libraries it bundles, once,
# into a cache outside the checkout keyed by the tarballs' checksums, and prints the
# install prefix to build the game against:
#   scripts/build-sfml-windows.sh [--check]
# The sources come from ../shared/deps beside the project (or $TARVEX_DEPS). Exits with 3,
# saying so in one line, when a tarball or the MinGW-w64 compiler is not there; --check
# looks for the tarballs only.
set -eu
cd "$(dirname "$0")/.."
project=$(pwd)
deps="${TARVEX_DEPS:-$project/../shared/deps}"
sources="SFML-3.0.2 freetype-2.13.2 ogg-1.3.5 flac-1.4.3 vorbis-1.3.7"
for source in $sources; do
  if [ ! -f "$deps/$source.tar.gz" ]; then
    echo "No $source source at $deps: the Windows build is skipped" >&2
    exit 3
  fi
done
[ "${1:-}" = "--check" ] && exit 0
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "No MinGW-w64 compiler (scripts/install-deps.sh installs it): the Windows build is skipped" >&2
  exit 3
fi
sum=$(for source in $sources; do sha256sum "$deps/$source.tar.gz" | cut -c1-64; done | sha256sum | cut -c1-16)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tarvex/sfml3-windows-$sum"
if [ ! -f "$cache/done" ]; then
  work=$(mktemp -d)
  for source in $sources; do tar xzf "$deps/$source.tar.gz" -C "$work"; done
  # SFML patches its dependencies' build files when it downloads them itself; with local
  # sources that step is skipped, so its patch scripts run here.
  cmake -DFREETYPE_DIR="$work/freetype-2.13.2" -P "$work/SFML-3.0.2/tools/freetype/PatchFreetype.cmake"
  cmake -DOGG_DIR="$work/ogg-1.3.5" -P "$work/SFML-3.0.2/tools/ogg/PatchOgg.cmake"
  cmake -DFLAC_DIR="$work/flac-1.4.3" -P "$work/SFML-3.0.2/tools/flac/PatchFLAC.cmake"
  cmake -DVORBIS_DIR="$work/vorbis-1.3.7" -P "$work/SFML-3.0.2/tools/vorbis/PatchVorbis.cmake"
  cmake -S "$work/SFML-3.0.2" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64.cmake" \
    -DSFML_USE_SYSTEM_DEPS=OFF -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$cache" -DFETCHCONTENT_FULLY_DISCONNECTED=ON \
    -DFETCHCONTENT_SOURCE_DIR_FREETYPE="$work/freetype-2.13.2" -DFETCHCONTENT_SOURCE_DIR_OGG="$work/ogg-1.3.5" \
    -DFETCHCONTENT_SOURCE_DIR_FLAC="$work/flac-1.4.3" -DFETCHCONTENT_SOURCE_DIR_VORBIS="$work/vorbis-1.3.7" >/dev/null
  cmake --build "$work/build" -- -j"$(nproc)" >/dev/null
  cmake --install "$work/build" >/dev/null
  # Their licences ask a program built with them to carry their texts.
  mkdir -p "$cache/licenses"
  cp "$work/SFML-3.0.2/license.md" "$cache/licenses/SFML.txt"
  cp "$work/freetype-2.13.2/docs/FTL.TXT" "$cache/licenses/FreeType.txt"
  cp "$work/ogg-1.3.5/COPYING" "$cache/licenses/libogg.txt"
  cp "$work/flac-1.4.3/COPYING.Xiph" "$cache/licenses/libFLAC.txt"
  cp "$work/vorbis-1.3.7/COPYING" "$cache/licenses/libvorbis.txt"
  rm -rf "$work"
  touch "$cache/done"
fi
echo "$cache"
