#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${BUILD_DIR:-build}
export BUILD_DIR
bash scripts/setup.sh
# Whether every source follows .clang-format, when asked for.
if [ "${VELKARIS_FORMAT_CHECK:-0}" = 1 ]; then bash scripts/format.sh --check; fi
bash scripts/build.sh
bash scripts/data.sh
cd "$BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"

# Every reader's fuzzing harness for a short while (VELKARIS_FUZZ_SECONDS
# each, 30 by default), built with clang in build-fuzz/, when asked for.
if [ "${VELKARIS_FUZZ_SMOKE:-0}" = 1 ]; then
  cd "$ROOT"
  bash scripts/fuzz.sh "${VELKARIS_FUZZ_SECONDS:-30}"
fi

# The same suite once more under AddressSanitizer and UBSan (float-to-integer
# overflow included), in build-asan/, when asked for.
if [ "${VELKARIS_SANITIZE_TESTS:-0}" = 1 ]; then
  cd "$ROOT"
  BUILD_DIR=build-asan bash scripts/build.sh -DVELKARIS_SANITIZE=ON -DVELKARIS_BUILD_BENCH=OFF
  cd build-asan
  LSAN_OPTIONS="suppressions=$ROOT/tests/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
fi
