#pragma once

#include <memory>

#include "damage/CPelnoFatiguePlasticityCriteria.h"

// Von Mises: sqrt of half the sum of the squared differences of the principal stresses.
class CPelnoFatigueMises : public CPelnoFatiguePlasticityCriteria {
public:
    CPelnoFatigueMises() = default;

    std::unique_ptr<CPelnoFatiguePlasticityCriteria> Clone() const override;
    double EquivalentStress(const StressTensor& tensor) const override;
};
