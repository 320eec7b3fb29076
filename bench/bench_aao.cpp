// Occlusion shading on a model of about 100,000 vertices: the grid search
// on every hardware thread, on one thread, and the plain double loop over
// all pairs. All in real time, since the threaded form spends the time of
// several cores.
//
// The double loop takes V^2 = 10^10 pair tests here (about half a minute),
// so by default it is measured on every tenth vertex i (against all j) and
// its time multiplied by the ratio of vertices, which is exact for a loop
// whose cost per i is the same V tests; the benchmark's name says so.
// MIRL_BENCH_FULL_LITERAL=1 in the environment adds one full run as well.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "aao.h"
#include "aao_literal.h"
#include "pairs.h"
#include "benchutil.h"

namespace {

const float Threshold = 0.05f;
const uint32_t LiteralStride = 10;

struct Model {
    std::unique_ptr<Mesh> mesh;
    const char *name;
    std::vector<Vec3> colours; // one thread's, to check the others against
};

// The cube smoothed seven times (98,306 vertices), rebuilt through the
// runtime; a 320 x 310 torus grid if the runtime cannot smooth.
const Model &model()
{
    static Model m;
    if (!m.mesh) {
        m.mesh = std::make_unique<Mesh>();
        mirlObj record;
        std::memset(&record, 0, sizeof record);
        record.ops[record.count++] = MIRL_OP_ADDCUBE;
        for (int k = 0; k < 7; k++)
            record.ops[record.count++] = MIRL_OP_SMOOOTH;
        replayobj(&record, m.mesh.get());
        m.name = "cube smoothed 7 times";
        if (m.mesh->nverts < 90000) {
            m.mesh = gridTorus(320, 310);
            m.name = "torus grid 320x310 (no smoothing in this runtime)";
        }
        m.colours.resize(MIRL_MAXVERTS);
        computeAAOThreads(m.mesh.get(), Threshold, m.colours.data(), 1);
    }
    return m;
}

void gridOn(benchmark::State &state, unsigned threads)
{
    const Model &m = model();
    static std::vector<Vec3> out(MIRL_MAXVERTS);
    for (auto _ : state) {
        computeAAOThreads(m.mesh.get(), Threshold, out.data(), threads);
        benchmark::DoNotOptimize(out.data());
    }
    if (std::memcmp(out.data(), m.colours.data(), m.mesh->nverts * sizeof(Vec3)) != 0)
        state.SkipWithError("the colours depend on the threads");
    state.counters["vertices"] = m.mesh->nverts;
    state.counters["threads"] = threads;
    state.SetLabel(std::string(m.name) + ", " + aaoBatchName() + " batches");
}

// The grid search as the editor runs it, on every hardware thread.
void BM_AAOGridAllThreads(benchmark::State &state)
{
    gridOn(state, std::thread::hardware_concurrency());
}

void BM_AAOGridOneThread(benchmark::State &state)
{
    gridOn(state, 1);
}

// What the AVX-512 batches earn: one thread kept to the SSE2 ones.
void BM_AAOGridOneThreadSSE2(benchmark::State &state)
{
    keepToSse2Batches(true);
    gridOn(state, 1);
    keepToSse2Batches(false);
}

// One pass of the double loop over vertices i = first, first + stride, ...;
// returns false if a colour differs from the grid search's.
bool literalPass(const Model &m, uint32_t stride, std::vector<Vec3> &out)
{
    bool same = true;
    for (uint32_t i = 0; i < m.mesh->nverts; i += stride) {
        literalAAORange(m.mesh.get(), Threshold, out.data(), i, i + 1);
        same = same && std::memcmp(&out[i], &m.colours[i], sizeof(Vec3)) == 0;
    }
    return same;
}

void literalOn(benchmark::State &state, uint32_t stride)
{
    const Model &m = model();
    static std::vector<Vec3> out(MIRL_MAXVERTS);
    uint32_t shaded = (m.mesh->nverts + stride - 1) / stride;
    double scale = (double)m.mesh->nverts / shaded;
    bool same = true;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        same = literalPass(m, stride, out) && same;
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count() * scale);
    }
    if (!same)
        state.SkipWithError("colours differ from the grid search's");
    state.counters["vertices"] = m.mesh->nverts;
    state.counters["shaded"] = shaded;
    state.SetLabel(m.name);
}

void BM_AAOLiteralEveryTenthScaled(benchmark::State &state)
{
    literalOn(state, LiteralStride);
}

void BM_AAOLiteralFull(benchmark::State &state)
{
    literalOn(state, 1);
}

} // namespace

BENCHMARK(BM_AAOGridAllThreads)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_AAOGridOneThread)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_AAOGridOneThreadSSE2)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_AAOLiteralEveryTenthScaled)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
static int registerFull = std::getenv("MIRL_BENCH_FULL_LITERAL")
                              ? (benchmark::RegisterBenchmark("BM_AAOLiteralFull", BM_AAOLiteralFull)
                                     ->Unit(benchmark::kMillisecond)
                                     ->UseManualTime()
                                     ->Iterations(1),
                                 0)
                              : 0;
static int ratioThreads = benchRatio("BM_AAOGridAllThreads", "BM_AAOGridOneThread");
static int ratioWide = benchRatio("BM_AAOGridOneThread", "BM_AAOGridOneThreadSSE2");
static int ratio = benchRatio("BM_AAOGridAllThreads", "BM_AAOLiteralEveryTenthScaled");
static int ratioOne = benchRatio("BM_AAOGridOneThread", "BM_AAOLiteralEveryTenthScaled");
static int ratioFull = benchRatio("BM_AAOGridAllThreads", "BM_AAOLiteralFull");
