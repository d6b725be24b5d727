# Cross-compiling to 64-bit Windows with mingw-w64 (posix threads flavour).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VITROLUX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VITROLUX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VITROLUX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VITROLUX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VITROLUX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the Windows programs with Wine, through a wrapper that gives each
# build tree its own prefix and a display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
