# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads), statically linked so
# that the programs need no DLL beyond Windows' own. Test programs run through Wine, each build in
# a Wine prefix of its own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VIDOR_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VIDOR_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VIDOR_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VIDOR_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VIDOR_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES=mscoree,mshtml= /usr/lib/wine/wine64)
set(CMAKE_RC_FLAGS_INIT "-c 65001")  # the resource texts are UTF-8
