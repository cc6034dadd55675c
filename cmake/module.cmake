# How a module is linked, with the runtime fitted to it: QvVorn.dll in the
# module builds (QVVORN_MODULE_ONLY), QvVornProbe.dll in the test build.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/runtime_guard.cmake)

# Builds are reproducible: no time stamp in the file, no build path in it.
set(QVVORN_MODULE_COMPILE -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
# The module has no runtime pseudo-relocations (data imported without
# dllimport), and a new one is a link error: its start-up code has no routine
# to apply them.
set(QVVORN_MODULE_LINK -Wl,--no-insert-timestamp -Wl,--disable-runtime-pseudo-reloc)
# Linker warnings fail the build as compiler warnings do.
if(QVVORN_WERROR)
  list(APPEND QVVORN_MODULE_LINK -Wl,--fatal-warnings)
endif()

# The runtime fitted to the module (src/shell/module_runtime.cpp) registers
# the module's unwind tables itself, so its object takes the place of gcc's
# crtbegin.o: the compiler driver takes crtbegin.o from the first -B
# directory that holds one and links it after the start-up code, ahead of
# every other object. crtend.o still comes from the compiler's directory
# (for clang, the gcc directory named after ours).
set(QVVORN_RUNTIME_DIR ${CMAKE_BINARY_DIR}/module_runtime)
add_library(qvvorn_module_runtime OBJECT ${CMAKE_SOURCE_DIR}/src/shell/module_runtime.cpp)
qvvorn_product_options(qvvorn_module_runtime)
target_compile_options(qvvorn_module_runtime PRIVATE ${QVVORN_MODULE_COMPILE})
if(QVVORN_RUNTIME_EXTRAS_APPLIED)
  target_compile_definitions(qvvorn_module_runtime PRIVATE QVVORN_RUNTIME_EXTRAS)
endif()
# The extras replace the lock functions of libgcc's win32 thread layer; the
# posix layer of the test programs' compiler keeps its own.
set(QVVORN_RUNTIME_LOCKS OFF)
if(QVVORN_RUNTIME_EXTRAS_APPLIED AND QVVORN_RUNTIME_THREADS STREQUAL "win32")
  set(QVVORN_RUNTIME_LOCKS ON)
endif()
add_custom_command(OUTPUT ${QVVORN_RUNTIME_DIR}/crtbegin.o
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_OBJECTS:qvvorn_module_runtime>
    ${QVVORN_RUNTIME_DIR}/crtbegin.o
  DEPENDS qvvorn_module_runtime $<TARGET_OBJECTS:qvvorn_module_runtime> VERBATIM)
add_custom_target(qvvorn_module_start DEPENDS ${QVVORN_RUNTIME_DIR}/crtbegin.o)
set(QVVORN_MODULE_START -B${QVVORN_RUNTIME_DIR}/)
if(QVVORN_CLANG)
  list(APPEND QVVORN_MODULE_START -B${QVVORN_GCC_DIR}/)
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

# A module of `objects` (the product sources compiled once for this
# toolchain), exporting what `def` says, with the module's own sources and
# the further sources in ARGN. The link writes a map, and the build stops
# unless the map shows every runtime replacement in the place of the
# runtime's own.
function(qvvorn_add_module name objects def)
  add_library(${name} SHARED ${QVVORN_MODULE_SOURCES} $<TARGET_OBJECTS:${objects}>
    ${QVVORN_RESOURCES} ${ARGN})
  qvvorn_product_options(${name})
  target_compile_options(${name} PRIVATE ${QVVORN_MODULE_COMPILE})
  set_target_properties(${name} PROPERTIES PREFIX "")
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${name}.map)
  # What the module's runtime is, beside it, for the link check and the tests
  # that measure the extras: the toolchain (compiler/gcc runtime/mingw-w64),
  # whether the extras are in, whether they replace the lock functions, and
  # the thread model.
  set(info ${CMAKE_CURRENT_BINARY_DIR}/${name}.runtime)
  file(WRITE ${info} "toolchain ${QVVORN_RUNTIME_FOUND}\nextras ${QVVORN_RUNTIME_EXTRAS_APPLIED}\n"
    "locks ${QVVORN_RUNTIME_LOCKS}\nthreads ${QVVORN_RUNTIME_THREADS}\n")
  target_link_options(${name} PRIVATE ${QVVORN_STATIC_RUNTIME} -Wl,--enable-stdcall-fixup
    ${QVVORN_MODULE_LINK} ${QVVORN_MODULE_START} -Wl,-Map=${map})
  target_link_libraries(${name} PRIVATE ${QVVORN_WINDOWS_LIBS})
  add_dependencies(${name} qvvorn_module_start)
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${QVVORN_RUNTIME_DIR}/crtbegin.o)
  qvvorn_exports(${name} ${def})
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DMAP=${map} -DRUNTIME=${QVVORN_RUNTIME_DIR}/crtbegin.o
      -DINFO=${info} -P ${CMAKE_SOURCE_DIR}/cmake/check_module_link.cmake
    VERBATIM)
endfunction()

if(QVVORN_MODULE_ONLY)
  add_library(qvvorn_module_objects OBJECT ${QVVORN_SOURCES})
  qvvorn_product_options(qvvorn_module_objects)
  target_compile_options(qvvorn_module_objects PRIVATE ${QVVORN_MODULE_COMPILE})
  qvvorn_add_module(QvVorn qvvorn_module_objects ${CMAKE_SOURCE_DIR}/src/shell/qvvorn.def)
  # Shipped without symbols.
  target_link_options(QvVorn PRIVATE -s)
endif()
