#!/usr/bin/env bash
# Builds the data/ folder from the catalogue packages when it is missing,
# older than its converters or more than a year old. "scripts/data.sh --force"
# rebuilds it whole.
set -euo pipefail
cd "$(dirname "$0")/.."
exec bash tools/build-data.sh "$@"
