// The pair arithmetic of the occlusion shading: one vertex against a run of
// candidates. Every value is computed exactly as the vector routines compute
// it (maths2, maths12, maths13, maths14, maths10: double precision from
// 32-bit inputs, rounded to float when stored, in the same order), so the
// tests it decides are the ones the plain double loop decides. The batches
// take the square root and the reciprocal in float, which gives the same
// bits (pairs.cpp says why, a test checks every mantissa).
#pragma once

#include <math.h>
#include <stdint.h>

#include "internal.h"
#include "mirl.h"

// Candidate positions as separate coordinate arrays. Callers pad them with
// not-a-number positions up to a multiple of CandidateBlock (such a position
// is never within a threshold) and give every output array CandidateBlock
// entries of slack.
enum { CandidateBlock = 8 };

// The candidates within the threshold of one vertex p: their positions k in
// the candidate arrays (ascending), the difference maths2(p, candidate) and
// its maths12.
struct WithinThreshold {
    uint32_t *position;
    float *dx, *dy, *dz;
    float *squared;
};

// Fills within for the candidates whose squared distance to p is below
// threshold; returns their number.
uint32_t selectWithinThreshold(const Vec3 &p, const float *xs, const float *ys, const float *zs, uint32_t count,
                               float threshold, const WithinThreshold &within);

// Writes the entries e (ascending) of within[0..count) whose difference,
// normalised by maths14, has a maths10 with normal below facingLimit;
// returns their number.
uint32_t selectFacing(const Vec3 &normal, const WithinThreshold &within, uint32_t count, float facingLimit,
                      uint32_t *facing);

// The factor maths14 applies to a vector whose maths12 is squared: the
// float reciprocal (from double) of maths13, the float square root (from
// double) of the squared length.
inline float exactScale(float squared)
{
    return mirl_f32(1.0 / (double)mirl_f32(sqrt((double)squared)));
}

// exactScale of squared[0..count), in batches where the build allows.
void normalisingScales(const float *squared, uint32_t count, float *scales);

// maths2(a, b) as values.
inline Vec3 exactDifference(const Vec3 &a, const Vec3 &b)
{
    return {mirl_f32((double)a.x - (double)b.x), mirl_f32((double)a.y - (double)b.y),
            mirl_f32((double)a.z - (double)b.z)};
}

// maths9(v, s) as values: the scaling step of maths14.
inline Vec3 exactScaled(const Vec3 &v, float s)
{
    return {mirl_f32((double)v.x * (double)s), mirl_f32((double)v.y * (double)s),
            mirl_f32((double)v.z * (double)s)};
}

// maths10(a, b).
inline float exactDot(const Vec3 &a, const Vec3 &b)
{
    return mirl_f32((double)a.z * (double)b.z + (double)a.y * (double)b.y + (double)a.x * (double)b.x);
}
