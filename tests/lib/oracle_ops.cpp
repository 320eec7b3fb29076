// Transforms, extrude/delete and subdivide/smooth written step by step as
// described, to check the runtime's one-pass versions against. Arithmetic
// goes through the runtime's vector routines (compiled apart, so every
// stored float is rounded). The per-face moves scalece and trans2 have no
// faster form in the runtime, so the table takes them from there.
#include "oracle.h"

#include <cmath>
#include <cstring>

#include "exact.h"

namespace oracle {

namespace {

const uint32_t MaxV = MIRL_MAXVERTS, MaxQ = MIRL_MAXQUADS;

void refuse()
{
    if (RecorderOn)
        notify("Exceeded mesh capacity", "ERROR");
}

} // namespace

// --- Transforms -------------------------------------------------------------

void scaleob(Mesh *m, float fx, float fy, float fz, int32_t whole)
{
    const Vec3 factors = {fx, fy, fz};
    for (uint32_t v = 0; v < m->nverts; v++)
        if (whole || vselect(m, v))
            maths3(&m->verts[v], &factors, &m->verts[v]);
}

void transob(Mesh *m, float ox, float oy, float oz, int32_t scope)
{
    const Vec3 offset = {ox, oy, oz};
    for (uint32_t v = 0; v < m->nverts; v++)
        if (scope == 0 || vselect(m, v))
            maths1(&m->verts[v], &offset, &m->verts[v]);
}

void rotobj(Mesh *m, float p, int32_t axis)
{
    const float degree = (float)0.01745328;
    double theta = (double)p * 22.5 * (double)degree;
    double c, s;
    trigon(theta, &c, &s); // checked against libm by its own test
    for (uint32_t v = 0; v < m->nverts; v++) {
        if (!vselect(m, v))
            continue;
        Vec3 old = m->verts[v];
        Vec3 &n = m->verts[v];
        if (axis == 0) {
            n.y = mirl_f32((double)old.y * c - (double)old.z * s);
            n.z = mirl_f32((double)old.y * s + (double)old.z * c);
        } else if (axis == 1) {
            n.x = mirl_f32((double)old.x * c + (double)old.z * s);
            n.z = mirl_f32((double)old.z * c - (double)old.x * s);
        } else {
            n.x = mirl_f32((double)old.x * c - (double)old.y * s);
            n.y = mirl_f32((double)old.x * s + (double)old.y * c);
        }
    }
}

// An operation of the table: the literal routine, then its step recorded
// (with p where the opcode has a parameter).
#define STEP(name, op, call)                                                   \
    void name(Mesh *m, float p)                                                \
    {                                                                          \
        oracle::call;                                                          \
        recordstep(op, haspar(op) ? p : 0.0f);                                 \
    }
STEP(scale1, MIRL_OP_SCALE1, scaleob(m, p, 1, 1, 1))
STEP(scale2, MIRL_OP_SCALE2, scaleob(m, 1, p, 1, 1))
STEP(scale3, MIRL_OP_SCALE3, scaleob(m, 1, 1, p, 1))
STEP(scale4, MIRL_OP_SCALE4, scaleob(m, p, p, p, 1))
STEP(scale5, MIRL_OP_SCALE5, scaleob(m, p, 1, 1, 0))
STEP(scale6, MIRL_OP_SCALE6, scaleob(m, 1, p, 1, 0))
STEP(scale7, MIRL_OP_SCALE7, scaleob(m, 1, 1, p, 0))
STEP(scale8, MIRL_OP_SCALE8, scaleob(m, p, p, p, 0))
STEP(trans1, MIRL_OP_TRANS1, transob(m, p, 0, 0, 0))
STEP(trans2b, MIRL_OP_TRANS2B, transob(m, 0, p, 0, 0))
STEP(trans3, MIRL_OP_TRANS3, transob(m, 0, 0, p, 0))
STEP(trans4, MIRL_OP_TRANS4, transob(m, p, 0, 0, 1))
STEP(trans5, MIRL_OP_TRANS5, transob(m, 0, p, 0, 1))
STEP(trans6, MIRL_OP_TRANS6, transob(m, 0, 0, p, 1))
STEP(rotate1, MIRL_OP_ROTATE1, rotobj(m, p, 0))
STEP(rotate2, MIRL_OP_ROTATE2, rotobj(m, p, 1))
STEP(rotate3, MIRL_OP_ROTATE3, rotobj(m, p, 2))
STEP(select4, MIRL_OP_SELECT4, expands(m, 1))
STEP(select5, MIRL_OP_SELECT5, expands(m, 0))

// --- Extrude and delete -----------------------------------------------------

void addquad(Mesh *m, float)
{
    uint32_t sel = 0;
    for (uint32_t i = 0; i < m->nquads; i++)
        sel += m->selected[i] != 0;
    if (m->nverts + 4 * sel > MaxV || m->nquads + 4 * sel > MaxQ) {
        refuse();
        recordstep(MIRL_OP_ADDQUAD, 0.0f);
        return;
    }
    uint32_t n = m->nquads;
    for (uint32_t i = 0; i < n;) {
        if (!quadsel(m, i)) {
            i++;
            continue;
        }
        Quad a = m->quads[i];
        uint32_t b[4];
        for (int k = 0; k < 4; k++)
            b[k] = addvert(m, &m->verts[a.v[k]], m->nverts);
        // The face goes before its five replacements are appended rather
        // than after: the same faces in the same order, and at the exact
        // capacity the appended faces never pass the last entry.
        delquad(m, i, 1);
        n--;
        addQ(m, b[0], b[1], b[2], b[3], 1);
        for (int k = 0; k < 4; k++)
            addQ(m, b[k], a.v[k], a.v[(k + 1) % 4], b[(k + 1) % 4], 0);
    }
    recordstep(MIRL_OP_ADDQUAD, 0.0f);
}

void delQuad(Mesh *m, float)
{
    for (uint32_t i = 0; i < m->nquads;) {
        if (quadsel(m, i))
            delquad(m, i, 1);
        else
            i++;
    }
    recordstep(MIRL_OP_DELQUAD, 0.0f);
}

// --- Subdivide and smooth ---------------------------------------------------

namespace {
Vec3 Acc[MIRL_MAXVERTS];
uint32_t Cnt[MIRL_MAXVERTS];
// The children, appended after the old faces and moved to the front when
// those are removed; kept apart so that 5N faces never need the mesh's room.
Quad Kids[MIRL_MAXQUADS];
int32_t KidFlags[MIRL_MAXQUADS];

// Whether addvert(p, s) finds a vertex or has room to append one.
bool fits(const Mesh *m, const Vec3 *p, uint32_t s)
{
    return dupvert(m, p, s) < m->nverts || m->nverts < MaxV;
}
} // namespace

void smooth(Mesh *m, int32_t smoothing)
{
    std::memset(Acc, 0, sizeof Acc);
    std::memset(Cnt, 0, sizeof Cnt);
    const uint32_t N = m->nquads, V = m->nverts;
    if (4 * N > MaxQ) {
        refuse();
        return;
    }
    uint32_t nk = 0;
    for (uint32_t i = 0; i < N; i++) {
        const Quad q = m->quads[i];
        const int32_t s = quadsel(m, i);
        Vec3 ctr;
        centroi(m, i, &ctr);
        if (!fits(m, &ctr, m->nverts)) {
            m->nverts = V;
            refuse();
            return;
        }
        uint32_t c = addvert(m, &ctr, m->nverts);
        Cnt[c] += 1;
        uint32_t e[4];
        for (int j = 0; j < 4; j++) {
            Vec3 E;
            maths1(&m->verts[q.v[j]], &m->verts[q.v[(j + 1) % 4]], &E);
            if (!smoothing)
                maths9(&E, 0.5f);
            if (!fits(m, &E, V)) {
                m->nverts = V;
                refuse();
                return;
            }
            e[j] = addvert(m, &E, V);
            if (Cnt[e[j]] == 0)
                Cnt[e[j]] = 2;
            maths1(&Acc[e[j]], &ctr, &Acc[e[j]]);
            Cnt[q.v[j]] += 1;
            maths1(&Acc[q.v[j]], &ctr, &Acc[q.v[j]]);
            maths1(&Acc[q.v[j]], &E, &Acc[q.v[j]]);
            Cnt[e[j]] += 1;
        }
        for (int j = 0; j < 4; j++) {
            Kids[nk] = {{q.v[j], e[j], c, e[(j + 3) % 4]}};
            KidFlags[nk] = s;
            nk++;
        }
    }
    if (smoothing) {
        for (uint32_t v = 0; v < m->nverts; v++) {
            if (Cnt[v] == 0)
                continue; // an unused old vertex stays where it is
            float n = (float)Cnt[v];
            if (v < V) {
                maths9(&Acc[v], mirl_recip(n));
                maths4(&m->verts[v], n - 3.0f, &Acc[v], &m->verts[v]);
            } else {
                maths1(&Acc[v], &m->verts[v], &m->verts[v]);
            }
            maths9(&m->verts[v], mirl_recip(n));
        }
    }
    // delquad(m, 0, N) with the children behind the old faces.
    std::memcpy(m->quads, Kids, nk * sizeof(Quad));
    std::memcpy(m->selected, KidFlags, nk * sizeof(int32_t));
    m->nquads = nk;
}

STEP(subd, MIRL_OP_SUBD, smooth(m, 0))
STEP(smoooth, MIRL_OP_SMOOOTH, smooth(m, 1))

mirlOp Table[MIRL_NUMOPS] = {
    scale1,  scale2,  scale3,  scale4,  scale5,  scale6,  scale7,  scale8,
    ::scalece, trans1, trans2b, trans3, trans4, trans5, trans6, ::trans2,
    rotate1, rotate2, rotate3, ::select1, ::select2, ::select3, select4, select5,
    ::select6, ::select7, ::select8, subd, smoooth, addquad, delQuad, ::addcube,
};

} // namespace oracle
