#include "damage/CPelnoFatiguePlasticityCriteria.h"

#include <cmath>

bool CPelnoFatiguePlasticityCriteria::IsNull(const StressTensor& tensor) noexcept
{
    const double sxx = tensor[0];
    const double sxy = tensor[1];
    const double sxz = tensor[2];
    const double syy = tensor[3];
    const double syz = tensor[4];
    const double szz = tensor[5];
    return std::sqrt(sxx * sxx + sxy * sxy + sxz * sxz + syy * syy + syz * syz + szz * szz) < 0.0001;
}

void CPelnoFatiguePlasticityCriteria::PrincipalStresses(const StressTensor& tensor, double (&sigma)[3]) noexcept
{
    const double sxx = tensor[0];
    const double sxy = tensor[1];
    const double sxz = tensor[2];
    const double syy = tensor[3];
    const double syz = tensor[4];
    const double szz = tensor[5];

    const double i1 = sxx + syy + szz;
    const double i2 = sxx * syy + syy * szz + sxx * szz - sxy * sxy - syz * syz - sxz * sxz;
    const double i3 = (syy * szz - syz * syz) * sxx - (szz * sxy - syz * sxz) * sxy + (syz * sxy - syy * sxz) * sxz;
    const double q = i1 * i1 - 3.0 * i2;

    if (!(q > 0.0)) {
        // Three equal principal stresses: the angle below would be 0/0.
        const double mean = i1 * 0.3333333333333333;
        sigma[0] = mean;
        sigma[1] = mean;
        sigma[2] = mean;
        return;
    }

    // Two equal principal stresses put the cosine at +-1, where rounding can push it out.
    double cosine = (27.0 * i3 + 2.0 * std::pow(i1, 3.0) - 9.0 * i1 * i2) / (2.0 * std::pow(std::pow(q, 3.0), 0.5));
    if (!(cosine <= 1.0)) {
        cosine = 1.0;
    } else if (cosine < -1.0) {
        cosine = -1.0;
    }
    const double theta = std::acos(cosine);
    const double root = std::pow(q, 0.5);
    const double phi[3] = {0.0, 6.283185308, 12.566370616};
    for (int k = 0; k < 3; ++k) {
        sigma[k] = (2.0 * root * std::cos((theta + phi[k]) / 3.0) + i1) * 0.3333333333333333;
    }
}

bool CPelnoFatiguePlasticityCriteria::Order(const double (&sigma)[3], double& largest, double& middle,
                                            double& smallest) noexcept
{
    static const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& order : orders) {
        const double a = sigma[order[0]];
        const double b = sigma[order[1]];
        const double c = sigma[order[2]];
        if (a >= b && b >= c) {
            largest = a;
            middle = b;
            smallest = c;
            return true;
        }
    }
    return false;
}
