#include "damage/CPelnoFatigueReservoir.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "app/Guarded.h"
#include "app/MethodLogName.h"
#include "damage/TurningPoints.h"

namespace {

const MethodLogName& Log()
{
    static const MethodLogName log("CPelnoFatigueReservoir::LoadingCycles");
    return log;
}

// 220 below 3 records, 460 when the history does not close on its first value.
void CheckHistory(std::int32_t n, const double* values)
{
    if (n < 3) {
        Log().Raise(220);
    }
    if (std::fabs(values[0] - values[n - 1]) > 0.01) {
        Log().Raise(460);
    }
}

// From the point at, the first point not above rise + base going outwards (Step -1: down to
// position 1, +1: up to position last) that rises exactly by range from base: true when it is
// met before any point that rises more.
template <int Step>
bool MeetsLevel(const double* v, std::int32_t at, std::int32_t last, double base, double range) noexcept
{
    const auto past = [last](std::int32_t j) { return Step < 0 ? j < last : j > last; };
    std::int32_t j = at;
    for (;;) {
        while (!past(j) && v[j] - base < range) {
            j += Step;
        }
        if (past(j)) {
            return false;
        }
        const double rise = v[j] - base;
        if (rise > range) {
            return false;
        }
        if (rise == range) {
            return true;
        }
        j += Step;
    }
}

// The turning points in one pass along the history, 1-based into t and v, their number
// returned: a point within 0.01 of the one before is dropped (the later of the two); a point on a
// monotonic run replaces the one before it. The first point always stays.
std::int32_t PassTurningPoints(const double* values, std::int32_t n, double* v, std::int32_t* t) noexcept
{
    std::int32_t m = 1;
    t[1] = 0;
    v[1] = values[0];
    for (std::int32_t i = 1; i < n; ++i) {
        const double value = values[i];
        if (std::fabs(value - v[m]) < 0.01) {
            continue;
        }
        if (m >= 2 && (v[m] - v[m - 1]) * (value - v[m]) > 0.0) {
            t[m] = i;
            v[m] = value;
            continue;
        }
        ++m;
        t[m] = i;
        v[m] = value;
    }
    return m;
}

} // namespace

std::unique_ptr<CPelnoFatigueCountingMethod> CPelnoFatigueReservoir::Clone() const
{
    return std::make_unique<CPelnoFatigueReservoir>();
}

void CPelnoFatigueReservoir::LoadingCycles(std::int32_t n, const std::int32_t* instants,
                                           const double* values, CyclesByInstants& byInstants,
                                           CyclesByRange& byRange) const
{
    Guarded(Log(), [&] {
        CheckHistory(n, values);
        CountIntoCollections(n, instants, values, byInstants, byRange, loading_,
                             [this](const IndexedHistory& history, IndexedCycles& cycles) {
                                 Count(history, true, cycles);
                             });
    });
}

void CPelnoFatigueReservoir::CountByIndex(const IndexedHistory& history, IndexedCycles& cycles,
                                           bool locateEnds) const
{
    Guarded(Log(), [&] {
        CheckHistory(history.n, history.values);
        cycles.count = 0;
        cycles.Reserve(static_cast<std::size_t>(history.n) + 2);  // as many as a count gives
        Count(history, locateEnds, cycles);
    });
}

