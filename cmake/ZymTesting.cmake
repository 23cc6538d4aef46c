# zym_add_test(NAME name LABEL subsystem SOURCES files... [LIBS libs...] [TIMEOUT seconds]
#               [SERIAL])
# Builds one Winelib test program against the host GoogleTest/GoogleMock and registers
# it as one CTest test, run through the Wine loader in the build's own Wine prefix.
# SERIAL: the test runs alone, for window tests whose activation and focus other
# tests' windows on the one X display would take.
function(zym_add_test)
  cmake_parse_arguments(T "SERIAL" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_NAME OR NOT T_LABEL OR NOT T_SOURCES)
    message(FATAL_ERROR "zym_add_test needs NAME, LABEL and SOURCES")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 240)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} zym_testmain)
  add_test(NAME ${T_NAME}
           COMMAND ${WINE_LOADER} $<TARGET_FILE:${T_NAME}>.so
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS ${T_LABEL}
    TIMEOUT ${T_TIMEOUT}
    RUN_SERIAL ${T_SERIAL}
    # Failures count even where Wine ends the process with code 0 (a handle
    # closed by a static destructor after the process began to end does that).
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]"
    ENVIRONMENT "WINEPREFIX=${ZYM_WINEPREFIX};WINEARCH=win64;WINEDLLOVERRIDES=mscoree,mshtml=;ZYM_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
