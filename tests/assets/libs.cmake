# The asset tests decode PNG, Ogg Vorbis and TrueType files and run the generator itself.
target_link_libraries(test_assets PRIVATE PkgConfig::PNG PkgConfig::VORBISFILE PkgConfig::FREETYPE)
if(TARGET lirra-datagen)
  target_compile_definitions(test_assets PRIVATE LIRRA_DATAGEN_PATH="$<TARGET_FILE:lirra-datagen>")
  add_dependencies(test_assets lirra-datagen lirra_assets)
endif()
