# Second compiler: clang targeting the same mingw-w64 runtime as the shipped
# module (gcc's win32-thread-model libstdc++ and libgcc).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QVVORN_TRIPLE i686-w64-mingw32)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${QVVORN_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${QVVORN_TRIPLE})
set(CMAKE_RC_COMPILER ${QVVORN_TRIPLE}-windres)
set(CMAKE_SYSROOT_COMPILE /usr/${QVVORN_TRIPLE})
set(QVVORN_CLANG ON)

# clang does not find Debian's versioned gcc directory (12-win32) by itself:
# name libstdc++'s headers and the gcc runtime libraries. The module takes
# gcc's crtend.o from there (cmake/module.cmake names the directory with -B
# after the one holding the module's own crtbegin.o); the crtbegin.o and
# crtend.o of the mingw-w64 package are empty, and without the registration
# of the unwind tables the first throw would end the process. lld takes
# archives in any order. The compile-only flags reach the link line too,
# hence the unused-argument switch there.
file(GLOB QVVORN_GCC_DIRS /usr/lib/gcc/${QVVORN_TRIPLE}/*-win32)
if(NOT QVVORN_GCC_DIRS)
  message(FATAL_ERROR "clang builds the module against gcc's mingw-w64 runtime, and there is no "
    "/usr/lib/gcc/${QVVORN_TRIPLE}/*-win32 here. On Debian, scripts/prepare.sh installs it "
    "(g++-mingw-w64-i686-win32).")
endif()
list(GET QVVORN_GCC_DIRS -1 QVVORN_GCC_DIR)
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem ${QVVORN_GCC_DIR}/include/c++ -isystem ${QVVORN_GCC_DIR}/include/c++/${QVVORN_TRIPLE} -isystem ${QVVORN_GCC_DIR}/include/c++/backward")
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${QVVORN_GCC_DIR} -Wno-unused-command-line-argument")
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${QVVORN_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
