# Tests that the build refuses headers of what a target does not link
# (cmake/BrevoraHeaders.cmake); run by ctest as layering_build_test:
#   cmake -DSOURCE=<source tree> -DBUILD=<build tree> -DWORK=<scratch folder>
#         -P cmake/BrevoraHeadersTest.cmake
# Each case compiles a one-line file that includes a header, with the flags the
# build compiles a given source of a target with (compile_commands.json), and
# expects it to compile or to miss the header.
cmake_minimum_required(VERSION 3.25)

file(READ ${BUILD}/compile_commands.json commands)
file(MAKE_DIRECTORY ${WORK})

# The compiler and its flags for <source> (a path from the source root), into
# <out>, and the folder it runs in, into <out>_DIR.
function(flags_of source out)
  string(FIND "${commands}" "\"file\": \"${SOURCE}/${source}\"" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "no compile of ${source} in ${BUILD}/compile_commands.json")
  endif()
  string(SUBSTRING "${commands}" 0 ${at} before)
  string(FIND "${before}" "\n{" start REVERSE)
  string(SUBSTRING "${commands}" ${start} -1 rest)
  string(FIND "${rest}" "\n}" end)
  math(EXPR end "${end} + 2")
  string(SUBSTRING "${rest}" 0 ${end} entry)
  string(JSON command GET "${entry}" command)
  string(JSON directory GET "${entry}" directory)
  separate_arguments(words UNIX_COMMAND "${command}")
  # Leave out the object and the source: the case gives its own file.
  foreach(option -o -c)
    list(FIND words ${option} i)
    list(REMOVE_AT words ${i})
    list(REMOVE_AT words ${i})
  endforeach()
  set(${out} ${words} PARENT_SCOPE)
  set(${out}_DIR ${directory} PARENT_SCOPE)
endfunction()

set(failures 0)
# check(<source> <header> SEES|MISSES)
function(check source header expected)
  flags_of(${source} flags)
  string(MAKE_C_IDENTIFIER "${source}_${header}" name)
  file(WRITE ${WORK}/${name}.cpp "#include \"${header}\"\n")
  execute_process(COMMAND ${flags} -fsyntax-only ${WORK}/${name}.cpp WORKING_DIRECTORY ${flags_DIR}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  set(missed FALSE)
  if(out MATCHES "${header}: No such file or directory|'${header}' file not found")
    set(missed TRUE)
  endif()
  if(expected STREQUAL "SEES" AND NOT rc EQUAL 0)
    message("FAIL ${source} should see ${header}:\n${out}")
    math(EXPR failures "${failures} + 1")
  elseif(expected STREQUAL "MISSES" AND (rc EQUAL 0 OR NOT missed))
    message("FAIL ${source} should not see ${header} (status ${rc}):\n${out}")
    math(EXPR failures "${failures} + 1")
  else()
    message("ok   ${source} ${expected} ${header}")
  endif()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

# A layer sees its own headers and those of the layers it builds on, no others.
check(core/session.cpp core/session.h SEES)
check(core/session.cpp platform/hotsync/database_reader.h SEES)
check(core/session.cpp sheet/workbook.h MISSES)
check(platform/fs/paths.cpp platform/error/error.h SEES)
check(platform/fs/paths.cpp platform/registry/registry.h MISSES)
# A folder's sub-folder is a layer of its own.
check(frontend/tabrel_pc.cpp frontend/forms/qt_form.h MISSES)
# Of sheet/ the workbook conduit sees the desktop file's constants alone.
check(conduit/numbers.cpp sheet/tbr_format.h SEES)
check(conduit/numbers.cpp sheet/workbook.h MISSES)
# The receiver links none of the connectivity module.
check(remote/keystrokes.cpp core/session.h MISSES)
# Test helpers and test-only headers are for tests; a benchmark sees the helpers it links.
check(album/album.cpp testing/fresh_home.h MISSES)
check(album/album.cpp slides/pictures_test_support.h MISSES)
check(album/album_test.cpp slides/pictures_test_support.h SEES)
check(bench/hotsync.cpp testing/spawn.h SEES)
check(bench/hotsync.cpp testing/caught_error.h MISSES)

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) failed")
endif()
