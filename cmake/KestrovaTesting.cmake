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

# Environments for runs under what a person's desktop may ask for and the test
# machine does not: full font hinting (its runs check that it holds), and
# Qt's Windows style, with a wider scroll bar and a thicker frame.
set(KESTROVA_FULL_HINTING
    "FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/tests/support/full_hinting.conf"
    "KESTROVA_FULL_HINTING=1")
set(KESTROVA_WINDOWS_STYLE "QT_STYLE_OVERRIDE=windows")

# The environment of a registered test: a UTF-8 C locale, Qt offscreen for GUI
# tests, the sanitizers' options, then extra.
function(kestrova_test_environment name gui)
  set(env "LC_ALL=C.UTF-8" ${ARGN})
  if(gui)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  kestrova_sanitizer_environment(env)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()

# Appends the sanitizers' options to the list variable <env>. An
# AddressSanitizer report (a crash or a leak among them) ends the process with
# status 86, which no test expects: it would otherwise end with 1, the status
# of a program that Qt ends when its display goes away.
function(kestrova_sanitizer_environment env)
  if(KESTROVA_SANITIZE)
    list(APPEND ${env} "ASAN_OPTIONS=exitcode=86"
         "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0"
         "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    set(${env} "${${env}}" PARENT_SCOPE)
  endif()
endfunction()

# kestrova_add_tool_test(<name> TOOLS <programs...> COMMAND <command...> [PROPERTIES <properties...>])
# A test that drives the real program with tools of the system (the virtual
# X server, xdotool, ImageMagick ...). Each tool is looked for by its name and
# cached as KESTROVA_ and its name in capitals (Xvfb as KESTROVA_XVFB, which
# -DKESTROVA_XVFB=<path> sets); it reaches the test's scripts at the path found,
# in an environment variable named without the prefix (XVFB). Where one is
# missing the test cannot run: with KESTROVA_REQUIRE_ALL_TESTS on that stops the
# configure; otherwise the test is left out with a warning that names what is
# missing.
function(kestrova_add_tool_test name)
  cmake_parse_arguments(arg "" "" "TOOLS;COMMAND;PROPERTIES" ${ARGN})
  set(env "LC_ALL=C.UTF-8")
  set(missing "")
  foreach(tool IN LISTS arg_TOOLS)
    string(TOUPPER ${tool} var)
    find_program(KESTROVA_${var} ${tool})
    if(KESTROVA_${var})
      list(APPEND env "${var}=${KESTROVA_${var}}")
    else()
      list(APPEND missing ${tool})
    endif()
  endforeach()
  if(missing)
    list(JOIN missing ", " missing)
    if(KESTROVA_REQUIRE_ALL_TESTS)
      message(FATAL_ERROR "${missing} missing: the test ${name} cannot be registered")
    endif()
    message(WARNING "${missing} missing: the test ${name} is not registered")
    return()
  endif()
  kestrova_sanitizer_environment(env)
  add_test(NAME ${name} COMMAND ${arg_COMMAND})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" ${arg_PROPERTIES})
endfunction()
