/* Extrude (opcode 29) and delete (opcode 30) of the selected faces.

   Both give exactly the mesh that removing the selected faces one at a time
   would give (every later face moving down each time), but in one pass: the
   faces that stay are compacted in order, and the extruded faces' caps and
   sides are appended after them in the order of the faces they replace. */
#include "internal.h"

#ifdef MIRL_PLAYER
/*@ addquad ExtrudeCorners */
/* The player's form, with the same result: the extruded faces wait at the
   top of the quad array, beyond everything the step writes before it reads
   them. With S faces extruded the step writes faces below nquads + 4S, and
   face j of those waiting sits at capacity - S + j; so the compaction never
   reaches them (nquads + S <= capacity), and appending face j's five faces
   ends below capacity - S + j + 1, where the next one waits. */
/* Of the corners b0..b3 (new) and a0..a3 (old): the cap, then side k from
   bk to ak, a(k+1), b(k+1). */
static const uint8_t ExtrudeCorners[20] = {0, 1, 2, 3, 0, 4, 5, 1, 1, 5, 6, 2, 2, 6, 7, 3, 3, 7, 4, 0};

MIRL_ROUTINE(".addquad") void addquad(Mesh *m, float p)
{
    uint32_t n = m->nquads, sel = 0, i, keep = 0, w[8];
    int k;
    (void)p;
    for (i = 0; i < n; i++)
        sel += m->selected[i] != 0;
#if MIRL_REFUSED_EXTRUDE
    if (4 * sel > MIRL_MAXVERTS - m->nverts || 4 * sel > MIRL_MAXQUADS - n)
        return; /* does not fit: refused */
#endif
    for (i = 0; i < n; i++) {
        const Quad q = m->quads[i];
        if (m->selected[i]) {
            m->quads[MIRL_MAXQUADS - sel--] = q;
        } else {
            m->quads[keep] = q;
            m->selected[keep++] = 0;
        }
    }
    m->nquads = keep;
    for (i = MIRL_MAXQUADS - n + keep; i < MIRL_MAXQUADS; i++) {
        /* Four vertices of its own, copies of its corners. */
        memcpy(w + 4, m->quads[i].v, sizeof m->quads[i].v);
        for (k = 0; k < 4; k++) {
            w[k] = m->nverts++;
            m->verts[w[k]] = m->verts[w[4 + k]];
        }
        addfaces(m, ExtrudeCorners, w, 0x21); /* the cap selected, then four sides */
    }
}
/*@ end */
#else
/* Corners of the faces being extruded, in index order: compacting the faces
   that stay overwrites them in place. */
static Quad Extruded[MIRL_MAXQUADS / 4 + 1]; /* a result that fits extrudes at most a quarter, plus the last unused copy */

/* Capacity: with S selected faces the result has nverts + 4S vertices and
   nquads + 4S faces; the step is refused unless both are at most 250000. */
MIRL_ROUTINE(".addquad") void addquad(Mesh *m, float p)
{
    (void)p;
    const uint32_t n = m->nquads;
    uint32_t sel = 0;
    for (uint32_t i = 0; i < n; i++)
        sel += m->selected[i] != 0;
    if (sel > (MIRL_MAXVERTS - m->nverts) / 4 || sel > (MIRL_MAXQUADS - n) / 4) {
        capnote();
        recordstep(MIRL_OP_ADDQUAD, 0.0f);
        return;
    }
    /* Both copies every time, only one index moving on: no branch on flags
       that a scattered selection mixes at random. keep <= i, so nothing is
       overwritten before it has been read. */
    uint32_t keep = 0, j = 0;
    for (uint32_t i = 0; i < n; i++) {
        const Quad q = m->quads[i];
        const int32_t f = m->selected[i];
        Extruded[j] = q;
        m->quads[keep] = q;
        m->selected[keep] = f;
        j += f != 0;
        keep += f == 0;
    }
    m->nquads = keep;
    for (j = 0; j < sel; j++) {
        const uint32_t *a = Extruded[j].v;
        /* Four vertices of its own for every extruded face, copies of its
           corners: the cap lies on the old face until something moves it. */
        uint32_t b = m->nverts;
        for (int k = 0; k < 4; k++)
            m->verts[b + k] = m->verts[a[k]];
        m->nverts = b + 4;
        addQ(m, b, b + 1, b + 2, b + 3, 1);
        for (uint32_t k = 0; k < 4; k++) {
            uint32_t k1 = (k + 1) & 3;
            addQ(m, b + k, a[k], a[k1], b + k1, 0);
        }
    }
    recordstep(MIRL_OP_ADDQUAD, 0.0f);
}
#endif

/*@ delQuad */
/* Never grows the mesh. Vertices stay, also those no face uses any more. */
MIRL_ROUTINE(".delQuad") void delQuad(Mesh *m, float p)
{
    (void)p;
    const uint32_t n = m->nquads;
    uint32_t keep = 0;
    for (uint32_t i = 0; i < n; i++) {
        const Quad q = m->quads[i];
        const int32_t f = m->selected[i];
        m->quads[keep] = q; /* kept only if the index moves on */
        m->selected[keep] = f;
        keep += f == 0;
    }
    m->nquads = keep;
    recordstep(MIRL_OP_DELQUAD, 0.0f);
}
/*@ end */
