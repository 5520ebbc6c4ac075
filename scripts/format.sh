#!/usr/bin/env bash
# Lays out every C++ source of the tree by .clang-format, or with --check
# only lists the files that do not follow it (and fails if there are any).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "format.sh: clang-format is not installed (apt-get install clang-format)" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  bad=()
  for f in "${files[@]}"; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
  done
  if [ ${#bad[@]} -gt 0 ]; then
    printf 'not laid out by .clang-format (bash scripts/format.sh fixes it):\n' >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
  fi
  echo "format.sh: ${#files[@]} files follow .clang-format"
else
  clang-format -i "${files[@]}"
fi
