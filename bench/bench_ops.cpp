// The modelling operations on meshes of editor size:
// - smooth of the cube smoothed six times (24,576 faces) against one uniform
//   Catmull-Clark level of OpenSubdiv (refiner from the descriptor, refine,
//   interpolate the positions) and against the literal algorithm;
// - the live-preview step of a selection move (trans4) on about 98,000 faces
//   with a quarter selected: one whole-Mesh copy plus the operation;
// - extrude and delete on the same mesh against the literal algorithms.
#include <benchmark/benchmark.h>

#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>

#include <cstring>
#include <vector>

#include "benchutil.h"
#include "oracle.h"

namespace {

// Copies what an operation reads and changes, so that every iteration starts
// from the same mesh (the normals are not touched by these operations).
void restore(Mesh *m, const Mesh &from)
{
    m->nverts = from.nverts;
    m->nquads = from.nquads;
    std::memcpy(m->quads, from.quads, from.nquads * sizeof(Quad));
    std::memcpy(m->selected, from.selected, from.nquads * sizeof(int32_t));
    std::memcpy(m->verts, from.verts, from.nverts * sizeof(Vec3));
}

// The cube smoothed six times: a closed quad mesh of 24,576 faces.
const Mesh &smoothInput()
{
    static std::unique_ptr<Mesh> m = [] {
        auto c = std::make_unique<Mesh>();
        recordoff();
        addcube(c.get(), 0.0f);
        for (int i = 0; i < 6; i++)
            smoooth(c.get(), 0.0f);
        setnorm(c.get());
        return c;
    }();
    return *m;
}

// About 98,000 faces (280 x 350), closed, every vertex shared by four faces.
const Mesh &bigMesh()
{
    static std::unique_ptr<Mesh> m = gridTorus(280, 350);
    return *m;
}

void smoothWith(benchmark::State &state, mirlOp op)
{
    const Mesh &in = smoothInput();
    static auto m = std::make_unique<Mesh>();
    for (auto _ : state) {
        state.PauseTiming();
        restore(m.get(), in);
        state.ResumeTiming();
        op(m.get(), 0.0f);
        benchmark::DoNotOptimize(m->verts[0]);
    }
    state.counters["faces_in"] = in.nquads;
    state.counters["faces_out"] = m->nquads;
}

void BM_Smooth(benchmark::State &state)
{
    smoothWith(state, smoooth);
}
void BM_SmoothLiteral(benchmark::State &state)
{
    smoothWith(state, oracle::smoooth);
}

// OpenSubdiv's side: positions as a primvar with the interface it expects.
struct OsdPoint {
    float p[3];
    void Clear(void * = nullptr) { p[0] = p[1] = p[2] = 0.0f; }
    void AddWithWeight(const OsdPoint &s, float w)
    {
        p[0] += w * s.p[0];
        p[1] += w * s.p[1];
        p[2] += w * s.p[2];
    }
};

// The smoothing input as OpenSubdiv takes it: topology and coarse points,
// plus room for the refined level (V + F + E = V + 3F points on a closed
// quad mesh). The boundary rule plays no part on a closed mesh.
struct OsdInput {
    using Descriptor = OpenSubdiv::Far::TopologyDescriptor;
    using Factory = OpenSubdiv::Far::TopologyRefinerFactory<Descriptor>;
    std::vector<int> sizes;
    Descriptor desc;
    std::vector<OsdPoint> coarse, fine;
    explicit OsdInput(const Mesh &in) : sizes(in.nquads, 4), coarse(in.nverts), fine(in.nverts + 3 * in.nquads)
    {
        desc.numVertices = static_cast<int>(in.nverts);
        desc.numFaces = static_cast<int>(in.nquads);
        desc.numVertsPerFace = sizes.data();
        desc.vertIndicesPerFace = reinterpret_cast<const OpenSubdiv::Far::Index *>(in.quads);
        for (uint32_t v = 0; v < in.nverts; v++)
            coarse[v] = {{in.verts[v].x, in.verts[v].y, in.verts[v].z}};
    }
    OpenSubdiv::Far::TopologyRefiner *refiner() const
    {
        return Factory::Create(desc, Factory::Options(OpenSubdiv::Sdc::SCHEME_CATMARK, OpenSubdiv::Sdc::Options()));
    }
    // One uniform level and the positions on it; returns its face count.
    int refine(OpenSubdiv::Far::TopologyRefiner *r)
    {
        r->RefineUniform(OpenSubdiv::Far::TopologyRefiner::UniformOptions(1));
        OsdPoint *src = coarse.data();
        OsdPoint *dst = fine.data();
        OpenSubdiv::Far::PrimvarRefiner(*r).Interpolate(1, src, dst);
        return r->GetLevel(1).GetNumFaces();
    }
};

void BM_SmoothOpenSubdiv(benchmark::State &state)
{
    OsdInput osd(smoothInput());
    int faces = 0;
    for (auto _ : state) {
        OpenSubdiv::Far::TopologyRefiner *r = osd.refiner();
        faces = osd.refine(r);
        benchmark::DoNotOptimize(osd.fine[0]);
        delete r;
    }
    state.counters["faces_out"] = faces;
}

// Only RefineUniform and Interpolate, the refiner made beforehand: what a
// caller pays per level when the topology is known in advance.
void BM_SmoothOpenSubdivRefineOnly(benchmark::State &state)
{
    OsdInput osd(smoothInput());
    for (auto _ : state) {
        state.PauseTiming();
        OpenSubdiv::Far::TopologyRefiner *r = osd.refiner();
        state.ResumeTiming();
        osd.refine(r);
        benchmark::DoNotOptimize(osd.fine[0]);
        state.PauseTiming();
        delete r;
        state.ResumeTiming();
    }
}

BENCHMARK(BM_Smooth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmoothOpenSubdiv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmoothOpenSubdivRefineOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmoothLiteral)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);
int r1 = benchRatio("BM_Smooth", "BM_SmoothOpenSubdiv");
int r2 = benchRatio("BM_Smooth", "BM_SmoothOpenSubdivRefineOnly");
int r3 = benchRatio("BM_Smooth", "BM_SmoothLiteral");

