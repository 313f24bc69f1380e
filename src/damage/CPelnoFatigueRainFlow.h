#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "damage/CPelnoFatigueCountingMethod.h"

// Four-point rainflow on the turning points of the history; the residue is closed by counting
// it twice.
class CPelnoFatigueRainFlow : public CPelnoFatigueCountingMethod {
public:
    CPelnoFatigueRainFlow() = default;

    std::unique_ptr<CPelnoFatigueCountingMethod> Clone() const override;

    void LoadingCycles(std::int32_t n, const std::int32_t* instants, const double* values,
                       CyclesByInstants& byInstants, CyclesByRange& byRange) const override;

private:
    // Four-point pass over points s..k of the 1-based arrays: counts, records and removes
    // every enclosed cycle; s moves up by two for each cycle removed.
    static void FourPointPass(std::int32_t* pointInstants, double* pointValues, std::int32_t& s,
                              std::int32_t k, std::int32_t n, const std::int32_t* instants,
                              const double* values, const InstantIndex& index,
                              CyclesByInstants& byInstants, CyclesByRange& byRange);

    // Scratch arrays, reused from one count to the next.
    mutable InstantIndex index_;
    mutable std::vector<std::int32_t> mergedInstants_;
    mutable std::vector<double> mergedValues_;
    mutable std::vector<std::int32_t> pointInstants_;
    mutable std::vector<double> pointValues_;
    mutable std::vector<std::int32_t> residueInstants_;
    mutable std::vector<double> residueValues_;
};
