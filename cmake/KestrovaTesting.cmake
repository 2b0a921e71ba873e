# kestrova_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI])
# One GoogleTest executable registered with CTest. GUI tests share a main
# that brings up a QApplication on the offscreen platform.
function(kestrova_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE kestrova_test_qt_main Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  kestrova_test_environment(${name} ${ARG_GUI})
endfunction()

# kestrova_add_test_run(<name> <executable> [GUI] [ARGS <args...>] [ENVIRONMENT <vars...>])
# One more run of a test executable, with its own arguments and environment.
# A GUI executable fails when its filter matches no test.
function(kestrova_add_test_run name executable)
  cmake_parse_arguments(ARG "GUI" "" "ARGS;ENVIRONMENT" ${ARGN})
  add_test(NAME ${name} COMMAND ${executable} ${ARG_ARGS})
  kestrova_test_environment(${name} ${ARG_GUI} ${ARG_ENVIRONMENT})
endfunction()

# The environment of a registered test: a UTF-8 C locale, Qt offscreen for GUI
# tests, the sanitizers' options, then extra.
function(kestrova_test_environment name gui)
  set(env "LC_ALL=C.UTF-8" ${ARGN})
  if(gui)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  if(KESTROVA_SANITIZE)
    list(APPEND env "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0"
                    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
