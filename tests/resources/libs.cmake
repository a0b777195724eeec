# The loading screen's tests write their own Ogg Vorbis sounds with the audio tests' encoder.
pkg_check_modules(TEST_RESOURCES_VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
target_sources(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/audio/OggTestFiles.cpp)
target_link_libraries(${target} PRIVATE PkgConfig::TEST_RESOURCES_VORBISENC)
