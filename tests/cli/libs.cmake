# The install test installs this build into a temporary prefix with the same CMake.
target_compile_definitions(${target} PRIVATE
  LIRRA_BUILD_DIR="${CMAKE_BINARY_DIR}"
  LIRRA_CMAKE_COMMAND="${CMAKE_COMMAND}")
# The package test makes the Debian package of this build with the same CPack.
target_compile_definitions(${target} PRIVATE
  LIRRA_CPACK_COMMAND="${CMAKE_CPACK_COMMAND}"
  LIRRA_PROJECT_VERSION="${PROJECT_VERSION}"
  LIRRA_APPSTREAM_ID="${LIRRA_APPSTREAM_ID}"
  LIRRA_PACKAGE_DATA_DIR="${LIRRA_PACKAGE_PREFIX}/${LIRRA_DEBIAN_DATADIR}")
