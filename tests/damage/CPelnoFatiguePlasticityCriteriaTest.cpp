#include "damage/CPelnoFatiguePlasticityCriteria.h"

#include <gtest/gtest.h>

#include <cmath>

#include "damage/CPelnoFatigueMises.h"
#include "damage/CPelnoFatigueTresca.h"

namespace {

// Tensors (Sxx, Sxy, Sxz, Syy, Syz, Szz) with principal stresses known by hand, and the two
// equivalent stresses: Tresca s1 - s3, von Mises sqrt(((s1-s2)² + (s2-s3)² + (s1-s3)²) / 2).
struct CriterionCase {
    const char* what;
    StressTensor tensor;
    double tresca;
    double mises;
};

const double kRoot3 = std::sqrt(3.0);

const CriterionCase kCases[] = {
    {"zero", {0, 0, 0, 0, 0, 0}, 0.0, 0.0},
    {"norm below 0.0001", {5e-5, 0, 0, 0, 5e-5, 0}, 0.0, 0.0},
    {"norm above 0.0001", {0, 0, 0, 2e-4, 0, 0}, 2e-4, 2e-4},
    // Pure shear tau = 40: principal 40, 0, -40.
    {"pure shear", {0, 40, 0, 0, 0, 0}, 80.0, 40.0 * kRoot3},
    {"pure shear yz", {0, 0, 0, 0, -25.5, 0}, 51.0, 25.5 * kRoot3},
    // Uniaxial: principal (s, 0, 0), both criteria give s.
    {"uniaxial x", {200, 0, 0, 0, 0, 0}, 200.0, 200.0},
    {"uniaxial z negative", {0, 0, 0, 0, 0, -123.4}, 123.4, 123.4},
    // Uniaxial 123.4 along (1, 1, 0)/sqrt(2): every component 123.4/2 = 61.7.
    {"uniaxial oblique", {61.7, 61.7, 0, 61.7, 0, 0}, 123.4, 123.4},
    // Uniaxial 90 along (1, 1, 1)/sqrt(3): every component 30.
    {"uniaxial diagonal", {30, 30, 30, 30, 30, 30}, 90.0, 90.0},
    // Equibiaxial (s, s, 0): both give s.
    {"equibiaxial", {150, 0, 0, 150, 0, 0}, 150.0, 150.0},
    {"equibiaxial odd", {0, 0, 0, 77.7, 0, 77.7}, 77.7, 77.7},
    // Hydrostatic: three equal principal stresses, no shear at all.
    {"hydrostatic", {100, 0, 0, 100, 0, 100}, 0.0, 0.0},
    {"hydrostatic negative", {-250, 0, 0, -250, 0, -250}, 0.0, 0.0},
    // Plane: [[100, 50], [50, 100]] has principal 150, 50, with 0 out of plane.
    // Mises sqrt((100² + 50² + 150²) / 2) = sqrt(17500).
    {"plane", {100, 50, 0, 100, 0, 0}, 150.0, std::sqrt(17500.0)},
    // diag(300, 100, -50) turned 45° about z: Sxx = Syy = 200, Sxy = 100, Szz = -50.
    // Tresca 350; Mises sqrt((200² + 150² + 350²) / 2) = sqrt(92500).
    {"three distinct", {200, 100, 0, 200, 0, -50}, 350.0, std::sqrt(92500.0)},
    // diag(120, 30, -60) turned 90° about x: y and z swap.
    {"three distinct swapped", {120, 0, 0, -60, 0, 30}, 180.0, std::sqrt((90.0 * 90 + 90.0 * 90 + 180.0 * 180) / 2)},
};

} // namespace

TEST(PlasticityCriteria, KnownPrincipalStresses)
{
    const CPelnoFatigueTresca tresca;
    const CPelnoFatigueMises mises;
    for (const CriterionCase& c : kCases) {
        const double t = tresca.EquivalentStress(c.tensor);
        const double m = mises.EquivalentStress(c.tensor);
        ASSERT_TRUE(std::isfinite(t)) << c.what;
        ASSERT_TRUE(std::isfinite(m)) << c.what;
        // The angle constants 6.283185308 and 12.566370616 are not 2pi and 4pi to the last
        // digit: results agree with the exact ones to about 1e-9 relative.
        const double tolerance = 1e-8 * std::max(1.0, std::fabs(c.tresca));
        EXPECT_NEAR(t, c.tresca, tolerance) << c.what;
        EXPECT_NEAR(m, c.mises, tolerance) << c.what;
    }
}

TEST(PlasticityCriteria, HydrostaticTensorsGiveZero)
{
    const CPelnoFatigueTresca tresca;
    const CPelnoFatigueMises mises;
    // I1² and 3·I2 computed exactly: Q = 0, three principal stresses I1/3, exactly 0.
    for (const double p : {100.0, -250.0, 0.5, 4096.0}) {
        const StressTensor tensor = {p, 0, 0, p, 0, p};
        EXPECT_EQ(tresca.EquivalentStress(tensor), 0.0) << p;
        EXPECT_EQ(mises.EquivalentStress(tensor), 0.0) << p;
    }
    // Otherwise Q is 0 up to the rounding of I1² - 3·I2 (either sign): the result is finite
    // and at the rounding level of the stresses (below 1e-7 of p, far under the 0.01 MPa
    // that any later test of a range would notice).
    for (const double p : {0.1, 1.7, 33.3, 77.7, 123.456, -987.65, -3129.9865350825976}) {
        const StressTensor tensor = {p, 0, 0, p, 0, p};
        const double t = tresca.EquivalentStress(tensor);
        const double m = mises.EquivalentStress(tensor);
        ASSERT_TRUE(std::isfinite(t)) << p;
        ASSERT_TRUE(std::isfinite(m)) << p;
        EXPECT_LE(std::fabs(t), 1e-7 * std::fabs(p)) << p;
        EXPECT_LE(std::fabs(m), 1e-7 * std::fabs(p)) << p;
    }
}

TEST(PlasticityCriteria, ClonesAreTheSameCriterion)
{
    const StressTensor shear = {0, 10, 0, 0, 0, 0};
    EXPECT_NEAR(CPelnoFatigueTresca().Clone()->EquivalentStress(shear), 20.0, 1e-7);
    EXPECT_NEAR(CPelnoFatigueMises().Clone()->EquivalentStress(shear), 10.0 * kRoot3, 1e-7);
}
