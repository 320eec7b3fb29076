# Occlusion shading: the grid search on every core, on one, with SSE2 batches
# only, and the plain double loop.
add_executable(mirl-bench-aao ${CMAKE_CURRENT_LIST_DIR}/bench_aao.cpp)
target_link_libraries(mirl-bench-aao PRIVATE mirl_benchutil mirl_aao mirl_testlib mirl_runtime)
target_include_directories(mirl-bench-aao PRIVATE ${PROJECT_SOURCE_DIR}/aao/src) # to keep to SSE2
