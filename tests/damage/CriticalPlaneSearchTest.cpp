#include "damage/CriticalPlaneSearch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "damage/CPelnoFatigueRainFlow.h"

namespace {

StressTensor Tensor(double sxx, double sxy, double sxz, double syy, double syz, double szz)
{
    return StressTensor{sxx, sxy, sxz, syy, syz, szz};
}

// A strictly decreasing S-N query: N = 1e12 / range^3 (ranges here are far below its cap).
std::int32_t TestCurve(double range, double, double factor)
{
    const double x = range / factor;
    return static_cast<std::int32_t>(1e12 / (x * x * x));
}

}  // namespace

TEST(CriticalPlaneSearch, AnglesAreSeventyTwoStepsOfTwoAndAHalfDegrees)
{
    const std::vector<double>& angles = CriticalPlaneSearch::Angles();
    ASSERT_EQ(angles.size(), 72u);
    EXPECT_EQ(angles[0], 0.0);
    for (std::size_t k = 0; k < angles.size(); ++k) {
        EXPECT_NEAR(angles[k] * CriticalPlaneSearch::kDegreesPerRadian, 2.5 * static_cast<double>(k), 1e-9);
    }
    EXPECT_LT(angles.back(), CriticalPlaneSearch::kAngleBound);
}

TEST(CriticalPlaneSearch, BasisAndProjections)
{
    const StressTensor s = Tensor(10, 2, 3, 20, 5, 30);
    // Theta = Phi = 0: the plane axes are the global axes.
    const PlaneBasis identity = CriticalPlaneSearch::Basis(0.0, 0.0);
    EXPECT_EQ(CriticalPlaneSearch::Project(s, identity.x, identity.x), 10.0);
    EXPECT_EQ(CriticalPlaneSearch::Project(s, identity.x, identity.y), 2.0);
    EXPECT_EQ(CriticalPlaneSearch::Project(s, identity.x, identity.z), 3.0);

    // Theta = 30 degrees, Phi = 0: x' = (c, s, 0), y' = (-s, c, 0), z' = (0, 0, 1). By hand:
    // Sx'x' = Sxx c² + 2 Sxy c s + Syy s², Sx'y' = (Syy - Sxx) c s + Sxy (c² - s²),
    // Sx'z' = Sxz c + Syz s.
    const double theta = 30.0 / 57.29577950560105;
    const double c = std::cos(theta), sn = std::sin(theta);
    const PlaneBasis b = CriticalPlaneSearch::Basis(theta, 0.0);
    EXPECT_NEAR(CriticalPlaneSearch::Project(s, b.x, b.x), 10 * c * c + 2 * 2 * c * sn + 20 * sn * sn, 1e-12);
    EXPECT_NEAR(CriticalPlaneSearch::Project(s, b.x, b.y), (20 - 10) * c * sn + 2 * (c * c - sn * sn), 1e-12);
    EXPECT_NEAR(CriticalPlaneSearch::Project(s, b.x, b.z), 3 * c + 5 * sn, 1e-12);

    // The three axes stay orthonormal for any angles.
    const PlaneBasis any = CriticalPlaneSearch::Basis(1.1, 0.7);
    auto dot = [](const double (&u)[3], const double (&v)[3]) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; };
    EXPECT_NEAR(dot(any.x, any.x), 1.0, 1e-15);
    EXPECT_NEAR(dot(any.y, any.y), 1.0, 1e-15);
    EXPECT_NEAR(dot(any.z, any.z), 1.0, 1e-15);
    EXPECT_NEAR(dot(any.x, any.y), 0.0, 1e-15);
    EXPECT_NEAR(dot(any.x, any.z), 0.0, 1e-15);
    EXPECT_NEAR(dot(any.y, any.z), 0.0, 1e-15);
}

TEST(CriticalPlaneSearch, SeriesStartsAndEndsAtTheOrigin)
{
    const std::int32_t instants[] = {0, 1, 2};
    const double shearY[] = {0, 3, 0};
    const double shearZ[] = {0, 4, 0};
    std::int32_t seriesInstants[4];
    double values[4];
    // From origin 1: record 1 (0), record 2 (2·5 = 10), record 0 (10), origin again (0).
    double largest = CriticalPlaneSearch::Series(3, instants, shearY, shearZ, 1, false, 7.0, seriesInstants, values);
    EXPECT_EQ(largest, 10.0);
    EXPECT_EQ(std::vector<std::int32_t>(seriesInstants, seriesInstants + 4), (std::vector<std::int32_t>{1, 2, 0, 1}));
    EXPECT_EQ(std::vector<double>(values, values + 4), (std::vector<double>{0, 10, 10, 0}));
    largest = CriticalPlaneSearch::Series(3, instants, shearY, shearZ, 0, true, 2.0, seriesInstants, values);
    EXPECT_EQ(largest, 20.0);
    EXPECT_EQ(std::vector<double>(values, values + 4), (std::vector<double>{0, 20, 0, 0}));
}

