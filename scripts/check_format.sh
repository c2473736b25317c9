#!/usr/bin/env bash
# Checks that every C++ file git tracks is as clang-format (with .clang-format
# at the root) writes it, and names the files that are not. To mend them:
#   git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check_format: clang-format is not installed" >&2; exit 2; }
if ! out=$(git ls-files -z '*.cpp' '*.h' | xargs -0 -P"$(nproc)" -n 50 clang-format --dry-run --Werror 2>&1); then
  grep -oE '^[^: ]+:[0-9]+:[0-9]+: error' <<<"$out" | cut -d: -f1 | sort -u |
    sed 's/^/check_format: not formatted: /' >&2
  exit 1
fi
