#!/usr/bin/env bash
# Builds data/ from the catalogue packages when it is missing, incomplete,
# older than its converter or more than a year old (the minor planets' elements
# serve a year). "--force" rebuilds it whole; "--ngc2000 DIR" names a folder
# holding ngc2000.dat for the deep-sky descriptions (default:
# ../shared/catalogues/ngc2000 beside the repository, when it exists).
set -euo pipefail
cd "$(dirname "$0")/.."

force=0
ngc2000=""
while [ $# -gt 0 ]; do
  case "$1" in
    --force) force=1 ;;
    --ngc2000) shift; ngc2000=${1:-} ;;
    *) echo "build-data: unknown argument $1" >&2; exit 1 ;;
  esac
  shift
done
if [ -z "$ngc2000" ] && [ -f ../shared/catalogues/ngc2000/ngc2000.dat ]; then
  ngc2000=../shared/catalogues/ngc2000
fi

BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null 2>&1 || cmake -S . -B "$BUILD_DIR"
fi
log=$(cmake --build "$BUILD_DIR" --target velkaris-data -j"$(nproc)" 2>&1) || { echo "$log" >&2; exit 1; }
converter="$BUILD_DIR/tools/velkaris-data"

stamp=data/.complete
expected=(stfound.dat sthip.dat bnotes.dat constellations.dat dsocat.dat asteroids.dat
          la_earth.dat la_Mercury.dat la_Venus.dat la_Mars.dat la_Jupiter.dat la_Saturn.dat
          la_Uranus.dat la_Neptune.dat la_Pluto.dat)
needed=$force
if [ ! -f "$stamp" ] || [ "$converter" -nt "$stamp" ] || [ tools/npm/package-lock.json -nt "$stamp" ]; then
  needed=1
fi
for f in "${expected[@]}"; do
  [ -f "data/$f" ] || needed=1
done
# The minor planets' elements are fitted to the year after the build.
if [ "$needed" -eq 0 ] && [ -n "$(find "$stamp" -mtime +365 2>/dev/null)" ]; then
  echo "build-data: data/ is more than a year old; rebuilding it to bring the minor planets up to date"
  needed=1
fi
if [ "$needed" -eq 0 ]; then
  exit 0
fi

echo "build-data: building data/ from the catalogue packages"
mkdir -p data
args=(--out data)
if [ -n "$ngc2000" ]; then args+=(--ngc2000 "$ngc2000"); fi
status=0
"$converter" "${args[@]}" || status=$?
case $status in
  0) date -u +%Y-%m-%dT%H:%M:%SZ > "$stamp.tmp" && mv "$stamp.tmp" "$stamp" ;;
  2) # Some source package is missing: the files that could be built are
     # there, the program runs without the others, and the next run tries again.
     rm -f "$stamp"
     echo "build-data: some files were not built; install the packages named above and run scripts/data.sh" >&2 ;;
  *) rm -f "$stamp"; exit "$status" ;;
esac
