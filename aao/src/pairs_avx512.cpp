// The pair batches eight at a time, for processors with AVX-512 (F, VL,
// DQ). Same lane arithmetic as the SSE2 batches: double operations from the
// float inputs, each stored value rounded to float, the square root and
// reciprocal in float (see scalesOfFour there). Selected at run time.
#include "pairs_avx512.h"

#ifdef AAO_PAIRS_AVX512

#include <immintrin.h>

#define AVX512_TARGET __attribute__((target("avx512f,avx512vl,avx512dq")))

namespace {

// The conversions in their zero-masked forms with every lane kept: the
// plain forms start from an undefined vector, which GCC 12 warns about.
AVX512_TARGET inline __m512d widen(__m256 v)
{
    return _mm512_maskz_cvtps_pd(0xff, v);
}

// Rounds every lane to float.
AVX512_TARGET inline __m256 narrow(__m512d v)
{
    return _mm512_maskz_cvtpd_ps(0xff, v);
}

// Appends the lanes set in keep to out + found (eight entries of slack).
AVX512_TARGET inline void appendLanes(float *out, __mmask8 keep, __m256 v)
{
    _mm256_storeu_ps(out, _mm256_maskz_compress_ps(keep, v));
}
AVX512_TARGET inline void appendLanes(uint32_t *out, __mmask8 keep, __m256i v)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), _mm256_maskz_compress_epi32(keep, v));
}

} // namespace

AVX512_TARGET uint32_t selectWithinThresholdAvx512(const Vec3 &p, const float *xs, const float *ys, const float *zs,
                                                   uint32_t count, float threshold, const WithinThreshold &within)
{
    const __m512d px = _mm512_set1_pd((double)p.x), py = _mm512_set1_pd((double)p.y),
                  pz = _mm512_set1_pd((double)p.z);
    const __m256 limit = _mm256_set1_ps(threshold);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    uint32_t found = 0;
    for (uint32_t k = 0; k < count; k += 8) {
        __m256 dxs = narrow(_mm512_sub_pd(px, widen(_mm256_loadu_ps(xs + k))));
        __m256 dys = narrow(_mm512_sub_pd(py, widen(_mm256_loadu_ps(ys + k))));
        __m256 dzs = narrow(_mm512_sub_pd(pz, widen(_mm256_loadu_ps(zs + k))));
        __m512d dx = widen(dxs), dy = widen(dys), dz = widen(dzs);
        __m256 squared =
            narrow(_mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(dx, dx), _mm512_mul_pd(dy, dy)), _mm512_mul_pd(dz, dz)));
        __mmask8 below = _mm256_cmp_ps_mask(squared, limit, _CMP_LT_OQ);
        // Written whatever the mask, which costs less than a branch that
        // goes either way.
        appendLanes(within.position + found, below, _mm256_add_epi32(lanes, _mm256_set1_epi32((int)k)));
        appendLanes(within.dx + found, below, dxs);
        appendLanes(within.dy + found, below, dys);
        appendLanes(within.dz + found, below, dzs);
        appendLanes(within.squared + found, below, squared);
        found += (uint32_t)__builtin_popcount(below);
    }
    return found;
}

AVX512_TARGET uint32_t selectFacingAvx512(const Vec3 &normal, const WithinThreshold &within, uint32_t count,
                                          float facingLimit, uint32_t *facing)
{
    const __m512d nx = _mm512_set1_pd((double)normal.x), ny = _mm512_set1_pd((double)normal.y),
                  nz = _mm512_set1_pd((double)normal.z);
    const __m256 limit = _mm256_set1_ps(facingLimit), one = _mm256_set1_ps(1.0f);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    for (uint32_t e = count; e < count + 8; e++)
        within.squared[e] = __builtin_nanf(""); // lanes past the end never pass
    uint32_t found = 0;
    for (uint32_t e = 0; e < count; e += 8) {
        __m512d scale = widen(_mm256_div_ps(one, _mm256_sqrt_ps(_mm256_loadu_ps(within.squared + e))));
        __m512d ux = widen(narrow(_mm512_mul_pd(widen(_mm256_loadu_ps(within.dx + e)), scale)));
        __m512d uy = widen(narrow(_mm512_mul_pd(widen(_mm256_loadu_ps(within.dy + e)), scale)));
        __m512d uz = widen(narrow(_mm512_mul_pd(widen(_mm256_loadu_ps(within.dz + e)), scale)));
        __m256 dot = narrow(_mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(nz, uz), _mm512_mul_pd(ny, uy)),
                                          _mm512_mul_pd(nx, ux)));
        __mmask8 passes = _mm256_cmp_ps_mask(dot, limit, _CMP_LT_OQ);
        if (!passes)
            continue;
        appendLanes(facing + found, passes, _mm256_add_epi32(lanes, _mm256_set1_epi32((int)e)));
        found += (uint32_t)__builtin_popcount(passes);
    }
    return found;
}

bool avx512Available()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
           __builtin_cpu_supports("avx512dq");
}

#endif
