/* Scale operations (opcodes 0-8): whole object, selection, and each selected
   face about its own centre. */
#include "internal.h"

#ifdef MIRL_PLAYER
/*@ affine */
/* The player's scalings and moves, one routine: v = v*f + o, component by
   component, over every vertex (whole) or the corners of the selected
   faces. f is p on the axes of mul (1 X, 2 Y, 4 Z) and 1 elsewhere; o is p
   on the axes of add and +0 elsewhere, or -0 everywhere when add is 0. So
   a move is v*1 + o, that is v + o, and a scaling v*f + -0, that is v*f:
   the products are exact in double and adding -0 changes nothing.
   how = mul + 8 add + 64 whole: one argument, so that each operation
   hands over everything in registers. */
MIRL_SECTION(".scaleob") static void affine(Mesh *m, float p, int how)
{
    const int mul = how & 7, add = how >> 3 & 7, whole = how >> 6;
    uint32_t v;
    int k;
    if (!whole)
        selmark(m);
    for (v = 0; v < m->nverts; v++)
        for (k = 0; (whole || SelMark[v]) && k < 3; k++)
            mirl_put(&m->verts[v], k,
                     mirl_get(&m->verts[v], k) * (mul >> k & 1 ? p : 1.0) + (add >> k & 1 ? p : add ? 0.0 : -0.0));
}
/*@ end */

/*@ scaleax */
#define scaleax(m, p, mask, whole) affine(m, p, (mask) + 64 * (whole))
/*@ end */

#else
/* Factors are applied component by component, also the 1s, so a component
   that is left alone still goes through the same rounding (an identity). */
MIRL_ROUTINE(".scaleob") void scaleob(Mesh *m, const Vec3 *factors, int32_t whole)
{
    const double fx = factors->x, fy = factors->y, fz = factors->z;
    const uint32_t n = m->nverts;
    if (!whole)
        selmark(m); /* which vertices belong to a selected face, in one pass */
    for (uint32_t v = 0; v < n; v++) {
        Vec3 *p = &m->verts[v], q;
        q.x = mirl_f32((double)p->x * fx);
        q.y = mirl_f32((double)p->y * fy);
        q.z = mirl_f32((double)p->z * fz);
        if (!whole)
            putsel(p, &q, SelMark[v]);
        else
            *p = q;
    }
}

/* scaleob by p along the axes of mask (1 X, 2 Y, 4 Z), by 1 along the rest. */
MIRL_SECTION(".scaleob") static void scaleax(Mesh *m, float p, int mask, int32_t whole)
{
    const Vec3 f = {mask & 1 ? p : 1.0f, mask & 2 ? p : 1.0f, mask & 4 ? p : 1.0f};
    scaleob(m, &f, whole);
}

#endif

/*@ scale1 */
MIRL_ROUTINE(".scale1") void scale1(Mesh *m, float p)
{
    scaleax(m, p, 1, 1);
    recordstep(MIRL_OP_SCALE1, p);
}
/*@ end */

/*@ scale2 */
MIRL_ROUTINE(".scale2") void scale2(Mesh *m, float p)
{
    scaleax(m, p, 2, 1);
    recordstep(MIRL_OP_SCALE2, p);
}
/*@ end */

/*@ scale3 */
MIRL_ROUTINE(".scale3") void scale3(Mesh *m, float p)
{
    scaleax(m, p, 4, 1);
    recordstep(MIRL_OP_SCALE3, p);
}
/*@ end */

/*@ scale4 */
MIRL_ROUTINE(".scale4") void scale4(Mesh *m, float p)
{
    scaleax(m, p, 7, 1);
    recordstep(MIRL_OP_SCALE4, p);
}
/*@ end */

/*@ scale5 */
MIRL_ROUTINE(".scale5") void scale5(Mesh *m, float p)
{
    scaleax(m, p, 1, 0);
    recordstep(MIRL_OP_SCALE5, p);
}
/*@ end */

/*@ scale6 */
MIRL_ROUTINE(".scale6") void scale6(Mesh *m, float p)
{
    scaleax(m, p, 2, 0);
    recordstep(MIRL_OP_SCALE6, p);
}
/*@ end */

/*@ scale7 */
MIRL_ROUTINE(".scale7") void scale7(Mesh *m, float p)
{
    scaleax(m, p, 4, 0);
    recordstep(MIRL_OP_SCALE7, p);
}
/*@ end */

/*@ scale8 */
MIRL_ROUTINE(".scale8") void scale8(Mesh *m, float p)
{
    scaleax(m, p, 7, 0);
    recordstep(MIRL_OP_SCALE8, p);
}
/*@ end */

/*@ scalece */
/* Face by face in index order: a vertex shared by several selected faces is
   pulled towards each of their centres in turn, each centre taken from the
   positions as they are at that moment. */
MIRL_ROUTINE(".scalece") void scalece(Mesh *m, float p)
{
    for (uint32_t i = 0; i < m->nquads; i++) {
        if (m->selected[i] == 0)
            continue;
        Vec3 c;
        centroi(m, i, &c);
        for (int k = 0; k < 4; k++) {
            Vec3 *v = &m->verts[m->quads[i].v[k]];
            maths8(&c, v, p, v);
        }
    }
    recordstep(MIRL_OP_SCALECE, p);
}
/*@ end */
