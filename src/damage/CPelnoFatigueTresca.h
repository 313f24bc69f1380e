#pragma once

#include <memory>

#include "damage/CPelnoFatiguePlasticityCriteria.h"

// Tresca: largest minus smallest principal stress.
class CPelnoFatigueTresca : public CPelnoFatiguePlasticityCriteria {
public:
    CPelnoFatigueTresca() = default;

    std::unique_ptr<CPelnoFatiguePlasticityCriteria> Clone() const override;
    double EquivalentStress(const StressTensor& tensor) const override;
};
