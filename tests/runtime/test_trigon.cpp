// trigon gives glibc's bits at every angle rotobj forms (saved objects were
// modelled with glibc's cos and sin), from additions, multiplications and
// divisions alone.
#include <gtest/gtest.h>

#include <cmath>

#include "mirl.h"

TEST(Trigon, GlibcBitsAtEveryRotationAngle)
{
#ifndef __GLIBC__
    GTEST_SKIP() << "the saved objects follow glibc's libm";
#endif
    for (int b = 0; b < 256; b++) {
        const double t = (double)decpar((uint8_t)b) * 22.5 * (double)(float)0.01745328; // as rotobj forms it
        double c, s;
        trigon(t, &c, &s);
        EXPECT_EQ(c, std::cos(t)) << b << std::hexfloat << " " << c;
        EXPECT_EQ(s, std::sin(t)) << b << std::hexfloat << " " << s;
    }
}
