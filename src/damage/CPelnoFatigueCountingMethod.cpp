#include "damage/CPelnoFatigueCountingMethod.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

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

// A value under this bound is below the level by more than the tolerance however the sums of
// the three-way test round: it is taken without the test. Levels beyond 1e10 MPa, where the
// rounding would no longer be small beside the tolerance, have no such bound.
double SurelyBelow(double level) noexcept
{
    return std::fabs(level) <= 1e10 ? level - 0.02 : -std::numeric_limits<double>::infinity();
}

// One stretch of a search for the other extreme: the indices from first to last (Step -1:
// downwards, +1: upwards), each given the three-way test. taken: the index taken last.
// Returns true when the search stops in the stretch.
template <int Step>
bool SearchStretch(const double* values, std::int32_t first, std::int32_t last, double level, double below,
                   std::int32_t& taken) noexcept
{
    const auto past = [last](std::int32_t j) { return Step < 0 ? j < last : j > last; };
    std::int32_t j = first;
    for (;;) {
        // A run of values surely below the level: each would be taken, so the last one is.
        std::int32_t k = j;
        while (!past(k) && values[k] < below) {
            k += Step;
        }
        if (k != j) {
            taken = k - Step;
        }
        j = k;
        if (past(j)) {
            return false;
        }
        switch (CompareToLevel(level, values[j])) {
        case LevelTest::Reached:
            taken = j;
            return true;
        case LevelTest::Below:
            taken = j;
            break;
        case LevelTest::Above:
            return true;
        case LevelTest::Between:
            break;
        }
        j += Step;
    }
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

void CPelnoFatigueCountingMethod::CountByIndex(const IndexedHistory&, IndexedCycles&, bool) const
{
    static const MethodLogName log("CPelnoFatigueCountingMethod::CountByIndex");
    log.Raise(10);
}

void CPelnoFatigueCountingMethod::CycleEnds(std::int32_t n, const std::int32_t* instants,
                                            const double* values, std::int32_t peak, double range,
                                            std::int32_t& start, std::int32_t& end)
{
    std::int32_t p = 0;
    while (p < n && instants[p] != peak) {
        ++p;
    }
    std::int32_t s = 0;
    std::int32_t e = 0;
    CycleEndsAt(n, values, p < n ? p : -1, range, s, e);
    start = instants[s];
    end = instants[e];
}

void CPelnoFatigueCountingMethod::CycleEndsAt(std::int32_t n, const double* values, std::int32_t p,
                                              double range, std::int32_t& start, std::int32_t& end)
{
    static const MethodLogName log("CPelnoFatigueCountingMethod::CycleEnds");
    if (!(range >= 0.01) || p < 0) {
        log.Raise(210);
    }
    const double level = values[p] + range;
    const double below = SurelyBelow(level);

    // Backwards round the periodic history for the other extreme (n visits: p-1 down to 0,
    // then n-1 down to p), then back over a run of equal values without crossing the
    // beginning of the history.
    std::int32_t s = p;
    if (!SearchStretch<-1>(values, p - 1, 0, level, below, s)) {
        SearchStretch<-1>(values, n - 1, p, level, below, s);
    }
    while (s > 0 && std::fabs(values[s - 1] - values[s]) < 0.01) {
        --s;
    }
    start = s;

    // Forwards likewise (p+1 up to n-1, then 0 up to p), then over a run of equal values up to
    // the end of the history.
    std::int32_t e = p;
    if (!SearchStretch<+1>(values, p + 1, n - 1, level, below, e)) {
        SearchStretch<+1>(values, 0, p, level, below, e);
    }
    while (e < n - 1 && std::fabs(values[e + 1] - values[e]) < 0.01) {
        ++e;
    }
    end = e;
}

void CPelnoFatigueCountingMethod::LocateEnds(const IndexedHistory& history, IndexedCycles& cycles,
                                             std::size_t cycle)
{
    CycleEndsAt(history.n, history.values, cycles.peaks[cycle], cycles.ranges[cycle], cycles.starts[cycle],
                cycles.ends[cycle]);
}

IndexedHistory CPelnoFatigueCountingMethod::Indexed(std::int32_t n, const std::int32_t* instants,
                                                    const double* values, LoadingScratch& scratch)
{
    scratch.index.Build(n, instants);
    scratch.firstIndex.resize(static_cast<std::size_t>(n));
    for (std::int32_t k = 0; k < n; ++k) {
        scratch.firstIndex[static_cast<std::size_t>(k)] = scratch.index.First(instants[k]);
    }
    IndexedHistory history;
    history.n = n;
    history.values = values;
    history.firstIndex = scratch.firstIndex.data();
    return history;
}

void CPelnoFatigueCountingMethod::Insert(const IndexedCycles& cycles, const std::int32_t* instants,
                                         CyclesByInstants& byInstants, CyclesByRange& byRange)
{
    for (std::size_t k = 0; k < cycles.count; ++k) {
        LoadingCycle cycle;
        cycle.Peak = instants[cycles.peaks[k]];
        cycle.Start = instants[cycles.starts[k]];
        cycle.End = instants[cycles.ends[k]];
        cycle.Range = cycles.ranges[k];
        byInstants.insert(cycle);
        byRange.insert(cycle);
    }
}
