/* Rotate operations (opcodes 16-18): the selection about a coordinate axis
   through the origin, in steps of 22.5 degrees per unit of the parameter. */
#include "internal.h"

/*@ DegToRad */
/* The degree factor is the float nearest 0.01745328, slightly below pi/180:
   records made with it replay to the same bits only with this very factor. */
static const float DegToRad = (float)0.01745328;
/*@ end */

#ifdef MIRL_PLAYER
/*@ rotobj */
/*@ assume: rotations by record parameters only (-8 to 8): their angle is not reduced by whole turns first */
/* The player's form: the two components that turn, i and j (y and z about
   X, z and x about Y, x and y about Z), in one formula each:
   i = i*c - j*s, j = i*s + j*c (about Y that is x*c + z*s, summed the other
   way round, which gives the same bits). */
MIRL_ROUTINE(".rotobj") void rotobj(Mesh *m, float p, int32_t axis)
{
    const int i = axis == 0 ? 1 : axis == 1 ? 2 : 0, j = i == 2 ? 0 : i + 1;
    double c, s;
    uint32_t v;
    trigon((double)p * 22.5 * DegToRad, &c, &s);
    selmark(m);
    for (v = 0; v < m->nverts; v++) {
        Vec3 *w = &m->verts[v];
        const double a = mirl_get(w, i), b = mirl_get(w, j); /* both from the old ones */
        if (SelMark[v]) {
            mirl_put(w, i, a * c - b * s);
            mirl_put(w, j, a * s + b * c);
        }
    }
}
/*@ end */
#else
/* p less the whole turns (16) nearest to it: exact in double, since p is a
   float and the result lies within 8 of zero; rounded half to even without
   the maths library, whose behaviour is the platform's. */
MIRL_SECTION(".rotobj") static double wholeturns(double p)
{
    const double k = p / 16, big = 4503599627370496.0; /* 2^52: from there on every double is whole */
    double n = k;
    if (k > -big && k < big)
        n = k < 0 ? -((big - k) - big) : (k + big) - big;
    return p - 16 * n;
}

MIRL_ROUTINE(".rotobj") void rotobj(Mesh *m, float p, int32_t axis)
{
    /* trigon is exact within |t| <= 3.2, so a parameter beyond 8.125 (that
       is 182.8 degrees; a record's reach 8.0000010) turns by the same angle
       less whole turns. Records keep their bits. */
    const double q = p > 8.125f || p < -8.125f ? wholeturns(p) : p;
    const double theta = q * 22.5 * (double)DegToRad;
    double c, s;
    trigon(theta, &c, &s); /* the same bits on every platform, unlike the C library */
    const uint32_t n = m->nverts;
    selmark(m); /* which vertices belong to a selected face, in one pass */
    for (uint32_t v = 0; v < n; v++) {
        Vec3 *p = &m->verts[v], q = *p;
        const double x = p->x, y = p->y, z = p->z; /* both results from the old ones */
        if (axis == 0) {
            q.y = mirl_f32(y * c - z * s);
            q.z = mirl_f32(y * s + z * c);
        } else if (axis == 1) {
            q.x = mirl_f32(x * c + z * s);
            q.z = mirl_f32(z * c - x * s);
        } else {
            q.x = mirl_f32(x * c - y * s);
            q.y = mirl_f32(x * s + y * c);
        }
        putsel(p, &q, SelMark[v]);
    }
}
#endif

/*@ rotate1 */
MIRL_ROUTINE(".rotate1") void rotate1(Mesh *m, float p)
{
    rotobj(m, p, 0);
    recordstep(MIRL_OP_ROTATE1, p);
}
/*@ end */

/*@ rotate2 */
MIRL_ROUTINE(".rotate2") void rotate2(Mesh *m, float p)
{
    rotobj(m, p, 1);
    recordstep(MIRL_OP_ROTATE2, p);
}
/*@ end */

/*@ rotate3 */
MIRL_ROUTINE(".rotate3") void rotate3(Mesh *m, float p)
{
    rotobj(m, p, 2);
    recordstep(MIRL_OP_ROTATE3, p);
}
/*@ end */
