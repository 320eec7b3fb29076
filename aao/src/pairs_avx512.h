// The occlusion pair batches for processors with AVX-512, chosen at run
// time by pairs.cpp. Contracts as in pairs.h, with candidate arrays
// padded to a multiple of 8 and 8 entries of slack in every output.
#pragma once

#include "pairs.h"

#if defined(__GNUC__) && defined(__x86_64__) && !defined(MIRL_AAO_SCALAR) && !defined(MIRL_AAO_NO_AVX512)
#define AAO_PAIRS_AVX512 1

bool avx512Available();
uint32_t selectWithinThresholdAvx512(const Vec3 &p, const float *xs, const float *ys, const float *zs,
                                     uint32_t count, float threshold, const WithinThreshold &within);
uint32_t selectFacingAvx512(const Vec3 &normal, const WithinThreshold &within, uint32_t count, float facingLimit,
                            uint32_t *facing);
#endif
