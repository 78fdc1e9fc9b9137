# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the -posix
# compilers, whose C++ library has std::thread). Programs are linked
# statically, so each .exe runs on a bare Windows without DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNWK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNWK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNWK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNWK_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARNWK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests and test discovery run the programs under wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
