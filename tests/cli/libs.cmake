# The install test installs this build into a temporary prefix with the same CMake.
target_compile_definitions(${target} PRIVATE
  LIRRA_BUILD_DIR="${CMAKE_BINARY_DIR}"
  LIRRA_CMAKE_COMMAND="${CMAKE_COMMAND}")
