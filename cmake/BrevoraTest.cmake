include(GoogleTest)

# brevora_discover_tests(<program> [PROPERTIES <test properties...>])
# ctest runs each case of a test program as a test of its own, named
# <program>.<Suite>.<Case> (ctest -R <program> still picks the whole program),
# each with TIMEOUT 600 and the given properties. The cases are listed when
# ctest starts, by the program itself (--gtest_list_tests), again only after it
# was built anew: building runs no test program. Cases that the program's
# target property BREVORA_TEST_EXCLUDE names (a gtest filter) are left to
# tests of their own (brevora_conduit_fault_sweeps).
function(brevora_discover_tests name)
  cmake_parse_arguments(D "" "" "PROPERTIES" ${ARGN})
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    NO_PRETTY_VALUES  # a parameter's name (/Public), not its bytes
    TEST_FILTER "$<$<BOOL:$<TARGET_PROPERTY:${name},BREVORA_TEST_EXCLUDE>>:-$<TARGET_PROPERTY:${name},BREVORA_TEST_EXCLUDE>>"
    PROPERTIES TIMEOUT 600 ${D_PROPERTIES})
endfunction()

# brevora_test(<name> SOURCES <files...> LIBS <targets...>)
# One test program per folder concept; it links the shared test main, which gives
# every test case a fresh BREVORA_HOME.
function(brevora_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE brevora_test_main ${T_LIBS} GTest::gtest GTest::gmock)
  brevora_discover_tests(${name})
endfunction()

# brevora_qt_test(<name> SOURCES <files...> LIBS <targets...>)
# A test program for windows: like brevora_test, but its main makes the
# QApplication, and it always runs on Qt's offscreen platform.
function(brevora_qt_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE brevora_qt_test_main ${T_LIBS} Qt6::Widgets
                        GTest::gtest GTest::gmock)
  brevora_discover_tests(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# brevora_x11_program_test(<name> SOURCES <files...> LIBS <targets...> PROGRAMS <targets...>)
# A test that runs programs of the build on an X display as a user does
# (testing/x11_desktop.h, testing/spawn.h): under xvfb-run when it is
# installed, one such test at a time (xvfb-run -a picks its display number
# racily), the server kept between cases (-noreset: a reset when the last
# client goes refuses the next case's connection), a skipped case failing the
# test. Each program is passed as a definition <TARGET>_PROGRAM, its path
# (hotsync_program: HOTSYNC_PROGRAM).
# The program is one test: its cases share the X server that xvfb-run starts.
# Without xvfb-run the test is not made.
function(brevora_x11_program_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROGRAMS" ${ARGN})
  find_program(XVFB_RUN xvfb-run)
  if(NOT XVFB_RUN)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE brevora_test_main brevora_testing_spawn brevora_testing_x11
                        ${T_LIBS} GTest::gtest)
  foreach(program ${T_PROGRAMS})
    string(REGEX REPLACE "_program$" "" base ${program})
    string(TOUPPER ${base} upper)
    target_compile_definitions(${name} PRIVATE ${upper}_PROGRAM="$<TARGET_FILE:${program}>")
    add_dependencies(${name} ${program})
  endforeach()
  add_test(NAME ${name}
           COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x800x24 -noreset" $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 ENVIRONMENT "${BREVORA_X11_LSAN}"
                       RESOURCE_LOCK xvfb FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()
