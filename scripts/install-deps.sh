#!/bin/sh
# Installs whatever the game and its tests need and this machine lacks (Debian 12):
#   scripts/install-deps.sh [windows]
# With "windows", also what the Windows build and its tests under Wine need: the MinGW-w64
# cross-compilers, Wine, and the free CJK font the Windows zip carries.
set -eu
# The last line is what SFML 3 builds against, when its source is there to build
# (scripts/build-sfml3.sh).
packages="build-essential cmake ninja-build pkg-config libsfml-dev nlohmann-json3-dev libgtest-dev libx11-dev
  xvfb xauth xdotool fonts-noto-cjk fonts-symbola iproute2 util-linux clang libclang-rt-14-dev
  dpkg-dev lintian desktop-file-utils appstream
  libfreetype-dev libxrandr-dev libxcursor-dev libxi-dev libudev-dev libgl-dev libflac-dev libvorbis-dev libogg-dev"
for_windows="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 fonts-wqy-microhei"
with_windows=""
[ "${1:-}" = "windows" ] && with_windows=$for_windows
missing=""
for package in $packages $with_windows; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
as_root=""
[ "$(id -u)" -eq 0 ] || as_root="sudo"
$as_root apt-get update
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y --no-install-recommends $missing
