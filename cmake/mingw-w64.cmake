# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads,
# which std::thread needs). Tests and build-time tools run through wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNLOW_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNLOW_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNLOW_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNLOW_MINGW}-windres)

# Only the cross sysroot and the prefixes given in TARNLOW_WINDOWS_PREFIXES
# (Qt, GoogleTest, libpng, header-only libraries) are searched for libraries
# and headers, never the host's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${TARNLOW_MINGW} ${TARNLOW_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(TARNLOW_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TARNLOW_WINE})
