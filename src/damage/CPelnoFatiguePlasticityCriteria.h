#pragma once

#include <memory>

#include "stress/StressTensor.h"

// Turns a symmetric stress tensor (Sxx, Sxy, Sxz, Syy, Syz, Szz in MPa; in practice the
// difference of the tensors of two instants) into one equivalent stress in MPa.
class CPelnoFatiguePlasticityCriteria {
public:
    virtual ~CPelnoFatiguePlasticityCriteria() = default;

    // A fresh object of the same criterion.
    virtual std::unique_ptr<CPelnoFatiguePlasticityCriteria> Clone() const = 0;

    // Pure function of the six components; raises nothing. 0 for a tensor of Euclidean norm
    // below 0.0001.
    virtual double EquivalentStress(const StressTensor& tensor) const = 0;

protected:
    CPelnoFatiguePlasticityCriteria() = default;
    CPelnoFatiguePlasticityCriteria(const CPelnoFatiguePlasticityCriteria&) = default;
    CPelnoFatiguePlasticityCriteria& operator=(const CPelnoFatiguePlasticityCriteria&) = default;

    // True when the tensor's Euclidean norm is below 0.0001.
    static bool IsNull(const StressTensor& tensor) noexcept;

    // The three principal stresses by the trigonometric solution of the characteristic
    // equation, in the order of the angles 0, 2pi, 4pi. Three equal values I1/3 when the
    // discriminant Q is not positive (hydrostatic tensors).
    static void PrincipalStresses(const StressTensor& tensor, double (&sigma)[3]) noexcept;

    // Orders the three values as largest, middle, smallest by pairwise comparisons; false when
    // no order holds (a not-a-number among them).
    static bool Order(const double (&sigma)[3], double& largest, double& middle, double& smallest) noexcept;
};
