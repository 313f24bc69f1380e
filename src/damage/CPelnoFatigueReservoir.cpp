#include "damage/CPelnoFatigueReservoir.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "app/Guarded.h"
#include "app/MethodLogName.h"

std::unique_ptr<CPelnoFatigueCountingMethod> CPelnoFatigueReservoir::Clone() const
{
    return std::make_unique<CPelnoFatigueReservoir>();
}

void CPelnoFatigueReservoir::LoadingCycles(std::int32_t n, const std::int32_t* instants,
                                           const double* values, CyclesByInstants& byInstants,
                                           CyclesByRange& byRange) const
{
    static const MethodLogName log("CPelnoFatigueReservoir::LoadingCycles");
    Guarded(log, [&] {
        if (n < 3) {
            log.Raise(220);
        }
        if (std::fabs(values[0] - values[n - 1]) > 0.01) {
            log.Raise(460);
        }
        const std::size_t size = static_cast<std::size_t>(n) + 1;
        instants_.resize(size);
        values_.resize(size);
        rotatedInstants_.resize(size);
        rotatedValues_.resize(size);
        byInstants.clear();
        byRange.clear();

        // Turning points, 1-based, in one pass: a point within 0.01 of the one before is
        // dropped (the later of the two); a point on a monotonic run replaces the one before
        // it. The first point always stays.
        std::int32_t* t = instants_.data();
        double* v = values_.data();
        std::int32_t m = 1;
        t[1] = instants[0];
        v[1] = values[0];
        for (std::int32_t i = 1; i < n; ++i) {
            const double value = values[i];
            if (std::fabs(value - v[m]) < 0.01) {
                continue;
            }
            if (m >= 2 && (v[m] - v[m - 1]) * (value - v[m]) > 0.0) {
                t[m] = instants[i];
                v[m] = value;
                continue;
            }
            ++m;
            t[m] = instants[i];
            v[m] = value;
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
        for (std::int32_t j = 2; j <= m; ++j) {
            if (v[j] > v[q]) {
                q = j;
            }
        }
        if (q > 1) {
            std::int32_t* rt = rotatedInstants_.data();
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
            instants_.swap(rotatedInstants_);
            values_.swap(rotatedValues_);
            t = instants_.data();
            v = values_.data();
        }

        // Peaks at odd positions, valleys at even ones; valleys from the highest down, those
        // of equal value in their order along the sequence.
        valleys_.clear();
        for (std::int32_t p = 2; p <= m - 1; p += 2) {
            valleys_.push_back(Valley{p, v[p], 0.0});
        }
        std::sort(valleys_.begin(), valleys_.end(), [](const Valley& a, const Valley& b) {
            return a.value > b.value || (a.value == b.value && a.position < b.position);
        });

        // Drain: each valley pairs with the lower of its nearest unused peaks (the left one on
        // a tie), which is used up with it.
        used_.assign(static_cast<std::size_t>(m) + 1, 0);
        char* used = used_.data();
        for (Valley& valley : valleys_) {
            const std::int32_t p = valley.position;
            std::int32_t left = p - 1;
            while (left >= 1 && used[left] != 0) {
                left -= 2;
            }
            std::int32_t right = p + 1;
            while (right <= m && used[right] != 0) {
                right += 2;
            }
            if (left < 1 || right > m) {
                log.Raise(210);
            }
            if (v[right] < v[left]) {
                valley.range = v[right] - v[p];
                used[right] = 1;
            } else {
                valley.range = v[left] - v[p];
                used[left] = 1;
            }
            used[p] = 1;
        }

        index_.Build(n, instants);
        // Record from the lowest valley up: the cycle is kept when the level valley + range is
        // met exactly on one side before any point above it.
        for (std::size_t index = valleys_.size(); index-- > 0;) {
            const Valley& valley = valleys_[index];
            const std::int32_t p = valley.position;
            const double range = valley.range;
            bool found = false;
            for (std::int32_t j = p - 1; j >= 1; --j) {
                const double rise = v[j] - v[p];
                if (rise > range) {
                    break;
                }
                if (rise == range) {
                    found = true;
                    break;
                }
            }
            for (std::int32_t j = p + 1; !found && j <= m; ++j) {
                const double rise = v[j] - v[p];
                if (rise > range) {
                    break;
                }
                if (rise == range) {
                    found = true;
                }
            }
            if (found) {
                Record(n, instants, values, index_, t[p], range, byInstants, byRange);
            }
        }
    });
}
