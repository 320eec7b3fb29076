// The pair arithmetic of the occlusion shading: one vertex against a run of
// candidates. Every value is computed with the runtime's exact arithmetic
// (exact.h), as maths2, maths12, maths14 and maths10 compute it, so the
// tests it decides are the ones the plain double loop decides. The batches
// take the square root and the reciprocal in float, which gives the same
// bits (pairs.cpp says why, a test checks every mantissa).
#pragma once

#include <stdint.h>

#include "exact.h"
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

// With keep, the SSE2 batches even where the processor has AVX-512 (to
// measure what the wide ones earn); without, the widest again. Not while a
// shading runs.
void keepToSse2Batches(bool keep);

