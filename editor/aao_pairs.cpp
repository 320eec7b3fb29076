// Batches of the occlusion pair arithmetic. With SSE2 two pairs go through
// each instruction: the lanes perform the same IEEE double operations and
// float roundings (round to nearest) as the scalar code, so both paths give
// the same bits; MIRL_AAO_SCALAR forces the scalar one.
#include "aao_pairs.h"

#include <math.h>

#if defined(__SSE2__) && !defined(MIRL_AAO_SCALAR)
#include <emmintrin.h>
#define AAO_PAIRS_SSE2 1
#endif

#ifdef AAO_PAIRS_SSE2

namespace {

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

} // namespace

uint32_t selectWithinThreshold(const Vec3 &p, const float *xs, const float *ys, const float *zs, uint32_t count,
                               float threshold, const WithinThreshold &within)
{
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
    const __m128d one = _mm_set1_pd(1.0);
    const __m128d nx = _mm_set1_pd((double)normal.x), ny = _mm_set1_pd((double)normal.y),
                  nz = _mm_set1_pd((double)normal.z);
    const __m128 limit = _mm_set1_ps(facingLimit);
    within.squared[count] = NAN; // an odd count's partner lane never passes
    uint32_t found = 0;
    for (uint32_t e = 0; e < count; e += 2) {
        __m128d length = storedAsFloat(_mm_sqrt_pd(widenPair(within.squared + e)));
        __m128d scale = storedAsFloat(_mm_div_pd(one, length));
        __m128d ux = storedAsFloat(_mm_mul_pd(widenPair(within.dx + e), scale));
        __m128d uy = storedAsFloat(_mm_mul_pd(widenPair(within.dy + e), scale));
        __m128d uz = storedAsFloat(_mm_mul_pd(widenPair(within.dz + e), scale));
        __m128d dot = _mm_add_pd(_mm_add_pd(_mm_mul_pd(nz, uz), _mm_mul_pd(ny, uy)), _mm_mul_pd(nx, ux));
        int passes = _mm_movemask_ps(_mm_cmplt_ps(_mm_cvtpd_ps(dot), limit));
        facing[found] = e;
        found += passes & 1;
        facing[found] = e + 1;
        found += (passes >> 1) & 1;
    }
    return found;
}

#else

uint32_t selectWithinThreshold(const Vec3 &p, const float *xs, const float *ys, const float *zs, uint32_t count,
                               float threshold, const WithinThreshold &within)
{
    uint32_t found = 0;
    for (uint32_t k = 0; k < count; k++) {
        Vec3 d = exactDifference(p, Vec3{xs[k], ys[k], zs[k]});
        float squared = mirl_f32((double)d.x * (double)d.x + (double)d.y * (double)d.y + (double)d.z * (double)d.z);
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
        float scale = mirl_f32(1.0 / (double)mirl_f32(sqrt((double)within.squared[e])));
        Vec3 unit = exactScaled(Vec3{within.dx[e], within.dy[e], within.dz[e]}, scale);
        if (exactDot(normal, unit) < facingLimit)
            facing[found++] = e;
    }
    return found;
}

#endif
