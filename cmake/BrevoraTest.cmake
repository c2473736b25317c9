# brevora_test(<name> SOURCES <files...> LIBS <targets...>)
# One test program per folder concept; it links the shared test main, which gives
# every test case a fresh BREVORA_HOME.
function(brevora_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE brevora_test_main ${T_LIBS} GTest::gtest GTest::gmock)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
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
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
