/* Subdivide and smooth (opcodes 27, 28): every face into four, and for
   smooth the points moved to one step of Catmull-Clark.

   The result is that of the plain algorithm: faces in order, a centre point
   appended per face, edge points found by exact coordinate equality among
   the points created in this call (lowest index first, so distinct edges
   with equal sums, and earlier centres, are shared too), counts and sums
   accumulated face by face, corner by corner. What makes it linear: a hash
   on the exact float bits replaces the scan for an equal point, and the
   children are written back to front instead of being appended and the old
   faces removed.

   Capacity: with N faces and V vertices, the step is refused unless
   4N <= 250000 and V + N + (edge points not shared) <= 250000, that is
   unless the result fits. The edge points are counted exactly as they are
   made, before the mesh is touched. */
#include <string.h>

#include "internal.h"

/*@ quadsel */
MIRL_ROUTINE(".smoooth") int32_t quadsel(const Mesh *m, uint32_t q)
{
    return m->selected[q];
}
/*@ end */

/*@ smoooth */
MIRL_ROUTINE(".smoooth") void smoooth(Mesh *m, float p)
{
    (void)p;
    smooth(m, 1);
    recordstep(MIRL_OP_SMOOOTH, 0.0f);
}
/*@ end */

#ifndef MIRL_PLAYER
/* Per vertex: the sum of what pulls it and how often. While the new points
   are being found, Accum[V..] holds their positions instead, so that a
   result that would not fit is refused before the mesh changes. */
static Vec3 Accum[MIRL_MAXVERTS];
static uint32_t Count[MIRL_MAXVERTS];
/* Per old face: its centre point and its four edge points. */
static uint32_t FacePoints[5 * (MIRL_MAXQUADS / 4)];
/* Open addressing over new point indices + 1 (0 = empty). At most 250000
   points are ever stored and the table is kept at least twice that size. */
#define SLOTBITS 19
static uint32_t Slots[1u << SLOTBITS];

/* The face centre exactly as centroi forms it: summed onto +0 in corner
   order (so a lone -0 becomes +0), then times 0.25. */
MIRL_SECTION(".smooth") static inline void centre(const Mesh *m, const Quad *q, Vec3 *c)
{
    c->x = c->y = c->z = 0.0f;
    for (int k = 0; k < 4; k++)
        mirl_add(&m->verts[q->v[k]], c, c);
    mirl_scale(c, 0.25f);
}

/* Edge j's point before it is looked up: the sum of its ends, halved when
   only subdividing. */
MIRL_SECTION(".smooth") static inline void edgesum(const Mesh *m, const Quad *q, int j, int32_t smoothing, Vec3 *e)
{
    mirl_add(&m->verts[q->v[j]], &m->verts[q->v[(j + 1) & 3]], e);
    if (!smoothing)
        mirl_scale(e, 0.5f);
}

/* Bits of a coordinate for hashing; +0 and -0 compare equal, so both give 0. */
MIRL_SECTION(".smooth") static inline uint32_t keybits(float f)
{
    uint32_t u;
    memcpy(&u, &f, sizeof u);
    return (u << 1) == 0 ? 0 : u;
}

MIRL_SECTION(".smooth") static inline uint32_t slotof(const Vec3 *p)
{
    uint64_t h = keybits(p->x) * 0x9E3779B97F4A7C15ull;
    h ^= keybits(p->y) * 0xC2B2AE3D27D4EB4Full;
    h ^= keybits(p->z) * 0x165667B19E3779F9ull;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return (uint32_t)(h >> (64 - SLOTBITS));
}

/* Lowest new point with exactly p's coordinates, or ~0u; *slot receives the
   slot where p would be entered. A NaN coordinate never matches, so such a
   point is neither found nor entered (*slot = ~0u). */
