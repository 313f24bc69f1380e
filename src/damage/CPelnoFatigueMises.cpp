#include "damage/CPelnoFatigueMises.h"

#include <cmath>

std::unique_ptr<CPelnoFatiguePlasticityCriteria> CPelnoFatigueMises::Clone() const
{
    return std::make_unique<CPelnoFatigueMises>();
}

double CPelnoFatigueMises::EquivalentStress(const StressTensor& tensor) const
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
        s1 = sigma[0];
        s2 = sigma[0];
        s3 = sigma[0];
    }
    return std::sqrt((s1 - s2) * (s1 - s2) + (s2 - s3) * (s2 - s3) + (s1 - s3) * (s1 - s3)) * (1.0 / std::sqrt(2.0));
}
