// Batches of the occlusion pair arithmetic. With SSE2 two or four pairs go
// through each instruction (eight with AVX-512 where the processor has it):
// the lanes perform the same IEEE operations and float roundings (round to
// nearest) as the scalar code, so every path gives the same bits.
// MIRL_AAO_NO_AVX512 keeps to SSE2, MIRL_AAO_SCALAR to the scalar code.
#include "pairs.h"

#include <math.h>

#include "aao.h"
#include "pairs_avx512.h"

#if defined(__SSE2__) && !defined(MIRL_AAO_SCALAR)
#include <emmintrin.h>
#define AAO_PAIRS_SSE2 1
#endif

#ifdef AAO_PAIRS_SSE2

namespace {

#ifdef AAO_PAIRS_AVX512
const bool HasWideLanes = avx512Available();
bool WideLanes = HasWideLanes;
#endif

// Two floats from memory, widened to double.
inline __m128d widenPair(const float *p)
{
    return _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p))));
}

// Rounds both lanes to float and widens them back: a float store.
inline __m128d storedAsFloat(__m128d v)
{
    return _mm_cvtps_pd(_mm_cvtpd_ps(v));
}

// Stores lane 0 or 1 of a float vector.
inline void storeLane0(float *p, __m128 v)
{
    _mm_store_ss(p, v);
}
inline void storeLane1(float *p, __m128 v)
{
    _mm_store_ss(p, _mm_shuffle_ps(v, v, 1));
}

// mirl_unitscale of four squared lengths. The float square root and the float
// reciprocal are correctly rounded, and so equal the double results rounded
// to float (a double holds more than twice a float's precision, which makes
// the double rounding innocuous); they take a fraction of the double time.
inline __m128 scalesOfFour(const float *squared)
{
    return _mm_div_ps(_mm_set1_ps(1.0f), _mm_sqrt_ps(_mm_loadu_ps(squared)));
}

// The facing test of entries e and e + 1, given their scales; appends the
// passing ones to facing.
inline uint32_t facingOfPair(const WithinThreshold &within, uint32_t e, __m128d scale, __m128d nx, __m128d ny,
                             __m128d nz, __m128 limit, uint32_t *facing, uint32_t found)
{
    __m128d ux = storedAsFloat(_mm_mul_pd(widenPair(within.dx + e), scale));
    __m128d uy = storedAsFloat(_mm_mul_pd(widenPair(within.dy + e), scale));
    __m128d uz = storedAsFloat(_mm_mul_pd(widenPair(within.dz + e), scale));
    __m128d dot = _mm_add_pd(_mm_add_pd(_mm_mul_pd(nz, uz), _mm_mul_pd(ny, uy)), _mm_mul_pd(nx, ux));
    int passes = _mm_movemask_ps(_mm_cmplt_ps(_mm_cvtpd_ps(dot), limit));
    facing[found] = e;
    found += passes & 1;
    facing[found] = e + 1;
    found += (passes >> 1) & 1;
    return found;
}

} // namespace