MIRL_SECTION(".smooth") static inline uint32_t findpoint(const Vec3 *p, uint32_t mask, uint32_t *slot)
{
    if (p->x != p->x || p->y != p->y || p->z != p->z) {
        *slot = ~0u;
        return ~0u;
    }
    uint32_t s = slotof(p) & mask;
    for (;;) {
        uint32_t e = Slots[s];
        if (e == 0)
            break;
        const Vec3 *q = &Accum[e - 1];
        if (q->x == p->x && q->y == p->y && q->z == p->z)
            return e - 1;
        s = (s + 1) & mask;
    }
    *slot = s;
    return ~0u;
}

MIRL_ROUTINE(".smooth") void smooth(Mesh *m, int32_t smoothing)
{
    const uint32_t nf = m->nquads, nv0 = m->nverts;
    if (nf > MIRL_MAXQUADS / 4) {
        capnote();
        return;
    }
    /* Points that can be made before running out of room: the table is at
       least twice that, so probing stays short. */
    uint32_t most = MIRL_MAXVERTS - nv0;
    if (most > 5 * nf)
        most = 5 * nf;
    uint32_t bits = 4;
    while ((1u << bits) < 2 * most)
        bits++;
    const uint32_t mask = (1u << bits) - 1;
    memset(Slots, 0, ((size_t)mask + 1) * sizeof(uint32_t));

    /* 1. The new points, in the order they are made, and each face's. */
    uint32_t nv = nv0;
    for (uint32_t i = 0; i < nf; i++) {
        const Quad *q = &m->quads[i];
        uint32_t *fp = &FacePoints[5 * i];
        uint32_t slot;
        Vec3 c;
        centre(m, q, &c);
        /* Every face gets a centre point of its own; only the first point at
           a position is entered, since a lookup returns the lowest index. */
        if (nv == MIRL_MAXVERTS) {
            capnote();
            return;
        }
        if (findpoint(&c, mask, &slot) == ~0u && slot != ~0u)
            Slots[slot] = nv + 1;
        Accum[nv] = c;
        fp[0] = nv++;
        for (int j = 0; j < 4; j++) {
            Vec3 e;
            edgesum(m, q, j, smoothing, &e);
            uint32_t at = findpoint(&e, mask, &slot);
            if (at == ~0u) {
                if (nv == MIRL_MAXVERTS) {
                    capnote();
                    return;
                }
                if (slot != ~0u)
                    Slots[slot] = nv + 1;
                at = nv++;
            }
            Accum[at] = e; /* a shared point takes the signs of zero given last */
            fp[1 + j] = at;
        }
    }
    /* It fits: from here on the mesh changes. */
    memcpy(&m->verts[nv0], &Accum[nv0], (size_t)(nv - nv0) * sizeof(Vec3));
    m->nverts = nv;

    /* 2. Smoothing: sums and counts face by face, in the order of the plain
       algorithm, then every used point moved. Old points that no face uses
       (left by delete) have nothing to average and stay where they are. */
    if (smoothing) {
        memset(Accum, 0, (size_t)nv * sizeof(Vec3));
        memset(Count, 0, (size_t)nv * sizeof(uint32_t));
        for (uint32_t i = 0; i < nf; i++) {
            const Quad *q = &m->quads[i];
            const uint32_t *fp = &FacePoints[5 * i];
            Vec3 c;
            centre(m, q, &c);
            Count[fp[0]] += 1;
            for (int j = 0; j < 4; j++) {
                const uint32_t e = fp[1 + j], a = q->v[j];
                Vec3 s;
                edgesum(m, q, j, 1, &s);
                if (Count[e] == 0)
                    Count[e] = 2; /* the edge point's own position counts twice */
                mirl_add(&Accum[e], &c, &Accum[e]);
                Count[a] += 1;
                mirl_add(&Accum[a], &c, &Accum[a]);
                mirl_add(&Accum[a], &s, &Accum[a]);
                Count[e] += 1;
            }
        }
        for (uint32_t v = 0; v < nv; v++) {
            const uint32_t n = Count[v];
            if (n == 0)
                continue;
            const float inv = mirl_recip((float)n); /* counts are exact floats */
            Vec3 *p = &m->verts[v], *a = &Accum[v];
            if (v < nv0) {
                mirl_scale(a, inv);
                mirl_madd(p, (float)n - 3.0f, a, p);
            } else {
                mirl_add(a, p, p);
            }
            mirl_scale(p, inv);
        }
    }

    /* 3. Children of face i become faces 4i..4i+3. Back to front, each face
       is read before its place is written. */
    for (uint32_t i = nf; i-- > 0;) {
        const Quad q = m->quads[i];
        const int32_t s = m->selected[i];
        const uint32_t *fp = &FacePoints[5 * i];
        for (int j = 0; j < 4; j++) {
            Quad *k = &m->quads[4 * i + j];
            k->v[0] = q.v[j];
            k->v[1] = fp[1 + j];
            k->v[2] = fp[0];
            k->v[3] = fp[1 + ((j + 3) & 3)];
            m->selected[4 * i + j] = s;
        }
    }
    m->nquads = 4 * nf;
}
#else
/*@ smooth findpoint point Slots FacePoints */
/* Per old face: its centre point and its four edge points. */
static uint32_t FacePoints[5 * (MIRL_MAXQUADS / 4)];

