# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the posix thread model,
# which C++ threads and Qt need). Used for Qt itself and for the program.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZL_MINGW}-windres)
# Windows libraries: the mingw ones and those built for it (Qt, libxlsxwriter) named by
# CMAKE_PREFIX_PATH.
set(CMAKE_FIND_ROOT_PATH /usr/${ZL_MINGW} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
