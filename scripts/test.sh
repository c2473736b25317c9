#!/usr/bin/env bash
# Builds and runs the whole test suite.
#   scripts/test.sh            plain build in build/
#   scripts/test.sh --asan     AddressSanitizer + UBSan build in build-asan/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--asan" ]; then
  "$root/scripts/build.sh" build-asan -DBREVORA_SANITIZE=ON -DBREVORA_WERROR=OFF
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir "$root/build-asan" --output-on-failure -j"$(nproc)"
else
  "$root/scripts/build.sh" build
  ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"
fi