/* A point's count, kept in the .x bytes of its entry in fnormals: the
   normal arrays, which the replay rebuilds before anything reads them
   again, hold the counts and the sums. */
MIRL_SECTION(".smooth") static void addcount(Mesh *m, uint32_t v, uint32_t n)
{
    uint32_t c;
    memcpy(&c, &m->fnormals[v], sizeof c);
    c += n;
    memcpy(&m->fnormals[v], &c, sizeof c);
}

#if !MIRL_REFUSED_SMOOTH && MIRL_SMOOTH_WORK <= 3584 * 3584
/* The bound of this form: its search for edge points is quadratic,
   about 3.6 ns per face pair (N^2 for N faces before a smooth or
   subdivide) on the project's machine at -Os. An object's smooths and
   subdivides of at most 3,584^2 pairs in all take about 46 ms, half the
   100 ms a replay may take; beyond, the hash form below is linear. */
/* The small form for small meshes: each edge point found by a linear
   search among the points made so far (addvert from the first new one). */
MIRL_SECTION(".smooth") static uint32_t point(Mesh *m, const Vec3 *p, uint32_t first)
{
    const uint32_t at = dupvert(m, p, first);
    m->verts[at] = *p;
    if (at == m->nverts++) {
        if (at != first)
            addcount(m, at, 2); /* a new edge point's own position counts twice */
    } else {
        m->nverts--;
    }
    return at;
}
#define clearslots() ((void)0)
#else
/* The linear form: the same points, found through a hash. */
static uint32_t Slots[1u << 19]; /* new point index + 1 by position; 0 empty */

/* The slot of the lowest new point at exactly p's position, or of the empty
   entry where p goes. A NaN never equals anything, so it is never found. */
MIRL_SECTION(".smooth") static uint32_t *findpoint(const Mesh *m, const Vec3 *p)
{
    uint32_t h = 0, u, i;
    int k;
    for (k = 0; k < 3; k++) {
        memcpy(&u, (const char *)p + k * sizeof u, sizeof u);
        h = (h ^ u * 2) * 0x9E3779B1u; /* without the sign: +0 and -0 are equal */
    }
    for (i = h >> 13; Slots[i]; i = (i + 1) & ((1u << 19) - 1)) {
        const Vec3 *q = &m->verts[Slots[i] - 1];
        for (k = 0; k < 3 && mirl_get(q, k) == mirl_get(p, k); k++)
            ;
        if (k == 3)
            break;
    }
    return &Slots[i];
}

/* What addvert(m, p, first) gives, found through the hash, for the two
   searches smooth makes: from the first new point (an edge point: the
   lowest new point at p's position, else p appended) and from nverts (a
   centre: always appended). An edge point made here starts with a count of
   2: its own position counts twice. With no room left, nverts goes past
   the capacity, which the caller checks when all points are made, and the
   result is point 0, whose sums are then only scratch. */
