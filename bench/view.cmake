# Viewport frame and pick times on the largest mesh smoothing can make,
# under Xvfb (started by the program itself when DISPLAY is unset).
add_executable(mirl-bench-view bench_view.cpp ${PROJECT_SOURCE_DIR}/tests/editor/xvfb.cpp)
target_include_directories(mirl-bench-view PRIVATE ${PROJECT_SOURCE_DIR}/tests/editor)
target_link_libraries(mirl-bench-view PRIVATE mirl_benchutil mirl_editor)
