// Replays by the intro players (at -Os, small forms) against the editor's
// runtime: the cube smoothed seven times (98,304 faces) by the player of
// every operation and by the player made for it alone, and the typical
// object (cube, none, two picks, extrude, move along normals, two smooths)
// by the player made for it alone.
#include <benchmark/benchmark.h>

#include <memory>

#include "benchutil.h"
#include "mirl.h"

extern "C" {
void playerReplay(const mirlObj *r, Mesh *m);  // the general player's replayobj
void demoReplay(const mirlObj *r, Mesh *m);    // the player made for the typical object
void smooth7Replay(const mirlObj *r, Mesh *m); // the player made for the smoothed cube
extern const mirlObj demo, smooth7;            // the objects those two embed
}

namespace {

void replayWith(benchmark::State &state, void (*replay)(const mirlObj *, Mesh *), const mirlObj &object)
{
    static auto m = std::make_unique<Mesh>();
    for (auto _ : state) {
        m->nverts = m->nquads = 0;
        replay(&object, m.get());
        benchmark::DoNotOptimize(m->verts[0]);
    }
    state.counters["faces"] = m->nquads;
}

void BM_ReplaySmoothedCube_player(benchmark::State &state)
{
    replayWith(state, playerReplay, smooth7);
}
void BM_ReplaySmoothedCube_madeForIt(benchmark::State &state)
{
    replayWith(state, smooth7Replay, smooth7);
}
void BM_ReplaySmoothedCube_runtime(benchmark::State &state)
{
    replayWith(state, replayobj, smooth7);
}
void BM_ReplayTypical_madeForIt(benchmark::State &state)
{
    replayWith(state, demoReplay, demo);
}
void BM_ReplayTypical_runtime(benchmark::State &state)
{
    replayWith(state, replayobj, demo);
}

BENCHMARK(BM_ReplaySmoothedCube_player)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaySmoothedCube_madeForIt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaySmoothedCube_runtime)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayTypical_madeForIt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayTypical_runtime)->Unit(benchmark::kMillisecond);
const int ratios[] = {benchRatio("BM_ReplaySmoothedCube_player", "BM_ReplaySmoothedCube_runtime"),
                      benchRatio("BM_ReplaySmoothedCube_madeForIt", "BM_ReplaySmoothedCube_runtime"),
                      benchRatio("BM_ReplayTypical_madeForIt", "BM_ReplayTypical_runtime")};

} // namespace
