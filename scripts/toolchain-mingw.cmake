# What the MinGW-w64 toolchains share; toolchain-mingw64.cmake (x86-64) and
# toolchain-mingw32.cmake (i686) set MIRL_MINGW_PREFIX and the processor.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX thread model: its libstdc++ has std::thread (the occlusion
# shading's), which GCC 12's win32 model lacks. The C compiler is the same.
set(CMAKE_C_COMPILER ${MIRL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIRL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MIRL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MIRL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static C, C++ and pthread libraries: the .exe then runs without MinGW's DLLs
# beside it, under wine as on a bare Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
