#!/usr/bin/env bash
# Builds the fuzzing harnesses of every reader with clang into build-fuzz/
# and runs each for a while (seconds, default 30) on its seed corpus.
#
#   bash scripts/fuzz.sh [seconds] [harness ...]
#
# New inputs go to build-fuzz/fuzz-corpus/<harness>/, never into the seeds
# under fuzz/corpus/. A finding (a crash, a sanitizer report or a broken
# property) stops with the input saved in build-fuzz/fuzz-findings/ and the
# end of the harness's output shown; add it to the harness's corpus and a
# regression test to the suite once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
SECONDS_EACH=${1:-30}
shift || true

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed (Debian packages clang and libclang-rt-dev)" >&2
  exit 1
fi
CC=clang CXX=clang++ BUILD_DIR=build-fuzz bash scripts/build.sh -DVELKARIS_FUZZ=ON

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for seeds in fuzz/corpus/*/; do harnesses+=("$(basename "$seeds")"); done
fi

mkdir -p build-fuzz/fuzz-findings
for h in "${harnesses[@]}"; do
  corpus="build-fuzz/fuzz-corpus/$h"
  log="build-fuzz/fuzz-$h.log"
  mkdir -p "$corpus"
  if ! build-fuzz/fuzz/fuzz_"$h" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
       -artifact_prefix="$ROOT/build-fuzz/fuzz-findings/$h-" "$corpus" "fuzz/corpus/$h" >"$log" 2>&1; then
    echo "fuzz: $h found a fault; the input is in build-fuzz/fuzz-findings/ and the log in $log:" >&2
    grep -v '^Velkaris: ' "$log" | tail -40 >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz: $h: ${runs:-?} executions in ${SECONDS_EACH} s, no finding"
done
