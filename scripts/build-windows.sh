#!/bin/sh
# Makes the Windows build: one static tarvex.exe and tarvex-<version>-windows-x64.zip,
# cross-compiled here with MinGW-w64 against SFML 3 built from ../shared/deps, in
# build-windows/ (the zip lands there). The media generator runs on this machine, as in
# the Linux build.
#   scripts/build-windows.sh [--no-tests]
# It installs what it needs first. Exits with 3, saying so in one line, when the sources
# are not there.
set -eu
cd "$(dirname "$0")/.."
tests=ON
[ "${1:-}" = "--no-tests" ] && tests=OFF
scripts/build-sfml-windows.sh --check
scripts/install-deps.sh windows
sfml=$(scripts/build-sfml-windows.sh)

# The media generator, built for this machine.
cmake -S . -B build-windows/media-tool -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-windows/media-tool --target tarvex_media

cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(pwd)/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$sfml" -DTARVEX_WINDOWS_LICENSES="$sfml/licenses" \
  -DTARVEX_MEDIA_TOOL="$(pwd)/build-windows/media-tool/tools/tarvex_media" -DTARVEX_WINDOWS_TESTS=$tests >/dev/null
cmake --build build-windows
ls build-windows/tarvex-*-windows-x64.zip
