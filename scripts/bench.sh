#!/usr/bin/env bash
# Runs every benchmark of bench/ and prints one table of their figures, each
# with its best, median and worst run and, where a peer was measured in the same run
# (LZ4 and zstd beside PalmDOC, read() beside the database read, a stat walk
# beside the HotSync, write+fsync+rename beside the import), the peer's figure
# and the speed against it (above 1: faster than the peer).
#   scripts/bench.sh [--quick] [--build DIR]
#     --quick      smaller sizes and fewer rounds (a minute or two)
#     --build DIR  the build tree with the programs (default: build)
# Build first (scripts/build.sh). The benchmarks' own output goes to
# DIR/bench.log; each runs in a work folder of its own under $TMPDIR, gone
# when it ends, however it ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() { sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; }
quick=0
build="$root/build"
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) quick=1 ;;
    --build) [ $# -ge 2 ] || { usage >&2; exit 2; }; build=$(cd "$2" && pwd); shift ;;
    --help) usage; exit 0 ;;
    *) echo "bench.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
  esac
  shift
done
bin="$build/bin"

# program | options for a full run | options for --quick
benches=(
  "palmdoc||--text 1000000 --one-call 262144 --repeat 3"
  "pdb||--records 2000 --small-files 500 --repeat 3"
  "workbook||--cells 20000 --database-cells 20000 --repeat 3"
  "document||--text 400000 --repeat 3"
  "presentation||--slides 10 --pictures 4 --repeat 3"
  "album||--width 2000 --height 1500 --repeat 3"
  "desktop_ops||--imports 200 --category 1000 --moves 200"
  "desktop_list|--files 2500,5000,10000|--files 1000,2000 --repeat 3"
  "window_directory||--windows 50 --finds 200 --round-trips 500"
  "receiver||--stream 200000 --feeds 50 --samples 300 --repeat 3"
  "phonesync||--categories 2 --per-category 20 --full 5 --repeat 3"
  "hotsync_bench|--databases 1000,2000,4000|--databases 500,1000 --repeat 5"
  "tabrel_sync||--workbooks 200 --big-cells 2000 --repeat 5"
  "scriv_sync||--documents 500 --text 262144 --repeat 5"
)

for entry in "${benches[@]}"; do
  program=${entry%%|*}
  [ -x "$bin/$program" ] || { echo "bench.sh: $bin/$program is missing; build first (scripts/build.sh)" >&2; exit 1; }
done

results=$(mktemp "${TMPDIR:-/tmp}/brevora-bench-results-XXXXXX")
trap 'rm -f "$results"' EXIT
log="$build/bench.log"
: >"$log"
status=0
echo "machine: $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$log" >&2
for entry in "${benches[@]}"; do
  program=${entry%%|*}
  rest=${entry#*|}
  if [ "$quick" -eq 1 ]; then options=${rest#*|}; else options=${rest%%|*}; fi
  echo "running $program $options" >&2
  echo "=== $program $options" >>"$log"
  # shellcheck disable=SC2086  # the options are words
  if ! "$bin/$program" $options --results "$results" >>"$log" 2>&1; then
    echo "bench.sh: $program failed (see $log)" >&2
    status=1
  fi
done
echo "machine after: load $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$log" >&2

awk -F'\t' '
  function num(v) { return v >= 100 ? sprintf("%.0f", v) : v >= 10 ? sprintf("%.1f", v) : v >= 1 ? sprintf("%.2f", v) : sprintf("%.4g", v) }
  BEGIN {
    printf "%-16s %-50s %10s %-23s %-14s %-18s %10s %7s\n", "bench", "figure", "best", "(median, worst)", "unit", "peer", "its best", "x peer"
  }
  {
    spread = ($5 == "") ? "" : "(" num($5) ", " num($6) ")"
    peer = $7; pv = ""; ratio = ""
    if (peer != "" && $8 > 0 && $4 > 0) {
      pv = num($8)
      ratio = sprintf("%.2f", ($3 ~ /\/s$/) ? $4 / $8 : $8 / $4)
    }
    printf "%-16s %-50s %10s %-23s %-14s %-18s %10s %7s\n", $1, substr($2, 1, 50), num($4), spread, $3, peer, pv, ratio
  }' "$results"
echo "(x peer: the speed against the peer, best run against best run of the same run, above 1 faster; output in $log)"
exit $status
