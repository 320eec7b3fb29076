# Cross-compiling for 32-bit Windows (i686) with MinGW-w64. Compiled and
# measured here, not run: this kernel starts no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MIRL_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
