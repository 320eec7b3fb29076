// Vector routines. Every component is computed in double from its 32-bit
// inputs and stored as a float before the next one, in x, y, z order, so
// an output may alias an input.
#include <math.h>

#include "internal.h"

typedef double D;

MIRL_SECTION(".maths1") void maths1(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((D)a->x + (D)b->x);
    out->y = mirl_f32((D)a->y + (D)b->y);
    out->z = mirl_f32((D)a->z + (D)b->z);
}

MIRL_SECTION(".maths2") void maths2(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((D)a->x - (D)b->x);
    out->y = mirl_f32((D)a->y - (D)b->y);
    out->z = mirl_f32((D)a->z - (D)b->z);
}

MIRL_SECTION(".maths3") void maths3(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((D)a->x * (D)b->x);
    out->y = mirl_f32((D)a->y * (D)b->y);
    out->z = mirl_f32((D)a->z * (D)b->z);
}

MIRL_SECTION(".maths4") void maths4(const Vec3 *a, float s, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((D)a->x * (D)s + (D)b->x);
    out->y = mirl_f32((D)a->y * (D)s + (D)b->y);
    out->z = mirl_f32((D)a->z * (D)s + (D)b->z);
}

MIRL_SECTION(".maths7") void maths7(const Vec3 *src, Vec3 *dst)
{
    dst->x = src->x;
    dst->y = src->y;
    dst->z = src->z;
}

MIRL_SECTION(".maths8") void maths8(const Vec3 *a, const Vec3 *b, float t, Vec3 *out)
{
    D u = 1.0 - (D)t;
    out->x = mirl_f32((D)a->x * u + (D)b->x * (D)t);
    out->y = mirl_f32((D)a->y * u + (D)b->y * (D)t);
    out->z = mirl_f32((D)a->z * u + (D)b->z * (D)t);
}

MIRL_SECTION(".maths9") void maths9(Vec3 *v, float s)
{
    v->x = mirl_f32((D)v->x * (D)s);
    v->y = mirl_f32((D)v->y * (D)s);
    v->z = mirl_f32((D)v->z * (D)s);
}

MIRL_SECTION(".maths10") float maths10(const Vec3 *a, const Vec3 *b)
{
    return mirl_f32((D)a->z * (D)b->z + (D)a->y * (D)b->y + (D)a->x * (D)b->x);
}

MIRL_SECTION(".maths11") void maths11(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((D)out->x + ((D)a->y * (D)b->z - (D)a->z * (D)b->y));
    out->y = mirl_f32((D)out->y + ((D)a->z * (D)b->x - (D)a->x * (D)b->z));
    out->z = mirl_f32((D)out->z + ((D)a->x * (D)b->y - (D)a->y * (D)b->x));
}

MIRL_SECTION(".maths12") float maths12(const Vec3 *v)
{
    return mirl_f32((D)v->x * (D)v->x + (D)v->y * (D)v->y + (D)v->z * (D)v->z);
}

MIRL_SECTION(".maths13") float maths13(const Vec3 *v)
{
    return mirl_f32(sqrt((D)maths12(v)));
}

MIRL_SECTION(".maths14") void maths14(Vec3 *v)
{
    // The reciprocal is handed over as a float, as to any other scaling.
    maths9(v, mirl_f32(1.0 / (D)maths13(v)));
}
