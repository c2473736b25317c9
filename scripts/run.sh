#!/usr/bin/env bash
# Installs what the build needs, builds everything, and runs the main program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build
echo "Brevora desktop built in $root/build (libraries in build/lib)."
