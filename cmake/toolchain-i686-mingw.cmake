# Cross build for 32-bit Windows with mingw-w64. QVVORN_THREAD_MODEL picks the
# compiler: posix for the tests (GoogleTest needs std::thread), win32 for the
# shipped module (no pthreads library, and none of its imports, in it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QVVORN_TRIPLE i686-w64-mingw32)
# A module build (QVVORN_MODULE_ONLY) gets win32 unless asked otherwise, as
# the release is built, wherever Debian's win32 compiler is there.
if(NOT QVVORN_THREAD_MODEL)
  set(QVVORN_THREAD_MODEL posix)
  if(QVVORN_MODULE_ONLY)
    find_program(QVVORN_WIN32_CXX_COMPILER_PATH ${QVVORN_TRIPLE}-g++-win32)
    if(QVVORN_WIN32_CXX_COMPILER_PATH)
      set(QVVORN_THREAD_MODEL win32)
    endif()
  endif()
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QVVORN_THREAD_MODEL)

# Compiler names: Debian's by default. Elsewhere set QVVORN_C_COMPILER,
# QVVORN_CXX_COMPILER and QVVORN_RC_COMPILER, as cache variables or in the
# environment. The module builds that the main build starts are configured
# later, by the build tool, and see only the environment.
foreach(tool C CXX RC)
  if(NOT QVVORN_${tool}_COMPILER AND DEFINED ENV{QVVORN_${tool}_COMPILER})
    set(QVVORN_${tool}_COMPILER $ENV{QVVORN_${tool}_COMPILER})
  endif()
endforeach()
if(NOT QVVORN_C_COMPILER)
  set(QVVORN_C_COMPILER ${QVVORN_TRIPLE}-gcc-${QVVORN_THREAD_MODEL})
endif()
if(NOT QVVORN_CXX_COMPILER)
  set(QVVORN_CXX_COMPILER ${QVVORN_TRIPLE}-g++-${QVVORN_THREAD_MODEL})
endif()
if(NOT QVVORN_RC_COMPILER)
  set(QVVORN_RC_COMPILER ${QVVORN_TRIPLE}-windres)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QVVORN_C_COMPILER QVVORN_CXX_COMPILER QVVORN_RC_COMPILER)
# A compiler that is not there is reported by CMakeLists.txt, before any
# language is enabled: an error here would be followed by CMake's own
# misleading one about the build program.
set(QVVORN_MISSING_COMPILERS "")
foreach(tool C CXX RC)
  find_program(QVVORN_${tool}_COMPILER_PATH ${QVVORN_${tool}_COMPILER})
  if(NOT QVVORN_${tool}_COMPILER_PATH)
    list(APPEND QVVORN_MISSING_COMPILERS "QVVORN_${tool}_COMPILER=${QVVORN_${tool}_COMPILER}")
  endif()
endforeach()

set(CMAKE_C_COMPILER ${QVVORN_C_COMPILER})
set(CMAKE_CXX_COMPILER ${QVVORN_CXX_COMPILER})
set(CMAKE_RC_COMPILER ${QVVORN_RC_COMPILER})

# Debian's mingw-w64 root; other systems' compilers know their own.
if(EXISTS /usr/${QVVORN_TRIPLE})
  set(CMAKE_FIND_ROOT_PATH /usr/${QVVORN_TRIPLE})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every test binary runs under Wine, unless the build runs on Windows itself,
# through the script that gives Wine its code page and settings.
if(NOT CMAKE_HOST_WIN32)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
endif()
