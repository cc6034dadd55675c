# The link check on a module's real map, and on the same map as if the
# runtime's own definitions had been linked instead of the replacements: it
# must pass the first and fail the second, naming every replacement.
#   cmake -DMAP=<map> -DRUNTIME=<runtime object> -DWIN32_THREADS=<bool> -DWORK=<dir> -P link_check_test.cmake
set(check ${CMAKE_CURRENT_LIST_DIR}/../../cmake/check_module_link.cmake)
macro(run_check map)
  execute_process(COMMAND ${CMAKE_COMMAND} -DMAP=${map} -DRUNTIME=${RUNTIME}
    -DWIN32_THREADS=${WIN32_THREADS} -P ${check}
    RESULT_VARIABLE result ERROR_VARIABLE output)
endmacro()

run_check(${MAP})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the module's own map fails the check:\n${output}")
endif()

file(READ ${MAP} text)
string(REPLACE "${RUNTIME}" "/usr/lib/gcc/i686-w64-mingw32/12-win32/libgcc.a(gthr-win32.o)"
  text "${text}")
file(WRITE ${WORK}/runtime_own.map "${text}")
run_check(${WORK}/runtime_own.map)
if(result EQUAL 0)
  message(FATAL_ERROR "the check passes a map without the replacements")
endif()
foreach(name __gcc_register_frame _CRT_MT __cxa_get_globals _pei386_runtime_relocator)
  if(NOT output MATCHES "${name}: defined by [^\n]*libgcc")
    message(FATAL_ERROR "the check does not name ${name}:\n${output}")
  endif()
endforeach()
