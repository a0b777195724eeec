# The playthrough replays the demos players watch with the built game: each replay takes minutes
# under a software renderer.
target_compile_definitions(${target} PRIVATE LIRRA_DEMOS_DIR="${CMAKE_SOURCE_DIR}/demos")
set(LIRRA_TEST_PROPERTIES TIMEOUT 1500)
target_link_libraries(${target} PRIVATE lirra_judge)
