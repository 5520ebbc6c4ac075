#!/usr/bin/env bash
# Installs what building, running and testing Velkaris need, when missing.
# Safe to run again: a second run installs nothing and returns quickly.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# Debian packages: the toolchain, Qt, the test libraries, ERFA (an independent
# implementation of the IAU standards the tests compare with), fonts for the
# sky labels, and the catalogue packages the data/ folder is built from.
PACKAGES=(
  build-essential cmake g++ pkg-config ccache
  qt6-base-dev libgl-dev
  googletest libgtest-dev
  liberfa-dev libsqlite3-dev
  fonts-dejavu-core
  xvfb xdotool xauth
  yale kstars-data stellarium-data
)
if ! command -v npm >/dev/null 2>&1; then PACKAGES+=(nodejs npm); fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

enable_contrib_non_free() {
  # The Bright Star Catalogue package lives in non-free.
  local changed=0
  if [ -f /etc/apt/sources.list.d/debian.sources ] && \
     grep -q '^Components: main$' /etc/apt/sources.list.d/debian.sources; then
    $SUDO sed -i 's/^Components: main$/Components: main contrib non-free/' /etc/apt/sources.list.d/debian.sources
    changed=1
  fi
  if [ -f /etc/apt/sources.list ] && grep -qE '^deb .* main$' /etc/apt/sources.list; then
    $SUDO sed -i -E 's/^(deb .* main)$/\1 contrib non-free/' /etc/apt/sources.list
    changed=1
  fi
  return $changed
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  enable_contrib_non_free || true
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm packages used by the data converters.
if [ -f tools/npm/package.json ]; then
  if [ ! -d tools/npm/node_modules ] || [ tools/npm/package-lock.json -nt tools/npm/node_modules ]; then
    (cd tools/npm && npm ci --no-audit --no-fund --loglevel=error && touch node_modules)
  fi
fi
