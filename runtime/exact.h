/* exact.h - the runtime's float arithmetic as values, each formula once.

   Every component is evaluated in double from its 32-bit inputs and rounded
   to float when it is stored, in x, y, z order, so an output may alias an
   input (except for mirl_cross). The vector routines (maths.c), the fast
   forms of the operations and the editor's occlusion shading all compute
   with these, so equal inputs give equal bits wherever they are used.

   Valid C99 and C++; needs only mirl.h. The marked blocks go into generated
   players like those of the runtime's .c files (see internal.h). */
#ifndef MIRL_EXACT_H
#define MIRL_EXACT_H

#include <string.h>

#include "mirl.h"

/* internal.h chooses a player's forms before it includes this header:
   mirl_f32 a helper (MIRL_INLINE), the rest (MIRL_EXACT) inline. */
#ifndef MIRL_INLINE
#define MIRL_INLINE static inline
#endif
#ifndef MIRL_EXACT
#define MIRL_EXACT static inline
#endif

/*@ mirl_f32 */
/* Rounds a double to the float that is stored. */
MIRL_INLINE float mirl_f32(double d)
{
    float f = (float)d;
    /* The empty asm makes the rounded float a value the optimiser has to
       materialise: GCC at -O3 has been seen to carry an accumulation in
       double across float stores, which breaks bit-exact replay. */
#if defined(__GNUC__) && (defined(__x86_64__) || (defined(__i386__) && defined(__SSE2__)))
    __asm__("" : "+x"(f));
#elif defined(__GNUC__) && defined(__aarch64__)
    __asm__("" : "+w"(f));
#else
    volatile float v = f;
    f = v;
#endif
    /* The sign and payload of a NaN result follow the order of the operands,
       which the compiler may swap in a sum or a product: storing one NaN for
       all keeps every build (and every player) on the same bits. */
    if (f != f) {
        const uint32_t quiet = 0x7FC00000u; /* positive quiet NaN, no payload */
        memcpy(&f, &quiet, sizeof f);
    }
    return f;
}
/*@ end */

#ifdef MIRL_PLAYER
/*@ mirl_get */
/* Component k of v (0 x, 1 y, 2 z), as a double. Read through the bytes
   of v: a Vec3 has no padding (the Mesh size check), so k is at byte 4k. */
MIRL_EXACT double mirl_get(const Vec3 *v, int k)
{
    float f;
    memcpy(&f, (const char *)v + k * sizeof f, sizeof f);
    return f;
}
/*@ end */

/*@ mirl_put */
/* Component k of v = d rounded to the float that is stored: the one place
   where a player rounds. */
MIRL_INLINE void mirl_put(Vec3 *v, int k, double d)
{
    float f = mirl_f32(d);
    memcpy((char *)v + k * sizeof f, &f, sizeof f);
}
/*@ end */

/*@ mirl_mix */
/* The player's one vector formula: out = a*s + b*t, component by
   component, each read before it is written, so out may alias either.
   With s, t = 1 it is a + b, and it is the a*s + b of maths4 and the lerp
   of maths8 term for term. */
MIRL_INLINE void mirl_mix(Vec3 *out, const Vec3 *a, double s, const Vec3 *b, double t)
{
    int k;
    for (k = 0; k < 3; k++)
        mirl_put(out, k, mirl_get(a, k) * s + mirl_get(b, k) * t);
}
/*@ end */
#endif

/*@ mirl_add */
/* out = a + b */
MIRL_EXACT void mirl_add(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)a->x + (double)b->x);
    out->y = mirl_f32((double)a->y + (double)b->y);
    out->z = mirl_f32((double)a->z + (double)b->z);
}
/*@ end */

/*@ mirl_sub */
/* out = a - b */
MIRL_EXACT void mirl_sub(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)a->x - (double)b->x);
    out->y = mirl_f32((double)a->y - (double)b->y);
    out->z = mirl_f32((double)a->z - (double)b->z);
}
/*@ end */

