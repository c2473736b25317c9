#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan, tree build-fuzzer/) and runs
# them with 512 MB of memory and 10 seconds per input, up to BREVORA_JOBS targets
# at a time (default: all cores; the build uses as many compile jobs). Any crash,
# sanitizer report, failed check, timeout or memory overrun fails the run; the
# inputs that did it are kept in build-fuzzer/findings/<target>/.
#   scripts/fuzz.sh [seconds] [target...]
#       the short pass (CI's, 30 seconds a target by default): each target on a
#       scratch corpus that starts from its committed seeds, fuzz/corpus/<target>/
#       (which no run changes), and is dropped afterwards
#   scripts/fuzz.sh --long [seconds] [target...]
#       the long pass (600 seconds a target by default): each target's corpus is
#       kept in build-fuzzer/corpus/<target>/ from one run to the next, and the
#       seeds are read with it on every run. The pass takes the seconds times
#       the number of targets over BREVORA_JOBS, rounded up: on an 8-core
#       machine with BREVORA_JOBS=8, 5 x 10 minutes for 40 targets.
# Each target ends with a line of its executions, executions a second and
# coverage (edges) at the start and at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzzer"
jobs=${BREVORA_JOBS:-$(nproc)}

long=0
if [ "${1:-}" = "--long" ]; then
  long=1
  shift
fi
seconds=$([ $long = 1 ] && echo 600 || echo 30)
if [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DBREVORA_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$jobs" --target fuzzers >/dev/null

bin="$build/fuzz/bin"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(find "$bin" -maxdepth 1 -type f -executable -printf '%f\n' | sort)
fi
for t in "${targets[@]}"; do
  [ -x "$bin/$t" ] || { echo "fuzz: no target $t" >&2; exit 2; }
  [ -d "$root/fuzz/corpus/$t" ] || { echo "fuzz: no seed corpus fuzz/corpus/$t" >&2; exit 2; }
done

# The work folder (also the targets' TMPDIR) in memory when the system has /dev/shm.
shm=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && shm=/dev/shm
work=$(mktemp -d -p "$shm" brevora-fuzz-run-XXXXXX)
trap 'rm -rf "$work"' EXIT
# A smaller ASan quarantine (freed blocks held back to catch late use): at its
# default of 256 MB it alone brings a busy target near the memory limit, which
# is meant to bound the parsers.
export ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=64
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Runs one target; its result goes to $work/<target>/result (0 or 1) and a line
# on stdout.
run() {
  local t=$1 dir="$work/$1" corpus
  mkdir -p "$dir/tmp" "$dir/findings"
  if [ $long = 1 ]; then
    corpus="$build/corpus/$t"
  else
    corpus="$dir/corpus"
  fi
  mkdir -p "$corpus"
  local args=(-max_total_time="$seconds" -rss_limit_mb=512 -timeout=10 -print_final_stats=1
              -artifact_prefix="$dir/findings/")
  [ -f "$root/fuzz/$t.dict" ] && args+=(-dict="$root/fuzz/$t.dict")
  # New inputs go to the first folder; the seeds are read, never written.
  if (cd "$dir" && TMPDIR="$dir/tmp" "$bin/$t" "${args[@]}" "$corpus" "$root/fuzz/corpus/$t" >log 2>&1); then
    local runs rate start end
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log")
    start=$(sed -n 's/^#[0-9]*[[:space:]]*INITED cov: \([0-9]*\).*/\1/p' "$dir/log" | head -n 1)
    end=$(sed -n 's/^#[0-9]*[[:space:]]*DONE *cov: \([0-9]*\).*/\1/p' "$dir/log" | tail -n 1)
    echo "fuzz: $t: ${runs:-?} executions in $seconds s (${rate:-?}/s), coverage ${start:-?} -> ${end:-?}, no findings"
    echo 0 >"$dir/result"
  else
    echo "fuzz: $t FAILED (its log follows at the end)"
    echo 1 >"$dir/result"
  fi
}

for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  run "$t" &
done
wait

status=0
for t in "${targets[@]}"; do
  [ "$(cat "$work/$t/result" 2>/dev/null)" = 0 ] && continue
  status=1
  echo "fuzz: $t FAILED; the end of its log:"
  tail -n 60 "$work/$t/log" 2>/dev/null || true
  mkdir -p "$build/findings/$t"
  cp -R "$work/$t/findings/." "$build/findings/$t/" 2>/dev/null || true
  echo "fuzz: the failing inputs are in $build/findings/$t/"
done
exit $status
