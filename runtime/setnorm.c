/* Face and vertex normals: derived data, rebuilt from the positions and the
   faces before anything reads them. */
#include <string.h>

#include "internal.h"

/*@ setnorm */
MIRL_ROUTINE(".setnorm") void setnorm(Mesh *m)
{
    uint32_t i;
    int j;
    /* Only the used part: clearing the whole arrays would be a few bytes
       shorter but cost 6 MB of writes at every call. */
    memset(m->vnormals, 0, (size_t)m->nverts * sizeof(Vec3));
    memset(m->fnormals, 0, (size_t)m->nquads * sizeof(Vec3));
    for (i = 0; i < m->nquads; i++) {
        const uint32_t *q = m->quads[i].v;
        Vec3 *n = &m->fnormals[i];
        /* Cross product of each following corner with its corner: twice the
           area, pointing to the side from which the corners run clockwise. */
        for (j = 0; j < 4; j++)
            maths11(&m->verts[q[(j + 1) & 3]], &m->verts[q[j]], n);
        for (j = 0; j < 4; j++)
            maths1(&m->vnormals[q[j]], n, &m->vnormals[q[j]]);
    }
}
/*@ end */
