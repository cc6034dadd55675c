# src/shell/module_runtime.cpp stands in for internals of the GNU runtime that
# the module links statically: libgcc's lock functions and frame
# registration, libstdc++'s exception state, mingw-w64's start-up hooks. They
# were checked against gcc 12's runtime (clang builds link the same one) and
# mingw-w64 10.0; another version may lay them out differently without a
# word, so the build stops here until each replacement is checked against it.
include_guard(GLOBAL)
include(CheckCXXSourceCompiles)

set(QVVORN_RUNTIME_CHECKED_GCC 12)
set(QVVORN_RUNTIME_CHECKED_MINGW 10.0)
set(QVVORN_RUNTIME_CHECKED_CLANG 14)

string(REPLACE "." ";" mingw_version ${QVVORN_RUNTIME_CHECKED_MINGW})
list(GET mingw_version 0 mingw_major)
list(GET mingw_version 1 mingw_minor)
set(CMAKE_REQUIRED_QUIET ON)
check_cxx_source_compiles("
#include <cstdlib>
#if _GLIBCXX_RELEASE != ${QVVORN_RUNTIME_CHECKED_GCC}
#error libstdc++ and libgcc are not from gcc ${QVVORN_RUNTIME_CHECKED_GCC}
#endif
#if defined(__clang__) && __clang_major__ != ${QVVORN_RUNTIME_CHECKED_CLANG}
#error clang is not clang ${QVVORN_RUNTIME_CHECKED_CLANG}
#elif !defined(__clang__) && __GNUC__ != ${QVVORN_RUNTIME_CHECKED_GCC}
#error gcc is not gcc ${QVVORN_RUNTIME_CHECKED_GCC}
#endif
#if __MINGW64_VERSION_MAJOR != ${mingw_major} || __MINGW64_VERSION_MINOR != ${mingw_minor}
#error mingw-w64 is not mingw-w64 ${QVVORN_RUNTIME_CHECKED_MINGW}
#endif
int main() { return 0; }
" QVVORN_RUNTIME_VERSIONS_CHECKED)
if(NOT QVVORN_RUNTIME_VERSIONS_CHECKED)
  unset(QVVORN_RUNTIME_VERSIONS_CHECKED CACHE)
  message(FATAL_ERROR "The module's runtime replacements (src/shell/module_runtime.cpp) were "
    "checked against gcc ${QVVORN_RUNTIME_CHECKED_GCC}'s runtime, clang "
    "${QVVORN_RUNTIME_CHECKED_CLANG} and mingw-w64 ${QVVORN_RUNTIME_CHECKED_MINGW}; "
    "${CMAKE_CXX_COMPILER} (${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION}) brings "
    "another (CMakeFiles/CMakeError.log says which). Check each replacement against this "
    "runtime, then change the versions in "
    "cmake/runtime_guard.cmake.")
endif()

# Whether libstdc++ uses libgcc's win32 thread layer, whose locks the
# runtime replaces (the shipped module's compilers); the posix layer that the
# test programs' compiler uses keeps its own.
check_cxx_source_compiles("
#include <ext/concurrence.h>
#if !defined(GCC_GTHR_WIN32_H)
#error not the win32 thread layer
#endif
int main() { return 0; }
" QVVORN_RUNTIME_WIN32_THREADS)