void CPelnoFatigueReservoir::Count(const IndexedHistory& history, bool locateEnds,
                                  IndexedCycles& cycles) const
{
    const std::int32_t n = history.n;
    const double* values = history.values;
    const std::size_t size = static_cast<std::size_t>(n) + 2;
    indices_.resize(size);
    values_.resize(size);
    rotatedIndices_.resize(size);
    rotatedValues_.resize(size);

    // Turning points, 1-based, several records at a time where no record is within 0.01 of
    // the one before without being equal to it; otherwise in one pass.
    std::int32_t* t = indices_.data();
    double* v = values_.data();
    std::int32_t m = StepTurningPoints(values, n, v + 1, t + 1, rotatedValues_.data(), rotatedIndices_.data());
    if (m < 0) {
        m = PassTurningPoints(values, n, v, t);
    }
    if (m < 3) {
        return;
    }

    // The sequence alternates, so the junction of the period (point 1, repeated as point
    // m) turns exactly when m is odd. When it lies on a monotonic run it is dropped: the
    // period becomes points 2..m-1, closed by point 2 again.
    if (m % 2 == 0) {
        for (std::int32_t j = 1; j <= m - 2; ++j) {
            t[j] = t[j + 1];
            v[j] = v[j + 1];
        }
        t[m - 1] = t[1];
        v[m - 1] = v[1];
        --m;
    }

    // Start the period at its maximum (first one on ties): points q..m, then 2..q.
    std::int32_t q = 1;
    double highest = v[1];  // v[q], held apart so that each test does not wait on a load
    for (std::int32_t j = 2; j <= m; ++j) {
        const double value = v[j];
        if (value > highest) {
            highest = value;
            q = j;
        }
    }
    if (q > 1) {
        std::int32_t* rt = rotatedIndices_.data();
        double* rv = rotatedValues_.data();
        std::int32_t position = 0;
        for (std::int32_t j = q; j <= m; ++j) {
            ++position;
            rt[position] = t[j];
            rv[position] = v[j];
        }
        for (std::int32_t j = 2; j <= q; ++j) {
            ++position;
            rt[position] = t[j];
            rv[position] = v[j];
        }
        indices_.swap(rotatedIndices_);
        values_.swap(rotatedValues_);
        t = indices_.data();
        v = values_.data();
    }

    // Drain: each valley, from the highest down (the first of equal ones first), pairs with the
    // lower of its nearest peaks not yet drained (the left one on a tie), which is drained with
    // it. The same pairs come from one pass along the sequence with a stack of the points not
    // yet drained, which stays a funnel of peaks going down and valleys going up:
    //  - a valley between two peaks pairs with the left one as soon as the right one is not
    //    lower (whatever is drained before it on the right only raises its right neighbour);
    //  - a valley before a peak and a valley not higher pairs with that peak (it is drained
    //    first, and the peak on its left is higher, or it would have paired with it).
    // The funnel left at the end drains each valley with the peak on its right.
    // The last three points of the stack stay in registers with their values (points 1 below
    // the stack's first slots, read and never used).
    ranges_.resize(size);
    double* range = ranges_.data();
    stack_.resize(size + 2);
    std::int32_t* stack = stack_.data() + 2;
    stack[-2] = 1;
    stack[-1] = 1;
    std::int32_t height = 0;
    std::int32_t x = 1;
    std::int32_t y = 1;
    std::int32_t z = 1;
    double vx = v[1];
    double vy = v[1];
    double vz = v[1];
    for (std::int32_t position = 1; position <= m; ++position) {
        stack[height++] = position;
        x = y;
        vx = vy;
        y = z;
        vy = vz;
        z = position;
        vz = v[position];
        while (height >= 3) {
            // A valley y between peaks x and z pairs with x unless z is lower; a peak y between
            // valleys x and z pairs with x when x is not lower than z. Both tested, one taken.
            const bool valley = y % 2 == 0;
            const bool leftPeak = !(vz < vx);
            const bool rightValley = vx >= vz;
            if (!((valley & leftPeak) | (!valley & rightValley))) break;
            const double valleyDrop = vx - vy;
            const double peakRise = vy - vx;
            range[valley ? y : x] = valley ? valleyDrop : peakRise;
            stack[height - 3] = z;
            height -= 2;
            x = stack[height - 3];
            y = stack[height - 2];
            vx = v[x];
            vy = v[y];
        }
    }
    for (std::int32_t k = 1; k + 1 < height; k += 2) {
        range[stack[k]] = v[stack[k + 1]] - v[stack[k]];
    }

    // Record from the lowest valley up (valleys of equal value from the last along the
    // sequence): the cycle is kept when the level valley + range is met exactly on one side
    // before any point above it. Where the order of the cycles does not matter (every valley
    // is a point of its own), along the sequence.
    const auto record = [&](std::int32_t p) {
        if (MeetsLevel<-1>(v, p - 1, 1, v[p], range[p]) || MeetsLevel<+1>(v, p + 1, m, v[p], range[p])) {
            Record(history, history.firstIndex[t[p]], range[p], locateEnds, cycles);
        }
    };
    if (!locateEnds) {
        // Between two points next to each other in the stack, every point drained lies within
        // their two values (drains only join a valley to a lower one, a peak to a higher one),
        // so the scan from a valley towards the peak it was paired with meets the level there
        // or at a point of the same value first, and the valley is kept. Only points that are
        // not numbers (where comparisons do not order) need the scans.
        bool ordered = true;
        for (std::int32_t j = 1; j <= m; ++j) ordered &= std::isfinite(v[j]);
        if (!ordered) {
            for (std::int32_t p = 2; p <= m - 1; p += 2) record(p);
            return;
        }
        // Room made at once for every valley; each written into the next free row, kept when
        // its range is 0.01 at least.
        cycles.Reserve(cycles.count + static_cast<std::size_t>(m / 2) + 1);
        std::int32_t* const peaks = cycles.peaks.data();
        double* const ranges = cycles.ranges.data();
        const std::int32_t* const firstIndex = history.firstIndex;
        std::size_t kept = cycles.count;
        for (std::int32_t p = 2; p <= m - 1; p += 2) {
            peaks[kept] = firstIndex[t[p]];
            ranges[kept] = range[p];
            kept += range[p] >= 0.01 ? 1 : 0;
        }
        cycles.count = kept;
        return;
    }
    valleys_.clear();
    for (std::int32_t p = 2; p <= m - 1; p += 2) {
        valleys_.push_back(Valley{p, v[p]});
    }
    std::sort(valleys_.begin(), valleys_.end(), [](const Valley& a, const Valley& b) {
        return a.value > b.value || (a.value == b.value && a.position < b.position);
    });
    for (std::size_t index = valleys_.size(); index-- > 0;) record(valleys_[index].position);
}
