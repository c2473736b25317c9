#!/usr/bin/env bash
# Keeps the benchmarks working: each one shows its usage for --help (exit 0),
# refuses an unknown option (exit 2), runs on tiny sizes (exit 0, a row for
# the summary table) and leaves nothing in $TMPDIR; and a benchmark killed in
# the middle of its run (SIGTERM, SIGINT) leaves nothing either.
#   bench/bench_smoke_test.sh <folder of the programs>
set -uo pipefail
bin=$1
home=$(mktemp -d "${TMPDIR:-/tmp}/bench-smoke-XXXXXX")
trap 'rm -rf "$home"' EXIT
export BREVORA_HOME="$home/home" TMPDIR="$home/tmp" QT_QPA_PLATFORM=offscreen
mkdir -p "$BREVORA_HOME" "$TMPDIR"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# program | tiny options
benches=(
  "palmdoc|--text 20000 --one-call 5000 --repeat 1"
  "pdb|--records 50 --small-files 20 --repeat 1"
  "workbook|--cells 300 --database-cells 300 --repeat 1"
  "document|--text 20000 --repeat 1"
  "presentation|--slides 2 --pictures 1 --repeat 1"
  "album|--width 480 --height 360 --repeat 1"
  "desktop_ops|--imports 5 --category 10 --moves 5"
  "desktop_list|--files 5,10 --repeat 1"
  "window_directory|--windows 3 --finds 5 --round-trips 5"
  "receiver|--stream 5000 --feeds 2 --samples 5 --repeat 1"
  "phonesync|--slides 1 --categories 1 --per-category 2 --full 1 --repeat 1"
  "hotsync_bench|--databases 3,6 --repeat 1"
  "tabrel_sync|--workbooks 3 --cells 5 --big-cells 20 --repeat 1"
  "scriv_sync|--documents 3 --text 5000 --repeat 1"
)

leftovers() { find "$TMPDIR" -mindepth 1 -maxdepth 1 ! -name results.tsv | head -5; }

for entry in "${benches[@]}"; do
  program=${entry%%|*}
  options=${entry#*|}
  exe="$bin/$program"
  [ -x "$exe" ] || { fail "$program: no program $exe"; continue; }
  out=$("$exe" --help 2>&1); rc=$?
  [ $rc -eq 0 ] && [[ $out == "usage: $program "* ]] || fail "$program --help: exit $rc, output: ${out:0:80}"
  "$exe" --bogus >/dev/null 2>&1; rc=$?
  [ $rc -eq 2 ] || fail "$program --bogus: exit $rc, not 2"
  rm -f "$TMPDIR/results.tsv"
  # shellcheck disable=SC2086  # the options are words
  if ! out=$("$exe" $options --results "$TMPDIR/results.tsv" 2>&1); then
    fail "$program $options: $(echo "$out" | tail -3)"
  elif ! [ -s "$TMPDIR/results.tsv" ]; then
    fail "$program: no figures in the results file"
  fi
  sleep 0.2  # the work folder's watcher ends just after the program
  left=$(leftovers)
  [ -z "$left" ] || { fail "$program left: $left"; find "$TMPDIR" -mindepth 1 -maxdepth 1 ! -name results.tsv -exec rm -rf {} +; }
done

# Killed in the middle: the work folder goes all the same.
for signal in TERM INT; do
  # (a background job of a script ignores SIGINT unless told otherwise)
  env --default-signal=INT,TERM "$bin/pdb" --records 20000 --small-files 20000 --repeat 1000 >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 200); do
    [ -n "$(find "$TMPDIR" -mindepth 1 -maxdepth 1 -name 'pdb-bench-*')" ] && break
    sleep 0.05
  done
  [ -n "$(find "$TMPDIR" -mindepth 1 -maxdepth 1 -name 'pdb-bench-*')" ] || fail "SIG$signal: no work folder seen"
  sleep 0.5
  kill -s "$signal" "$pid"
  wait "$pid" 2>/dev/null
  for _ in $(seq 200); do
    [ -z "$(leftovers)" ] && break
    sleep 0.05
  done
  left=$(leftovers)
  [ -z "$left" ] || fail "killed by SIG$signal, it left: $left"
done

echo "$((${#benches[@]} + 2 - failures)) passed, $failures failed"
[ $failures -eq 0 ]
