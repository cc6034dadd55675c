# The link check on a module's real map, and on the same map as if the
# runtime's own definitions had been linked instead of the replacements, or
# as if other unwind tables came ahead of the runtime object's or after
# crtend.o's end mark: it must pass the first and fail the others, saying why.
#   cmake -DMAP=<map> -DRUNTIME=<runtime object> -DINFO=<module>.runtime -DWORK=<dir> -P link_check_test.cmake
cmake_minimum_required(VERSION 3.20)
set(check ${CMAKE_CURRENT_LIST_DIR}/../../cmake/check_module_link.cmake)
macro(run_check map)
  execute_process(COMMAND ${CMAKE_COMMAND} -DMAP=${map} -DRUNTIME=${RUNTIME}
    -DINFO=${INFO} -P ${check}
    RESULT_VARIABLE result ERROR_VARIABLE output)
endmacro()

run_check(${MAP})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the module's own map fails the check:\n${output}")
endif()

# Fails unless the check fails the map with `from` replaced by `to`, and
# says each of the reasons in ARGN.
function(expect_failure case from to)
  file(READ ${MAP} text)
  string(REPLACE "${from}" "${to}" text "${text}")
  file(WRITE ${WORK}/${case}.map "${text}")
  run_check(${WORK}/${case}.map)
  if(result EQUAL 0)
    message(FATAL_ERROR "the check passes a map with ${case}")
  endif()
  foreach(reason IN LISTS ARGN)
    if(NOT output MATCHES "${reason}")
      message(FATAL_ERROR "the check does not say \"${reason}\" of ${case}:\n${output}")
    endif()
  endforeach()
endfunction()

# The runtime's own definitions, as a module without the replacements would
# have them: each replacement the build has is reported.
set(runtime_own_reasons "__gcc_register_frame: defined by [^\n]*libgcc"
  "the runtime object has no unwind tables")
file(STRINGS ${INFO} info)
if("extras ON" IN_LIST info)
  list(APPEND runtime_own_reasons "_CRT_MT: defined by [^\n]*libgcc"
    "__cxa_get_globals: defined by [^\n]*libgcc" "_pei386_runtime_relocator: defined by [^\n]*libgcc")
endif()
expect_failure(runtime_own "${RUNTIME}" "/usr/lib/gcc/i686-w64-mingw32/12-win32/libgcc.a(gthr-win32.o)"
  ${runtime_own_reasons})
expect_failure(tables_ahead "dllcrt2.o" "folder_name.cpp.obj" "unwind tables ahead of the runtime's")
expect_failure(tables_after_end "crtend.o" "crtfastmath.o" "unwind tables end with")
