#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "stress/CPelnoFatigueReleve.h"
#include "stress/StressTensor.h"

// A stress record read at three points away from a weld toe, A at 0.4, B at 0.9 and C at 1.4 x
// thickness, and extrapolated quadratically to the toe: the four tensors of the record are the
// toe values, the read-out tensors are kept beside them. Read from a "*RELEVEQUAD" block.
class CPelnoFatigueReleveQuad : public CPelnoFatigueReleve {
public:
    CPelnoFatigueReleveQuad() = default;
    CPelnoFatigueReleveQuad(const CPelnoFatigueReleveQuad& source) = default;
    CPelnoFatigueReleveQuad& operator=(const CPelnoFatigueReleveQuad& source) = default;

    // Reads the block opened by cardLine (the "*RELEVEQUAD" line, already read) up to
    // "*FIN_RELEVEQUAD"; number is the record's number in its history.
    void Read(std::istream& input, const std::string& cardLine, std::int32_t number) override;

    // The record's own definition from its read-out tensors (code 190 on a component out of
    // range); extrapolates them to the toe and ends in the record's common definition.
    void SetDefinition(std::string name, std::int32_t number, double pressure,
                       double temperature, const StressTensor& SijA, const StressTensor& SijMA,
                       const StressTensor& SijLMA, const StressTensor& SijLTA,
                       const StressTensor& SijB, const StressTensor& SijMB,
                       const StressTensor& SijLMB, const StressTensor& SijLTB,
                       const StressTensor& SijC, const StressTensor& SijMC,
                       const StressTensor& SijLMC, const StressTensor& SijLTC);
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
    const StressTensor& GetSijC() const { return points_[kSijC]; }
    const StressTensor& GetSijMC() const { return points_[kSijMC]; }
    const StressTensor& GetSijLMC() const { return points_[kSijLMC]; }
    const StressTensor& GetSijLTC() const { return points_[kSijLTC]; }

private:
    enum Point {
        kSijA, kSijMA, kSijLMA, kSijLTA,
        kSijB, kSijMB, kSijLMB, kSijLTB,
        kSijC, kSijMC, kSijLMC, kSijLTC,
        kPointCount
    };

    std::array<StressTensor, kPointCount> points_ = {
        UnsetTensor(), UnsetTensor(), UnsetTensor(), UnsetTensor(),
        UnsetTensor(), UnsetTensor(), UnsetTensor(), UnsetTensor(),
        UnsetTensor(), UnsetTensor(), UnsetTensor(), UnsetTensor()};

    void PrintReport(std::ostream& out) const;
    friend std::ostream& operator<<(std::ostream& out, const CPelnoFatigueReleveQuad& record);
};

// Report printout of a quadratic record. A failure while printing is swallowed.
std::ostream& operator<<(std::ostream& out, const CPelnoFatigueReleveQuad& record);
