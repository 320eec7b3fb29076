// Scale operations (opcodes 0-8): whole object, selection, and each selected
// face about its own centre.
#include "internal.h"

typedef double D;

// Factors are applied component by component, also the 1s, so a component
// that is left alone still goes through the same rounding (an identity).
MIRL_SECTION(".scaleob") void scaleob(Mesh *m, const Vec3 *factors, int32_t whole)
{
    const D fx = factors->x, fy = factors->y, fz = factors->z;
    const uint32_t n = m->nverts;
    if (!whole)
        selmark(m); // which vertices belong to a selected face, in one pass
    for (uint32_t v = 0; v < n; v++) {
        Vec3 *p = &m->verts[v], q;
        q.x = mirl_f32((D)p->x * fx);
        q.y = mirl_f32((D)p->y * fy);
        q.z = mirl_f32((D)p->z * fz);
        if (!whole)
            putsel(p, &q, SelMark[v]);
        else
            *p = q;
    }
}

MIRL_SECTION(".scale1") void scale1(Mesh *m, float p)
{
    const Vec3 f = {p, 1.0f, 1.0f};
    scaleob(m, &f, 1);
    recordstep(0, p);
}

MIRL_SECTION(".scale2") void scale2(Mesh *m, float p)
{
    const Vec3 f = {1.0f, p, 1.0f};
    scaleob(m, &f, 1);
    recordstep(1, p);
}

MIRL_SECTION(".scale3") void scale3(Mesh *m, float p)
{
    const Vec3 f = {1.0f, 1.0f, p};
    scaleob(m, &f, 1);
    recordstep(2, p);
}

MIRL_SECTION(".scale4") void scale4(Mesh *m, float p)
{
    const Vec3 f = {p, p, p};
    scaleob(m, &f, 1);
    recordstep(3, p);
}

MIRL_SECTION(".scale5") void scale5(Mesh *m, float p)
{
    const Vec3 f = {p, 1.0f, 1.0f};
    scaleob(m, &f, 0);
    recordstep(4, p);
}

MIRL_SECTION(".scale6") void scale6(Mesh *m, float p)
{
    const Vec3 f = {1.0f, p, 1.0f};
    scaleob(m, &f, 0);
    recordstep(5, p);
}

MIRL_SECTION(".scale7") void scale7(Mesh *m, float p)
{
    const Vec3 f = {1.0f, 1.0f, p};
    scaleob(m, &f, 0);
    recordstep(6, p);
}

MIRL_SECTION(".scale8") void scale8(Mesh *m, float p)
{
    const Vec3 f = {p, p, p};
    scaleob(m, &f, 0);
    recordstep(7, p);
}

// Face by face in index order: a vertex shared by several selected faces is
// pulled towards each of their centres in turn, each centre taken from the
// positions as they are at that moment.
MIRL_SECTION(".scalece") void scalece(Mesh *m, float p)
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
    recordstep(8, p);
}
