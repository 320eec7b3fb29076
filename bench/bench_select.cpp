// Grow selection on about 100,000 faces: the linear marking pass against the
// literal pairwise comparison.
#include <benchmark/benchmark.h>

#include <cstring>

#include "benchutil.h"
#include "oracle.h"

static void growOn(benchmark::State &state, void (*grow)(Mesh *, int32_t))
{
    static std::unique_ptr<Mesh> base = gridTorus(320, 310); // 99,200 faces
    selectSpread(base.get(), 100);
    auto m = std::make_unique<Mesh>();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(m->selected, base->selected, base->nquads * sizeof(int32_t));
        std::memcpy(m->quads, base->quads, base->nquads * sizeof(Quad));
        m->nquads = base->nquads;
        m->nverts = base->nverts;
        state.ResumeTiming();
        grow(m.get(), 1);
        benchmark::DoNotOptimize(m->selected[0]);
    }
    state.counters["faces"] = base->nquads;
    state.counters["selected"] = countsel(m.get());
}

static void BM_GrowSelection(benchmark::State &state)
{
    growOn(state, expands);
}
static void BM_GrowSelectionLiteral(benchmark::State &state)
{
    growOn(state, oracle::expands);
}
BENCHMARK(BM_GrowSelection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrowSelectionLiteral)->Unit(benchmark::kMillisecond)->Iterations(2);
static int ratio = benchRatio("BM_GrowSelection", "BM_GrowSelectionLiteral");
