#include "damage/SeriesStretch.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define PELNO_SERIES_AVX2 1
#endif

namespace {

double One(std::size_t count, const double* y, const double* z, double originY, double originZ, bool applyFactor,
           double factor, double* values, double largest) noexcept
{
    for (std::size_t k = 0; k < count; ++k) {
        const double dy = y[k] - originY;
        const double dz = z[k] - originZ;
        double value = 2.0 * std::sqrt(dy * dy + dz * dz);
        if (applyFactor) value = value * factor;
        values[k] = value;
        if (value > largest) largest = value;
    }
    return largest;
}

#if defined(__SSE2__)
double Two(std::size_t count, const double* y, const double* z, double originY, double originZ, bool applyFactor,
           double factor, double* values, double largest) noexcept
{
    std::size_t k = 0;
    if (count >= 2) {
        const __m128d pairOriginY = _mm_set1_pd(originY);
        const __m128d pairOriginZ = _mm_set1_pd(originZ);
        const __m128d pairTwo = _mm_set1_pd(2.0);
        const __m128d pairFactor = _mm_set1_pd(factor);
        __m128d pairLargest = _mm_set1_pd(largest);
        for (; k + 2 <= count; k += 2) {
            const __m128d dy = _mm_sub_pd(_mm_loadu_pd(y + k), pairOriginY);
            const __m128d dz = _mm_sub_pd(_mm_loadu_pd(z + k), pairOriginZ);
            __m128d value = _mm_mul_pd(pairTwo, _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(dy, dy), _mm_mul_pd(dz, dz))));
            if (applyFactor) value = _mm_mul_pd(value, pairFactor);
            _mm_storeu_pd(values + k, value);
            pairLargest = _mm_max_pd(value, pairLargest);  // value > largest ? value : largest
        }
        double halves[2];
        _mm_storeu_pd(halves, pairLargest);
        largest = halves[0] > halves[1] ? halves[0] : halves[1];
    }
    return One(count - k, y + k, z + k, originY, originZ, applyFactor, factor, values + k, largest);
}
#endif

#if defined(PELNO_SERIES_AVX2)
__attribute__((target("avx2"))) double Four(std::size_t count, const double* y, const double* z, double originY,
                                            double originZ, bool applyFactor, double factor, double* values,
                                            double largest) noexcept
{
    std::size_t k = 0;
    if (count >= 4) {
        const __m256d quadOriginY = _mm256_set1_pd(originY);
        const __m256d quadOriginZ = _mm256_set1_pd(originZ);
        const __m256d quadTwo = _mm256_set1_pd(2.0);
        const __m256d quadFactor = _mm256_set1_pd(factor);
        __m256d quadLargest = _mm256_set1_pd(largest);
        for (; k + 4 <= count; k += 4) {
            const __m256d dy = _mm256_sub_pd(_mm256_loadu_pd(y + k), quadOriginY);
            const __m256d dz = _mm256_sub_pd(_mm256_loadu_pd(z + k), quadOriginZ);
            __m256d value =
                _mm256_mul_pd(quadTwo, _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(dy, dy), _mm256_mul_pd(dz, dz))));
            if (applyFactor) value = _mm256_mul_pd(value, quadFactor);
            _mm256_storeu_pd(values + k, value);
            quadLargest = _mm256_max_pd(value, quadLargest);  // value > largest ? value : largest
        }
        double quarters[4];
        _mm256_storeu_pd(quarters, quadLargest);
        largest = quarters[0];
        for (int lane = 1; lane < 4; ++lane) {
            if (quarters[lane] > largest) largest = quarters[lane];
        }
    }
    return Two(count - k, y + k, z + k, originY, originZ, applyFactor, factor, values + k, largest);
}
#endif

}  // namespace

SeriesWidth WidestSeriesWidth() noexcept
{
#if defined(PELNO_SERIES_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) return SeriesWidth::Four;
#endif
#if defined(__SSE2__)
    return SeriesWidth::Two;
#else
    return SeriesWidth::One;
#endif
}

double SeriesStretch(SeriesWidth width, std::size_t count, const double* y, const double* z, double originY,
                     double originZ, bool applyFactor, double factor, double* values, double largest) noexcept
{
    const SeriesWidth widest = WidestSeriesWidth();
    if (width == SeriesWidth::Four && widest != SeriesWidth::Four) width = SeriesWidth::Two;
    switch (width) {
#if defined(PELNO_SERIES_AVX2)
    case SeriesWidth::Four:
        return Four(count, y, z, originY, originZ, applyFactor, factor, values, largest);
#endif
#if defined(__SSE2__)
    case SeriesWidth::Two:
        return Two(count, y, z, originY, originZ, applyFactor, factor, values, largest);
#endif
    default:
        return One(count, y, z, originY, originZ, applyFactor, factor, values, largest);
    }
}

double SeriesStretch(std::size_t count, const double* y, const double* z, double originY, double originZ,
                     bool applyFactor, double factor, double* values, double largest) noexcept
{
    return SeriesStretch(WidestSeriesWidth(), count, y, z, originY, originZ, applyFactor, factor, values, largest);
}
