# Cross build for 32-bit Windows with mingw-w64. QVVORN_THREAD_MODEL picks the
# compiler: posix for the tests (GoogleTest needs std::thread), win32 for the
# shipped module (no pthreads library, and none of its imports, in it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QVVORN_TRIPLE i686-w64-mingw32)
if(NOT QVVORN_THREAD_MODEL)
  set(QVVORN_THREAD_MODEL posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QVVORN_THREAD_MODEL)

set(CMAKE_C_COMPILER ${QVVORN_TRIPLE}-gcc-${QVVORN_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${QVVORN_TRIPLE}-g++-${QVVORN_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${QVVORN_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QVVORN_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every test binary runs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
