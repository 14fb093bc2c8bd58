# The 32-bit Windows build (see cmake/toolchains/mingw-i686.cmake): Unicode system calls, and
# the script through which CTest and the build run Windows programs under Wine.

# Every system call the program makes takes wide (UTF-16) text; the ANSI forms would pass
# paths through the system's code page and lose what it cannot hold.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# Wine with a prefix of this build's own (created on first use), quiet, and with bin/ on the
# library search path so that test programs in other folders find the runtime library (unless
# a test asks for a search path without it).
if(CMAKE_CROSSCOMPILING)
  find_program(POLYSHIFT_WINE wine REQUIRED)
  file(TO_NATIVE_PATH "${CMAKE_BINARY_DIR}/bin" binFolder)
  set(wineRun "${CMAKE_BINARY_DIR}/wine-run")
  file(CONFIGURE OUTPUT ${wineRun} @ONLY CONTENT [=[#!/bin/sh
# Runs a Windows program of this build under Wine (written by cmake/Windows.cmake).
export WINEPREFIX="${POLYSHIFT_WINEPREFIX:-@CMAKE_BINARY_DIR@/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# POLYSHIFT_WINEPATH=none: nothing of the build on the search path, as on a user's machine.
if [ "${POLYSHIFT_WINEPATH:-}" = none ]; then
  unset WINEPATH
else
  export WINEPATH="Z:@CMAKE_BINARY_DIR@/bin"
fi
exec "@POLYSHIFT_WINE@" "$@"
]=])
  file(CHMOD ${wineRun} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
       GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
