#include "damage/TurningPoints.h"

#include <array>
#include <cmath>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define PELNO_TURNING_WIDE 1
#endif

namespace {

// Records from..n-1, those kept appended after the m already kept (each written in any case,
// the count moved on when kept). Returns the number kept.
std::int32_t KeepOne(const double* values, std::int32_t n, std::int32_t from, double* keptValues,
                     std::int32_t* keptIndices, std::int32_t m) noexcept
{
    for (std::int32_t i = from; i < n; ++i) {
        const bool kept = i + 1 >= n || std::fabs(values[i + 1] - values[i]) > 0.01;
        keptValues[m] = values[i];
        keptIndices[m] = i;
        m += kept ? 1 : 0;
    }
    return m;
}

// Inner records kept from..m-2 that turn, appended after the k points already found. Without
// indices (wi null) record j is index j.
std::int32_t TurnOne(const double* w, const std::int32_t* wi, std::int32_t m, std::int32_t from,
                     double* pointValues, std::int32_t* pointIndices, std::int32_t k) noexcept
{
    for (std::int32_t j = from; j + 1 < m; ++j) {
        pointValues[k] = w[j];
        pointIndices[k] = wi != nullptr ? wi[j] : j;
        k += (w[j] - w[j - 1]) * (w[j + 1] - w[j]) < 0.0 ? 1 : 0;
    }
    return k;
}

// The first record kept, the inner turning points from the given one on (k found before it),
// and the last record kept.
std::int32_t Close(const double* w, const std::int32_t* wi, std::int32_t m, double* pointValues,
                   std::int32_t* pointIndices, std::int32_t from, std::int32_t k) noexcept
{
    k = TurnOne(w, wi, m, from, pointValues, pointIndices, k);
    pointValues[0] = w[0];
    pointIndices[0] = wi != nullptr ? wi[0] : 0;
    pointValues[k] = w[m - 1];
    pointIndices[k] = wi != nullptr ? wi[m - 1] : m - 1;
    return k + 1;
}

std::int32_t One(const double* values, std::int32_t n, double* pointValues, std::int32_t* pointIndices,
                 double* keptValues, std::int32_t* keptIndices) noexcept
{
    const std::int32_t m = KeepOne(values, n, 0, keptValues, keptIndices, 0);
    if (m < 3) return 0;
    return Close(keptValues, keptIndices, m, pointValues, pointIndices, 1, 1);
}

// Records from..n-1 (from 1 at least) that differ from the record before, appended after the m
// already kept; apart stays true while every two neighbours are equal or 0.01 apart at least.
std::int32_t KeepFirstOne(const double* values, std::int32_t n, std::int32_t from, double* keptValues,
                          std::int32_t* keptIndices, std::int32_t m, bool& apart) noexcept
{
    for (std::int32_t i = from; i < n; ++i) {
        const double step = values[i] - values[i - 1];
        apart &= step == 0.0 || std::fabs(step) >= 0.01;
        keptValues[m] = values[i];
        keptIndices[m] = i;
        m += values[i] != values[i - 1] ? 1 : 0;
    }
    return m;
}

// The records kept, as points, when they are too few to turn.
std::int32_t Few(const double* w, const std::int32_t* wi, std::int32_t m, double* pointValues,
                 std::int32_t* pointIndices) noexcept
{
    for (std::int32_t j = 0; j < m; ++j) {
        pointValues[j] = w[j];
        pointIndices[j] = wi[j];
    }
    return m;
}

std::int32_t StepOne(const double* values, std::int32_t n, double* pointValues, std::int32_t* pointIndices,
                     double* keptValues, std::int32_t* keptIndices) noexcept
{
    bool apart = true;
    keptValues[0] = values[0];
    keptIndices[0] = 0;
    const std::int32_t m = KeepFirstOne(values, n, 1, keptValues, keptIndices, 1, apart);
    if (!apart) return -1;
    if (m < 3) return Few(keptValues, keptIndices, m, pointValues, pointIndices);
    return Close(keptValues, keptIndices, m, pointValues, pointIndices, 1, 1);
}

#if defined(PELNO_TURNING_WIDE)

// For each mask of four lanes, the lanes set, in order, first: as 32-bit lanes of four doubles
// (two each) and as four 32-bit lanes (the rest 0).
struct CompressTables {
    alignas(32) std::int32_t doubles[16][8];
    alignas(32) std::int32_t words[16][8];
};

constexpr CompressTables MakeCompressTables()
{
    CompressTables tables{};
    for (int mask = 0; mask < 16; ++mask) {
        int at = 0;
        for (int lane = 0; lane < 4; ++lane) {
            if ((mask >> lane & 1) == 0) continue;
            tables.doubles[mask][2 * at] = 2 * lane;
            tables.doubles[mask][2 * at + 1] = 2 * lane + 1;
            tables.words[mask][at] = lane;
            ++at;
        }
    }
    return tables;
}

constexpr CompressTables kCompress = MakeCompressTables();

__attribute__((target("avx2,popcnt"))) inline void StoreFour(unsigned mask, __m256d values, __m128i indices,
                                                            double* toValues, std::int32_t* toIndices) noexcept
{
    const __m256i doubles = _mm256_load_si256(reinterpret_cast<const __m256i*>(kCompress.doubles[mask]));
    const __m256i words = _mm256_load_si256(reinterpret_cast<const __m256i*>(kCompress.words[mask]));
    _mm256_storeu_pd(toValues, _mm256_castps_pd(_mm256_permutevar8x32_ps(_mm256_castpd_ps(values), doubles)));
    const __m256i moved = _mm256_permutevar8x32_epi32(_mm256_castsi128_si256(indices), words);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(toIndices), _mm256_castsi256_si128(moved));
}

