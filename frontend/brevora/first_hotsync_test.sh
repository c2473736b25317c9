#!/usr/bin/env bash
# A new user's first HotSync, as the README tells it, on a fresh home: the
# first brevora (here without a display) sets up the example and registers the
# suite's conduits for the folders the window shows; then one `hotsync sync`
# of an empty handheld for the user "Example" ends with 0 and puts the
# example's workbooks and documents on it, each under its own name.
#   first_hotsync_test.sh <path of brevora> <path of hotsync>
set -euo pipefail
brevora=$1
hotsync=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
fail() { echo "first_hotsync_test: $*" >&2; cat "$home"/*.out "$home"/*.err >&2 2>/dev/null || true; exit 1; }
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM BREVORA_HOME="$home" "$brevora" \
  >"$home/brevora.out" 2>"$home/brevora.err" || status=$?
[ "$status" = 2 ] || fail "brevora exited with $status, not 2 (no display)"
grep -q "HotSync can't" "$home/brevora.err" && fail "brevora could not register the conduits"
mkdir "$home/device"
status=0
BREVORA_HOME="$home" "$hotsync" sync --device "$home/device" --user Example >"$home/hotsync.out" 2>"$home/hotsync.err" ||
  status=$?
[ "$status" = 0 ] || fail "hotsync exited with $status"
for name in "Welcome Workbook" "Budget" "Welcome Document" "Meeting Notes"; do
  [ -f "$home/device/$name.pdb" ] || fail "no handheld database \"$name\""
done
log="$home/hotsync/Example/hotsync.log"
grep -q "Copy Welcome Workbook to Device." "$log" || fail "the workbook conduit did not run: $(cat "$log")"
grep -q "Copy Welcome Document to Device." "$log" || fail "the document conduit did not run: $(cat "$log")"
echo "first_hotsync_test: ok"
