#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan, tree build-fuzzer/) and runs
# each on a scratch copy of its committed seed corpus (fuzz/corpus/<target>/,
# which the run never changes), with 512 MB of memory and 10 seconds per input.
# Any crash, sanitizer report, failed check, timeout or memory overrun fails the
# run; the inputs that did it are kept in build-fuzzer/findings/<target>/.
#   scripts/fuzz.sh                       every target for 30 seconds
#   scripts/fuzz.sh <seconds> [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
shift || true
build="$root/build-fuzzer"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DBREVORA_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers >/dev/null

bin="$build/fuzz/bin"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(find "$bin" -maxdepth 1 -type f -executable -printf '%f\n' | sort)
fi

# The work folder (also the targets' TMPDIR) in memory when the system has /dev/shm.
shm=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && shm=/dev/shm
work=$(mktemp -d -p "$shm" brevora-fuzz-run-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/tmp"
export TMPDIR="$work/tmp"
# A smaller ASan quarantine (freed blocks held back to catch late use): at its
# default of 256 MB it alone brings a busy target near the memory limit, which
# is meant to bound the parsers.
export ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=64
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
  [ -x "$bin/$t" ] || { echo "fuzz: no target $t" >&2; exit 2; }
  [ -d "$root/fuzz/corpus/$t" ] || { echo "fuzz: no seed corpus fuzz/corpus/$t" >&2; exit 2; }
  mkdir -p "$work/$t/corpus" "$work/$t/findings"
  cp -R "$root/fuzz/corpus/$t/." "$work/$t/corpus/"
  args=(-max_total_time="$seconds" -rss_limit_mb=512 -timeout=10 -print_final_stats=1
        -artifact_prefix="$work/$t/findings/")
  [ -f "$root/fuzz/$t.dict" ] && args+=(-dict="$root/fuzz/$t.dict")
  if (cd "$work/$t" && "$bin/$t" "${args[@]}" corpus >log 2>&1); then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$t/log")
    echo "fuzz: $t: ${runs:-?} executions in ${seconds} s, no findings"
  else
    status=1
    echo "fuzz: $t FAILED; the end of its log:"
    tail -n 60 "$work/$t/log"
    mkdir -p "$build/findings/$t"
    cp -R "$work/$t/findings/." "$build/findings/$t/"
    echo "fuzz: the failing inputs are in $build/findings/$t/"
  fi
done
exit $status
