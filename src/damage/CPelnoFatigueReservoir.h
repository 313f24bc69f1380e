#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "damage/CPelnoFatigueCountingMethod.h"

// Reservoir drain of a periodic history (first value equal to the last within 0.01), started
// at its maximum: valleys are drained from the highest to the lowest.
class CPelnoFatigueReservoir : public CPelnoFatigueCountingMethod {
public:
    CPelnoFatigueReservoir() = default;

    std::unique_ptr<CPelnoFatigueCountingMethod> Clone() const override;

    void LoadingCycles(std::int32_t n, const std::int32_t* instants, const double* values,
                       CyclesByInstants& byInstants, CyclesByRange& byRange) const override;

    bool CountsByIndex() const noexcept override { return true; }
    void CountByIndex(const IndexedHistory& history, IndexedCycles& cycles,
                      bool locateEnds) const override;

private:
    struct Valley {
        std::int32_t position;
        double value;
    };

    // The count once the history is known to have 3 records at least and to be periodic.
    void Count(const IndexedHistory& history, bool locateEnds, IndexedCycles& cycles) const;

    // Scratch arrays, reused from one count to the next (1-based sequences of the indices of
    // the records and of their values, the range of each valley, the stack of the drain).
    mutable LoadingScratch loading_;
    mutable std::vector<std::int32_t> indices_;
    mutable std::vector<double> values_;
    mutable std::vector<std::int32_t> rotatedIndices_;
    mutable std::vector<double> rotatedValues_;
    mutable std::vector<double> ranges_;
    mutable std::vector<std::int32_t> stack_;
    mutable std::vector<Valley> valleys_;
};
