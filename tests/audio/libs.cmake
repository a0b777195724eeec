# The tests write their own Ogg Vorbis files.
pkg_check_modules(TEST_VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
target_link_libraries(${target} PRIVATE PkgConfig::TEST_VORBISENC)
