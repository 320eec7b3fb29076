#include "opsdiff.h"

#include <cmath>

#include "oracle.h"

std::unique_ptr<Mesh> cubeMesh(const char *flags)
{
    auto m = newMesh();
    recordoff();
    resetrecord();
    addcube(m.get(), 0);
    setnorm(m.get());
    setFlags(m.get(), flags);
    return m;
}

void setFlags(Mesh *m, const char *flags)
{
    for (uint32_t q = 0; q < m->nquads; q++)
        m->selected[q] = flags[q] == '1';
}

static float coordinate(Rng &r, bool odd)
{
    static const float common[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 2.0f, -0.5f, 3.0f};
    uint32_t k = r.below(100);
    if (odd && k < 2)
        return k == 0 ? NAN : r.below(2) ? INFINITY : -INFINITY;
    return k < 12 ? static_cast<float>(r.below(1000)) / 7.0f : common[r.below(8)]; // inexact ones too
}

// Random quads over a small vertex pool whose coordinates come from a few
// values (+0, -0, halves, small integers, sometimes NaN or infinity), so
// equal sums, equal centres and signed zeros are common; some vertices
// unused, some corners repeated, random 0/1 flags and face normals.
static void randomOpsMesh(Rng &r, Mesh *m, uint32_t maxVerts, uint32_t maxQuads)
{
    bool odd = r.below(4) == 0;
    m->nverts = 1 + r.below(maxVerts);
    m->nquads = r.below(maxQuads + 1);
    for (uint32_t v = 0; v < m->nverts; v++)
        m->verts[v] = {coordinate(r, odd), coordinate(r, odd), coordinate(r, odd)};
    uint32_t used = 1 + r.below(m->nverts), percent = r.below(101); // the rest stays unused
    for (uint32_t q = 0; q < m->nquads; q++) {
        for (int k = 0; k < 4; k++)
            m->quads[q].v[k] = r.below(used);
        m->selected[q] = r.below(100) < percent;
        m->fnormals[q] = {coordinate(r, false), coordinate(r, false), coordinate(r, false)};
    }
}

// op on a, oracle on a copy b of a's used part, fresh normals on both:
// meshDiff of the results.
static std::string runBoth(Mesh *a, Mesh *b, mirlOp op, mirlOp oracle, float p)
{
    // Only the used part is copied (all 14 MB would dominate); entries an
    // operation appends have other leftovers, so both get fresh normals.
    b->nverts = a->nverts;
    b->nquads = a->nquads;
    std::memcpy(b->verts, a->verts, a->nverts * sizeof(Vec3));
    std::memcpy(b->quads, a->quads, a->nquads * sizeof(Quad));
    std::memcpy(b->fnormals, a->fnormals, a->nquads * sizeof(Vec3));
    std::memcpy(b->selected, a->selected, a->nquads * sizeof(int32_t));
    op(a, p);
    oracle(b, p);
    setnorm(a);
    setnorm(b);
    return meshDiff(*a, *b);
}

std::string diffRecords(uint64_t first, uint64_t count, const RecOptions &o, long opcodes[256])
{
    static auto fast = newMesh(), slow = newMesh(), scratch = newMesh();
    for (uint64_t seed = first; seed < first + count; seed++) {
        mirlObj rec = randomRecord(seed, o, scratch.get());
        replayInto(rec, fast.get());
        emptyMesh(slow.get());
        int32_t lastFast = LastPickedFace;
        LastPickedFace = -1; // as the runtime's replay starts
        oracle::replay(&rec, slow.get());
        std::string d = meshDiff(*fast, *slow);
        if (d.empty() && lastFast != LastPickedFace)
            d = "LastPickedFace differs";
        if (!d.empty())
            return "seed " + std::to_string(seed) + ": " + d;
        for (int i = 0; i < rec.count; i++)
            opcodes[rec.ops[i]]++;
    }
    return "";
}

std::string diffMeshes(uint64_t first, uint64_t count, uint32_t maxVerts, uint32_t maxQuads)
{
    static auto a = newMesh(), b = newMesh();
    for (uint64_t seed = first; seed < first + count; seed++) {
        Rng r(seed * 0x2545F4914F6CDD1Dull);
        randomOpsMesh(r, a.get(), maxVerts, maxQuads);
        // Each from what the one before left (NaN, repeated points, new faces).
        for (int k = 0; k < 6 && a->nquads <= maxQuads * 8; k++) {
            int op = static_cast<int>(r.below(23)); // the transforms, then subd to delQuad
            op += op <= MIRL_OP_ROTATE3 ? 0 : MIRL_OP_SUBD - MIRL_OP_SELECT1;
            float p = r.below(4) == 0 ? decpar(static_cast<uint8_t>(r.below(256)))
                                      : static_cast<float>(static_cast<int>(r.below(33)) - 16) / 8.0f;
            std::string d = runBoth(a.get(), b.get(), OperationTable[op], oracle::Table[op], p);
            if (!d.empty())
                return "seed " + std::to_string(seed) + " opcode " + std::to_string(op) + ": " + d;
        }
    }
    return "";
}
