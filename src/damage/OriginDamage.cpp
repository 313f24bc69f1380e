#include "damage/OriginDamage.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool StrictlyAscending(const std::vector<std::int32_t>& instants)
{
    for (std::size_t k = 1; k < instants.size(); ++k) {
        if (!(instants[k - 1] < instants[k])) return false;
    }
    return true;
}

// Whether the sum of the damages, added in any order, is certainly below beaten: the damages
// are not negative, and their sum in four parts, taken larger by 8 (count + 2) units of the last
// place (an order of summing is within (count - 1) of them of the exact sum, relatively), is
// below it.
bool CertainlyBelow(const double* damages, std::size_t count, double beaten) noexcept
{
    if (!(beaten > 0.0)) return false;
    double sums[4] = {0.0, 0.0, 0.0, 0.0};
    bool signless = true;
    std::size_t k = 0;
    for (; k + 4 <= count; k += 4) {
        for (int lane = 0; lane < 4; ++lane) {
            const double damage = damages[k + static_cast<std::size_t>(lane)];
            signless &= damage >= 0.0;
            sums[lane] += damage;
        }
    }
    for (; k < count; ++k) {
        signless &= damages[k] >= 0.0;
        sums[0] += damages[k];
    }
    const double sum = (sums[0] + sums[1]) + (sums[2] + sums[3]);
    const double margin = 1.0 + 8.0 * (static_cast<double>(count) + 2.0) * 0x1p-53;
    return signless && sum * margin < beaten;
}

}  // namespace

OriginDamage::OriginDamage(const std::vector<std::int32_t>& rowInstants, const CPelnoFatigueCountingMethod& method)
    : rowInstants_(rowInstants), method_(method), n_(static_cast<std::int32_t>(rowInstants.size()))
{
    const std::size_t n = rowInstants.size();
    byIndex_ = n > 0 && method.CountsByIndex() && StrictlyAscending(rowInstants);
    if (byIndex_) {
        firstIndex_.resize(n + 1);
        for (std::size_t k = 0; k < n; ++k) firstIndex_[k] = static_cast<std::int32_t>(k);
        firstIndex_[n] = 0;
        ranksUsed_.assign((n + 63) / 64, 0);
        ranksShared_.assign((n + 63) / 64, 0);
        bucketFirst_.resize((n + 63) / 64 * 64);  // whole words of ranks
    } else {
        seriesInstants_.resize(n + 1);
    }
}

double OriginDamage::Damage(std::int32_t origin, const double* values, double largest, double factor,
                            CycleDamagesRef damages, double beaten)
{
    return byIndex_ ? ByIndex(origin, values, largest, factor, damages, beaten)
                    : ByInstants(origin, values, largest, factor, damages);
}

double OriginDamage::ByInstants(std::int32_t origin, const double* values, double largest, double factor,
                                CycleDamagesRef damages)
{
    const std::size_t n = rowInstants_.size();
    std::size_t j = static_cast<std::size_t>(origin);
    for (std::size_t k = 0; k < n; ++k) {
        seriesInstants_[k] = rowInstants_[j];
        if (++j == n) j = 0;
    }
    seriesInstants_[n] = rowInstants_[static_cast<std::size_t>(origin)];
    method_.LoadingCycles(n_ + 1, seriesInstants_.data(), values, byInstants_, byRange_);
    const std::size_t count = byInstants_.size();
    if (ranges_.size() < count) ranges_.resize(count);
    if (inverse_.size() < count) inverse_.resize(count);
    for (std::size_t k = 0; k < count; ++k) ranges_[k] = byInstants_[k].Range;
    damages(ranges_.data(), count, largest, factor, inverse_.data());
    double damage = 0.0;
    for (std::size_t k = 0; k < count; ++k) damage += inverse_[k];
    return damage;
}

