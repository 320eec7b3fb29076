# The intro players' replay speed against the editor's runtime: the player
# of every operation, and the players made for the typical object (b) and
# the cube smoothed seven times (c) alone, built as a demo would build them
# (-Os), each replayobj renamed so that all link into one program.
# The general player is generated in tools/: mark it so here, and build after it.
set_source_files_properties(${MIRL_PLAYER_C} PROPERTIES GENERATED TRUE)
add_library(mirl_player_bench STATIC ${MIRL_PLAYER_C})
add_dependencies(mirl_player_bench mirl_player)
target_compile_options(mirl_player_bench PRIVATE -Os)
target_compile_definitions(mirl_player_bench PRIVATE replayobj=playerReplay)

# The records of `make size`, and a player made for each of (b) and (c).
set(size_records_dir ${CMAKE_CURRENT_BINARY_DIR}/size_records)
add_custom_command(
    OUTPUT ${size_records_dir}/demo.mrl ${size_records_dir}/smooth7.mrl
    COMMAND ${CMAKE_COMMAND} -E make_directory ${size_records_dir}
    COMMAND size_records ${size_records_dir}
    DEPENDS size_records
    VERBATIM)
set(made_players)
foreach(object demo smooth7)
    add_custom_command(
        OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/made_${object}.c
        COMMAND mirl-tool player -o ${CMAKE_CURRENT_BINARY_DIR}/made_${object}.c
                ${object}=${size_records_dir}/${object}.mrl
        DEPENDS mirl-tool ${size_records_dir}/${object}.mrl
        VERBATIM)
    add_library(mirl_made_${object} STATIC ${CMAKE_CURRENT_BINARY_DIR}/made_${object}.c)
    target_compile_options(mirl_made_${object} PRIVATE -Os)
    target_compile_definitions(mirl_made_${object} PRIVATE replayobj=${object}Replay)
    list(APPEND made_players mirl_made_${object})
endforeach()

add_executable(mirl-bench-player bench_player.cpp)
target_link_libraries(mirl-bench-player PRIVATE mirl_benchutil mirl_player_bench ${made_players} mirl_runtime)
