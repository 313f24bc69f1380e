#include "damage/CPelnoFatigueRainFlow.h"

#include <cmath>
#include <cstddef>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/Guarded.h"
#include "app/MethodLogName.h"
#include "damage/TurningPoints.h"

namespace {

const MethodLogName& Log()
{
    static const MethodLogName log("CPelnoFatigueRainFlow::LoadingCycles");
    return log;
}

// Of the window of four points a b c d, whether |b - a| + 0.01 or |d - c| + 0.01 is below the
// range |c - b|: both are compared in any case, for one branch taken or not at random.
inline bool OuterRangeSmaller(const double* window, double range) noexcept
{
#if defined(__SSE2__)
    // Loaded one by one: a point just pushed is read back from the store without waiting.
    const __m128d ac = _mm_set_pd(window[2], window[0]);
    const __m128d bd = _mm_set_pd(window[3], window[1]);
    const __m128d outer = _mm_sub_pd(bd, ac);  // b - a, d - c
    const __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), outer);
    const __m128d slack = _mm_add_pd(magnitude, _mm_set1_pd(0.01));
    return _mm_movemask_pd(_mm_cmplt_pd(slack, _mm_set1_pd(range))) != 0;
#else
    return std::fabs(window[1] - window[0]) + 0.01 < range || std::fabs(window[3] - window[2]) + 0.01 < range;
#endif
}

} // namespace

std::unique_ptr<CPelnoFatigueCountingMethod> CPelnoFatigueRainFlow::Clone() const
{
    return std::make_unique<CPelnoFatigueRainFlow>();
}

void CPelnoFatigueRainFlow::LoadingCycles(std::int32_t n, const std::int32_t* instants,
                                          const double* values, CyclesByInstants& byInstants,
                                          CyclesByRange& byRange) const
{
    const MethodLogName& log = Log();
    Guarded(log, [&] {
        if (n < 3) {
            log.Raise(220);
        }
        CountIntoCollections(n, instants, values, byInstants, byRange, loading_,
                             [this](const IndexedHistory& history, IndexedCycles& cycles) {
                                 Count(history, true, cycles);
                             });
    });
}

void CPelnoFatigueRainFlow::CountByIndex(const IndexedHistory& history, IndexedCycles& cycles,
                                           bool locateEnds) const
{
    const MethodLogName& log = Log();
    Guarded(log, [&] {
        if (history.n < 3) {
            log.Raise(220);
        }
        cycles.count = 0;
        cycles.Reserve(static_cast<std::size_t>(history.n) + 2);  // as many as a count gives
        Count(history, locateEnds, cycles);
    });
}

std::int32_t CPelnoFatigueRainFlow::FourPointPass(const double* pointValues, const std::int32_t* pointIndices,
                                                  std::int32_t count, const IndexedHistory& history,
                                                  bool locateEnds, IndexedCycles& cycles) const
{
    // The points not yet paired off, as a stack: each new point is pushed, then the window of
    // the last four is tested again and again. Its two inner points close a cycle unless one of
    // the outer ranges is smaller than the inner one by more than 0.01; the cycle's points go
    // and the window moves back onto the new junction.
    if (!locateEnds) {
        return FourPointPassUnlocated(pointValues, pointIndices, count, history, cycles);
    }
    double* v = stackValues_.data() + kStackBelow;
    std::int32_t* at = stackIndices_.data();
    std::int32_t size = 0;
    for (std::int32_t q = 0; q < count; ++q) {
        v[size] = pointValues[q];
        at[size] = pointIndices[q];
        ++size;
        while (size >= 4) {
            const double range = std::fabs(v[size - 2] - v[size - 3]);
            if (OuterRangeSmaller(v + size - 4, range)) {
                break;
            }
            // The peak of the cycle is the lower of its two points (chosen without a branch).
            const std::int32_t peak = at[size - 3 + (v[size - 3] <= v[size - 2] ? 0 : 1)];
            Record(history, history.firstIndex[peak], range, locateEnds, cycles);
            v[size - 3] = v[size - 1];
            at[size - 3] = at[size - 1];
            size -= 2;
        }
    }
    return size;
}

