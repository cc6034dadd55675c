# The guard on a toolchain that nobody has checked: configuration goes on,
# says once which versions it found and which extras it leaves out, and the
# module's runtime file says the extras are out. CXX is a C++ compiler of the
# toolchain, run without libstdc++'s headers for a toolchain whose versions
# cannot be read.
#   cmake -DSOURCE=<tree> -DTOOLCHAIN=<file> -DCXX=<compiler> -DWORK=<dir> -P runtime_guard_test.cmake
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${WORK})
foreach(pass first again)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK} -G Ninja
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DQVVORN_THREAD_MODEL=win32 -DQVVORN_MODULE_ONLY=ON
    "-DQVVORN_RUNTIME_CHECKED=gcc 1/1/1.0"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "configuration stopped on an unchecked toolchain (${pass} pass):\n${output}")
  endif()
  set(${pass} "${output}")
endforeach()
foreach(said "Found (gcc|clang) [0-9]+ with the runtime of gcc [0-9]+ and mingw-w64 [0-9]+\\.[0-9]+"
    "no locks, one exception state, no TLS callback" "core runtime")
  if(NOT first MATCHES "${said}")
    message(FATAL_ERROR "the first configuration does not say \"${said}\":\n${first}")
  endif()
endforeach()
if(again MATCHES "Found ")
  message(FATAL_ERROR "the second configuration says it again:\n${again}")
endif()
file(STRINGS ${WORK}/QvVorn.runtime info)
if(NOT "extras OFF" IN_LIST info)
  message(FATAL_ERROR "the module keeps the extras on an unchecked toolchain: ${info}")
endif()

# A module build picks the thread model of the release unless told, and one
# of the posix model is unchecked whatever its versions, with a warning that
# says what it keeps of the host's process; the test build's own posix module
# says so in a status line.
foreach(model default posix test-posix)
  set(dir ${WORK}-${model})
  file(REMOVE_RECURSE ${dir})
  set(pick "")
  if(model STREQUAL "posix")
    set(pick -DQVVORN_THREAD_MODEL=posix)
  elseif(model STREQUAL "test-posix")
    set(pick -DQVVORN_THREAD_MODEL=posix -DQVVORN_TEST_BUILD_MODULE=ON)
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${dir} -G Ninja
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DQVVORN_MODULE_ONLY=ON ${pick}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the ${model} module build did not configure:\n${output}")
  endif()
  file(STRINGS ${dir}/QvVorn.runtime info)
  string(REGEX REPLACE "[ \n]+" " " output "${output}") # CMake wraps its messages
  if(model STREQUAL "default" AND NOT "threads win32" IN_LIST info)
    message(FATAL_ERROR "a plain module build is not of the win32 thread model: ${info}")
  elseif(model STREQUAL "posix" AND (NOT "extras OFF" IN_LIST info
      OR NOT output MATCHES "CMake Warning.*posix thread model.*thread-local storage slot, two handles"))
    message(FATAL_ERROR "a posix module build is taken as checked: ${info}\n${output}")
  elseif(model STREQUAL "test-posix" AND (NOT "extras OFF" IN_LIST info
      OR NOT output MATCHES "posix thread model on purpose" OR output MATCHES "CMake Warning"))
    message(FATAL_ERROR "the test build's posix module is not reported in a status line: ${info}\n${output}")
  endif()
endforeach()

# A toolchain whose versions cannot be read (here, without libstdc++'s
# headers): the cause is said once, naming the compiler, the thread model is
# unknown and no posix warning follows.
if(CMAKE_HOST_UNIX)
  set(dir ${WORK}-unread)
  file(REMOVE_RECURSE ${dir})
  file(WRITE ${dir}-compiler/g++ "#!/bin/sh\nexec \"${CXX}\" -nostdinc++ \"$@\"\n")
  file(CHMOD ${dir}-compiler/g++ PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${dir} -G Ninja
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DQVVORN_MODULE_ONLY=ON
    -DQVVORN_CXX_COMPILER=${dir}-compiler/g++
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "configuration stopped on a toolchain whose versions cannot be read:\n${output}")
  endif()
  file(STRINGS ${dir}/QvVorn.runtime info)
  string(REGEX REPLACE "[ \n]+" " " said "${output}")
  string(REGEX MATCHALL "could not be read" reads "${said}")
  list(LENGTH reads times)
  if(NOT times EQUAL 1 OR NOT said MATCHES "${dir}-compiler/g\\+\\+ .*could not build the probe"
      OR said MATCHES "posix thread model")
    message(FATAL_ERROR "the cause is not said once, with the compiler:\n${output}")
  elseif(NOT "threads unknown" IN_LIST info OR NOT "extras OFF" IN_LIST info)
    message(FATAL_ERROR "the runtime file claims what nobody read: ${info}")
  endif()
endif()