// The inner records kept that turn, four at a time, then the first and the last (m > 2
// records kept). Without indices (wi null) record j is index j.
__attribute__((target("avx2,popcnt"))) std::int32_t TurnFour(const double* w, const std::int32_t* wi, std::int32_t m,
                                                             double* pointValues, std::int32_t* pointIndices) noexcept
{
    const __m256d zero = _mm256_setzero_pd();
    const __m128i lanes = _mm_setr_epi32(0, 1, 2, 3);
    // Inner records kept j..j+3, whose next ones are all records kept.
    std::int32_t k = 1;
    std::int32_t j = 1;
    for (; j + 4 < m; j += 4) {
        const __m256d before = _mm256_loadu_pd(w + j - 1);
        const __m256d here = _mm256_loadu_pd(w + j);
        const __m256d next = _mm256_loadu_pd(w + j + 1);
        const __m256d product = _mm256_mul_pd(_mm256_sub_pd(here, before), _mm256_sub_pd(next, here));
        const unsigned turns = static_cast<unsigned>(_mm256_movemask_pd(_mm256_cmp_pd(product, zero, _CMP_LT_OQ)));
        const __m128i indices = wi != nullptr ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(wi + j))
                                              : _mm_add_epi32(_mm_set1_epi32(j), lanes);
        StoreFour(turns, here, indices, pointValues + k, pointIndices + k);
        k += __builtin_popcount(turns);
    }
    _mm256_zeroupper();  // the scalar code that follows must not wait on the upper lanes
    return Close(w, wi, m, pointValues, pointIndices, j, k);
}

__attribute__((target("avx2,popcnt"))) std::int32_t Four(const double* values, std::int32_t n, double* pointValues,
                                                         std::int32_t* pointIndices, double* keptValues,
                                                         std::int32_t* keptIndices) noexcept
{
    const __m256d sign = _mm256_set1_pd(-0.0);
    const __m256d tolerance = _mm256_set1_pd(0.01);
    const __m128i lanes = _mm_setr_epi32(0, 1, 2, 3);
    // Records i..i+3, whose next ones are all records.
    std::int32_t m = 0;
    std::int32_t i = 0;
    for (; i + 4 < n; i += 4) {
        const __m256d here = _mm256_loadu_pd(values + i);
        const __m256d next = _mm256_loadu_pd(values + i + 1);
        const __m256d step = _mm256_andnot_pd(sign, _mm256_sub_pd(next, here));
        const unsigned kept = static_cast<unsigned>(_mm256_movemask_pd(_mm256_cmp_pd(step, tolerance, _CMP_GT_OQ)));
        StoreFour(kept, here, _mm_add_epi32(_mm_set1_epi32(i), lanes), keptValues + m, keptIndices + m);
        m += __builtin_popcount(kept);
    }
    _mm256_zeroupper();
    m = KeepOne(values, n, i, keptValues, keptIndices, m);
    if (m < 3) return 0;
    return TurnFour(keptValues, keptIndices, m, pointValues, pointIndices);
}