MIRL_SECTION(".smooth") static uint32_t point(Mesh *m, const Vec3 *p, uint32_t first)
{
    const int fresh = first == m->nverts;
    uint32_t *slot = findpoint(m, p), at = *slot - 1;
    if (fresh || !*slot) {
#if MIRL_REFUSED_SMOOTH
        if (m->nverts >= MIRL_MAXVERTS) {
            m->nverts = MIRL_MAXVERTS + 1;
            return 0;
        }
#endif
        if (!*slot)
            *slot = m->nverts + 1;
        at = m->nverts++;
        if (!fresh)
            addcount(m, at, 2);
    }
    m->verts[at] = *p; /* a shared point takes the signs of zero given last */
    return at;
}
#define clearslots() memset(Slots, 0, sizeof Slots)
#endif

/* The same points, counts and sums in the same order as the editor's, in
   less code and memory. */
MIRL_ROUTINE(".smooth") void smooth(Mesh *m, int32_t smoothing)
{
    const uint32_t nf = m->nquads, nv0 = m->nverts;
    Vec3 *sum = m->vnormals;
    uint32_t i, at, *fp;
    int j;
    Vec3 c, e;
#if MIRL_REFUSED_SMOOTH
    if (nf > MIRL_MAXQUADS / 4)
        return;
#endif
    clearslots();
    memset(sum, 0, sizeof m->vnormals);
    memset(m->fnormals, 0, sizeof m->fnormals);
    for (i = 0; i < nf; i++) {
        const uint32_t *q = m->quads[i].v;
        fp = &FacePoints[5 * i];
        /* Every centre is a point of its own; an edge point is shared. */
        centroi(m, i, &c);
        fp[0] = point(m, &c, m->nverts);
        addcount(m, fp[0], 1);
        for (j = 0; j < 4; j++) {
            const uint32_t a = q[j];
            maths1(&m->verts[a], &m->verts[q[(j + 1) & 3]], &e);
            if (!smoothing)
                maths9(&e, 0.5f);
            at = fp[1 + j] = point(m, &e, nv0);
            addcount(m, at, 1);
            addcount(m, a, 1);
            maths1(&sum[at], &c, &sum[at]);
            maths1(&sum[a], &c, &sum[a]);
            maths1(&sum[a], &e, &sum[a]);
        }
    }
#if MIRL_REFUSED_SMOOTH
    if (m->nverts > MIRL_MAXVERTS) {
        m->nverts = nv0;
        return;
    }
#endif
    /* It fits. Child j of face i becomes face 4i + j: back to front, each
       face is read before its place is written (face 0 last, by its own
       first child). */
    for (i = 4 * nf; i-- > 0;) {
        Quad *k = &m->quads[i];
        fp = &FacePoints[5 * (i / 4)];
        j = i % 4;
        k->v[0] = m->quads[i / 4].v[j];
        k->v[1] = fp[1 + j];
        k->v[2] = fp[0];
        k->v[3] = fp[1 + ((j + 3) & 3)];
        m->selected[i] = m->selected[i / 4];
    }
    m->nquads = 4 * nf;
    /* Old points: p*(n - 3) + sum/n, new ones p + sum; then all over n. */
    for (i = 0; smoothing && i < m->nverts; i++) {
        int32_t n;
        float inv, a = 1.0f;
        memcpy(&n, &m->fnormals[i], sizeof n);
        if (n == 0)
            continue; /* an old point no face uses stays where it is */
        inv = (float)(1.0 / n); /* never a NaN: n >= 1 */
        if (i < nv0) {
            maths9(&sum[i], inv);
            a = (float)n - 3.0f;
        }
        mirl_mix(&m->verts[i], &m->verts[i], a, &sum[i], 1.0);
        maths9(&m->verts[i], inv);
    }
}
/*@ end */
#endif

/*@ subd */
MIRL_ROUTINE(".subd") void subd(Mesh *m, float p)
{
    (void)p;
    smooth(m, 0);
    recordstep(MIRL_OP_SUBD, 0.0f);
}
/*@ end */
