# src/shell/module_runtime.cpp fits the GNU runtime that the module links
# statically to a module. Its core, which registers the module's unwind
# tables with the module's own unwinder and releases the emergency pool at
# unload, uses only interfaces that every gcc keeps, and goes into every
# module. Its extras stand in for internals of libgcc, libstdc++ and
# mingw-w64's start-up code, which another version may lay out differently
# without a word: they apply only where they were checked against the
# toolchain. Elsewhere the module gets the core alone, and the build goes on.
# Sets QVVORN_RUNTIME_EXTRAS_APPLIED and QVVORN_RUNTIME_THREADS (win32, posix,
# or unknown when the versions could not be read).
include_guard(GLOBAL)

option(QVVORN_RUNTIME_EXTRAS "Fit the runtime extras to the module where they were checked against the toolchain" ON)
# The test build's own module builds (cmake/module_builds.cmake) are made on
# purpose as they are, and the test build's configuration has already warned
# about a toolchain that nobody has checked: what the guard finds there is a
# status line.
option(QVVORN_TEST_BUILD_MODULE "This is one of the test build's module builds" OFF)
mark_as_advanced(QVVORN_TEST_BUILD_MODULE)
set(QVVORN_RUNTIME_EXTRA_NAMES "no locks, one exception state, no TLS callback, \
no verbose terminate handler, no pseudo-relocation routine")

# The toolchains that each extra was checked against: compiler, the gcc
# release of libstdc++ and libgcc, mingw-w64. Set it on the command line only
# after checking the extras against another toolchain.
if(NOT DEFINED QVVORN_RUNTIME_CHECKED)
  set(QVVORN_RUNTIME_CHECKED "gcc 12/12/10.0" "clang 14/12/10.0" "gcc 14/14/12.0" "clang 19/14/12.0")
endif()

# The versions, read from a string in a small library built with this
# compiler, as CMake reads a compiler's own.
set(probe ${CMAKE_BINARY_DIR}/CMakeFiles/qvvorn_runtime_probe)
file(WRITE ${probe}/versions.cpp [=[
#include <cstdlib>
#include <ext/concurrence.h>
#define TEXT(x) #x
#define VALUE(x) TEXT(x)
#if defined(__clang__)
#define COMPILER "clang " VALUE(__clang_major__)
#else
#define COMPILER "gcc " VALUE(__GNUC__)
#endif
#if defined(GCC_GTHR_WIN32_H)
#define THREADS "win32"
#else
#define THREADS "posix"
#endif
const char versions[] = "QVVORN_VERSIONS[" COMPILER "/" VALUE(_GLIBCXX_RELEASE) "/" VALUE(
    __MINGW64_VERSION_MAJOR) "." VALUE(__MINGW64_VERSION_MINOR) "/" THREADS "]";
char Version(int at) { return versions[at]; }
]=])
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
try_compile(probe_built ${probe}/build ${probe}/versions.cpp COPY_FILE ${probe}/versions.a
  OUTPUT_VARIABLE probe_output)
unset(CMAKE_TRY_COMPILE_TARGET_TYPE)
set(QVVORN_RUNTIME_FOUND "")
# Whether libstdc++ uses libgcc's win32 thread layer (the shipped module's
# compilers) or winpthreads (the test programs' compiler); unknown when the
# probe says nothing.
set(QVVORN_RUNTIME_THREADS unknown)
if(probe_built)
  file(STRINGS ${probe}/versions.a probe_text REGEX "QVVORN_VERSIONS\\[[^]]*\\]")
  if(probe_text MATCHES "QVVORN_VERSIONS\\[([^/]+/[^/]+/[^/]+)/(win32|posix)\\]")
    set(QVVORN_RUNTIME_FOUND ${CMAKE_MATCH_1})
    set(QVVORN_RUNTIME_THREADS ${CMAKE_MATCH_2})
  endif()
endif()
# A module of the posix thread model links winpthreads, which takes a
# thread-local storage slot and two handles of the host's process at every
# load and gives none of them back. No extra can help that, so a module build
# treats it as unchecked; the test programs' own modules keep posix.
set(posix_module OFF)
if(QVVORN_MODULE_ONLY AND QVVORN_RUNTIME_THREADS STREQUAL "posix")
  set(posix_module ON)
endif()

