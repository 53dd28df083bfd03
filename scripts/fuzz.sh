#!/bin/sh
# Runs each fuzz target for a time budget: scripts/fuzz.sh [SECONDS] [BUILD_DIR]
# (defaults: 20 seconds each, build-asan, built with clang and -DTARVEX_FUZZ=ON; the seed is
# fixed so a run can be repeated, FUZZ_SEED=N picks another). The targets play on a
# game without a window, so no display is needed. An input that crashes is saved in
# BUILD_DIR/fuzz-findings; keep it under tests/fuzz/corpus/ once the fault is fixed, so
# every later test run plays it again.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-20}"
# Absolute paths: each target moves into a scratch folder of its own before it plays.
build="$(cd "${2:-build-asan}" && pwd)"
findings="$build/fuzz-findings"
mkdir -p "$findings"
for target in messages config levels check_data replay; do
  scratch=$(mktemp -d)
  echo "Fuzzing $target for $seconds s"
  ALSOFT_DRIVERS=null "$build/tests/fuzz_$target" -max_total_time="$seconds" -seed="${FUZZ_SEED:-1}" -print_final_stats=1 \
    -artifact_prefix="$findings/$target-" "$scratch" "$(pwd)/tests/fuzz/corpus/$target" "$(pwd)/data" 2>"$findings/$target.log" || {
    tail -n 60 "$findings/$target.log"
    rm -rf "$scratch"
    exit 1
  }
  grep -E "stat::number_of_executed_units|stat::new_units_added" "$findings/$target.log" | tr '\n' ' '
  echo
  rm -rf "$scratch"
done
