# Every fault test starts the game a few times; a run may take long under the sanitizers.
set(LIRRA_TEST_PROPERTIES TIMEOUT 1500)

# A wrapper that runs the game on a screen whose every output is switched off (no monitor).
add_executable(lirra-screen-off ${CMAKE_CURRENT_SOURCE_DIR}/faults/screen_off/ScreenOff.cpp)
target_link_libraries(lirra-screen-off PRIVATE X11 ${CMAKE_DL_LIBS})
add_dependencies(${target} lirra-screen-off)
target_compile_definitions(${target} PRIVATE LIRRA_SCREEN_OFF_PATH="$<TARGET_FILE:lirra-screen-off>")
