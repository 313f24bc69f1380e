#include "damage/CPelnoFatigueRainFlow.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "app/Guarded.h"
#include "app/MethodLogName.h"

std::unique_ptr<CPelnoFatigueCountingMethod> CPelnoFatigueRainFlow::Clone() const
{
    return std::make_unique<CPelnoFatigueRainFlow>();
}

void CPelnoFatigueRainFlow::FourPointPass(std::int32_t* pointInstants, double* pointValues,
                                          std::int32_t& s, std::int32_t k, std::int32_t n,
                                          const std::int32_t* instants, const double* values,
                                          const InstantIndex& index, CyclesByInstants& byInstants,
                                          CyclesByRange& byRange)
{
    std::int32_t i = s;
    while (i + 3 <= k) {
        const double* v = pointValues;
        const double range = std::fabs(v[i + 2] - v[i + 1]);
        if (std::fabs(v[i + 1] - v[i]) + 0.01 < range || std::fabs(v[i + 3] - v[i + 2]) + 0.01 < range) {
            ++i;
            continue;
        }
        // Points i+1 and i+2 close a cycle; its peak is the lower of the two.
        const std::int32_t peak = v[i + 1] <= v[i + 2] ? pointInstants[i + 1] : pointInstants[i + 2];
        Record(n, instants, values, index, peak, range, byInstants, byRange);
        for (std::int32_t j = i; j >= s; --j) {
            pointInstants[j + 2] = pointInstants[j];
            pointValues[j + 2] = pointValues[j];
        }
        // Every window that lay wholly before the removed pair was already found open, and it
        // is unchanged: the scan goes on from the first window that holds the new junction,
        // which finds the same cycles, in the same order, as a scan from s.
        const std::int32_t resume = i;
        s += 2;
        i = std::max(s, resume);
    }
}

void CPelnoFatigueRainFlow::LoadingCycles(std::int32_t n, const std::int32_t* instants,
                                          const double* values, CyclesByInstants& byInstants,
                                          CyclesByRange& byRange) const
{
    static const MethodLogName log("CPelnoFatigueRainFlow::LoadingCycles");
    Guarded(log, [&] {
        if (n < 3) {
            log.Raise(220);
        }
        byInstants.clear();
        byRange.clear();

        // Flats: of two neighbours within 0.01 the earlier goes, the later record stays.
        const std::size_t size = static_cast<std::size_t>(n);
        mergedInstants_.resize(size);
        mergedValues_.resize(size);
        std::int32_t count = 1;
        mergedInstants_[0] = instants[0];
        mergedValues_[0] = values[0];
        for (std::int32_t i = 1; i < n; ++i) {
            if (std::fabs(values[i] - mergedValues_[count - 1]) > 0.01) {
                ++count;
            }
            mergedInstants_[count - 1] = instants[i];
            mergedValues_[count - 1] = values[i];
        }
        if (count < 3) {
            return;
        }

        // Turning points, 1-based: the first point, every inner point where the slope changes
        // sign, the last point.
        pointInstants_.resize(2 * static_cast<std::size_t>(count) + 2);
        pointValues_.resize(2 * static_cast<std::size_t>(count) + 2);
        std::int32_t* pointInstants = pointInstants_.data();
        double* pointValues = pointValues_.data();
        const double* merged = mergedValues_.data();
        std::int32_t k = 1;
        pointInstants[1] = mergedInstants_[0];
        pointValues[1] = merged[0];
        for (std::int32_t j = 1; j < count - 1; ++j) {
            if ((merged[j] - merged[j - 1]) * (merged[j + 1] - merged[j]) < 0.0) {
                ++k;
                pointInstants[k] = mergedInstants_[j];
                pointValues[k] = merged[j];
            }
        }
        ++k;
        pointInstants[k] = mergedInstants_[count - 1];
        pointValues[k] = merged[count - 1];
        if (k < 3) {
            return;
        }

        std::int32_t s = 1;
        index_.Build(n, instants);
        FourPointPass(pointInstants, pointValues, s, k, n, instants, values, index_, byInstants, byRange);

        // The residue, points s..k, counted twice in a row; how the two copies join depends on
        // the slopes at its ends and across the wrap.
        const std::int32_t r = k - s + 1;
        const std::int32_t* ri = pointInstants + s - 1; // 1-based view of the residue
        const double* rv = pointValues + s - 1;
        const double first = rv[2] - rv[1];
        const double last = rv[r] - rv[r - 1];
        const double wrap = rv[1] - rv[r];
        const double ends = first * last;
        if (ends == 0.0) {
            log.Raise(210);
        }
        residueInstants_.resize(2 * static_cast<std::size_t>(r) + 1);
        residueValues_.resize(2 * static_cast<std::size_t>(r) + 1);
        std::int32_t* di = residueInstants_.data();
        double* dv = residueValues_.data();
        std::int32_t length = 0;
        const auto append = [&](std::int32_t from, std::int32_t to) {
            for (std::int32_t j = from; j <= to; ++j) {
                ++length;
                di[length] = ri[j];
                dv[length] = rv[j];
            }
        };
        if (ends > 0.0) {
            if (last * wrap < 0.0) {
                append(1, r);
                append(1, r);
            } else {
                append(1, r - 1);
                append(2, r);
            }
        } else if (last * wrap >= 0.0) {
            append(1, r);
            append(2, r);
        } else {
            append(1, r - 1);
            append(1, r - 1);
            append(1, 1);
        }

        std::int32_t second = 1;
        FourPointPass(di, dv, second, length, n, instants, values, index_, byInstants, byRange);
        if (length - second + 1 != r) {
            log.Raise(210);
        }
    });
}
