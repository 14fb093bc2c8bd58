# Cross-compiles Polyshift for 32-bit Windows with Debian's MinGW-w64 compilers (POSIX thread
# model, so std::thread and std::mutex work) and runs the test programs under Wine.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-i686.cmake
#
# The emulator is a small script the build writes into its own folder (see cmake/Windows.cmake):
# it gives Wine a prefix inside the build folder, silences Wine's debug channels and lets the
# programs find the runtime library in bin/.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_OBJDUMP i686-w64-mingw32-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 is the baseline of the vector code. Windows promises only 4-byte stack alignment to a
# function it calls (a host of another make calling a plug-in, a thread's start), so functions
# that keep 16-byte values on the stack align it themselves.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")

# Nothing but our own libraries and the system's: the C and C++ runtimes and winpthread are
# linked into every program and library (-static takes the archive of each library that has
# one; the system's libraries have only import archives and stay DLLs).
set(polyshiftStaticRuntime "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${polyshiftStaticRuntime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${polyshiftStaticRuntime}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${polyshiftStaticRuntime}")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run")
