#include "damage/CriticalPlaneSearch.h"

#include <cmath>
#include <limits>

PlaneBasis CriticalPlaneSearch::Basis(double theta, double phi) noexcept
{
    const double cosTheta = std::cos(theta);
    const double sinTheta = std::sin(theta);
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    PlaneBasis basis{};
    basis.x[0] = cosTheta * cosPhi;
    basis.x[1] = sinTheta * cosPhi;
    basis.x[2] = sinPhi;
    basis.y[0] = -sinTheta;
    basis.y[1] = cosTheta;
    basis.y[2] = 0.0;
    basis.z[0] = -sinPhi * cosTheta;
    basis.z[1] = -sinPhi * sinTheta;
    basis.z[2] = cosPhi;
    return basis;
}

double CriticalPlaneSearch::Project(const StressTensor& s, const double (&a)[3], const double (&b)[3]) noexcept
{
    // Sxx, Sxy, Sxz, Syy, Syz, Szz as the full symmetric matrix.
    const double m[3][3] = {{s[0], s[1], s[2]}, {s[1], s[3], s[4]}, {s[2], s[4], s[5]}};
    double sum = 0.0;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) sum += (a[i] * m[i][j]) * b[j];
    }
    return sum;
}

const std::vector<double>& CriticalPlaneSearch::Angles()
{
    static const std::vector<double> angles = [] {
        std::vector<double> values;
        for (double angle = 0.0; angle < kAngleBound; angle += kAngleStep) values.push_back(angle);
        return values;
    }();
    return angles;
}

CriticalPlaneSearch::CriticalPlaneSearch(const std::vector<std::int32_t>& instants,
                                         const std::vector<StressTensor>& totals)
    : instants_(instants), totals_(totals)
{
}

double CriticalPlaneSearch::Series(std::int32_t n, const std::int32_t* instants, const double* shearY,
                                   const double* shearZ, std::int32_t origin, bool applyFactor,
                                   double factor, std::int32_t* seriesInstants, double* seriesValues) noexcept
{
    double largest = 0.0;
    const double originY = shearY[origin];
    const double originZ = shearZ[origin];
    std::int32_t j = origin;
    for (std::int32_t k = 0; k < n; ++k) {
        const double dy = shearY[j] - originY;
        const double dz = shearZ[j] - originZ;
        double value = 2.0 * std::sqrt(dy * dy + dz * dz);
        if (applyFactor) value = value * factor;
        seriesInstants[k] = instants[j];
        seriesValues[k] = value;
        if (value > largest) largest = value;
        if (++j == n) j = 0;
    }
    seriesInstants[n] = instants[origin];
    seriesValues[n] = 0.0;
    return largest;
}

CriticalPlaneSearch::Plane CriticalPlaneSearch::Run(const SearchRules& rules,
                                                    const CPelnoFatigueCountingMethod& method,
                                                    PermissibleCyclesRef curve,
                                                    FunctionRef<void(const Plane&)> onNewBest)
{
    const std::int32_t n = static_cast<std::int32_t>(instants_.size());
    const double lowest = std::numeric_limits<double>::lowest();

    std::vector<double> shearY(instants_.size());
    std::vector<double> shearZ(instants_.size());
    std::vector<std::int32_t> seriesInstants(instants_.size() + 1);
    std::vector<double> seriesValues(instants_.size() + 1);
    CyclesByInstants byInstants;
    CyclesByRange byRange;

    Plane best;
    best.theta = lowest;
    best.phi = lowest;
    best.origin = -1;
    best.damage = lowest;
    best.normalSum = 0.0;

    for (const double theta : Angles()) {
        for (const double phi : Angles()) {
            const PlaneBasis basis = Basis(theta, phi);
            double normalSum = 0.0;
            for (std::int32_t i = 0; i < n; ++i) {
                const StressTensor& total = totals_[static_cast<std::size_t>(i)];
                const double normal = Project(total, basis.x, basis.x);
                shearY[static_cast<std::size_t>(i)] = Project(total, basis.x, basis.y);
                shearZ[static_cast<std::size_t>(i)] = Project(total, basis.x, basis.z);
                if (normal > 0.0) normalSum += normal;
            }

            double planeDamage = lowest;
            std::int32_t planeOrigin = -1;
            for (std::int32_t origin = 0; origin < n; ++origin) {
                const double largest =
                    Series(n, instants_.data(), shearY.data(), shearZ.data(), origin, rules.applyFactor,
                           rules.factor, seriesInstants.data(), seriesValues.data());
                method.LoadingCycles(n + 1, seriesInstants.data(), seriesValues.data(), byInstants, byRange);
                double damage = 0.0;
                for (const LoadingCycle& cycle : byInstants) {
                    damage += 1.0 / static_cast<double>(curve(cycle.Range, largest, kSearchCoefficient));
                }
                if (damage > planeDamage) {
                    planeDamage = damage;
                    planeOrigin = origin;
                }
            }

            bool wins = false;
            if (rules.tieBreakOnNormalSum) {
                wins = planeDamage > best.damage + 1e-8 ||
                       (std::fabs(planeDamage - best.damage) < 1e-8 && normalSum > best.normalSum);
            } else {
                wins = planeDamage > best.damage;
            }
            if (wins) {
                const Plane plane{theta, phi, planeOrigin, planeDamage, normalSum};
                onNewBest(plane);
                best = plane;
            }
        }
    }
    return best;
}