uint32_t selectWithinThreshold(const Vec3 &p, const float *xs, const float *ys, const float *zs, uint32_t count,
                               float threshold, const WithinThreshold &within)
{
#ifdef AAO_PAIRS_AVX512
    if (WideLanes)
        return selectWithinThresholdAvx512(p, xs, ys, zs, count, threshold, within);
#endif
    const __m128d px = _mm_set1_pd((double)p.x), py = _mm_set1_pd((double)p.y), pz = _mm_set1_pd((double)p.z);
    const __m128 limit = _mm_set1_ps(threshold);
    uint32_t found = 0;
    for (uint32_t k = 0; k < count; k += 2) {
        __m128 dxs = _mm_cvtpd_ps(_mm_sub_pd(px, widenPair(xs + k)));
        __m128 dys = _mm_cvtpd_ps(_mm_sub_pd(py, widenPair(ys + k)));
        __m128 dzs = _mm_cvtpd_ps(_mm_sub_pd(pz, widenPair(zs + k)));
        __m128d dx = _mm_cvtps_pd(dxs), dy = _mm_cvtps_pd(dys), dz = _mm_cvtps_pd(dzs);
        __m128d sum = _mm_add_pd(_mm_add_pd(_mm_mul_pd(dx, dx), _mm_mul_pd(dy, dy)), _mm_mul_pd(dz, dz));
        __m128 squared = _mm_cvtpd_ps(sum);
        int below = _mm_movemask_ps(_mm_cmplt_ps(squared, limit));
        // Written unconditionally, kept by advancing the count.
        within.position[found] = k;
        storeLane0(within.dx + found, dxs);
        storeLane0(within.dy + found, dys);
        storeLane0(within.dz + found, dzs);
        storeLane0(within.squared + found, squared);
        found += below & 1;
        within.position[found] = k + 1;
        storeLane1(within.dx + found, dxs);
        storeLane1(within.dy + found, dys);
        storeLane1(within.dz + found, dzs);
        storeLane1(within.squared + found, squared);
        found += (below >> 1) & 1;
    }
    return found;
}

uint32_t selectFacing(const Vec3 &normal, const WithinThreshold &within, uint32_t count, float facingLimit,
                      uint32_t *facing)
{
#ifdef AAO_PAIRS_AVX512
    if (WideLanes)
        return selectFacingAvx512(normal, within, count, facingLimit, facing);
#endif
    const __m128d nx = _mm_set1_pd((double)normal.x), ny = _mm_set1_pd((double)normal.y),
                  nz = _mm_set1_pd((double)normal.z);
    const __m128 limit = _mm_set1_ps(facingLimit);
    for (uint32_t e = count; e < count + 3; e++)
        within.squared[e] = NAN; // lanes past the end never pass
    uint32_t found = 0;
    for (uint32_t e = 0; e < count; e += 4) {
        __m128 scales = scalesOfFour(within.squared + e);
        found = facingOfPair(within, e, _mm_cvtps_pd(scales), nx, ny, nz, limit, facing, found);
        found = facingOfPair(within, e + 2, _mm_cvtps_pd(_mm_movehl_ps(scales, scales)), nx, ny, nz, limit, facing,
                             found);
    }
    return found;
}

void keepToSse2Batches(bool keep)
{
#ifdef AAO_PAIRS_AVX512
    WideLanes = HasWideLanes && !keep;
#else
    (void)keep;
#endif
}

const char *aaoBatchName()
{
#ifdef AAO_PAIRS_AVX512
    if (WideLanes)
        return "AVX-512";
#endif
    return "SSE2";
}

#else

uint32_t selectWithinThreshold(const Vec3 &p, const float *xs, const float *ys, const float *zs, uint32_t count,
                               float threshold, const WithinThreshold &within)
{
    uint32_t found = 0;
    for (uint32_t k = 0; k < count; k++) {
        const Vec3 candidate = {xs[k], ys[k], zs[k]};
        Vec3 d;
        mirl_sub(&p, &candidate, &d);
        float squared = mirl_len2(&d);
        if (!(squared < threshold))
            continue;
        within.position[found] = k;
        within.dx[found] = d.x;
        within.dy[found] = d.y;
        within.dz[found] = d.z;
        within.squared[found] = squared;
        found++;
    }
    return found;
}

uint32_t selectFacing(const Vec3 &normal, const WithinThreshold &within, uint32_t count, float facingLimit,
                      uint32_t *facing)
{
    uint32_t found = 0;
    for (uint32_t e = 0; e < count; e++) {
        Vec3 unit = {within.dx[e], within.dy[e], within.dz[e]};
        mirl_scale(&unit, mirl_unitscale(within.squared[e]));
        if (mirl_dot(&normal, &unit) < facingLimit)
            facing[found++] = e;
    }
    return found;
}

void keepToSse2Batches(bool)
{
}

const char *aaoBatchName()
{
    return "scalar";
}

#endif
