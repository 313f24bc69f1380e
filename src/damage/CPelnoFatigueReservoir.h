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

private:
    struct Valley {
        std::int32_t position;
        double value;
        double range;
    };

    // Scratch arrays, reused from one count to the next (1-based sequences).
    mutable InstantIndex index_;
    mutable std::vector<std::int32_t> instants_;
    mutable std::vector<double> values_;
    mutable std::vector<std::int32_t> rotatedInstants_;
    mutable std::vector<double> rotatedValues_;
    mutable std::vector<char> used_;
    mutable std::vector<Valley> valleys_;
};
