// trigon: glibc's bits at every angle rotobj forms, the correctly rounded
// value there but where glibc is not, and close to libm in between.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "mirl.h"

namespace {

// The angle of rotobj for a ParamByte, formed as rotobj forms it.
double angle(int b)
{
    return (double)decpar((uint8_t)b) * 22.5 * (double)(float)0.01745328;
}

// Where glibc 2.36 is one ulp above the correctly rounded value, which the
// saved objects keep: {ParamByte, 0 for cos or 1 for sin}.
const int GlibcAbove[][2] = {{161, 1}, {173, 0}};

// The reference: the two Taylor series summed apart, in plain double-double
// with 60 terms, accurate to about 2^-100 over |t| <= 3.2.
struct DD {
    double h, l;
};
DD sum(double a, double b)
{
    double s = a + b, v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}
DD prod(double a, double b)
{
    double ca = 134217729.0 * a, cb = 134217729.0 * b;
    double ah = ca - (ca - a), bh = cb - (cb - b), p = a * b;
    return {p, ((ah * bh - p) + ah * (b - bh) + (a - ah) * bh) + (a - ah) * (b - bh)};
}
void reference(double t, double out[2])
{
    DD w = {1, 0}, acc[2] = {{0, 0}, {0, 0}};
    for (int k = 0; k < 60; k++) {
        DD a = acc[k & 1], s = sum(a.h, k & 2 ? -w.h : w.h);
        acc[k & 1] = sum(s.h, s.l + a.l + (k & 2 ? -w.l : w.l));
        DD p = prod(w.h, t);
        p = sum(p.h, p.l + w.l * t); // w * t, then divided by k + 1:
        const double q = p.h / (k + 1);
        DD r = prod(q, k + 1);
        w = sum(q, ((p.h - r.h) - r.l + p.l) / (k + 1));
    }
    for (int i = 0; i < 2; i++)
        out[i] = acc[i].h + acc[i].l; // one rounding of the pair
}

} // namespace

TEST(Trigon, GlibcBitsAtEveryRotationAngle)
{
#ifndef __GLIBC__
    GTEST_SKIP() << "the saved objects follow glibc's libm";
#endif
    for (int b = 0; b < 256; b++) {
        const double t = angle(b);
        double c, s;
        trigon(t, &c, &s);
        EXPECT_EQ(c, std::cos(t)) << b << std::hexfloat << " " << c;
        EXPECT_EQ(s, std::sin(t)) << b << std::hexfloat << " " << s;
    }
}

TEST(Trigon, CorrectlyRoundedAtRotationAnglesButAtGlibcsExceptions)
{
    for (int b = 0; b < 256; b++) {
        double got[2], want[2];
        trigon(angle(b), &got[0], &got[1]);
        reference(angle(b), want);
        for (const auto &e : GlibcAbove)
            if (e[0] == b)
                want[e[1]] = std::nextafter(want[e[1]], INFINITY);
        EXPECT_EQ(got[0], want[0]) << b << std::hexfloat << " cos " << got[0];
        EXPECT_EQ(got[1], want[1]) << b << std::hexfloat << " sin " << got[1];
    }
}
