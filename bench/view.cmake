# Viewport frame and pick times on the largest mesh smoothing can make,
# under Xvfb (started by the program itself when DISPLAY is unset).
add_executable(mirl-bench-view ${CMAKE_CURRENT_LIST_DIR}/bench_view.cpp)
target_link_libraries(mirl-bench-view PRIVATE mirl_benchutil mirl_editor mirl_xvfb)
