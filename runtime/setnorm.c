/* Face and vertex normals: derived data, rebuilt after every change. */
#include <string.h>

#include "internal.h"

/*@ setnorm */
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
/*@ end */
