#!/usr/bin/env bash
# Sets up, builds and starts the planetarium on its default data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
bash scripts/data.sh
if [ -x build/shell/velkaris ]; then
  exec build/shell/velkaris "$@"
fi
exec build/shell/velkaris-cli time "$@"
