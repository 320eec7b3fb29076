/* Cosine and sine for the rotations from + - * / alone: library sin and cos
   differ by an ulp between platforms, and a replay must give the same bits
   on every one. */
#include "internal.h"

/*@ trigon */
MIRL_ROUTINE(".trigon") void trigon(double t, double *c, double *s)
{
    /* exp(it) = sum over k of i^k w, w = t^k/k! as a head q and a tail r.
       The sum so far, turned by i^-k, is a + ib with b kept negated, so
       each term steps (a, b) to (w - b, a). After 49 terms (the rest is
       below 2^-120) a = sin t and b = cos t within about 2^-100, each
       rounded once at the end. */
    double q = 1, r = 0, a0 = 1, a1 = 0, b0 = 0, b1 = 0, t0, t1, h0, h1;
    int k;
    t0 = 134217729.0 * t; /* Veltkamp: t = t0 + t1, 26-bit halves */
    t0 -= t0 - t;
    t1 = t - t0;
    for (k = 1; k < 50; k++) {
        /* w / k, the quotient split into halves: each times k is exact,
           and so is the remainder */
        h1 = q / k;
        h0 = 134217729.0 * h1;
        h0 -= h0 - h1;
        h1 -= h0;
        r = (((q - h0 * k) - h1 * k) + r) / k;
        /* times t: Dekker's product gives the error of the head exactly */
        q = (h0 + h1) * t;
        r = ((h0 * t0 - q) + h0 * t1 + h1 * t0) + h1 * t1 + r * t;
        /* w - b: Knuth's sum gives the error of the heads exactly, in
           either order of magnitude */
        h0 = q - b0;
        h1 = h0 - q;
        h1 = ((q - (h0 - h1)) - (b0 + h1)) + r - b1;
        b0 = a0;
        b1 = a1;
        a0 = h0;
        a1 = h1;
    }
    /* glibc's sin and cos, with which saved objects were modelled, are one
       ulp above the rounded values at two angles of rotobj: keep theirs */
    if (t == 0x1.a69fc4734b38cp-1) /* ParamByte 161 */
        a1 += 0x1p-53;
    if (t == 0x1.1f0181cfd5de6p+0) /* ParamByte 173 */
        b1 += 0x1p-54;
    *c = b0 + b1;
    *s = a0 + a1;
}
/*@ end */
