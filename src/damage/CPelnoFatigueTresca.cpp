#include "damage/CPelnoFatigueTresca.h"

#include <limits>

std::unique_ptr<CPelnoFatiguePlasticityCriteria> CPelnoFatigueTresca::Clone() const
{
    return std::make_unique<CPelnoFatigueTresca>();
}

double CPelnoFatigueTresca::EquivalentStress(const StressTensor& tensor) const
{
    if (IsNull(tensor)) {
        return 0.0;
    }
    double sigma[3];
    PrincipalStresses(tensor, sigma);
    double s1 = 0.0;
    double s2 = 0.0;
    double s3 = 0.0;
    if (!Order(sigma, s1, s2, s3)) {
        // Only a tensor too large for doubles gets here: its result is not a number either.
        return std::numeric_limits<double>::quiet_NaN();
    }
    return s1 - s3;
}