TEST(CriticalPlaneSearch, UniaxialHistoryFindsTheFirstPlaneOfMaximumShear)
{
    // Sxx = 0, 100, 0. The shear on a plane of normal n is 100·|nx|·sqrt(1 - nx²), largest when
    // nx² = 1/2: DSigmaEq = 2·50 = 100 (the Tresca range). In loop order (Theta outer, Phi
    // inner) the first such plane is Theta = 0, Phi = 45 degrees; origins 0 and 1 give the same
    // single cycle of 100, and ties keep the earliest origin.
    const std::vector<std::int32_t> instants = {0, 1, 2};
    const std::vector<StressTensor> totals = {Tensor(0, 0, 0, 0, 0, 0), Tensor(100, 0, 0, 0, 0, 0),
                                              Tensor(0, 0, 0, 0, 0, 0)};
    CriticalPlaneSearch search(instants, totals);
    const CPelnoFatigueRainFlow rainflow;
    CriticalPlaneSearch::SearchRules weld;  // no factor, strict comparison
    std::vector<CriticalPlaneSearch::Plane> rows;
    const auto best = search.Run(weld, rainflow, [](double r, double d, double c) { return TestCurve(r, d, c); },
                                 [&](const CriticalPlaneSearch::Plane& plane) { rows.push_back(plane); });
    EXPECT_EQ(best.theta, 0.0);
    EXPECT_NEAR(best.phi * CriticalPlaneSearch::kDegreesPerRadian, 45.0, 1e-9);
    EXPECT_EQ(best.origin, 0);
    EXPECT_EQ(best.damage, 1.0 / TestCurve(100.0, 100.0, 0.2));
    ASSERT_FALSE(rows.empty());
    for (std::size_t k = 1; k < rows.size(); ++k) EXPECT_GT(rows[k].damage, rows[k - 1].damage);
    EXPECT_EQ(rows.back().damage, best.damage);
    EXPECT_EQ(rows.front().damage, 0.0);  // Theta = Phi = 0: no shear, no cycle

    // With the zone factor applied, DSigmaEq doubles with Kt = 2; the tie-break on the sum of
    // positive normal stresses keeps a plane of the same damage (within 1e-8) whose sum is at
    // least that of the first maximum-shear plane (50).
    CriticalPlaneSearch::SearchRules unwelded;
    unwelded.applyFactor = true;
    unwelded.factor = 2.0;
    unwelded.tieBreakOnNormalSum = true;
    const auto zone = search.Run(unwelded, rainflow, [](double r, double d, double c) { return TestCurve(r, d, c); },
                                 [](const CriticalPlaneSearch::Plane&) {});
    EXPECT_NEAR(zone.damage, 1.0 / TestCurve(200.0, 200.0, 0.2), 1e-8);
    EXPECT_GE(zone.normalSum, 50.0 - 1e-9);
}

TEST(CriticalPlaneSearch, ConstantHistoryHasZeroDamageOnTheFirstPlane)
{
    const std::vector<std::int32_t> instants = {0, 1, 2, 3};
    const std::vector<StressTensor> totals(4, Tensor(50, 10, -5, 20, 3, 1));
    CriticalPlaneSearch search(instants, totals);
    const CPelnoFatigueRainFlow rainflow;
    int calls = 0;
    const auto best = search.Run(CriticalPlaneSearch::SearchRules{}, rainflow,
                                 [](double r, double d, double c) { return TestCurve(r, d, c); },
                                 [&](const CriticalPlaneSearch::Plane&) { ++calls; });
    EXPECT_EQ(best.damage, 0.0);
    EXPECT_EQ(best.theta, 0.0);
    EXPECT_EQ(best.phi, 0.0);
    EXPECT_EQ(best.origin, 0);
    EXPECT_EQ(calls, 1);
}
