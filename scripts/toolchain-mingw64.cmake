# Cross-compiling the runtime, the files and mirl-tool for 64-bit Windows
# with MinGW-w64; the programs run here under wine64.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=scripts/toolchain-mingw64.cmake \
#         -DMIRL_EDITOR=OFF -DMIRL_TESTS=OFF -DMIRL_BENCH=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MIRL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MIRL_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${MIRL_MINGW_PREFIX}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${MIRL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static C, C++ and pthread libraries: the .exe then runs without MinGW's DLLs
# beside it, under wine as on a bare Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# 64-bit only: this wine cannot start 32-bit programs.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
