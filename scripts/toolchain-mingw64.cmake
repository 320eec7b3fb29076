# Cross-compiling for 64-bit Windows with MinGW-w64; the programs run here
# under wine64. The runtime, the files and mirl-tool alone:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=scripts/toolchain-mingw64.cmake \
#         -DMIRL_EDITOR=OFF -DMIRL_TESTS=OFF -DMIRL_BENCH=OFF
# The editor too: scripts/windows.sh (it builds freeglut first).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MIRL_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
