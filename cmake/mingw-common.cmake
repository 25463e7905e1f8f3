# Cross-compiles the Windows programs with Debian's mingw-w64 for KORVALE_MINGW_ARCH (set by the
# including toolchain file); ctest runs them under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KORVALE_MINGW_ARCH})
# The POSIX threads variant: GoogleTest needs std::mutex, which the win32 variant of GCC 12 lacks.
set(CMAKE_C_COMPILER ${KORVALE_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVALE_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${KORVALE_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KORVALE_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
# Standalone executables: the C and C++ runtimes are linked in, Windows' own DLLs are all they need.
# Every function and datum in a section of its own, and what no program calls left out: most of
# what a static runtime brings is never called.
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
# Release executables are made for size and carry no symbol tables: Korvale.exe stays small. The
# figures are the same bits at every optimisation (no contraction, SSE2 arithmetic).
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG" CACHE STRING "Release: made for size")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
