// trigon at every angle rotobj forms: the correctly rounded value but where
// glibc is not, there glibc's bits, which the saved objects keep.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include <quadmath.h>

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

// The reference: binary128 cosine and sine (libquadmath, accurate far
// beyond double), rounded once to double.
void reference(double t, double out[2])
{
    out[0] = (double)cosq(t);
    out[1] = (double)sinq(t);
}

} // namespace

TEST(Trigon, CorrectlyRoundedButAtGlibcsExceptionsAndGlibcsBits)
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
#ifdef __GLIBC__ // where the saved objects were made: its libm's very bits
        EXPECT_TRUE(got[0] == std::cos(angle(b)) && got[1] == std::sin(angle(b))) << b;
#endif
    }
}
