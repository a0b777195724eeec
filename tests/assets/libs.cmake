# The asset tests decode PNG, Ogg Vorbis and TrueType files, check the generator's raster
# library directly, and run the generator itself.
set(LIRRA_DATAGEN_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../../datagen)
target_sources(test_assets PRIVATE ${LIRRA_DATAGEN_SOURCE_DIR}/raster.cpp ${LIRRA_DATAGEN_SOURCE_DIR}/text.cpp)
target_include_directories(test_assets PRIVATE ${LIRRA_DATAGEN_SOURCE_DIR})
target_link_libraries(test_assets PRIVATE PkgConfig::PNG PkgConfig::VORBISFILE PkgConfig::FREETYPE)
if(TARGET lirra-datagen)
  target_compile_definitions(test_assets PRIVATE LIRRA_DATAGEN_PATH="$<TARGET_FILE:lirra-datagen>")
  add_dependencies(test_assets lirra-datagen lirra_assets)
endif()