__attribute__((target("avx2,popcnt"))) std::int32_t StepFour(const double* values, std::int32_t n,
                                                             double* pointValues, std::int32_t* pointIndices,
                                                             double* keptValues, std::int32_t* keptIndices) noexcept
{
    const __m256d sign = _mm256_set1_pd(-0.0);
    const __m256d tolerance = _mm256_set1_pd(0.01);
    const __m256d zero = _mm256_setzero_pd();
    const __m128i lanes = _mm_setr_epi32(0, 1, 2, 3);
    keptValues[0] = values[0];
    keptIndices[0] = 0;
    std::int32_t m = 1;
    unsigned apartLanes = 0xf;
    // Records i..i+3 against the records before them.
    std::int32_t i = 1;
    for (; i + 4 <= n; i += 4) {
        const __m256d here = _mm256_loadu_pd(values + i);
        const __m256d before = _mm256_loadu_pd(values + i - 1);
        const __m256d step = _mm256_sub_pd(here, before);
        const __m256d apart = _mm256_or_pd(_mm256_cmp_pd(step, zero, _CMP_EQ_OQ),
                                           _mm256_cmp_pd(_mm256_andnot_pd(sign, step), tolerance, _CMP_GE_OQ));
        apartLanes &= static_cast<unsigned>(_mm256_movemask_pd(apart));
        const unsigned kept = static_cast<unsigned>(_mm256_movemask_pd(_mm256_cmp_pd(here, before, _CMP_NEQ_OQ)));
        StoreFour(kept, here, _mm_add_epi32(_mm_set1_epi32(i), lanes), keptValues + m, keptIndices + m);
        m += __builtin_popcount(kept);
    }
    _mm256_zeroupper();  // the scalar code that follows must not wait on the upper lanes
    bool apart = apartLanes == 0xf;
    m = KeepFirstOne(values, n, i, keptValues, keptIndices, m, apart);
    if (!apart) return -1;
    if (m < 3) return Few(keptValues, keptIndices, m, pointValues, pointIndices);
    return TurnFour(keptValues, keptIndices, m, pointValues, pointIndices);
}

__attribute__((target("avx512f,avx512vl,popcnt"))) std::int32_t TurnEight(const double* w, const std::int32_t* wi,
                                                                          std::int32_t m, double* pointValues,
                                                                          std::int32_t* pointIndices) noexcept
{
    const __m512d zero = _mm512_setzero_pd();
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    // Inner records kept j..j+7, whose next ones are all records kept.
    std::int32_t k = 1;
    std::int32_t j = 1;
    for (; j + 8 < m; j += 8) {
        const __m512d before = _mm512_loadu_pd(w + j - 1);
        const __m512d here = _mm512_loadu_pd(w + j);
        const __m512d next = _mm512_loadu_pd(w + j + 1);
        const __m512d product = _mm512_mul_pd(_mm512_sub_pd(here, before), _mm512_sub_pd(next, here));
        const __mmask8 turns = _mm512_cmp_pd_mask(product, zero, _CMP_LT_OQ);
        _mm512_storeu_pd(pointValues + k, _mm512_maskz_compress_pd(turns, here));
        const __m256i indices = wi != nullptr ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(wi + j))
                                              : _mm256_add_epi32(_mm256_set1_epi32(j), lanes);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pointIndices + k), _mm256_maskz_compress_epi32(turns, indices));
        k += __builtin_popcount(turns);
    }
    _mm256_zeroupper();  // the scalar code that follows must not wait on the upper lanes
    return Close(w, wi, m, pointValues, pointIndices, j, k);
}

__attribute__((target("avx512f,avx512vl,popcnt"))) std::int32_t Eight(const double* values, std::int32_t n,
                                                                      double* pointValues, std::int32_t* pointIndices,
                                                                      double* keptValues,
                                                                      std::int32_t* keptIndices) noexcept
{
    const __m512d tolerance = _mm512_set1_pd(0.01);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    // Records i..i+7, whose next ones are all records.
    std::int32_t m = 0;
    std::int32_t i = 0;
    for (; i + 8 < n; i += 8) {
        const __m512d here = _mm512_loadu_pd(values + i);
        const __m512d next = _mm512_loadu_pd(values + i + 1);
        const __m512d step = _mm512_abs_pd(_mm512_sub_pd(next, here));
        const __mmask8 kept = _mm512_cmp_pd_mask(step, tolerance, _CMP_GT_OQ);
        _mm512_storeu_pd(keptValues + m, _mm512_maskz_compress_pd(kept, here));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(keptIndices + m),
                            _mm256_maskz_compress_epi32(kept, _mm256_add_epi32(_mm256_set1_epi32(i), lanes)));
        m += __builtin_popcount(kept);
    }
    _mm256_zeroupper();
    m = KeepOne(values, n, i, keptValues, keptIndices, m);
    if (m < 3) return 0;
    return TurnEight(keptValues, keptIndices, m, pointValues, pointIndices);
}

