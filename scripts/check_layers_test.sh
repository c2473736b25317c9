#!/usr/bin/env bash
# Tests scripts/check_layers.sh (run by ctest as layering_check_test): on a copy
# of the tree's code, each case makes one change and expects the check to pass
# or to fail with the message it names.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export BREVORA_HOME=$work/home
mkdir -p "$BREVORA_HOME" "$work/tree/scripts"
cp "$root/scripts/check_layers.sh" "$work/tree/scripts/"
(cd "$root" && git ls-files -z '*.h' '*.cpp' | xargs -0 cp --parents -t "$work/tree")
cd "$work/tree"
git init -q . && git add -A
git -c user.name=test -c user.email=test@localhost commit -qm tree

# case <name> <expected message, or "" for a pass> <shell commands that change the tree>
failures=0
case_() {
  local name=$1 expected=$2 change=$3 out rc=0
  eval "$change"
  git add -A
  out=$(scripts/check_layers.sh 2>&1) || rc=$?
  if [ -z "$expected" ]; then
    if [ $rc -eq 0 ]; then echo "ok   $name"; else
      echo "FAIL $name: the check refused the tree: $out"
      failures=$((failures + 1))
    fi
  elif [ $rc -eq 0 ] || [[ $out != *"$expected"* ]]; then
    echo "FAIL $name: expected \"$expected\", the check said (status $rc): $out"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
  git reset -q --hard && git clean -qfd
}
inc() { echo "#include \"$2\"" >> "$1"; }

case_ "the tree as it is" "" ":"
case_ "a test may include the test helpers" "" "inc core/session_test.cpp testing/fresh_home.h"
case_ "a benchmark may use the spawner" "" "inc bench/pdb.cpp testing/spawn.h"
case_ "an upward include" "core/session.cpp includes \"sheet/workbook.h\" from a layer it may not use" \
  "inc core/session.cpp sheet/workbook.h"
case_ "a sideways include" "sheet/cell.cpp includes \"doc/document.h\" from a layer it may not use" \
  "inc sheet/cell.cpp doc/document.h"
case_ "a sub-folder is a layer of its own" \
  "frontend/tabrel_pc.cpp includes \"frontend/forms/qt_form.h\" from a layer it may not use" \
  "inc frontend/tabrel_pc.cpp frontend/forms/qt_form.h"
case_ "of sheet/ the conduit uses the file's constants alone" \
  "conduit/numbers.cpp includes \"sheet/workbook.h\" from a layer it may not use" \
  "inc conduit/numbers.cpp sheet/workbook.h"
case_ "a layer never includes the test helpers" \
  "album/album.cpp includes \"testing/fresh_home.h\" from a layer it may not use" \
  "inc album/album.cpp testing/fresh_home.h"
case_ "a layer never includes a header of the tests" \
  "album/album.cpp includes \"slides/pictures_test_support.h\", a header of the tests" \
  "inc album/album.cpp slides/pictures_test_support.h"
case_ "a layer never includes a benchmark" \
  "phonesync/sync_engine.cpp includes \"bench/lib/timing.h\" from a layer it may not use" \
  "inc phonesync/sync_engine.cpp bench/lib/timing.h"
case_ "a layer never includes a fuzz target" "remote/keystrokes.cpp includes \"fuzz/fuzz_target.h\"" \
  "inc remote/keystrokes.cpp fuzz/fuzz_target.h"
case_ "the test helpers never include a benchmark" \
  "testing/spawn.cpp includes \"bench/lib/timing.h\" from a layer it may not use" \
  "inc testing/spawn.cpp bench/lib/timing.h"
case_ "the benchmarks use no test framework" \
  "bench/pdb.cpp includes \"testing/caught_error.h\" from a layer it may not use" \
  "inc bench/pdb.cpp testing/caught_error.h"
case_ "the benchmarks' library is below the benchmarks" \
  "bench/lib/timing.cpp includes \"bench/pictures.h\" from a layer it may not use" \
  "inc bench/lib/timing.cpp bench/pictures.h"
case_ "a folder without a line" \
  "newfolder/piece.cpp is in a folder scripts/check_layers.sh does not know" \
  "mkdir newfolder && echo '#include \"core/session.h\"' > newfolder/piece.cpp"
case_ "a line without a folder" "has a line for journey, which holds no code" "git rm -rq journey"
case_ "a doubled slash is the same path" "core/session.cpp includes \"sheet/workbook.h\"" \
  "inc core/session.cpp sheet//workbook.h"

[ $failures -eq 0 ]
