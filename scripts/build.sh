#!/usr/bin/env bash
# Configures and builds Velkaris into build/ (incremental on a second run).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# Paths below the clone count relative to it, so that ccache serves a second
# clone (a CI run) from what another one compiled.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$BUILD_DIR" -j"$(nproc)"
