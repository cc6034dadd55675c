# Builds the module with its own toolchains, as builds of this same project
# with QVVORN_MODULE_ONLY, and copies the results next to the test programs.
# Each is made as it is on purpose: what the runtime guard finds in them is a
# status line, not a warning (cmake/runtime_guard.cmake).
include(ExternalProject)

function(qvvorn_module_build name toolchain output_dir)
  # Further arguments go to the module build's configuration.
  ExternalProject_Add(${name}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${name}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${toolchain}
      -DCMAKE_BUILD_TYPE=Release
      -DQVVORN_MODULE_ONLY=ON
      -DQVVORN_WERROR=${QVVORN_WERROR}
      -DQVVORN_TEST_BUILD_MODULE=ON
      ${ARGN}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
      <BINARY_DIR>/QvVorn.dll <BINARY_DIR>/QvVorn.runtime ${output_dir}
    BUILD_BYPRODUCTS ${output_dir}/QvVorn.dll ${output_dir}/QvVorn.runtime
    USES_TERMINAL_BUILD ON)
endfunction()

qvvorn_module_build(module toolchain-i686-mingw.cmake ${CMAKE_BINARY_DIR} -DQVVORN_THREAD_MODEL=win32)
qvvorn_module_build(module-clang toolchain-i686-clang.cmake ${CMAKE_BINARY_DIR}/clang)
# The module as a toolchain that nobody has checked gets it: the core runtime
# alone.
qvvorn_module_build(module-core toolchain-i686-mingw.cmake ${CMAKE_BINARY_DIR}/core
  -DQVVORN_THREAD_MODEL=win32 -DQVVORN_RUNTIME_EXTRAS=OFF)

# The module as a compiler with the posix thread model alone builds it.
qvvorn_module_build(module-posix toolchain-i686-mingw.cmake ${CMAKE_BINARY_DIR}/posix
  -DQVVORN_THREAD_MODEL=posix)

# What the test programs depend on.
add_custom_target(QvVorn DEPENDS module module-clang module-core module-posix)
