#!/bin/sh
# Installs what is missing, builds, and runs the whole test suite:
#  1. the plain build: the headless tests with no display at all, then the tests that draw
#     or drive the real game under a virtual display;
#  2. the same source against SFML 3, built once from its source into a cache outside the
#     checkout, when that source is there (../shared/deps beside the project, or $TARVEX_DEPS):
#     the headless tests and the real game end to end;
#  3. the Windows build, cross-compiled when the sources of SFML and its libraries are there
#     (SFML built once into a cache like the above): its headless tests under Wine, the
#     end-to-end visit through tarvex.exe, and a network match between it and the Linux
#     build, each hosting once;
#  4. AddressSanitizer + UndefinedBehaviorSanitizer (built with clang, which also builds the
#     fuzz targets): the headless tests, the real game end to end, and each fuzzer for a
#     short budget. The pictures of the drawing tests are left to the plain run: they only
#     compare pixels, which the sanitizers do not change;
#  5. ThreadSanitizer: the networking tests, the only ones with threads of the game's own.
# Sound goes to a null output (OpenAL Soft's null driver; for SFML 3, an ALSA that names no
# device, which the test programs choose), so no sound card is needed either.
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
ctest --test-dir build -L headless --output-on-failure -j2
eval "$xvfb ctest --test-dir build -L window --output-on-failure -j2"

status=0
sfml3=$(scripts/build-sfml3.sh) || status=$?
if [ "$status" -eq 0 ]; then
  TARVEX_TARGETS="tarvex tarvex_tests tarvex_wave_tests tarvex_e2e_tests media" \
    scripts/build.sh build-sfml3 -DCMAKE_PREFIX_PATH="$sfml3"
  ctest --test-dir build-sfml3 -L headless -E Layers --output-on-failure -j2
  eval "$xvfb ctest --test-dir build-sfml3 -R EndToEnd --output-on-failure -j2"
elif [ "$status" -ne 3 ]; then  # 3: no SFML 3 source here, which the script has said
  exit "$status"
fi

status=0
scripts/build-windows.sh || status=$?
if [ "$status" -eq 0 ] && ! command -v wine >/dev/null; then
  echo "No Wine here: the Windows build's tests are skipped" >&2
  status=3
fi
if [ "$status" -eq 0 ]; then
  # A scratch Wine prefix; no Mono or Gecko installer is offered while it is made.
  WINEPREFIX=$(mktemp -d)
  export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  (cd build-windows/tests && env -u DISPLAY wine ./tarvex_tests.exe --gtest_filter=-*Netns.* --gtest_brief=1)
  # The games of the private network use a copy, whose Wine server starts inside it
  # (tests/app/game_process.cpp says why).
  wineserver -w
  cp -a "$WINEPREFIX" "$WINEPREFIX-private-net"
  TARVEX_WINDOWS_EXE=$(ls "$(pwd)"/build-windows/zip/tarvex-*-windows-x64/tarvex.exe)
  export TARVEX_WINDOWS_EXE
  eval "$xvfb ctest --test-dir build -L wine --output-on-failure"
  wineserver -k || true
  WINEPREFIX="$WINEPREFIX-private-net" wineserver -k || true
  rm -rf "$WINEPREFIX" "$WINEPREFIX-private-net"
elif [ "$status" -ne 3 ]; then  # 3: no Windows sources or no Wine here, which has been said
  exit "$status"
fi

TARVEX_TARGETS="tarvex tarvex_tests tarvex_wave_tests tarvex_e2e_tests media fuzz_messages fuzz_config fuzz_levels fuzz_check_data fuzz_replay" \
  scripts/build.sh build-asan -DTARVEX_SANITIZE=ON -DTARVEX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
# The round-trip measurement plays 45 s of real-time matches through the relay on code the
# rejoin and battle-sync suites run here too; the plain run keeps its figures.
ctest --test-dir build-asan -L headless -E 'Layers|RoundTrip' --output-on-failure -j2
eval "$xvfb ctest --test-dir build-asan -R 'EndToEnd|LanPlay' --output-on-failure -j2"
scripts/fuzz.sh 10 build-asan

TARVEX_TARGETS="tarvex_tests" scripts/build.sh build-tsan -DTARVEX_TSAN=ON
# The battle-snapshot suite and the round-trip measurement play long battles on the main
# thread only; their threads are those the other LAN suites exercise, so they are left out
# here to keep the run short.
ctest --test-dir build-tsan -L headless -R 'Lan|Net|Protocol|Discovery' -E 'BattleSync|RoundTrip' --output-on-failure -j2