// --- Live preview of a selection move ---------------------------------------

struct Preview {
    std::unique_ptr<Mesh> committed = std::make_unique<Mesh>();
    std::unique_ptr<Mesh> preview = std::make_unique<Mesh>();
    Preview()
    {
        std::memcpy(committed.get(), &bigMesh(), sizeof(Mesh));
        selectSpread(committed.get(), 4);
        std::memcpy(preview.get(), committed.get(), sizeof(Mesh));
    }
};

Preview &preview()
{
    static Preview p;
    return p;
}

// One ParamByte step either way, so the mesh stays where it is on average.
float stepOf(uint64_t i)
{
    return (i & 1) ? decpar(129) : -decpar(129);
}

void BM_PreviewCopy(benchmark::State &state)
{
    Preview &p = preview();
    for (auto _ : state) {
        std::memcpy(p.preview.get(), p.committed.get(), sizeof(Mesh));
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = sizeof(Mesh);
}

void moveWith(benchmark::State &state, mirlOp op)
{
    Preview &p = preview();
    uint64_t i = 0;
    for (auto _ : state) {
        op(p.preview.get(), stepOf(i++));
        benchmark::ClobberMemory();
    }
    state.counters["faces"] = p.preview->nquads;
    state.counters["selected"] = countsel(p.preview.get());
}

void BM_PreviewTrans4(benchmark::State &state)
{
    moveWith(state, trans4);
}
void BM_PreviewTrans4Literal(benchmark::State &state)
{
    moveWith(state, oracle::trans4);
}

void BM_PreviewStep(benchmark::State &state)
{
    Preview &p = preview();
    uint64_t i = 0;
    for (auto _ : state) {
        std::memcpy(p.preview.get(), p.committed.get(), sizeof(Mesh));
        trans4(p.preview.get(), stepOf(i++));
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_PreviewCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewTrans4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewTrans4Literal)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);
int r4 = benchRatio("BM_PreviewTrans4", "BM_PreviewCopy");
int r5 = benchRatio("BM_PreviewTrans4", "BM_PreviewTrans4Literal");

// --- Extrude and delete -----------------------------------------------------

// Extrude a third of the faces (half would need 294,000 faces, beyond the
// capacity, and be refused); delete half.
void editWith(benchmark::State &state, mirlOp op, uint32_t every)
{
    static auto base = std::make_unique<Mesh>();
    static uint32_t selectedEvery = 0;
    if (selectedEvery != every) {
        std::memcpy(base.get(), &bigMesh(), sizeof(Mesh));
        selectSpread(base.get(), every);
        selectedEvery = every;
    }
    static auto m = std::make_unique<Mesh>();
    for (auto _ : state) {
        state.PauseTiming();
        restore(m.get(), *base);
        state.ResumeTiming();
        op(m.get(), 0.0f);
        benchmark::DoNotOptimize(m->nquads);
    }
    state.counters["faces_in"] = base->nquads;
    state.counters["selected"] = countsel(base.get());
    state.counters["faces_out"] = m->nquads;
}

void BM_Extrude(benchmark::State &state)
{
    editWith(state, addquad, 3);
}
void BM_ExtrudeLiteral(benchmark::State &state)
{
    editWith(state, oracle::addquad, 3);
}
void BM_Delete(benchmark::State &state)
{
    editWith(state, delQuad, 2);
}
void BM_DeleteLiteral(benchmark::State &state)
{
    editWith(state, oracle::delQuad, 2);
}

BENCHMARK(BM_Extrude)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtrudeLiteral)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);
BENCHMARK(BM_Delete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteLiteral)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);
int r6 = benchRatio("BM_Extrude", "BM_ExtrudeLiteral");
int r7 = benchRatio("BM_Delete", "BM_DeleteLiteral");

} // namespace
