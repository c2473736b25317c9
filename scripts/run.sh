#!/usr/bin/env bash
# Installs what the build needs, builds everything, and runs the main program
# build/bin/brevora with the given arguments (a file to import).
# On a machine without a display the window is shown on a virtual X server
# (xvfb-run) instead: a picture of it is saved to build/brevora.png and the
# window is closed, so the program shows on any machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/build/bin/brevora" "$@"
fi
picture="$root/build/brevora.png"
rm -f "$picture"
echo "No display: showing the window on a virtual X server (xvfb-run)."
BREVORA_SNAPSHOT="$picture" xvfb-run -a -s "-screen 0 1280x800x24" "$root/build/bin/brevora" "$@"
if [ -f "$picture" ]; then
  echo "The window was shown and closed; its picture is $picture"
else
  echo "The window could not be shown (no picture was saved)." >&2
  exit 1
fi