double OriginDamage::ByIndex(std::int32_t origin, const double* values, double largest, double factor,
                             CycleDamagesRef damages, double beaten)
{
    const std::int32_t n = n_;
    IndexedHistory history;
    history.n = n + 1;
    history.values = values;
    history.firstIndex = firstIndex_.data();
    // The ends of a cycle only order the cycles of one peak: they are located for those alone.
    method_.CountByIndex(history, cycles_, false);

    // Point c of the series is row (origin + c) mod n; the rows are in ascending number, so
    // that row index is also the rank of the point's instant.
    const auto rank = [origin, n](std::int32_t point) {
        const std::int32_t row = origin + point;
        return row >= n ? row - n : row;
    };
    // The damage of every cycle first, in one query. When their sum cannot reach the damage to
    // beat, whatever the order of summing, the order is not worked out.
    if (inverse_.size() < cycles_.count) inverse_.resize(cycles_.count);
    double* inverse = inverse_.data();
    damages(cycles_.ranges.data(), cycles_.count, largest, factor, inverse);
    if (CertainlyBelow(inverse, cycles_.count, beaten)) return beaten;

    // The first cycle of each rank of peak instant (-1: none), the later cycles of a rank
    // already met (few: the residue of the rainflow counted twice) aside with a bit for their
    // rank; then a bit for each rank met, read off the first cycles. (A bit set cycle by cycle
    // would chain each cycle to the last through the same word.)
    const std::int32_t count = static_cast<std::int32_t>(cycles_.count);
    const std::int32_t* peaks = cycles_.peaks.data();
    const std::int32_t* starts = cycles_.starts.data();
    const std::int32_t* ends = cycles_.ends.data();
    std::uint64_t* used = ranksUsed_.data();
    std::uint64_t* shared = ranksShared_.data();
    const std::size_t words = ranksUsed_.size();
    std::int32_t* first = bucketFirst_.data();
    std::memset(first, 0xff, bucketFirst_.size() * sizeof(std::int32_t));  // all -1
    for (std::size_t w = 0; w < words; ++w) shared[w] = 0;
    sharing_.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t r = rank(peaks[i]);
        if (first[r] < 0) {
            first[r] = i;
        } else {
            shared[r >> 6] |= std::uint64_t{1} << (r & 63);
            sharing_.push_back(Sharing{r, i});
        }
    }
    for (std::size_t w = 0; w < words; ++w) {
        const std::int32_t* ofWord = first + w * 64;
        std::uint64_t bits = 0;
#if defined(__SSE2__)
        const __m128i none = _mm_set1_epi32(-1);
        for (int b = 0; b < 64; b += 4) {
            const __m128i met = _mm_cmpgt_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(ofWord + b)), none);
            bits |= static_cast<std::uint64_t>(_mm_movemask_ps(_mm_castsi128_ps(met))) << b;
        }
#else
        for (int b = 0; b < 64; ++b) bits |= static_cast<std::uint64_t>(ofWord[b] >= 0) << b;
#endif
        used[w] = bits;
    }

    // Peaks in ascending rank; the cycles of one peak by start, then end, in the order
    // counted among equal ones, of which the first is kept.
    double damage = 0.0;
    for (std::size_t w = 0; w < words; ++w) {
        std::uint64_t bits = used[w];
        while (bits != 0) {
            const std::uint64_t bit = bits & (~bits + 1);
            const std::int32_t r = static_cast<std::int32_t>(w * 64) + __builtin_ctzll(bits);
            bits ^= bit;
            if ((shared[w] & bit) == 0) {
                damage += inverse[first[r]];
                continue;
            }
            bucket_.clear();
            bucket_.push_back(first[r]);
            for (const Sharing& other : sharing_) {
                if (other.rank == r) bucket_.push_back(other.cycle);
            }
            for (const std::int32_t i : bucket_) {
                CPelnoFatigueCountingMethod::LocateEnds(history, cycles_, static_cast<std::size_t>(i));
            }
            const auto before = [&](std::int32_t a, std::int32_t b) {
                const std::int32_t as = rank(starts[a]);
                const std::int32_t bs = rank(starts[b]);
                return as < bs || (as == bs && rank(ends[a]) < rank(ends[b]));
            };
            // Insertion sort: stable, so equal instants stay in the order counted.
            for (std::size_t k = 1; k < bucket_.size(); ++k) {
                const std::int32_t moving = bucket_[k];
                std::size_t at = k;
                while (at > 0 && before(moving, bucket_[at - 1])) {
                    bucket_[at] = bucket_[at - 1];
                    --at;
                }
                bucket_[at] = moving;
            }
            for (std::size_t k = 0; k < bucket_.size(); ++k) {
                if (k > 0 && !before(bucket_[k - 1], bucket_[k])) continue;  // same instants as the one kept
                damage += inverse[bucket_[k]];
            }
        }
    }
    return damage;
}
