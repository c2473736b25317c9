#!/usr/bin/env bash
# Checks that every #include runs down the layers, never up or sideways:
#   scripts/check_layers.sh          (run by ctest as layering_test)
#
# Every folder that holds .h or .cpp files has a line below: it may include
# itself and what its line names, a folder (its own files, not its sub-folders,
# which have lines of their own) or a single header. A folder without a line
# fails the check, so a new folder gets its place when it is made; a line whose
# folder holds no code any more fails too.
#
# Test-only code is *_test.cpp, *_test_*.h, *_test_*.cpp and every file of the
# test folders (tests_only below). It may also include testing/ and what
# tests_also names for its folder; a test-only header (*_test_*.h) is included
# by test-only code alone.
#
# The folders at the top, which no layer includes:
#   testing/   helpers for the tests of every layer (test mains, fakes, the
#              spawner of programs): they may include any layer; only tests
#              include them, and the benchmarks the few helpers named in
#              bench/'s line.
#   bench/     benchmarks: any layer and bench/lib/ (their command line, work
#              folder, timing and report); of the test helpers only the
#              spawner, the recording form factory and the receiver's
#              recording fakes, which have no test framework in them.
#   fuzz/      libFuzzer targets: any layer, the command line of bench/lib/,
#              the receiver's recording fakes and the album's scripted chooser.
#   journey/   the journey test: any layer and testing/.
# The build refuses the same includes (brevora_headers, cmake/BrevoraHeaders.cmake):
# a target sees only the headers of what it links.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

platform_all="platform/bytes platform/error platform/text platform/time platform/fs platform/registry platform/services platform/automation platform/windows"
below_office="office core support $platform_all platform/hotsync"
declare -A allowed=(
  # libbrevora-platform.so, from the bottom up, and the libraries on it.
  [platform/bytes]=""
  [platform/error]=""
  [platform/text]=""
  [platform/time]=""
  [platform/fs]="platform/error platform/text platform/time"
  [platform/registry]="platform/error platform/text platform/time platform/fs"
  [platform/services]="platform/error platform/text platform/fs"
  [platform/automation]="platform/error platform/text platform/time platform/fs platform/registry"
  [platform/windows]="platform/error platform/text platform/time platform/fs platform/services"
  [platform/serial]="platform/error platform/text platform/time platform/fs"
  [platform/input]="platform/error platform/text platform/fs platform/services"
  [platform/hotsync]="$platform_all"
  [platform/hotsync/host]="platform/hotsync $platform_all"
  [platform/qt]="$platform_all"
  # libtabrelc.so and libtabrelpc.so, the connectivity module.
  [support]="$platform_all"
  [core]="support $platform_all platform/hotsync"
  [office]="core support $platform_all platform/hotsync"
  [sheet]="$below_office"
  [doc]="$below_office"
  [slides]="$below_office"
  [frontend]="sheet doc slides $below_office"
  # The windows and the programs on the connectivity module.
  [slides/dialog]="frontend sheet doc slides $below_office platform/qt"
  [frontend/forms]="frontend sheet doc slides slides/dialog $below_office platform/qt"
  [frontend/brevora]="frontend sheet doc slides $below_office platform/hotsync/host platform/qt"
  [album]="slides $below_office"
  [album/app]="album slides $below_office platform/qt"
  # The receiver and the phone sync engine: the platform alone.
  [remote]="$platform_all platform/serial platform/input"
  [remote/app]="remote $platform_all platform/serial platform/input platform/qt"
  [phonesync]="$platform_all platform/qt"
  # The conduit framework sits on the platform and the hotsync layer alone;
  # the conduits use it, it never uses them.
  [conduit-framework]="$platform_all platform/hotsync"
  # The workbook conduit: the framework, the platform and the hotsync layer;
  # of sheet/ only the desktop file's constants (the plug-in links no
  # libtabrelpc.so).
  [conduit]="conduit-framework sheet/tbr_format.h $platform_all platform/hotsync"
  # The document conduit: the framework, libtabrelc, the platform and the
  # hotsync layer; of doc/ and slides/ only the format constants and the
  # FreeImage pieces it compiles in (the plug-in links no libtabrelpc.so).
  [conduit-doc]="conduit-framework doc/handheld_format.h doc/line_cursor.h doc/scv_format.h
                 slides/freeimage_init.h slides/freeimage_bitmap.h support $platform_all platform/hotsync"
)
# Every folder of the layers above.
layers="${!allowed[*]}"

