# The modelling operations against their literal algorithms and, for smooth,
# against OpenSubdiv's uniform Catmull-Clark refinement, in one process.
# Debian's OpenSubdiv CMake config names static libraries it does not ship,
# so the shared library is found directly.
find_library(MIRL_OSDCPU osdCPU REQUIRED)
find_path(MIRL_OSD_INCLUDE opensubdiv/far/topologyRefiner.h REQUIRED)

add_executable(mirl-bench-ops bench_ops.cpp)
target_include_directories(mirl-bench-ops PRIVATE ${MIRL_OSD_INCLUDE})
target_link_libraries(mirl-bench-ops PRIVATE
    mirl_benchutil mirl_testlib mirl_runtime ${MIRL_OSDCPU})