/*@ mirl_mul */
/* out = (a.x*b.x, a.y*b.y, a.z*b.z) */
MIRL_EXACT void mirl_mul(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)a->x * (double)b->x);
    out->y = mirl_f32((double)a->y * (double)b->y);
    out->z = mirl_f32((double)a->z * (double)b->z);
}
/*@ end */

/*@ mirl_madd */
/* out = a*s + b */
MIRL_EXACT void mirl_madd(const Vec3 *a, float s, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)a->x * (double)s + (double)b->x);
    out->y = mirl_f32((double)a->y * (double)s + (double)b->y);
    out->z = mirl_f32((double)a->z * (double)s + (double)b->z);
}
/*@ end */

/*@ mirl_lerp */
/* out = a*(1 - t) + b*t, 1 - t formed first (in double) */
MIRL_EXACT void mirl_lerp(const Vec3 *a, const Vec3 *b, float t, Vec3 *out)
{
    double u = 1.0 - (double)t;
    out->x = mirl_f32((double)a->x * u + (double)b->x * (double)t);
    out->y = mirl_f32((double)a->y * u + (double)b->y * (double)t);
    out->z = mirl_f32((double)a->z * u + (double)b->z * (double)t);
}
/*@ end */

/*@ mirl_scale */
/* v = v*s */
MIRL_EXACT void mirl_scale(Vec3 *v, float s)
{
    v->x = mirl_f32((double)v->x * (double)s);
    v->y = mirl_f32((double)v->y * (double)s);
    v->z = mirl_f32((double)v->z * (double)s);
}
/*@ end */

/*@ mirl_dot */
/* Summed as a.z*b.z + a.y*b.y, then + a.x*b.x. */
MIRL_EXACT float mirl_dot(const Vec3 *a, const Vec3 *b)
{
    return mirl_f32((double)a->z * (double)b->z + (double)a->y * (double)b->y + (double)a->x * (double)b->x);
}
/*@ end */

/*@ mirl_cross */
/* out = out + a x b; out must not be a or b */
MIRL_EXACT void mirl_cross(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    out->x = mirl_f32((double)out->x + ((double)a->y * (double)b->z - (double)a->z * (double)b->y));
    out->y = mirl_f32((double)out->y + ((double)a->z * (double)b->x - (double)a->x * (double)b->z));
    out->z = mirl_f32((double)out->z + ((double)a->x * (double)b->y - (double)a->y * (double)b->x));
}
/*@ end */

/*@ mirl_len2 */
/* Squared length, summed as x*x + y*y, then + z*z. */
MIRL_EXACT float mirl_len2(const Vec3 *v)
{
    return mirl_f32((double)v->x * (double)v->x + (double)v->y * (double)v->y + (double)v->z * (double)v->z);
}
/*@ end */

/*@ mirl_recip */
/* 1/x, formed in double and stored: the factor of every division. */
MIRL_EXACT float mirl_recip(float x)
{
    return mirl_f32(1.0 / (double)x);
}
/*@ end */

/* The stored square root of x, by the instruction where there is one: a
   library call could set errno and would tie the result to the platform's
   library. Not on the replay path. */
#if defined(__GNUC__) && defined(__SSE2__)
MIRL_EXACT float mirl_root(float x)
{
    double d = (double)x;
    __asm__("sqrtsd %1, %0" : "=x"(d) : "x"(d));
    return mirl_f32(d);
}
#else
#include <math.h>
MIRL_EXACT float mirl_root(float x)
{
    return mirl_f32(sqrt((double)x));
}
#endif

/* The factor that normalises a vector whose squared length is len2: the
   reciprocal of its length. */
MIRL_EXACT float mirl_unitscale(float len2)
{
    return mirl_recip(mirl_root(len2));
}

#endif /* MIRL_EXACT_H */
