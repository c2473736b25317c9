#!/usr/bin/env bash
# Two brevora started at the same instant on one fresh home, as a user who
# double-clicks twice: one example is set up, one main window opens and the
# other program brings it to the front and ends; both exit with 0 and nothing
# of a set-up is left behind. Several trials, each on a fresh home. The
# windows show on Qt's offscreen platform and close themselves after their
# picture is taken (BREVORA_SNAPSHOT).
#   one_window_test.sh <path of brevora>
set -euo pipefail
brevora=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "one_window_test: trial $trial: $*" >&2; for f in "$home"/*.out "$home"/*.err; do echo "== $f" >&2; cat "$f" >&2; done; exit 1; }
start() {
  local status=0
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen BREVORA_HOME="$home" \
    BREVORA_SNAPSHOT="$home/$1.png" "$brevora" >"$home/$1.out" 2>"$home/$1.err" || status=$?
  echo "$status" >"$home/$1.status"
}
count() { local n=0 f; for f in "$@"; do [ -e "$f" ] && n=$((n + 1)); done; echo "$n"; }
for trial in 1 2 3; do
  home="$work/home$trial"
  mkdir -p "$home"
  start a & start b &
  wait
  for p in a b; do [ "$(cat "$home/$p.status")" = 0 ] || fail "$p exited with $(cat "$home/$p.status")"; done
  [ "$(count "$home"/a.png "$home"/b.png)" = 1 ] || fail "$(count "$home"/a.png "$home"/b.png) main windows were shown"
  fronted=$(grep -l "an open Brevora window was brought to the front" "$home"/a.err "$home"/b.err | wc -l)
  [ "$fronted" = 1 ] || fail "$fronted programs brought another window to the front"
  firstRuns=$(grep -l "first run" "$home"/a.out "$home"/b.out | wc -l)
  [ "$firstRuns" = 1 ] || fail "$firstRuns first-run set-ups"
  [ "$(count "$home"/hotsync.new-*)" = 0 ] || fail "a set-up's staging folder is left"
  [ "$(wc -l <"$home/hotsync/users.txt")" = 1 ] || fail "users.txt: $(cat "$home/hotsync/users.txt")"
done
echo "one_window_test: ok"
