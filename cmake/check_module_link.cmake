# Reads a module's link map (GNU ld's or lld's) and fails unless each of the
# runtime replacements in src/shell/module_runtime.cpp was defined by the
# module's runtime object, not by the toolchain's archives or start-up files,
# and unless the unwind tables that the runtime object registers run from its
# own (only the start-up code's come before) to crtend.o's end mark. INFO is
# the module's .runtime file: whether the runtime extras are in, and whether
# they replace the thread layer's lock functions.
#   cmake -DMAP=<map> -DRUNTIME=<runtime object> -DINFO=<module>.runtime -P check_module_link.cmake
cmake_minimum_required(VERSION 3.20)
file(STRINGS ${INFO} info)
set(replaced __gcc_register_frame)
if("extras ON" IN_LIST info)
  list(APPEND replaced _CRT_MT __dyn_tls_init_callback _pei386_runtime_relocator
    __cxa_get_globals __cxa_get_globals_fast "__gnu_cxx::__verbose_terminate_handler()")
endif()
if("locks ON" IN_LIST info)
  list(APPEND replaced __gthr_win32_mutex_init_function __gthr_win32_mutex_destroy
    __gthr_win32_mutex_lock __gthr_win32_mutex_unlock)
endif()

file(STRINGS ${MAP} lines)
# Both maps list each input section with its file, then the symbols it
# defines, one a line, the name last; lld keeps the C names' underscore.
set(file "")
foreach(line IN LISTS lines)
  if(line MATCHES "([^ ]+\\.(o|obj|a\\([^)]+\\)))(:\\(.*\\))?$")
    set(file ${CMAKE_MATCH_1})
    if(line MATCHES "^ \\.eh_frame " OR line MATCHES ":\\(\\.eh_frame\\)$")
      list(APPEND unwind_tables ${file})
    endif()
    continue()
  endif()
  string(REGEX REPLACE "^.* " "" whole "${line}")
  foreach(name IN LISTS replaced)
    if(whole STREQUAL name OR whole STREQUAL "_${name}")
      list(APPEND definers_${name} ${file})
    endif()
  endforeach()
endforeach()

set(failures "")
foreach(name IN LISTS replaced)
  if(NOT DEFINED definers_${name})
    string(APPEND failures "\n  ${name}: not in the link")
    continue()
  endif()
  list(REMOVE_DUPLICATES definers_${name})
  if(NOT definers_${name} STREQUAL RUNTIME)
    string(APPEND failures "\n  ${name}: defined by ${definers_${name}}")
  endif()
endforeach()
list(FIND unwind_tables ${RUNTIME} first)
if(first EQUAL -1)
  string(APPEND failures "\n  the runtime object has no unwind tables")
else()
  list(SUBLIST unwind_tables 0 ${first} before)
  list(FILTER before EXCLUDE REGEX "dllcrt2\\.o$")
  if(before)
    string(APPEND failures "\n  unwind tables ahead of the runtime's: ${before}")
  endif()
  list(GET unwind_tables -1 last)
  if(NOT last MATCHES "crtend\\.o$")
    string(APPEND failures "\n  unwind tables end with ${last}, not crtend.o")
  endif()
endif()
if(failures)
  message(FATAL_ERROR "${MAP}: the module's runtime is not linked as it must be:${failures}")
endif()
