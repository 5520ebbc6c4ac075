#!/usr/bin/env bash
# Installs what building, running and testing Velkaris need, when missing.
# Safe to run again: a second run installs nothing and returns quickly.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "setup: not running as root and sudo is not installed; run this script as root" >&2
    exit 1
  fi
  SUDO=(sudo)
fi

# Debian packages: the toolchain, Qt (with SVG for exported charts), the test
# libraries, ERFA (an independent implementation of the IAU standards the
# tests compare with), the Swiss Ephemeris with its JPL-based files (the
# planets' places the tests compare with), poppler's tools (the tests read
# exported PDF charts back with them), fonts for the sky labels, and the
# catalogue packages the data/ folder is built from (kstars-data also holds
# the city list of the preferences).
PACKAGES=(
  build-essential cmake g++ pkg-config ccache
  qt6-base-dev qt6-svg-dev libgl-dev
  googletest libgtest-dev poppler-utils
  liberfa-dev libsqlite3-dev libswe-dev swe-basic-data
  fonts-dejavu-core
  xvfb xdotool xauth
  yale kstars-data stellarium-data
)
if ! command -v npm >/dev/null 2>&1; then PACKAGES+=(nodejs npm); fi
# The fuzzing harnesses need clang and its libFuzzer; only the fuzzing runs
# (VELKARIS_FUZZ_SMOKE=1, as the CI sets it) ask for them.
if [ "${VELKARIS_FUZZ_SMOKE:-0}" = 1 ]; then PACKAGES+=(clang libclang-rt-dev); fi
# The layout check needs clang-format; only the CI asks for it.
if [ "${VELKARIS_FORMAT_CHECK:-0}" = 1 ]; then PACKAGES+=(clang-format); fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

has_candidate() {
  apt-cache policy "$1" 2>/dev/null | grep -q 'Candidate: [^(]'
}

# The Bright Star Catalogue package lives in non-free. Adds contrib and
# non-free to every Debian source that lists main without them, in the
# one-line format (sources.list: "deb" lines naming a Debian archive) and in
# the deb822 format (*.sources files whose URIs name one); other vendors'
# sources are left alone. Succeeds only when a file was changed.
enable_contrib_non_free() {
  local changed=1 f select
  local word='([[:space:]]|$)'
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    case "$f" in
      *.sources) grep -qE '^URIs:.*debian' "$f" || continue
                 select="^Components:(.*[[:space:]])?main$word" ;;
      *) select="^deb[[:space:]].*debian.*[[:space:]]main$word" ;;
    esac
    local before
    before=$(cat "$f")
    "${SUDO[@]}" sed -E -i \
      -e "\#$select#{/[[:space:]]contrib$word/!s/[[:space:]]*\$/ contrib/}" \
      -e "\#$select#{/[[:space:]]non-free$word/!s/[[:space:]]*\$/ non-free/}" \
      "$f"
    if [ "$before" != "$(cat "$f")" ]; then
      echo "setup: enabled contrib and non-free in $f"
      changed=0
    fi
  done
  return $changed
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${SUDO[@]}" apt-get update -qq
  for p in "${missing[@]}"; do
    if ! has_candidate "$p"; then
      if enable_contrib_non_free; then "${SUDO[@]}" apt-get update -qq; fi
      break
    fi
  done
  # sudo drops the environment, so the front end is passed through env.
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm packages used by the data converters.
if [ -f tools/npm/package.json ]; then
  if [ ! -d tools/npm/node_modules ] || [ tools/npm/package-lock.json -nt tools/npm/node_modules ] ||
     [ tools/npm/package.json -nt tools/npm/node_modules ]; then
    (cd tools/npm && npm ci --no-audit --no-fund --loglevel=error && touch node_modules)
  fi
fi
