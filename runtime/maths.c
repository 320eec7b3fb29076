/* Vector routines: the runtime's exact arithmetic (exact.h) as routines of
   their own, each in its code section. */
#include "internal.h"

#ifdef MIRL_PLAYER
/*@ maths1 */
MIRL_ROUTINE(".maths1") void maths1(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    mirl_mix(out, a, 1.0, b, 1.0);
}
/*@ end */
#else
MIRL_ROUTINE(".maths1") void maths1(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    mirl_add(a, b, out);
}
#endif

/*@ maths2 */
MIRL_ROUTINE(".maths2") void maths2(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    mirl_sub(a, b, out);
}
/*@ end */

/*@ maths3 */
MIRL_ROUTINE(".maths3") void maths3(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    mirl_mul(a, b, out);
}
/*@ end */

#ifdef MIRL_PLAYER
/*@ maths4 */
#define maths4(a, s, b, out) mirl_mix(out, a, s, b, 1.0)
/*@ end */
#else
MIRL_ROUTINE(".maths4") void maths4(const Vec3 *a, float s, const Vec3 *b, Vec3 *out)
{
    mirl_madd(a, s, b, out);
}
#endif

/*@ maths7 */
MIRL_ROUTINE(".maths7") void maths7(const Vec3 *src, Vec3 *dst)
{
    dst->x = src->x;
    dst->y = src->y;
    dst->z = src->z;
}
/*@ end */

#ifdef MIRL_PLAYER
/*@ maths8 */
#define maths8(a, b, t, out) mirl_mix(out, a, 1.0 - (double)(t), b, t)
/*@ end */
#else
MIRL_ROUTINE(".maths8") void maths8(const Vec3 *a, const Vec3 *b, float t, Vec3 *out)
{
    mirl_lerp(a, b, t, out);
}
#endif

#ifdef MIRL_PLAYER
/*@ maths9 MinusZero */
/* v*s + -0: adding -0 changes nothing, not even a zero's sign. */
static const Vec3 MinusZero = {-0.0f, -0.0f, -0.0f};

MIRL_APART MIRL_ROUTINE(".maths9") void maths9(Vec3 *v, float s)
{
    mirl_mix(v, v, s, &MinusZero, 1.0);
}
/*@ end */
#else
MIRL_ROUTINE(".maths9") void maths9(Vec3 *v, float s)
{
    mirl_scale(v, s);
}
#endif

/*@ maths10 */
MIRL_ROUTINE(".maths10") float maths10(const Vec3 *a, const Vec3 *b)
{
    return mirl_dot(a, b);
}
/*@ end */

#ifdef MIRL_PLAYER
/*@ maths11 */
/* The player's form: component k takes k + 1 and k + 2. */
MIRL_APART MIRL_ROUTINE(".maths11") void maths11(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    int k, k1, k2;
    for (k = 0, k1 = 1, k2 = 2; k < 3; k1 = k2, k2 = k++)
        mirl_put(out, k, mirl_get(out, k) + (mirl_get(a, k1) * mirl_get(b, k2) - mirl_get(a, k2) * mirl_get(b, k1)));
}
/*@ end */
#else
MIRL_ROUTINE(".maths11") void maths11(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    mirl_cross(a, b, out);
}
#endif

/*@ maths12 */
MIRL_ROUTINE(".maths12") float maths12(const Vec3 *v)
{
    return mirl_len2(v);
}
/*@ end */

MIRL_SECTION(".maths13") float maths13(const Vec3 *v)
{
    return mirl_root(mirl_len2(v));
}

MIRL_SECTION(".maths14") void maths14(Vec3 *v)
{
    /* The reciprocal is handed over as a float, as to any other scaling. */
    mirl_scale(v, mirl_unitscale(mirl_len2(v)));
}
