# Occlusion shading: the grid search against the plain double loop.
add_executable(mirl-bench-aao ${CMAKE_CURRENT_LIST_DIR}/bench_aao.cpp)
target_link_libraries(mirl-bench-aao PRIVATE mirl_benchutil mirl_aao mirl_testlib mirl_runtime)