if(QVVORN_RUNTIME_FOUND)
  string(REPLACE "/" ";" found "${QVVORN_RUNTIME_FOUND}")
  list(GET found 0 found_compiler)
  list(GET found 1 found_gcc)
  list(GET found 2 found_mingw)
  set(found_text "${found_compiler} with the runtime of gcc ${found_gcc} and mingw-w64 ${found_mingw}")
endif()
if(NOT QVVORN_RUNTIME_FOUND)
  # Nothing is known of this runtime, its thread model included; the cause
  # is what the probe's build said.
  set(QVVORN_RUNTIME_EXTRAS_APPLIED OFF)
  if(probe_built)
    set(cause "the probe that it built holds no version text")
  else()
    set(cause "it could not build the probe (${probe}/versions.cpp)")
    if(probe_output MATCHES "[^\n]*error:[^\n]*")
      string(STRIP "${CMAKE_MATCH_0}" first_error)
      string(APPEND cause ", and said: ${first_error}")
    endif()
  endif()
  set(report "The runtime versions of ${CMAKE_CXX_COMPILER} (${CMAKE_CXX_COMPILER_ID} \
${CMAKE_CXX_COMPILER_VERSION}) could not be read: ${cause}. Its thread model is unknown. \
This module gets the core runtime alone, without the extras (${QVVORN_RUNTIME_EXTRA_NAMES}); \
a compiler that cannot build the probe is unlikely to build the module either.")
elseif(posix_module AND QVVORN_TEST_BUILD_MODULE)
  set(QVVORN_RUNTIME_EXTRAS_APPLIED OFF)
  set(report "Found ${found_text}. The test build makes this module with the posix \
thread model on purpose, for the tests of what such a module keeps of the host's \
process; it gets the core runtime alone.")
elseif(posix_module)
  set(QVVORN_RUNTIME_EXTRAS_APPLIED OFF)
  set(report "Found ${found_text}. This module is built with the posix thread \
model (winpthreads), which takes a thread-local storage slot, two handles and \
some memory of the host's process at every load and gives none of them back at \
unload. A host that loads and unloads it again and again runs out of slots \
after about a thousand loads, and the next load ends the host's process. Build \
the module with the win32 thread model, as the release is built: \
QVVORN_THREAD_MODEL=win32 (Debian's -win32 compilers), or a compiler whose \
thread model is win32 in QVVORN_CXX_COMPILER. It gets the core runtime alone.")
elseif(NOT QVVORN_RUNTIME_EXTRAS)
  set(QVVORN_RUNTIME_EXTRAS_APPLIED OFF)
  set(report "QVVORN_RUNTIME_EXTRAS is OFF: the module gets the core runtime alone, \
without the extras (${QVVORN_RUNTIME_EXTRA_NAMES}).")
elseif(QVVORN_RUNTIME_FOUND IN_LIST QVVORN_RUNTIME_CHECKED)
  set(QVVORN_RUNTIME_EXTRAS_APPLIED ON)
  set(report "")
else()
  set(QVVORN_RUNTIME_EXTRAS_APPLIED OFF)
  string(REPLACE ";" ", " checked "${QVVORN_RUNTIME_CHECKED}")
  set(report "Found ${found_text}. The module's runtime extras \
(${QVVORN_RUNTIME_EXTRA_NAMES}) were checked only against these toolchains \
(compiler/gcc runtime/mingw-w64): ${checked}. This module gets the core runtime \
alone: its exceptions stay inside it in any process, but it is larger, and the \
tests that measure an extra are skipped. To fit the extras to this toolchain, \
check each of them in src/shell/module_runtime.cpp against its runtime, then add \
it to QVVORN_RUNTIME_CHECKED in cmake/runtime_guard.cmake. \
-DQVVORN_RUNTIME_EXTRAS=OFF asks for the core alone without this warning.")
endif()

# Said once for a build folder and toolchain, not at every reconfiguration.
set(reported "${QVVORN_RUNTIME_FOUND} ${QVVORN_RUNTIME_THREADS} extras ${QVVORN_RUNTIME_EXTRAS}")
if(report AND NOT QVVORN_RUNTIME_REPORTED STREQUAL reported)
  if((QVVORN_RUNTIME_EXTRAS OR posix_module) AND NOT QVVORN_TEST_BUILD_MODULE)
    message(WARNING "${report}")
  else()
    message(STATUS "${report}")
  endif()
  set(QVVORN_RUNTIME_REPORTED "${reported}" CACHE INTERNAL "")
endif()
