#!/usr/bin/env bash
# Sets up, builds and starts the planetarium on its default data.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
export BUILD_DIR
bash scripts/setup.sh
bash scripts/build.sh
bash scripts/data.sh
if [ -x "$BUILD_DIR/shell/velkaris" ]; then
  # Without a display the window cannot open and the toolkit would abort;
  # say why instead. QT_QPA_PLATFORM names another way to show it (vnc, ...).
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run: no display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the planetarium window cannot open." >&2
    echo "run: start it from a desktop session, or use the command-line tool: $BUILD_DIR/shell/velkaris-cli --help" >&2
    exit 1
  fi
  exec "$BUILD_DIR/shell/velkaris" "$@"
fi
exec "$BUILD_DIR/shell/velkaris-cli" time "$@"
