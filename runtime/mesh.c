/* Quad and vertex routines that every operation is built from. */
#include <string.h>

#include "internal.h"

/*@ vinq */
MIRL_ROUTINE(".vinq") int32_t vinq(uint32_t v, const Quad *q)
{
    return q->v[0] == v || q->v[1] == v || q->v[2] == v || q->v[3] == v;
}
/*@ end */

/*@ addQ */
MIRL_ROUTINE(".addQ") void addQ(Mesh *m, uint32_t a, uint32_t b, uint32_t c, uint32_t d, int32_t flag)
{
    Quad *q = &m->quads[m->nquads];
    q->v[0] = a;
    q->v[1] = b;
    q->v[2] = c;
    q->v[3] = d;
    m->selected[m->nquads] = flag;
    m->nquads += 1;
}
/*@ end */

#ifdef MIRL_PLAYER
/*@ addfaces */
/* The player's way of appending faces: their corners w[t[0]], w[t[1]],
   ... four a face, one face for each bit of flags up to its highest, which
   is 1, selected where the bit is 1. */
MIRL_SECTION(".addQ") static void addfaces(Mesh *m, const uint8_t *t, const uint32_t *w, unsigned flags)
{
    int k;
    for (; flags > 1; flags >>= 1) {
        for (k = 0; k < 4; k++)
            m->quads[m->nquads].v[k] = w[*t++];
        m->selected[m->nquads++] = flags & 1;
    }
}
/*@ end */
#endif

/*@ delquad */
MIRL_ROUTINE(".delquad") void delquad(Mesh *m, uint32_t i, uint32_t n)
{
    uint32_t rest;
    if (n == 0 || i >= m->nquads || n > m->nquads - i)
        return;
    rest = m->nquads - i - n;
    memmove(&m->quads[i], &m->quads[i + n], rest * sizeof(Quad));
    memmove(&m->selected[i], &m->selected[i + n], rest * sizeof(int32_t));
    m->nquads -= n;
}
/*@ end */

/*@ adjquad */
MIRL_ROUTINE(".adjquad") int32_t adjquad(const Mesh *m, uint32_t p, uint32_t q)
{
    const Quad *a = &m->quads[p], *b = &m->quads[q];
    int32_t n = 0;
    int j, k;
    for (j = 0; j < 4; j++)
        for (k = 0; k < 4; k++)
            n += a->v[j] == b->v[k];
    return n;
}
/*@ end */

/*@ dupvert */
MIRL_ROUTINE(".dupvert") uint32_t dupvert(const Mesh *m, const Vec3 *p, uint32_t s)
{
    uint32_t i;
    for (i = s; i < m->nverts; i++) {
        const Vec3 *v = &m->verts[i];
        if (v->x == p->x && v->y == p->y && v->z == p->z)
            return i;
    }
    return m->nverts;
}
/*@ end */

/*@ addvert */
MIRL_APART MIRL_ROUTINE(".addvert") uint32_t addvert(Mesh *m, const Vec3 *p, uint32_t s)
{
    uint32_t i = dupvert(m, p, s);
    m->verts[i] = *p;
    if (i == m->nverts)
        m->nverts += 1;
    return i;
}
/*@ end */

/*@ vselect */
MIRL_ROUTINE(".vselect") int32_t vselect(const Mesh *m, uint32_t v)
{
    uint32_t i;
    for (i = 0; i < m->nquads; i++)
        if (m->selected[i] != 0 && vinq(v, &m->quads[i]))
            return 1;
    return 0;
}
/*@ end */

#ifdef MIRL_PLAYER
/*@ SelMark selmark */
/* The player's form: a player's faces only ever name vertices below
   nverts. */
MIRL_LOCAL uint8_t SelMark[MIRL_MAXVERTS];

MIRL_ROUTINE(".vselect") void selmark(const Mesh *m)
{
    uint32_t i;
    int k;
    memset(SelMark, 0, m->nverts);
    for (i = 0; i < m->nquads; i++)
        for (k = 0; k < 4; k++)
            SelMark[m->quads[i].v[k]] |= m->selected[i] != 0;
}
/*@ end */
#else
MIRL_LOCAL uint8_t SelMark[MIRL_MAXVERTS];

MIRL_ROUTINE(".vselect") void selmark(const Mesh *m)
{
    uint32_t n = m->nverts < MIRL_MAXVERTS ? m->nverts : MIRL_MAXVERTS, i;
    int k;
    memset(SelMark, 0, n);
    /* Every face ORs its flag into its corners: no branch on the flag, which
       a scattered selection would mispredict at every other face. */
    for (i = 0; i < m->nquads; i++) {
        uint8_t f = m->selected[i] != 0;
        for (k = 0; k < 4; k++) {
            uint32_t v = m->quads[i].v[k];
            if (v < MIRL_MAXVERTS)
                SelMark[v] |= f;
        }
    }
}
#endif

/*@ centroi */
MIRL_ROUTINE(".centroi") void centroi(const Mesh *m, uint32_t q, Vec3 *out)
{
    int k;
    out->x = out->y = out->z = 0.0f;
    for (k = 0; k < 4; k++)
        maths1(&m->verts[m->quads[q].v[k]], out, out);
    maths9(out, 0.25f);
}
/*@ end */
