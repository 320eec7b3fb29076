#include "opsutil.h"

#include <cmath>
#include <string>

#include "oracle.h"

std::unique_ptr<Mesh> cubeMesh()
{
    auto m = newMesh();
    recordoff();
    resetrecord();
    addcube(m.get(), 0.0f);
    setnorm(m.get());
    return m;
}

void selectOnly(Mesh *m, std::initializer_list<uint32_t> faces)
{
    selrang(m, 0, m->nquads, 0);
    for (uint32_t f : faces)
        m->selected[f] = 1;
}

std::unique_ptr<Mesh> loneQuad()
{
    auto m = newMesh();
    m->nverts = 4;
    m->verts[0] = {0, 0, 0};
    m->verts[1] = {1, 0, 0};
    m->verts[2] = {1, 1, 0};
    m->verts[3] = {0, 1, 0};
    addQ(m.get(), 0, 1, 2, 3, 0);
    return m;
}

static float coordinate(Rng &r, bool odd)
{
    static const float common[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 2.0f, -0.5f, 3.0f};
    uint32_t k = r.below(100);
    if (odd && k == 0)
        return NAN;
    if (odd && k == 1)
        return r.below(2) ? INFINITY : -INFINITY;
    if (k < 12)
        return static_cast<float>(r.below(1000)) / 7.0f; // inexact values too
    return common[r.below(8)];
}

void randomOpsMesh(Rng &r, Mesh *m, uint32_t maxVerts, uint32_t maxQuads)
{
    bool odd = r.below(4) == 0;
    m->nverts = 1 + r.below(maxVerts);
    m->nquads = r.below(maxQuads + 1);
    for (uint32_t v = 0; v < m->nverts; v++) {
        m->verts[v] = {coordinate(r, odd), coordinate(r, odd), coordinate(r, odd)};
        m->vnormals[v] = {0, 0, 0};
    }
    // Corners from a part of the pool, so that the rest stays unused.
    uint32_t used = 1 + r.below(m->nverts);
    int percent = static_cast<int>(r.below(101));
    for (uint32_t q = 0; q < m->nquads; q++) {
        for (int k = 0; k < 4; k++)
            m->quads[q].v[k] = r.below(used);
        m->selected[q] = static_cast<int>(r.below(100)) < percent;
        m->fnormals[q] = {coordinate(r, false), coordinate(r, false), coordinate(r, false)};
    }
}

std::string runBoth(Mesh *a, Mesh *b, mirlOp op, mirlOp oracle, float p)
{
    // Only the used part is copied (the whole 14 MB would dominate), so the
    // entries an operation appends have different leftovers in their normals:
    // both results get fresh normals, as the replay gives them.
    b->nverts = a->nverts;
    b->nquads = a->nquads;
    std::memcpy(b->verts, a->verts, a->nverts * sizeof(Vec3));
    std::memcpy(b->vnormals, a->vnormals, a->nverts * sizeof(Vec3));
    std::memcpy(b->quads, a->quads, a->nquads * sizeof(Quad));
    std::memcpy(b->fnormals, a->fnormals, a->nquads * sizeof(Vec3));
    std::memcpy(b->selected, a->selected, a->nquads * sizeof(int32_t));
    op(a, p);
    oracle(b, p);
    setnorm(a);
    setnorm(b);
    return meshDiff(*a, *b);
}

std::string diffRecords(uint64_t first, uint64_t count, const RecOptions &o, DiffStats *st)
{
    static auto fast = newMesh(), slow = newMesh(), scratch = newMesh();
    for (uint64_t seed = first; seed < first + count; seed++) {
        mirlObj rec = randomRecord(seed, o, scratch.get());
        // A replay keeps LastPickedFace as it finds it and select6-8 read
        // it: both start from no pick.
        emptyMesh(fast.get());
        emptyMesh(slow.get());
        LastPickedFace = -1;
        replayobj(&rec, fast.get());
        int32_t lastFast = LastPickedFace;
        uint32_t picksFast = PickCount;
        LastPickedFace = -1;
        oracle::replay(&rec, slow.get());
        std::string d = meshDiff(*fast, *slow);
        if (d.empty() && lastFast != LastPickedFace)
            d = "LastPickedFace differs";
        if (d.empty() && picksFast != PickCount)
            d = "PickCount differs";
        if (!d.empty())
            return "seed " + std::to_string(seed) + ": " + d;
        st->records++;
        st->steps += rec.count;
        for (int i = 0; i < rec.count; i++)
            st->opcodes[rec.ops[i]]++;
        if (fast->nquads > st->maxFaces)
            st->maxFaces = fast->nquads;
        if (fast->nverts > st->maxVerts)
            st->maxVerts = fast->nverts;
    }
    return "";
}

std::string diffMeshes(uint64_t first, uint64_t count, uint32_t maxVerts, uint32_t maxQuads)
{
    static const mirlOp oracles[MIRL_NUMOPS] = {
        oracle::scale1,  oracle::scale2,  oracle::scale3,  oracle::scale4,  oracle::scale5,
        oracle::scale6,  oracle::scale7,  oracle::scale8,  oracle::scalece, oracle::trans1,
        oracle::trans2b, oracle::trans3,  oracle::trans4,  oracle::trans5,  oracle::trans6,
        oracle::trans2,  oracle::rotate1, oracle::rotate2, oracle::rotate3, nullptr,
        nullptr,         nullptr,         nullptr,         nullptr,         nullptr,
        nullptr,         nullptr,         oracle::subd,    oracle::smoooth, oracle::addquad,
        oracle::delQuad, nullptr};
    static auto a = newMesh(), b = newMesh();
    for (uint64_t seed = first; seed < first + count; seed++) {
        Rng r(seed * 0x2545F4914F6CDD1Dull);
        randomOpsMesh(r, a.get(), maxVerts, maxQuads);
        // A few operations in a row on the same mesh, so that each starts
        // from what the one before left (NaN, repeated points, new faces).
        for (int k = 0; k < 6; k++) {
            int op;
            do
                op = static_cast<int>(r.below(MIRL_NUMOPS));
            while (!oracles[op]);
            float p = r.below(4) == 0 ? decpar(static_cast<uint8_t>(r.below(256)))
                                      : static_cast<float>(static_cast<int>(r.below(33)) - 16) / 8.0f;
            std::string d = runBoth(a.get(), b.get(), OperationTable[op], oracles[op], p);
            if (!d.empty())
                return "seed " + std::to_string(seed) + " opcode " + std::to_string(op) + ": " + d;
            if (a->nquads > maxQuads * 8) // keep growth in check
                break;
        }
    }
    return "";
}
