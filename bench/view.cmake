# Viewport frame and pick times on the largest mesh smoothing can make,
# on a display (make bench gives it a private Xvfb when DISPLAY is unset).
add_executable(mirl-bench-view ${CMAKE_CURRENT_LIST_DIR}/bench_view.cpp)
target_link_libraries(mirl-bench-view PRIVATE mirl_benchutil mirl_editor)
