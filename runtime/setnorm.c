/* Face and vertex normals: derived data, rebuilt after every change. */
#include <string.h>

#include "internal.h"

#ifdef MIRL_PLAYER
/*@ setnorm */
/* The player's form: the same sums, no cross product of its own. */
MIRL_ROUTINE(".setnorm") void setnorm(Mesh *m)
{
    uint32_t i;
    int j;
    memset(m->vnormals, 0, sizeof m->vnormals);
    memset(m->fnormals, 0, sizeof m->fnormals);
    for (i = 0; i < m->nquads; i++) {
        const uint32_t *q = m->quads[i].v;
        Vec3 *n = &m->fnormals[i];
        for (j = 0; j < 4; j++)
            maths11(&m->verts[q[(j + 1) & 3]], &m->verts[q[j]], n);
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
