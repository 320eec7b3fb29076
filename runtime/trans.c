/* Move operations (opcodes 9-15): whole object, selection, and each selected
   face along its stored face normal. */
#include "internal.h"

#ifdef MIRL_PLAYER
/*@ transax */
/* The player's form: affine (scale.c) adds p along the axis, +0 along the
   others. */
#define transax(m, p, axis, scope) affine(m, p, 8 << (axis) | 64 * !(scope))
/*@ end */

#else
/* All three components are added, also the zeros: adding +0 turns a -0
   coordinate into +0, and replay depends on the same bits. */
MIRL_ROUTINE(".transob") void transob(Mesh *m, const Vec3 *offset, int32_t scope)
{
    const double ox = offset->x, oy = offset->y, oz = offset->z;
    const uint32_t n = m->nverts;
    if (scope)
        selmark(m); /* which vertices belong to a selected face, in one pass */
    for (uint32_t v = 0; v < n; v++) {
        Vec3 *p = &m->verts[v], q;
        q.x = mirl_f32((double)p->x + ox);
        q.y = mirl_f32((double)p->y + oy);
        q.z = mirl_f32((double)p->z + oz);
        if (scope)
            putsel(p, &q, SelMark[v]);
        else
            *p = q;
    }
}

/* transob by p along one axis (0 X, 1 Y, 2 Z), by +0 along the others. */
MIRL_SECTION(".transob") static void transax(Mesh *m, float p, int axis, int32_t scope)
{
    const Vec3 o = {axis == 0 ? p : 0.0f, axis == 1 ? p : 0.0f, axis == 2 ? p : 0.0f};
    transob(m, &o, scope);
}

#endif

/*@ trans1 */
MIRL_ROUTINE(".trans1") void trans1(Mesh *m, float p)
{
    transax(m, p, 0, 0);
    recordstep(MIRL_OP_TRANS1, p);
}
/*@ end */

/*@ trans3 */
MIRL_ROUTINE(".trans3") void trans3(Mesh *m, float p)
{
    transax(m, p, 2, 0);
    recordstep(MIRL_OP_TRANS3, p);
}
/*@ end */

/*@ trans4 */
MIRL_ROUTINE(".trans4") void trans4(Mesh *m, float p)
{
    transax(m, p, 0, 1);
    recordstep(MIRL_OP_TRANS4, p);
}
/*@ end */

/*@ trans5 */
MIRL_ROUTINE(".trans5") void trans5(Mesh *m, float p)
{
    transax(m, p, 1, 1);
    recordstep(MIRL_OP_TRANS5, p);
}
/*@ end */

/*@ trans6 */
MIRL_ROUTINE(".trans6") void trans6(Mesh *m, float p)
{
    transax(m, p, 2, 1);
    recordstep(MIRL_OP_TRANS6, p);
}
/*@ end */

/*@ trans2 */
/* The stored normals are read as they were before the call and are not unit
   length: a face moves by p times twice its area. A vertex shared by several
   selected faces takes every one of their displacements in turn. */
MIRL_ROUTINE(".trans2") void trans2(Mesh *m, float p)
{
    for (uint32_t i = 0; i < m->nquads; i++) {
        if (m->selected[i] == 0)
            continue;
        for (int k = 0; k < 4; k++) {
            Vec3 *v = &m->verts[m->quads[i].v[k]];
            maths4(&m->fnormals[i], p, v, v);
        }
    }
    recordstep(MIRL_OP_TRANS2, p);
}
/*@ end */

/*@ trans2b */
MIRL_ROUTINE(".trans2") void trans2b(Mesh *m, float p)
{
    transax(m, p, 1, 0);
    recordstep(MIRL_OP_TRANS2B, p);
}
/*@ end */
