# The module and its probe build, with the toolchain the module ships with.
# Included by the top-level CMakeLists.txt when QVVORN_MODULE_ONLY is set.

# Builds are reproducible: no time stamp in the file, no build path in it.
set(QVVORN_MODULE_COMPILE -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
set(QVVORN_MODULE_LINK -Wl,--no-insert-timestamp)
# Linker warnings fail the build as compiler warnings do.
if(QVVORN_WERROR)
  list(APPEND QVVORN_MODULE_LINK -Wl,--fatal-warnings)
endif()

# lld writes an export table of its own from a .def, with ordinal base 0 and
# one entry too many; an export object that dlltool makes from the .def gives
# the same table as GNU ld does, so the clang build links that instead.
function(qvvorn_exports target def)
  if(QVVORN_CLANG)
    set(object ${CMAKE_CURRENT_BINARY_DIR}/${target}_exports.o)
    add_custom_command(OUTPUT ${object}
      COMMAND ${QVVORN_TRIPLE}-dlltool -m i386 -d ${def} -e ${object}
      DEPENDS ${def} VERBATIM)
    target_sources(${target} PRIVATE ${object})
  else()
    target_sources(${target} PRIVATE ${def})
  endif()
endfunction()

function(qvvorn_add_module name objects def)
  add_library(${name} SHARED ${QVVORN_MODULE_SOURCES} $<TARGET_OBJECTS:${objects}>
    ${QVVORN_RESOURCES} ${ARGN})
  qvvorn_product_options(${name})
  target_compile_options(${name} PRIVATE ${QVVORN_MODULE_COMPILE})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_link_options(${name} PRIVATE ${QVVORN_STATIC_RUNTIME} -Wl,--enable-stdcall-fixup
    ${QVVORN_MODULE_LINK})
  target_link_libraries(${name} PRIVATE ${QVVORN_WINDOWS_LIBS})
  qvvorn_exports(${name} ${def})
endfunction()

add_library(qvvorn_module_objects OBJECT ${QVVORN_SOURCES})
qvvorn_product_options(qvvorn_module_objects)
target_compile_options(qvvorn_module_objects PRIVATE ${QVVORN_MODULE_COMPILE})

qvvorn_add_module(QvVorn qvvorn_module_objects ${CMAKE_SOURCE_DIR}/src/shell/qvvorn.def)
# Shipped without symbols.
target_link_options(QvVorn PRIVATE -s)

# The probe build: the same sources counting their resources, with a probe
# that reports the counts to the host when the module unloads, exported
# under one more name.
add_library(qvvorn_probe_objects OBJECT ${QVVORN_SOURCES})
qvvorn_product_options(qvvorn_probe_objects)
target_compile_definitions(qvvorn_probe_objects PUBLIC QVVORN_COUNT_RESOURCES)

file(READ ${CMAKE_SOURCE_DIR}/src/shell/qvvorn.def QVVORN_DEF)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/QvVornProbe.def
  CONTENT "${QVVORN_DEF}    QvVornProbe_Resources=QvVornProbe_Resources@0\n")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/shell/qvvorn.def)
qvvorn_add_module(QvVornProbe qvvorn_probe_objects ${CMAKE_BINARY_DIR}/QvVornProbe.def
  ${CMAKE_SOURCE_DIR}/tests/probe/resource_probe.cpp)
target_compile_definitions(QvVornProbe PRIVATE QVVORN_COUNT_RESOURCES)
