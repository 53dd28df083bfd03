#!/bin/sh
# Installs what is missing, builds, and runs the whole test suite: the plain build,
# then the same suite under AddressSanitizer + UndefinedBehaviorSanitizer, then the
# networking tests under ThreadSanitizer. Everything runs under a virtual display and
# OpenAL Soft's null audio driver, so no screen or sound card is needed.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export ALSOFT_DRIVERS=null
export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1"
export TSAN_OPTIONS="suppressions=$(pwd)/tests/tsan.supp"
# -noreset: the virtual display would otherwise restart whenever its last window closes,
# refusing a test that opens one at that moment.
xvfb="xvfb-run -a -s '-screen 0 1600x1000x24 -noreset'"

scripts/build.sh build
eval "$xvfb ctest --test-dir build --output-on-failure -j2"

# The sanitizer build is made with clang so that the same build also holds the fuzz
# targets; each fuzzer then runs for a short budget.
scripts/build.sh build-asan -DTARVEX_SANITIZE=ON -DTARVEX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
eval "$xvfb ctest --test-dir build-asan --output-on-failure -j2"
eval "$xvfb scripts/fuzz.sh 10 build-asan"

scripts/build.sh build-tsan -DTARVEX_TSAN=ON
# The battle-snapshot suite plays long battles on the main thread only; its threads are
# those the other LAN suites exercise, so it is left out here to keep the run short.
eval "$xvfb ctest --test-dir build-tsan --output-on-failure -j2 -R 'Lan|Net|Protocol|Discovery' -E BattleSync"
