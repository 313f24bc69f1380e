#pragma once

#include <cstddef>
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

    bool CountsByIndex() const noexcept override { return true; }
    void CountByIndex(const IndexedHistory& history, IndexedCycles& cycles,
                      bool locateEnds) const override;

private:
    // The count once the history is known to have 3 records at least.
    void Count(const IndexedHistory& history, bool locateEnds, IndexedCycles& cycles) const;

    // Four-point pass over the points (values and indices, 0-based, count of them): every
    // enclosed cycle is counted, recorded and its two points removed. The points left (the
    // residue) are in the stack; returns their number.
    std::int32_t FourPointPass(const double* pointValues, const std::int32_t* pointIndices, std::int32_t count,
                               const IndexedHistory& history, bool locateEnds,
                               IndexedCycles& cycles) const;

    // The same pass when the ends of the cycles are not located (the searches' count).
    std::int32_t FourPointPassUnlocated(const double* pointValues, const std::int32_t* pointIndices,
                                        std::int32_t count, const IndexedHistory& history,
                                        IndexedCycles& cycles) const;

    // Slots of the stack's values below its first point: the searches' pass reads the two
    // points below the top before there are as many (and never uses them).
    static constexpr std::size_t kStackBelow = 2;

    // Scratch arrays, reused from one count to the next.
    mutable LoadingScratch loading_;
    mutable std::vector<std::int32_t> pointIndices_;
    mutable std::vector<double> pointValues_;
    mutable std::vector<std::int32_t> keptIndices_;
    mutable std::vector<double> keptValues_;
    mutable std::vector<std::int32_t> stackIndices_;
    mutable std::vector<double> stackValues_;
    mutable std::vector<std::int32_t> residueIndices_;
    mutable std::vector<double> residueValues_;
};
