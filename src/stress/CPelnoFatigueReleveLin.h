#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "stress/CPelnoFatigueReleve.h"
#include "stress/StressTensor.h"

// A stress record read at two points away from a weld toe, A at 0.5 x thickness and B at
// 1.5 x thickness, and extrapolated linearly to the toe: the four tensors of the record are
// the toe values, the read-out tensors are kept beside them. Read from a "*RELEVELIN" block.
class CPelnoFatigueReleveLin : public CPelnoFatigueReleve {
public:
    CPelnoFatigueReleveLin() = default;
    CPelnoFatigueReleveLin(const CPelnoFatigueReleveLin& source) = default;
    CPelnoFatigueReleveLin& operator=(const CPelnoFatigueReleveLin& source) = default;

    // Reads the block opened by cardLine (the "*RELEVELIN" line, already read) up to
    // "*FIN_RELEVELIN"; number is the record's number in its history.
    void Read(std::istream& input, const std::string& cardLine, std::int32_t number) override;

    // The record's own definition from its read-out tensors (code 190 on a component out of
    // range); extrapolates them to the toe and ends in the record's common definition.
    void SetDefinition(std::string name, std::int32_t number, double pressure,
                       double temperature, const StressTensor& SijA, const StressTensor& SijMA,
                       const StressTensor& SijLMA, const StressTensor& SijLTA,
                       const StressTensor& SijB, const StressTensor& SijMB,
                       const StressTensor& SijLMB, const StressTensor& SijLTB);
    // The common definition from the toe tensors stays reachable.
    using CPelnoFatigueReleve::SetDefinition;

    const StressTensor& GetSijA() const { return points_[kSijA]; }
    const StressTensor& GetSijMA() const { return points_[kSijMA]; }
    const StressTensor& GetSijLMA() const { return points_[kSijLMA]; }
    const StressTensor& GetSijLTA() const { return points_[kSijLTA]; }
    const StressTensor& GetSijB() const { return points_[kSijB]; }
    const StressTensor& GetSijMB() const { return points_[kSijMB]; }
    const StressTensor& GetSijLMB() const { return points_[kSijLMB]; }
    const StressTensor& GetSijLTB() const { return points_[kSijLTB]; }

private:
    enum Point { kSijA, kSijMA, kSijLMA, kSijLTA, kSijB, kSijMB, kSijLMB, kSijLTB, kPointCount };

    std::array<StressTensor, kPointCount> points_ = {
        UnsetTensor(), UnsetTensor(), UnsetTensor(), UnsetTensor(),
        UnsetTensor(), UnsetTensor(), UnsetTensor(), UnsetTensor()};

    void PrintReport(std::ostream& out) const;
    friend std::ostream& operator<<(std::ostream& out, const CPelnoFatigueReleveLin& record);
};

// Report printout of a linear record. A failure while printing is swallowed.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueReleveLin& record);
