// Replay of the cube smoothed seven times (98,304 faces): the intro player
// (mirl_player.c at -Os, small forms) against the editor's runtime.
#include <benchmark/benchmark.h>

#include <memory>

#include "benchutil.h"
#include "mirl.h"

extern "C" void playerReplay(const mirlObj *r, Mesh *m); // mirl_player.c's replayobj

namespace {

const mirlObj &smoothedCube()
{
    static const mirlObj r = [] {
        mirlObj o = {};
        o.ops[o.count] = MIRL_OP_ADDCUBE;
        o.params[o.count++] = 128;
        for (int i = 0; i < 7; i++) {
            o.ops[o.count] = MIRL_OP_SMOOOTH;
            o.params[o.count++] = 128;
        }
        return o;
    }();
    return r;
}

void replayWith(benchmark::State &state, void (*replay)(const mirlObj *, Mesh *))
{
    static auto m = std::make_unique<Mesh>();
    for (auto _ : state) {
        m->nverts = m->nquads = 0;
        replay(&smoothedCube(), m.get());
        benchmark::DoNotOptimize(m->verts[0]);
    }
    state.counters["faces"] = m->nquads;
}

void BM_ReplaySmoothedCube_player(benchmark::State &state)
{
    replayWith(state, playerReplay);
}
void BM_ReplaySmoothedCube_runtime(benchmark::State &state)
{
    replayWith(state, replayobj);
}

BENCHMARK(BM_ReplaySmoothedCube_player)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaySmoothedCube_runtime)->Unit(benchmark::kMillisecond);
const int ratio = benchRatio("BM_ReplaySmoothedCube_player", "BM_ReplaySmoothedCube_runtime");

} // namespace
