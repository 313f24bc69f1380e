#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "damage/CPelnoFatigueCountingMethod.h"
#include "damage/CorrectionCoefficients.h"
#include "damage/CyclesByInstants.h"
#include "damage/CyclesByRange.h"

// The damage of a history seen from one origin, as the origin searches score it: the series of
// n + 1 points (point k is record (origin + k) mod n, point n the origin again) is counted into
// cycles, and the damages 1/N of the cycles are summed from 0 in the order of the cycles by
// instants (ascending Peak, Start, End), the first of equal instants kept.
//
// With a method that counts by index and records in ascending number, the cycles are counted
// by index and put in that order by a bucket of each peak; otherwise LoadingCycles fills the
// collection by instants. Both give the same sum. An object holds the scratch of one count at
// a time: one per thread.
class OriginDamage {
public:
    // rowInstants: the record numbers of the rows, in history order (n of them).
    OriginDamage(const std::vector<std::int32_t>& rowInstants, const CPelnoFatigueCountingMethod& method);

    // values: the n + 1 values of the series seen from origin (a row index); largest: its
    // largest value; factor: the global coefficient of the S-N query, which damages gives.
    //
    // beaten: a damage that only a larger one matters against (the best of the origins before,
    // for a search). When the damage is certainly below it (its sum in any order, with the
    // largest error such a sum can make, stays below), beaten itself is returned, with no
    // ordering of the cycles: a value the damage does not exceed. Counting by instants always
    // gives the damage.
    double Damage(std::int32_t origin, const double* values, double largest, double factor,
                  CycleDamagesRef damages, double beaten = std::numeric_limits<double>::lowest());

private:
    double ByIndex(std::int32_t origin, const double* values, double largest, double factor,
                   CycleDamagesRef damages, double beaten);
    double ByInstants(std::int32_t origin, const double* values, double largest, double factor,
                      CycleDamagesRef damages);

    const std::vector<std::int32_t>& rowInstants_;
    const CPelnoFatigueCountingMethod& method_;
    std::int32_t n_ = 0;
    bool byIndex_ = false;

    // Count by index: the first index of each point's instant (point n is the origin again,
    // first seen at point 0), the cycles, a bit for each rank of peak instant met and for
    // each met more than once, the first cycle of each rank, the later cycles of the ranks
    // met more than once, and the cycles of one rank being ordered.
    struct Sharing {
        std::int32_t rank;
        std::int32_t cycle;
    };
    std::vector<std::int32_t> firstIndex_;
    IndexedCycles cycles_;
    std::vector<std::uint64_t> ranksUsed_;
    std::vector<std::uint64_t> ranksShared_;
    std::vector<std::int32_t> bucketFirst_;
    std::vector<Sharing> sharing_;
    std::vector<std::int32_t> bucket_;
    std::vector<double> ranges_;   // the range of each cycle
    std::vector<double> inverse_;  // and its damage 1/N

    // Count by instants.
    std::vector<std::int32_t> seriesInstants_;
    CyclesByInstants byInstants_;
    CyclesByRange byRange_;
};
