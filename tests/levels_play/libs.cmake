# The level runs play with the demo bots' moves.
target_link_libraries(${target} PRIVATE lirra_bots)
