#!/usr/bin/env bash
# Checks that every #include runs down the layers, never up or sideways:
#   scripts/check_layers.sh          (run by ctest as layering_test)
# Each folder below may include itself and the folders listed after it.
# Folders not listed are not checked (testing/, which serves the tests of every
# layer, is not a layer); give a new folder a line here.
# Test-only code (*_test.cpp, *_test_*.h, *_test_*.cpp) may also include testing/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

platform_all="platform/bytes platform/error platform/text platform/time platform/fs platform/registry platform/services platform/automation platform/windows"
below_office="office core support $platform_all platform/hotsync"
declare -A allowed=(
  [platform/bytes]=""
  [platform/error]=""
  [platform/text]=""
  [platform/time]=""
  [platform/fs]="platform/error platform/text platform/time"
  [platform/registry]="platform/error platform/text platform/time platform/fs"
  [platform/services]="platform/error platform/text platform/fs"
  [platform/automation]="platform/error platform/text platform/time platform/fs platform/registry"
  [platform/windows]="platform/error platform/text platform/time platform/fs platform/services"
  [platform/hotsync]="$platform_all"
  [platform/serial]="platform/error platform/text platform/time platform/fs"
  [platform/input]="platform/error platform/text platform/fs platform/services"
  [support]="$platform_all"
  [core]="support $platform_all platform/hotsync"
  [office]="core support $platform_all platform/hotsync"
  [sheet]="$below_office"
  [doc]="$below_office"
  [slides]="$below_office"
  [frontend]="sheet doc slides $below_office"
  [frontend/brevora]="frontend sheet doc slides $below_office platform/qt"
  [slides/dialog]="frontend sheet doc slides $below_office platform/qt"
  [album]="slides $below_office"
  [album/app]="album slides $below_office platform/qt"
  [remote]="$platform_all platform/serial platform/input"
  [remote/app]="remote $platform_all platform/serial platform/input platform/qt"
  [platform/qt]="$platform_all"
  [frontend/forms]="frontend sheet doc slides slides/dialog $below_office platform/qt"
  # The conduit framework sits on the platform and the hotsync layer alone;
  # the conduits use it, it never uses them. Its test conduit and its tests
  # are layers above it.
  [conduit-framework]="$platform_all platform/hotsync"
  [conduit-framework/test_conduit]="conduit-framework $platform_all platform/hotsync"
  [conduit-framework/tests]="conduit-framework conduit-framework/test_conduit $platform_all platform/hotsync testing"
  # The workbook conduit: the framework, the platform and the hotsync layer;
  # of sheet/ only the desktop file's constants (the plug-in links no
  # libtabrelpc.so; its interop tests do).
  [conduit]="conduit-framework sheet $platform_all platform/hotsync"
  [conduit/tests]="conduit conduit-framework conduit-framework/tests sheet $below_office testing"
  # The document conduit: the framework, libtabrelc, the platform and the
  # hotsync layer; of doc/ and slides/ only the format constants and the
  # FreeImage pieces it compiles in (the plug-in links no libtabrelpc.so).
  [conduit-doc]="conduit-framework doc slides support $platform_all platform/hotsync"
  [conduit-doc/tests]="conduit-doc conduit-framework conduit-framework/tests doc slides support $platform_all platform/hotsync testing"
)

# The listed folder a file belongs to (the longest one its path starts with),
# into $found.
folder_of() {
  found=""
  local f
  for f in "${!allowed[@]}"; do
    if [[ $1 == "$f"/* && ${#f} -gt ${#found} ]]; then found=$f; fi
  done
}

status=0
while IFS= read -r file; do
  [ -f "$file" ] || continue
  folder_of "$file"
  folder=$found
  [ -n "$folder" ] || continue
  ok="$folder ${allowed[$folder]}"
  case $file in *_test.cpp|*_test_*.h|*_test_*.cpp) ok="$ok testing" ;; esac
  while IFS= read -r target; do
    dir=${target%/*}
    good=0
    for a in $ok; do
      if [[ $dir == "$a" || $dir == "$a"/* ]]; then
        # A folder's own sub-folders are layers of their own when listed.
        folder_of "$target"
        sub=$found
        if [[ -z $sub || $sub == "$a" || " $ok " == *" $sub "* ]]; then good=1; break; fi
      fi
    done
    if [ $good -eq 0 ]; then
      echo "$file includes \"$target\" from a layer it may not use" >&2
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1/p' "$file")
done < <(git ls-files '*.h' '*.cpp')
exit $status