__attribute__((target("avx512f,avx512vl,popcnt"))) std::int32_t StepEight(const double* values, std::int32_t n,
                                                                          double* pointValues,
                                                                          std::int32_t* pointIndices,
                                                                          double* keptValues,
                                                                          std::int32_t* keptIndices) noexcept
{
    const __m512d tolerance = _mm512_set1_pd(0.01);
    const __m512d zero = _mm512_setzero_pd();
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    keptValues[0] = values[0];
    keptIndices[0] = 0;
    std::int32_t m = 1;
    __mmask8 apartLanes = 0xff;
    // Records i..i+7 against the records before them.
    std::int32_t i = 1;
    for (; i + 8 <= n; i += 8) {
        const __m512d here = _mm512_loadu_pd(values + i);
        const __m512d before = _mm512_loadu_pd(values + i - 1);
        const __m512d step = _mm512_sub_pd(here, before);
        apartLanes &= static_cast<__mmask8>(_mm512_cmp_pd_mask(step, zero, _CMP_EQ_OQ) |
                                            _mm512_cmp_pd_mask(_mm512_abs_pd(step), tolerance, _CMP_GE_OQ));
        const __mmask8 kept = _mm512_cmp_pd_mask(here, before, _CMP_NEQ_OQ);
        _mm512_storeu_pd(keptValues + m, _mm512_maskz_compress_pd(kept, here));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(keptIndices + m),
                            _mm256_maskz_compress_epi32(kept, _mm256_add_epi32(_mm256_set1_epi32(i), lanes)));
        m += __builtin_popcount(kept);
    }
    _mm256_zeroupper();  // the scalar code that follows must not wait on the upper lanes
    bool apart = apartLanes == 0xff;
    m = KeepFirstOne(values, n, i, keptValues, keptIndices, m, apart);
    if (!apart) return -1;
    if (m < 3) return Few(keptValues, keptIndices, m, pointValues, pointIndices);
    return TurnEight(keptValues, keptIndices, m, pointValues, pointIndices);
}

#endif

}  // namespace

TurningWidth WidestTurningWidth() noexcept
{
#if defined(PELNO_TURNING_WIDE)
    static const TurningWidth widest = [] {
        if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl")) return TurningWidth::Eight;
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")) return TurningWidth::Four;
        return TurningWidth::One;
    }();
    return widest;
#else
    return TurningWidth::One;
#endif
}

namespace {

// The width given where the build and the processor offer it, else the next narrower.
TurningWidth Offered(TurningWidth width) noexcept
{
    const TurningWidth widest = WidestTurningWidth();
    if (width == TurningWidth::Eight && widest != TurningWidth::Eight) width = TurningWidth::Four;
    if (width == TurningWidth::Four && widest == TurningWidth::One) width = TurningWidth::One;
    return width;
}

}  // namespace

std::int32_t TurningPoints(TurningWidth width, const double* values, std::int32_t n, double* pointValues,
                           std::int32_t* pointIndices, double* keptValues, std::int32_t* keptIndices) noexcept
{
    switch (Offered(width)) {
#if defined(PELNO_TURNING_WIDE)
    case TurningWidth::Eight:
        return Eight(values, n, pointValues, pointIndices, keptValues, keptIndices);
    case TurningWidth::Four:
        return Four(values, n, pointValues, pointIndices, keptValues, keptIndices);
#endif
    default:
        return One(values, n, pointValues, pointIndices, keptValues, keptIndices);
    }
}

std::int32_t StepTurningPoints(TurningWidth width, const double* values, std::int32_t n, double* pointValues,
                               std::int32_t* pointIndices, double* keptValues, std::int32_t* keptIndices) noexcept
{
    if (n < 1) return -1;
    switch (Offered(width)) {
#if defined(PELNO_TURNING_WIDE)
    case TurningWidth::Eight:
        return StepEight(values, n, pointValues, pointIndices, keptValues, keptIndices);
    case TurningWidth::Four:
        return StepFour(values, n, pointValues, pointIndices, keptValues, keptIndices);
#endif
    default:
        return StepOne(values, n, pointValues, pointIndices, keptValues, keptIndices);
    }
}

std::int32_t StepTurningPoints(const double* values, std::int32_t n, double* pointValues, std::int32_t* pointIndices,
                               double* keptValues, std::int32_t* keptIndices) noexcept
{
    return StepTurningPoints(WidestTurningWidth(), values, n, pointValues, pointIndices, keptValues, keptIndices);
}

std::int32_t TurningPoints(const double* values, std::int32_t n, double* pointValues, std::int32_t* pointIndices,
                           double* keptValues, std::int32_t* keptIndices) noexcept
{
    return TurningPoints(WidestTurningWidth(), values, n, pointValues, pointIndices, keptValues, keptIndices);
}
