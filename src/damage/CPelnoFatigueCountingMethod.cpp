#include "damage/CPelnoFatigueCountingMethod.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "app/Guarded.h"
#include "app/MethodLogName.h"

namespace {

// The three-way test of the searches for the other extreme at level L: the value is at the
// level (take it and stop), below it (take it and go on), or above it (stop). Values exactly
// 0.01 away from the level are passed over.
enum class LevelTest { Reached, Below, Above, Between };

LevelTest CompareToLevel(double level, double value) noexcept
{
    if (std::fabs(level - value) < 0.01) {
        return LevelTest::Reached;
    }
    if (value + 0.01 < level) {
        return LevelTest::Below;
    }
    if (value > level + 0.01) {
        return LevelTest::Above;
    }
    return LevelTest::Between;
}

} // namespace

void CPelnoFatigueCountingMethod::InstantIndex::Build(std::int32_t n, const std::int32_t* instants)
{
    n_ = n;
    instants_ = instants;
    direct_ = false;
    if (n <= 0) {
        return;
    }
    std::int64_t lowest = instants[0];
    std::int64_t highest = instants[0];
    for (std::int32_t k = 1; k < n; ++k) {
        lowest = std::min<std::int64_t>(lowest, instants[k]);
        highest = std::max<std::int64_t>(highest, instants[k]);
    }
    if (highest - lowest >= 4 * static_cast<std::int64_t>(n) + 64) {
        return;
    }
    lowest_ = lowest;
    direct_ = true;
    first_.assign(static_cast<std::size_t>(highest - lowest + 1), -1);
    for (std::int32_t k = n - 1; k >= 0; --k) {
        first_[static_cast<std::size_t>(instants[k] - lowest)] = k;
    }
}

std::int32_t CPelnoFatigueCountingMethod::InstantIndex::First(std::int32_t instant) const noexcept
{
    if (direct_) {
        const std::int64_t slot = instant - lowest_;
        if (slot < 0 || slot >= static_cast<std::int64_t>(first_.size())) {
            return -1;
        }
        return first_[static_cast<std::size_t>(slot)];
    }
    for (std::int32_t k = 0; k < n_; ++k) {
        if (instants_[k] == instant) {
            return k;
        }
    }
    return -1;
}

void CPelnoFatigueCountingMethod::CycleEnds(std::int32_t n, const std::int32_t* instants,
                                            const double* values, std::int32_t peak, double range,
                                            std::int32_t& start, std::int32_t& end)
{
    std::int32_t p = 0;
    while (p < n && instants[p] != peak) {
        ++p;
    }
    CycleEndsAt(n, instants, values, p < n ? p : -1, range, start, end);
}

void CPelnoFatigueCountingMethod::CycleEndsAt(std::int32_t n, const std::int32_t* instants,
                                              const double* values, std::int32_t p, double range,
                                              std::int32_t& start, std::int32_t& end)
{
    static const MethodLogName log("CPelnoFatigueCountingMethod::CycleEnds");
    Guarded(log, [&] {
        if (!(range >= 0.01) || p < 0) {
            log.Raise(210);
        }
        const double level = values[p] + range;
        // Backwards round the periodic history for the other extreme, then back over a run of
        // equal values without crossing the beginning of the history.
        std::int32_t s = p;
        std::int32_t j = p;
        for (std::int32_t visit = 0; visit < n; ++visit) {
            j = (j == 0) ? n - 1 : j - 1;
            const LevelTest test = CompareToLevel(level, values[j]);
            if (test == LevelTest::Reached) {
                s = j;
                break;
            }
            if (test == LevelTest::Below) {
                s = j;
            } else if (test == LevelTest::Above) {
                break;
            }
        }
        while (s > 0 && std::fabs(values[s - 1] - values[s]) < 0.01) {
            --s;
        }
        start = instants[s];

        // Forwards likewise, then over a run of equal values up to the end of the history.
        std::int32_t e = p;
        j = p;
        for (std::int32_t visit = 0; visit < n; ++visit) {
            j = (j == n - 1) ? 0 : j + 1;
            const LevelTest test = CompareToLevel(level, values[j]);
            if (test == LevelTest::Reached) {
                e = j;
                break;
            }
            if (test == LevelTest::Below) {
                e = j;
            } else if (test == LevelTest::Above) {
                break;
            }
        }
        while (e < n - 1 && std::fabs(values[e + 1] - values[e]) < 0.01) {
            ++e;
        }
        end = instants[e];
    });
}

void CPelnoFatigueCountingMethod::Record(std::int32_t n, const std::int32_t* instants,
                                         const double* values, const InstantIndex& index,
                                         std::int32_t peak, double range, CyclesByInstants& byInstants,
                                         CyclesByRange& byRange)
{
    // A cycle narrower than the tolerance (input rounded to 0.01 MPa can leave one once its
    // neighbours are paired off) is dropped from the count without being recorded.
    if (!(range >= 0.01)) {
        return;
    }
    LoadingCycle cycle;
    cycle.Peak = peak;
    cycle.Range = range;
    CycleEndsAt(n, instants, values, index.First(peak), range, cycle.Start, cycle.End);
    byInstants.insert(cycle);
    byRange.insert(cycle);
}
