#!/usr/bin/env bash
# Configures and builds a tree: scripts/build.sh [build-dir] [extra cmake args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}
shift || true
cmake -S "$root" -B "$root/$dir" "$@" >/dev/null
cmake --build "$root/$dir" -j"$(nproc)"
