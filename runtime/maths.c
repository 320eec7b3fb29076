/* Vector routines. Every component is computed in double from its 32-bit
   inputs and stored as a float before the next one, in x, y, z order, so
   an output may alias an input. */
#include "internal.h"

/*@ maths1 */
MIRL_ROUTINE(".maths1") void maths1(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)a->x + (double)b->x);
    out->y = mirl_f32((double)a->y + (double)b->y);
    out->z = mirl_f32((double)a->z + (double)b->z);
}
/*@ end */

/*@ maths2 */
MIRL_ROUTINE(".maths2") void maths2(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)a->x - (double)b->x);
    out->y = mirl_f32((double)a->y - (double)b->y);
    out->z = mirl_f32((double)a->z - (double)b->z);
}
/*@ end */

/*@ maths3 */
MIRL_ROUTINE(".maths3") void maths3(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)a->x * (double)b->x);
    out->y = mirl_f32((double)a->y * (double)b->y);
    out->z = mirl_f32((double)a->z * (double)b->z);
}
/*@ end */

/*@ maths4 */
MIRL_ROUTINE(".maths4") void maths4(const Vec3 *a, float s, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)a->x * (double)s + (double)b->x);
    out->y = mirl_f32((double)a->y * (double)s + (double)b->y);
    out->z = mirl_f32((double)a->z * (double)s + (double)b->z);
}
/*@ end */

/*@ maths7 */
MIRL_ROUTINE(".maths7") void maths7(const Vec3 *src, Vec3 *dst)
{
    dst->x = src->x;
    dst->y = src->y;
    dst->z = src->z;
}
/*@ end */

/*@ maths8 */
MIRL_ROUTINE(".maths8") void maths8(const Vec3 *a, const Vec3 *b, float t, Vec3 *out)
{
    double u = 1.0 - (double)t;
    out->x = mirl_f32((double)a->x * u + (double)b->x * (double)t);
    out->y = mirl_f32((double)a->y * u + (double)b->y * (double)t);
    out->z = mirl_f32((double)a->z * u + (double)b->z * (double)t);
}
/*@ end */

/*@ maths9 */
MIRL_ROUTINE(".maths9") void maths9(Vec3 *v, float s)
{
    v->x = mirl_f32((double)v->x * (double)s);
    v->y = mirl_f32((double)v->y * (double)s);
    v->z = mirl_f32((double)v->z * (double)s);
}
/*@ end */

/*@ maths10 */
MIRL_ROUTINE(".maths10") float maths10(const Vec3 *a, const Vec3 *b)
{
    return mirl_f32((double)a->z * (double)b->z + (double)a->y * (double)b->y + (double)a->x * (double)b->x);
}
/*@ end */

/*@ maths11 */
MIRL_ROUTINE(".maths11") void maths11(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)out->x + ((double)a->y * (double)b->z - (double)a->z * (double)b->y));
    out->y = mirl_f32((double)out->y + ((double)a->z * (double)b->x - (double)a->x * (double)b->z));
    out->z = mirl_f32((double)out->z + ((double)a->x * (double)b->y - (double)a->y * (double)b->x));
}
/*@ end */

/*@ maths12 */
MIRL_ROUTINE(".maths12") float maths12(const Vec3 *v)
{
    return mirl_f32((double)v->x * (double)v->x + (double)v->y * (double)v->y + (double)v->z * (double)v->z);
}
/*@ end */

/* The square root by the instruction: a library call could set errno and
   would tie the result to the platform's library. Not on the replay path. */
#if defined(__GNUC__) && defined(__SSE2__)
static inline double squareroot(double d)
{
    __asm__("sqrtsd %1, %0" : "=x"(d) : "x"(d));
    return d;
}
#else
#include <math.h>
#define squareroot sqrt
#endif

MIRL_SECTION(".maths13") float maths13(const Vec3 *v)
{
    return mirl_f32(squareroot((double)maths12(v)));
}

MIRL_SECTION(".maths14") void maths14(Vec3 *v)
{
    /* The reciprocal is handed over as a float, as to any other scaling. */
    maths9(v, mirl_f32(1.0 / (double)maths13(v)));
}
