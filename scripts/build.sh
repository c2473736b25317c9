#!/usr/bin/env bash
# Configures and builds a tree: scripts/build.sh [build-dir] [extra cmake args...]
# Every tree is built with warnings as errors, so that scripts/run.sh and
# scripts/test.sh share one configuration of build/ and the second command only
# builds what the first left. BREVORA_JOBS caps the parallel compile jobs
# (default: all cores); ccache is used when it is installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}
shift || true
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$root/$dir" "${launcher[@]}" -DBREVORA_WERROR=ON "$@" >/dev/null
cmake --build "$root/$dir" -j"${BREVORA_JOBS:-$(nproc)}"