std::int32_t CPelnoFatigueRainFlow::FourPointPassUnlocated(const double* pointValues,
                                                           const std::int32_t* pointIndices, std::int32_t count,
                                                           const IndexedHistory& history,
                                                           IndexedCycles& cycles) const
{
    // The pass of the searches, where it is most of the time: room made at once for every
    // cycle the points can give (half of them), the arrays held in locals, and each cycle
    // written into the next free row, which is kept when the range is 0.01 at least. The new
    // point and the three points on top of the stack stay in registers while the window is
    // tested (the point goes onto the stack once no cycle closes in front of it), so that a
    // window after a push is tested without reading the stack back.
    cycles.Reserve(cycles.count + static_cast<std::size_t>(count) / 2 + 1);
    double* const v = stackValues_.data() + kStackBelow;
    std::int32_t* const at = stackIndices_.data();
    std::int32_t* const peaks = cycles.peaks.data();
    double* const ranges = cycles.ranges.data();
    const std::int32_t* const firstIndex = history.firstIndex;
    std::size_t kept = cycles.count;
    std::int32_t size = 0;  // points on the stack
    // The last three of them, v[size - 3], v[size - 2], v[size - 1], where there are as many.
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
    // Once the three points at the bottom of the stack have an inner range not above the outer
    // one by more than 0.01, every window of the pass has: a window stays open only for its
    // right-hand range, smaller than its inner one by more than 0.01, and that inner range is
    // then the outer one of the next window, above its inner range. Then only the right-hand
    // range is tested, until a bottom that is not such; the rest of the pass tests both.
    std::int32_t q = 0;
    const auto pass = [&](auto leftHolds) {
        for (; q < count; ++q) {
            const double d = pointValues[q];
            while (size >= 3) {
                const double range = std::fabs(c - b);
                if constexpr (decltype(leftHolds)::value) {
                    if (std::fabs(d - c) + 0.01 < range) break;
                } else {
                    const double window[4] = {a, b, c, d};
                    if (OuterRangeSmaller(window, range)) break;
                }
                // The peak of the cycle is the lower of its two points (chosen without a branch).
                peaks[kept] = firstIndex[at[size - 2 + (b <= c ? 0 : 1)]];
                ranges[kept] = range;
                kept += range >= 0.01 ? 1 : 0;
                size -= 2;
                c = a;
                a = v[size - 3];
                b = v[size - 2];
            }
            if constexpr (decltype(leftHolds)::value) {
                if (size == 2 && std::fabs(c - b) + 0.01 < std::fabs(d - c)) return;  // the new bottom b c d
            }
            v[size] = d;
            at[size] = pointIndices[q];
            ++size;
            a = b;
            b = c;
            c = d;
        }
    };
    pass(std::true_type{});
    pass(std::false_type{});
    cycles.count = kept;
    return size;
}

void CPelnoFatigueRainFlow::Count(const IndexedHistory& history, bool locateEnds,
                                  IndexedCycles& cycles) const
{
    const MethodLogName& log = Log();
    const std::int32_t n = history.n;
    const double* values = history.values;

    // The turning points, 0-based.
    const std::size_t size = static_cast<std::size_t>(n);
    if (stackValues_.size() < 2 * size + 2 + kStackBelow) {
        stackValues_.resize(2 * size + 2 + kStackBelow);
        stackIndices_.resize(2 * size + 2);
    }
    if (pointValues_.size() < size) {
        pointIndices_.resize(size);
        pointValues_.resize(size);
        keptIndices_.resize(size);
        keptValues_.resize(size);
    }
    std::int32_t* pointIndices = pointIndices_.data();
    double* pointValues = pointValues_.data();
    const std::int32_t k =
        TurningPoints(values, n, pointValues, pointIndices, keptValues_.data(), keptIndices_.data());
    if (k < 3) {
        return;
    }

    const std::int32_t r = FourPointPass(pointValues, pointIndices, k, history, locateEnds, cycles);

    // The residue, r points, counted twice in a row; how the two copies join depends on the
    // slopes at its ends and across the wrap.
    const double* rv = stackValues_.data() + kStackBelow;
    const std::int32_t* ri = stackIndices_.data();
    const double first = rv[1] - rv[0];
    const double lastSlope = rv[r - 1] - rv[r - 2];
    const double wrap = rv[0] - rv[r - 1];
    const double ends = first * lastSlope;
    if (ends == 0.0) {
        log.Raise(210);
    }
    if (residueValues_.size() < 2 * static_cast<std::size_t>(r) + 1) {
        residueIndices_.resize(2 * static_cast<std::size_t>(r) + 1);
        residueValues_.resize(2 * static_cast<std::size_t>(r) + 1);
    }
    std::int32_t* di = residueIndices_.data();
    double* dv = residueValues_.data();
    std::int32_t length = 0;
    // Residue points from..to, counted from 1.
    const auto append = [&](std::int32_t from, std::int32_t to) {
        for (std::int32_t j = from; j <= to; ++j) {
            di[length] = ri[j - 1];
            dv[length] = rv[j - 1];
            ++length;
        }
    };
    if (ends > 0.0) {
        if (lastSlope * wrap < 0.0) {
            append(1, r);
            append(1, r);
        } else {
            append(1, r - 1);
            append(2, r);
        }
    } else if (lastSlope * wrap >= 0.0) {
        append(1, r);
        append(2, r);
    } else {
        append(1, r - 1);
        append(1, r - 1);
        append(1, 1);
    }

    if (FourPointPass(dv, di, length, history, locateEnds, cycles) != r) {
        log.Raise(210);
    }
}
