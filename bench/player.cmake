# The intro player's replay speed against the editor's runtime: the player
# of every operation, built as a demo would build it (-Os), its replayobj
# renamed so that both link into one program.
# The source is generated in tools/: mark it so here, and build after it.
set_source_files_properties(${MIRL_PLAYER_C} PROPERTIES GENERATED TRUE)
add_library(mirl_player_bench STATIC ${MIRL_PLAYER_C})
add_dependencies(mirl_player_bench mirl_player)
target_compile_options(mirl_player_bench PRIVATE -Os)
target_compile_definitions(mirl_player_bench PRIVATE replayobj=playerReplay)

add_executable(mirl-bench-player bench_player.cpp)
target_link_libraries(mirl-bench-player PRIVATE mirl_benchutil mirl_player_bench mirl_runtime)