# Test folders: code that only tests (and, where named, benchmarks) use.
tests_only="remote/testing conduit-framework/test_conduit conduit-framework/tests conduit/tests conduit-doc/tests
            testing journey"
tests_only=" $(echo $tests_only) "
# The receiver's recording fakes of the slide show and of the window.
allowed[remote/testing]="remote $platform_all platform/serial platform/input"
# TextTest, the framework's test conduit, and the framework's tests.
allowed[conduit-framework/test_conduit]="conduit-framework $platform_all platform/hotsync"
allowed[conduit-framework/tests]="conduit-framework conduit-framework/test_conduit $platform_all platform/hotsync
                                  platform/hotsync/host"
# The conduits' tests; their interop tests link libtabrelpc.so too.
allowed[conduit/tests]="conduit conduit-framework conduit-framework/tests sheet $below_office platform/hotsync/host"
allowed[conduit-doc/tests]="conduit-doc conduit-framework conduit-framework/tests doc slides support $platform_all
                            platform/hotsync platform/hotsync/host"

# The top (see above).
allowed[testing]="$layers"
allowed[bench/lib]="$platform_all"
allowed[bench]="$layers bench/lib testing/spawn.h testing/fake_forms.h remote/testing"
allowed[fuzz]="$layers bench/lib testing/scripted_chooser.h remote/testing"
allowed[journey]="$layers"

# What the tests of a folder may include beyond the folder's own line.
declare -A tests_also=(
  # The engine reaches the connectivity module by ProgID only; its tests
  # check what the module made.
  [phonesync]="core slides"
  [remote]="remote/testing"
  [remote/app]="remote/testing"
)

# One space around and between the names of each line.
for folder in "${!allowed[@]}"; do allowed[$folder]=" $(echo $folder ${allowed[$folder]}) "; done
for folder in "${!tests_also[@]}"; do tests_also[$folder]=" $(echo ${tests_also[$folder]}) "; done

status=0
fail() {
  echo "$1" >&2
  status=1
}

# Every folder with code has a line, and every line a folder with code.
files=()
declare -A has_code=()
while IFS= read -r file; do
  [ -f "$file" ] || continue
  folder=${file%/*}
  if [ "$folder" = "$file" ] || [ -z "${allowed[$folder]+set}" ]; then
    fail "$file is in a folder scripts/check_layers.sh does not know: give the folder its line there"
    continue
  fi
  files+=("$file")
  has_code[$folder]=1
done < <(git ls-files '*.h' '*.cpp')
for folder in "${!allowed[@]}"; do
  [ -n "${has_code[$folder]:-}" ] || fail "scripts/check_layers.sh has a line for $folder, which holds no code"
done

# Each include of a file of the tree, as "file<TAB>included".
while IFS=$'\t' read -r file target; do
  folder=${file%/*}
  ok=${allowed[$folder]}
  test_only=0
  case $file in *_test.cpp|*_test_*.h|*_test_*.cpp) test_only=1 ;; esac
  [[ $tests_only == *" $folder "* ]] && test_only=1
  [ $test_only -eq 0 ] || ok="${ok}testing${tests_also[$folder]:- }"
  target=${target//\/\//\/}  # "a//b.h" is "a/b.h"
  if [[ $ok != *" ${target%/*} "* && $ok != *" $target "* ]]; then
    fail "$file includes \"$target\" from a layer it may not use"
  elif [[ $test_only -eq 0 && ${target##*/} == *_test_*.h ]]; then
    fail "$file includes \"$target\", a header of the tests"
  fi
done < <(printf '%s\0' "${files[@]}" | xargs -0 grep -H '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/' |
         sed -n 's/^\([^:]*\):[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1\t\2/p')
exit $status
