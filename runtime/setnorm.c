/* Face and vertex normals: derived data, rebuilt after every change. */
#include <string.h>

#include "internal.h"

#ifdef MIRL_PLAYER
/*@ setnorm */
/* The player's form: the same sums in the same order, the components of
   each cross product in one loop (component k takes k + 1 and k + 2). */
MIRL_ROUTINE(".setnorm") void setnorm(Mesh *m)
{
    uint32_t i;
    int j, k, k1, k2;
    memset(m->vnormals, 0, m->nverts * sizeof(Vec3));
    memset(m->fnormals, 0, m->nquads * sizeof(Vec3));
    for (i = 0; i < m->nquads; i++) {
        const uint32_t *q = m->quads[i].v;
        Vec3 *n = &m->fnormals[i];
        for (j = 0; j < 4; j++) {
            const Vec3 *a = &m->verts[q[(j + 1) & 3]], *b = &m->verts[q[j]];
            for (k = 0, k1 = 1, k2 = 2; k < 3; k1 = k2, k2 = k++)
                mirl_put(n, k, mirl_get(n, k) + (mirl_get(a, k1) * mirl_get(b, k2) -
                                                 mirl_get(a, k2) * mirl_get(b, k1)));
        }
        for (j = 0; j < 4; j++)
            maths1(&m->vnormals[q[j]], n, &m->vnormals[q[j]]);
    }
}
/*@ end */
#else
MIRL_ROUTINE(".setnorm") void setnorm(Mesh *m)
{
    uint32_t i;
    int j;
    memset(m->vnormals, 0, (size_t)m->nverts * sizeof(Vec3));
    memset(m->fnormals, 0, (size_t)m->nquads * sizeof(Vec3));
    for (i = 0; i < m->nquads; i++) {
        const Quad *q = &m->quads[i];
        Vec3 *n = &m->fnormals[i];
        /* Cross product of each following corner with its corner: twice the
           area, pointing to the side from which the corners run clockwise. */
        for (j = 0; j < 4; j++)
            maths11(&m->verts[q->v[(j + 1) & 3]], &m->verts[q->v[j]], n);
        for (j = 0; j < 4; j++)
            maths1(&m->vnormals[q->v[j]], n, &m->vnormals[q->v[j]]);
    }
}
#endif
