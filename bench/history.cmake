# The live preview step and undo on big models, without a window.
add_executable(mirl-bench-history ${CMAKE_CURRENT_LIST_DIR}/bench_history.cpp)
target_link_libraries(mirl-bench-history PRIVATE mirl_benchutil mirl_editor)
