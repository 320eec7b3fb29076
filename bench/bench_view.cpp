// The viewport in immediate mode: one frame and one pick on the largest mesh
// that smoothing can make (eight cubes smoothed until the next smooth would
// be refused), against the same on the starting cube.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>

#include "benchutil.h"
#include "dialogs.h"
#include "editor.h"
#include "editor_state.h"
#include "pick.h"
#include "render.h"

// Eight cubes side by side, smoothed while the smoothing still takes them.
static void buildLargestMesh(Mesh *m)
{
    m->nverts = 0;
    m->nquads = 0;
    recordoff();
    for (int i = 0; i < 8; i++) {
        select2(m, 0.0f);
        addcube(m, 0.0f);
        trans4(m, (float)(-3.75 + 2.5 * (i % 4)));
        trans6(m, (float)(-1.25 + 2.5 * (i / 4)));
    }
    for (;;) {
        uint32_t before = m->nquads;
        smoooth(m, 0.0f);
        if (m->nquads == before)
            break;
    }
    setnorm(m);
}

static void setUp()
{
    static bool ready;
    if (ready)
        return;
    ready = true;
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "mirl-bench-view: no DISPLAY: run it under xvfb-run (make bench does)\n");
        std::exit(1);
    }
    setDialogBackend(&ConsoleDialogs);
    static char name[] = "mirl-bench-view";
    static char *argv[] = {name, nullptr};
    int argc = 1;
    startEditor(&argc, argv);
    for (int i = 0; i < 50; i++)
        glutMainLoopEvent();
    buildLargestMesh(previewMesh()); // kept in the preview slot
    const GLubyte *renderer = glGetString(GL_RENDERER);
    std::fprintf(stderr, "mirl-bench-view: %s; largest mesh %u vertices, %u faces\n",
                 renderer ? (const char *)renderer : "?", previewMesh()->nverts, previewMesh()->nquads);
}

// The committed slot holds the largest mesh or the starting cube.
static void useMesh(bool large)
{
    setUp();
    if (large) {
        copyMesh(committedMesh(), previewMesh());
    } else {
        Mesh *m = committedMesh();
        m->nverts = 0;
        m->nquads = 0;
        addcube(m, 0.0f);
        setnorm(m);
    }
}

static void frames(benchmark::State &state, bool large)
{
    useMesh(large);
    for (auto _ : state) {
        display();
        glFinish();
    }
    state.counters["faces"] = committedMesh()->nquads;
}

static void picks(benchmark::State &state, bool large)
{
    useMesh(large);
    // A point over the model, so that the pick finds a face.
    int x = Editor.windowWidth / 2, y = Editor.windowHeight / 2;
    for (int t = 0; t < 400 && pickFace(committedMesh(), x, y) < 0; t++) {
        x = (t % 20 + 1) * Editor.windowWidth / 22;
        y = (t / 20 + 1) * Editor.windowHeight / 22;
    }
    int face = -1;
    for (auto _ : state)
        benchmark::DoNotOptimize(face = pickFace(committedMesh(), x, y));
    state.counters["faces"] = committedMesh()->nquads;
    state.counters["picked"] = face;
}

static void BM_FrameLargest(benchmark::State &state)
{
    frames(state, true);
}
static void BM_FrameCube(benchmark::State &state)
{
    frames(state, false);
}
static void BM_PickLargest(benchmark::State &state)
{
    picks(state, true);
}
static void BM_PickCube(benchmark::State &state)
{
    picks(state, false);
}
BENCHMARK(BM_FrameCube)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameLargest)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PickCube)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PickLargest)->Unit(benchmark::kMillisecond)->UseRealTime();
static int frameRatio = benchRatio("BM_FrameCube", "BM_FrameLargest");
static int pickRatio = benchRatio("BM_PickCube", "BM_PickLargest");
