# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads compilers), and runs
# what the build runs (the tests, through CTest) under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and headers come from the cross prefixes only (CMAKE_PREFIX_PATH, the MinGW root);
# programs (moc, rcc) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

find_program(VDSESSION_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(VDSESSION_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VDSESSION_WINE})
endif()
