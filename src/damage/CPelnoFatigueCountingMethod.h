#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "damage/CyclesByInstants.h"
#include "damage/CyclesByRange.h"

// A way of cutting a scalar history (one value per stress record) into stress cycles. The
// damage request owns one and the damage procedures call LoadingCycles on it.
//
// The methods keep scratch arrays between calls so that a count allocates nothing once they
// have grown to the history's size: an object must not be used by two counts at the same time.
class CPelnoFatigueCountingMethod {
public:
    virtual ~CPelnoFatigueCountingMethod() = default;

    // A fresh object of the same method.
    virtual std::unique_ptr<CPelnoFatigueCountingMethod> Clone() const = 0;

    // Counts the cycles of the history of n records (instants and values in chronological
    // order; read only) into both collections, which are cleared first (their storage is
    // kept). Every cycle goes into byInstants, then into byRange. Raises 220 below 3 records,
    // 210 on an internal inconsistency, 460 for the reservoir on a non-periodic history.
    virtual void LoadingCycles(std::int32_t n, const std::int32_t* instants, const double* values,
                               CyclesByInstants& byInstants, CyclesByRange& byRange) const = 0;

    // Locates in the history a cycle of the given range whose lower extreme is at the instant
    // peak: writes the instants where it begins and where it ends. Raises 210 when the range
    // is below 0.01 or the instant is not in the history.
    static void CycleEnds(std::int32_t n, const std::int32_t* instants, const double* values,
                          std::int32_t peak, double range, std::int32_t& start, std::int32_t& end);

protected:
    CPelnoFatigueCountingMethod() = default;
    CPelnoFatigueCountingMethod(const CPelnoFatigueCountingMethod&) = default;
    CPelnoFatigueCountingMethod& operator=(const CPelnoFatigueCountingMethod&) = default;

    // Finds the first index of an instant in the history being counted: a direct table when
    // the instants span a range comparable with their number (record numbers do), a plain
    // scan otherwise.
    class InstantIndex {
    public:
        void Build(std::int32_t n, const std::int32_t* instants);
        // The first index whose instant is the given one, or -1.
        std::int32_t First(std::int32_t instant) const noexcept;

    private:
        std::int32_t n_ = 0;
        const std::int32_t* instants_ = nullptr;
        std::int64_t lowest_ = 0;
        bool direct_ = false;
        std::vector<std::int32_t> first_;
    };

    // Records a counted cycle in both collections (instants first), its ends located by
    // CycleEnds. A cycle narrower than the 0.01 tolerance is not recorded.
    static void Record(std::int32_t n, const std::int32_t* instants, const double* values,
                       const InstantIndex& index, std::int32_t peak, double range,
                       CyclesByInstants& byInstants, CyclesByRange& byRange);

private:
    // CycleEnds once the index of the peak instant is known (-1: not in the history).
    static void CycleEndsAt(std::int32_t n, const std::int32_t* instants, const double* values,
                            std::int32_t p, double range, std::int32_t& start, std::int32_t& end);
};
