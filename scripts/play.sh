#!/bin/sh
# Installs what is missing, builds, and starts the game in its run directory.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
cd build/run
exec ./tarvex
