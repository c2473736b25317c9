#!/usr/bin/env bash
# brevora as a new user on a machine without a display, in a fresh home: the
# first run sets up the example, then says there is no display and exits 2;
# a second run changes nothing of the set-up.
#   no_display_test.sh <path of brevora>
set -euo pipefail
brevora=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM BREVORA_HOME="$home" "$brevora" 2>"$home.err" >"$home.out" || echo $?; }
fail() { echo "no_display_test: $*" >&2; cat "$home.out" "$home.err" >&2; rm -f "$home.out" "$home.err"; exit 1; }
status=$(run)
[ "$status" = 2 ] || fail "exit status '$status', not 2"
grep -qx "brevora: no display to show the window on." "$home.err" || fail "no line about the display"
grep -q "first run" "$home.out" || fail "no first-run set-up reported"
[ -f "$home/hotsync/Example/tabrel/Business/Budget.tbr" ] || fail "no example workbook"
before=$(cd "$home" && find hotsync registry -type f -exec md5sum {} + | sort)
status=$(run)
[ "$status" = 2 ] || fail "second run: exit status '$status'"
grep -q "first run" "$home.out" && fail "second run set up again"
after=$(cd "$home" && find hotsync registry -type f -exec md5sum {} + | sort)
[ "$before" = "$after" ] || fail "the second run changed the set-up"
rm -f "$home.out" "$home.err"
echo "no_display_test: ok"
