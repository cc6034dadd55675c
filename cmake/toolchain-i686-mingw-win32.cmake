# The shipped module: mingw-w64 with the win32 thread model, so that no
# pthreads library (and its thread-control imports) is linked into it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QVVORN_TRIPLE i686-w64-mingw32)

set(CMAKE_C_COMPILER ${QVVORN_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${QVVORN_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${QVVORN_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QVVORN_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
