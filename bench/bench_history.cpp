// The editor's history on big models: one live preview step at 98,304 faces
// against its operation alone (and against copying whole meshes, as the
// preview once did), and undo on a 224-step record of 196,608 faces from
// checkpoints against a replay of the whole record.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "benchutil.h"
#include "checkpoints.h"
#include "commands.h"
#include "editor.h"
#include "editor_state.h"
#include "history.h"
#include "platform.h"

// No window: the cycle's window-system calls do nothing.
static const PlatformBackend Headless = {
    [](int) {}, [](int, int) {}, [](int) {}, [] {}, [] { return 0; }, [] {},
};

// The cube smoothed seven times, with a Move X preview open on it.
static void openPreviewOnSmoothedCube()
{
    static bool ready;
    if (ready)
        return;
    ready = true;
    setPlatformBackend(&Headless);
    restartScene(committedMesh());
    resetHistory();
    for (int i = 0; i < 7; i++)
        smoooth(committedMesh(), 0.0f);
    setnorm(committedMesh());
    CommandRecord.count = 1;
    std::printf(" "); // the cycle's console line
    dispatchCommand(11); // OBJECT Move X
}

static double threadSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + 1e-9 * (double)t.tv_nsec;
}

static void BM_PreviewStep(benchmark::State &state)
{
    openPreviewOnSmoothedCube();
    int direction = 1;
    for (auto _ : state) {
        previewStep(direction);
        direction = -direction;
    }
    state.counters["faces"] = previewMesh()->nquads;
    // On a busy machine the ratio of the two real times drifts with the load:
    // also the two taken in turn, on this thread's own processor time.
    double preview = 0.0, operation = 0.0;
    for (int i = 0; i < 200; i++) {
        double t0 = threadSeconds();
        previewStep(direction);
        double t1 = threadSeconds();
        recordoff();
        trans1(previewMesh(), offsetValue());
        recordon();
        operation += threadSeconds() - t1;
        preview += t1 - t0;
        direction = -direction;
    }
    state.counters["cpu_vs_operation"] = preview / operation;
}

static void BM_PreviewStepWholeMeshes(benchmark::State &state)
{
    openPreviewOnSmoothedCube();
    int direction = 1;
    for (auto _ : state) {
        previewStep(direction);
        copyMesh(previewMesh(), committedMesh());
        copyMesh(committedMesh(), previewMesh());
        direction = -direction;
    }
}

static void BM_MoveOperation(benchmark::State &state)
{
    openPreviewOnSmoothedCube();
    recordoff();
    for (auto _ : state)
        trans1(previewMesh(), offsetValue());
    recordon();
}

BENCHMARK(BM_MoveOperation)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PreviewStep)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PreviewStepWholeMeshes)->Unit(benchmark::kMillisecond)->UseRealTime();
static int previewRatio = benchRatio("BM_MoveOperation", "BM_PreviewStep");
static int wholeRatio = benchRatio("BM_PreviewStep", "BM_PreviewStepWholeMeshes");

// One command as the cycle runs it, without the window.
static void runOperation(mirlOp operation, int item, float p)
{
    const int start = numsteps();
    pushHistory(item, start);
    recordon();
    operation(committedMesh(), p);
    recordoff();
    setnorm(committedMesh());
    noteCommittedState(committedMesh());
}

// Eight cubes smoothed six times, then 210 moves: 224 steps.
static void buildLongRecord()
{
    recordoff();
    restartScene(committedMesh());
    resetHistory();
    for (int i = 0; i < 7; i++)
        runOperation(addcube, 10, 0.0f);
    for (int i = 0; i < 6; i++)
        runOperation(smoooth, 8, 0.0f);
    const mirlOp moves[3] = {trans1, trans2b, trans3};
    for (int i = 0; i < 210; i++)
        runOperation(moves[i % 3], 11 + i % 3, decpar((uint8_t)(120 + i % 17)));
}

// Undoes one item per iteration, walking back over 24 items and redoing
// them (untimed) to cover every distance from a checkpoint.
static void BM_UndoFromCheckpoints(benchmark::State &state)
{
    buildLongRecord();
    int undone = 0;
    double worst = 0.0;
    for (auto _ : state) {
        auto begin = std::chrono::steady_clock::now();
        undoLastCommand(committedMesh());
        setnorm(committedMesh()); // as the command end does
        noteCommittedState(committedMesh());
        worst = std::max(worst, std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        if (++undone == 24) {
            state.PauseTiming();
            for (; undone > 0; undone--) {
                const char *why;
                redoLastUndone(committedMesh(), &why);
                noteCommittedState(committedMesh());
            }
            state.ResumeTiming();
        }
    }
    state.counters["faces"] = committedMesh()->nquads;
    state.counters["worst_ms"] = worst * 1e3;
    state.counters["checkpoints"] = checkpointCount();
    state.counters["checkpoint_MB"] = (double)checkpointBytes() / 1e6;
}

// Undo as a replay of the whole record, normals after every step.
static void BM_UndoWholeReplay(benchmark::State &state)
{
    buildLongRecord();
    for (auto _ : state) {
        CommandRecord.count -= 1;
        Mesh *m = committedMesh();
        m->nverts = m->nquads = 0;
        replayobj(&CommandRecord, m);
        state.PauseTiming();
        CommandRecord.count += 1;
        state.ResumeTiming();
    }
    state.counters["steps"] = numsteps();
}

BENCHMARK(BM_UndoFromCheckpoints)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(96);
BENCHMARK(BM_UndoWholeReplay)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
static int undoRatio = benchRatio("BM_UndoFromCheckpoints", "BM_UndoWholeReplay");
