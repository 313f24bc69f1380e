#include "damage/CorrectionCoefficients.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "damage/CountingHelpers.h"

namespace {

const MethodLogName kCaller("CPelnoFatigueClause::DamageUWZoneCriticalPlane");

// A fatigue curve that answers a fixed N and records every query.
struct FixedCurve {
    std::int32_t answer;
    mutable std::vector<std::vector<double>> queries;
    std::int32_t operator()(double range, double largest, double factor) const
    {
        queries.push_back({range, largest, factor});
        return answer;
    }
};

CycleQuantities Cycle(double DSigmaR, double DSigmaRlm, double DSigmaRlt, double DSigmaRl, double Sigmo,
                      double SigmaEqM = 0.0)
{
    CycleQuantities cycle;
    cycle.DSigmaR = DSigmaR;
    cycle.DSigmaRlm = DSigmaRlm;
    cycle.DSigmaRlt = DSigmaRlt;
    cycle.DSigmaRl = DSigmaRl;
    cycle.Sigmo = Sigmo;
    cycle.Temp = 20.0;
    cycle.SigmaEqM = SigmaEqM;
    return cycle;
}

} // namespace

TEST(PlasticityCorrection, UnweldedCases)
{
    // Rpt = 100 throughout, so the correction starts above DSigmaRl = 200.
    {
        // Exactly 2·Rpt: not corrected.
        CycleQuantities cycle = Cycle(250, 150, 50, 200, 30);
        const PlasticityFactors k = CorrectionCoefficients::PlasticityCorrection(kCaller, ZoneKind::Unwelded, 20, 600, 0.3, 100, cycle);
        EXPECT_EQ(k.Ke, 1.0);
        EXPECT_EQ(k.Kv, 1.0);
        EXPECT_EQ(cycle.DSigmaR, 250.0);
        EXPECT_EQ(cycle.DSigmaRl, 200.0);
    }
    {
        // Mechanical only, type 20, Rm = 600: a = 0.4 + 100/3000 = 0.43333...;
        // Ke = 1 + a·(300/200 - 1) = 1.2166666...; DSigmaRlm, DSigmaRl, DSigmaR, Sigmo × Ke.
        CycleQuantities cycle = Cycle(400, 300, 0, 300, 50);
        const PlasticityFactors k = CorrectionCoefficients::PlasticityCorrection(kCaller, ZoneKind::Unwelded, 20, 600, 0.3, 100, cycle);
        const double ke = 1.2166666666666668;
        EXPECT_NEAR(k.Ke, ke, 1e-14);
        EXPECT_EQ(k.Kv, 1.0);
        EXPECT_NEAR(cycle.DSigmaRlm, 300 * ke, 1e-11);
        EXPECT_NEAR(cycle.DSigmaRl, 300 * ke, 1e-11);
        EXPECT_NEAR(cycle.DSigmaR, 400 * ke, 1e-11);
        EXPECT_NEAR(cycle.Sigmo, 50 * ke, 1e-11);
        EXPECT_EQ(cycle.DSigmaRlt, 0.0);
    }
    {
        // Thermal only, nu = 0.3, DSigmaRlt = 4·Rpt: Kv = 0.7 / (0.5 + 0.1) = 7/6.
        CycleQuantities cycle = Cycle(480, 0, 400, 420, -60);
        const PlasticityFactors k = CorrectionCoefficients::PlasticityCorrection(kCaller, ZoneKind::Unwelded, 20, 1200, 0.3, 100, cycle);
        EXPECT_EQ(k.Ke, 1.0); // no mechanical part: no Ke slope, no 420 even at Rm = 1200
        EXPECT_NEAR(k.Kv, 7.0 / 6.0, 1e-14);
        EXPECT_NEAR(cycle.DSigmaRlt, 400 * 7.0 / 6.0, 1e-11);
        EXPECT_NEAR(cycle.DSigmaRl, 420 * 7.0 / 6.0, 1e-11);
        EXPECT_NEAR(cycle.DSigmaR, 480 * 7.0 / 6.0, 1e-11);
        EXPECT_NEAR(cycle.Sigmo, -60 * 7.0 / 6.0, 1e-11);
        EXPECT_EQ(cycle.DSigmaRlm, 0.0);
    }
    {
        // Both parts, type 30 (a = 0.4 whatever Rm): Ke = 1 + 0.4·(250/200 - 1) = 1.1,
        // Kv = 0.7 / (0.5 + 0.4·100/400) = 7/6. A = min(250, 500) = 250, B = 250,
        // DSigmaRl' = 1.1·250 + 7/6·250 = 566.666...; DSigmaR and Sigmo scale by
        // DSigmaRl'/500 = 1.1333...
        CycleQuantities cycle = Cycle(600, 250, 400, 500, 90);
        const PlasticityFactors k = CorrectionCoefficients::PlasticityCorrection(kCaller, ZoneKind::Unwelded, 30, 1200, 0.3, 100, cycle);
        EXPECT_NEAR(k.Ke, 1.1, 1e-14);
        EXPECT_NEAR(k.Kv, 7.0 / 6.0, 1e-14);
        const double rl = 1.1 * 250 + 7.0 / 6.0 * 250;
        EXPECT_NEAR(cycle.DSigmaRl, rl, 1e-11);
        EXPECT_NEAR(cycle.DSigmaR, 600 * rl / 500, 1e-11);
        EXPECT_NEAR(cycle.Sigmo, 90 * rl / 500, 1e-11);
        EXPECT_NEAR(cycle.DSigmaRlm, 250 * 1.1, 1e-11);
        EXPECT_NEAR(cycle.DSigmaRlt, 400 * 7.0 / 6.0, 1e-11);
    }
    {
        // Both parts with DSigmaRlm >= DSigmaRl: A = DSigmaRl, B = 0, DSigmaRl' = Ke·DSigmaRl.
        // Ke = 1 + 0.4·(600/200 - 1) = 1.8.
        CycleQuantities cycle = Cycle(500, 600, 50, 500, 0);
        const PlasticityFactors k = CorrectionCoefficients::PlasticityCorrection(kCaller, ZoneKind::Unwelded, 20, 400, 0.3, 100, cycle);
        EXPECT_NEAR(k.Ke, 1.8, 1e-14);
        EXPECT_NEAR(cycle.DSigmaRl, 1.8 * 500, 1e-11);
        EXPECT_NEAR(cycle.DSigmaR, 1.8 * 500, 1e-11);
    }
}

TEST(PlasticityCorrection, WeldedCases)
{
    // Welded: the test and the correction bear on DSigmaR; DSigmaRl and Sigmo stay.
    {
        CycleQuantities cycle = Cycle(200, 150, 0, 900, 10);
        const PlasticityFactors k = CorrectionCoefficients::PlasticityCorrection(kCaller, ZoneKind::Welded, 20, 400, 0.3, 100, cycle);
        EXPECT_EQ(k.Ke, 1.0);
        EXPECT_EQ(cycle.DSigmaR, 200.0);
    }
    {
        // Mechanical only: Ke = 1 + 0.4·(300/200 - 1) = 1.2 on DSigmaRlm and DSigmaR.
        CycleQuantities cycle = Cycle(350, 300, 0, 900, 10);
        const PlasticityFactors k = CorrectionCoefficients::PlasticityCorrection(kCaller, ZoneKind::Welded, 20, 400, 0.3, 100, cycle);
        EXPECT_NEAR(k.Ke, 1.2, 1e-14);
        EXPECT_NEAR(cycle.DSigmaR, 350 * 1.2, 1e-11);
        EXPECT_NEAR(cycle.DSigmaRlm, 300 * 1.2, 1e-11);
        EXPECT_EQ(cycle.DSigmaRl, 900.0);
        EXPECT_EQ(cycle.Sigmo, 10.0);
    }
    {
        // Both: Ke = 1.1 (DSigmaRlm 250), Kv = 7/6 (DSigmaRlt 400); A = min(250, 450) = 250,
        // B = 200, DSigmaR' = 1.1·250 + 7/6·200.
        CycleQuantities cycle = Cycle(450, 250, 400, 900, 10);
        CorrectionCoefficients::PlasticityCorrection(kCaller, ZoneKind::Welded, 30, 400, 0.3, 100, cycle);
        EXPECT_NEAR(cycle.DSigmaR, 1.1 * 250 + 7.0 / 6.0 * 200, 1e-11);
        EXPECT_NEAR(cycle.DSigmaRlm, 1.1 * 250, 1e-11);
        EXPECT_NEAR(cycle.DSigmaRlt, 7.0 / 6.0 * 400, 1e-11);
        EXPECT_EQ(cycle.DSigmaRl, 900.0);
    }
}

TEST(PlasticityCorrection, Errors)
{
    const MethodLogName weld("CPelnoFatigueClause::DamageWeldCriticalPlane");
    CycleQuantities mechanical = Cycle(400, 300, 0, 300, 0);
    const auto ke = RaisedError([&] {
        CorrectionCoefficients::PlasticityCorrection(kCaller, ZoneKind::Unwelded, 20, 1200, 0.3, 100, mechanical);
    });
    EXPECT_EQ(ke.first, 420);
    EXPECT_EQ(ke.second, "<CPelnoFatigueClause::DamageUWZoneCriticalPlane> : Ke ne peut pas être calculé pour la "
                         "résistance à la traction(Rm) du matériau");

    // Neither part above 0.01 (0.01 itself does not count).
    CycleQuantities neither = Cycle(400, 0.01, 0.005, 300, 0);
    const auto incoherent = RaisedError([&] {
        CorrectionCoefficients::PlasticityCorrection(weld, ZoneKind::Welded, 20, 400, 0.3, 100, neither);
    });
    EXPECT_EQ(incoherent.first, 440);
    EXPECT_EQ(incoherent.second,
              "<CPelnoFatigueClause::DamageWeldCriticalPlane> : Les valeurs de contraintes fournies ne sont pas cohérentes");
}

TEST(EffectiveNotchFactor, GeometricAndTotalStresses)
{
    // Geometric, Kt = 2, DSigmaD = 100, DSigmaRl = 80: Kt·DSigmaRl = 160 > 100,
    // Kf = 1 + 1.5·1/(1 + 0.5·1.6) = 1 + 1.5/1.8; DSigmaF = (Kf/2)·DSigmaR.
    NotchFactors f = CorrectionCoefficients::EffectiveNotchFactor(true, 2.0, 100.0, Cycle(150, 0, 0, 80, 0));
    EXPECT_EQ(f.Kt, 2.0);
    EXPECT_NEAR(f.Kf, 1.0 + 1.5 / 1.8, 1e-14);
    EXPECT_NEAR(f.DSigmaF, (1.0 + 1.5 / 1.8) / 2.0 * 150, 1e-11);

    // Kt·DSigmaRl <= DSigmaD: Kf = Kt and DSigmaF = DSigmaR.
    f = CorrectionCoefficients::EffectiveNotchFactor(true, 2.0, 200.0, Cycle(150, 0, 0, 80, 0));
    EXPECT_EQ(f.Kf, 2.0);
    EXPECT_EQ(f.DSigmaF, 150.0);

    // Total stresses: Kt = DSigmaR/DSigmaRl = 1.5; DSigmaR = 300 > DSigmaD = 100,
    // Kf = 1 + 1.5·0.5/(1 + 0.5·3) = 1.3; DSigmaF = (1.3/1.5)·300 = 260.
    f = CorrectionCoefficients::EffectiveNotchFactor(false, 1.0, 100.0, Cycle(300, 0, 0, 200, 0));
    EXPECT_NEAR(f.Kt, 1.5, 1e-14);
    EXPECT_NEAR(f.Kf, 1.3, 1e-14);
    EXPECT_NEAR(f.DSigmaF, 260.0, 1e-11);

    // Total stresses with DSigmaR below DSigmaRl: Kt = 1.
    f = CorrectionCoefficients::EffectiveNotchFactor(false, 1.0, 100.0, Cycle(150, 0, 0, 200, 0));
    EXPECT_EQ(f.Kt, 1.0);
    EXPECT_EQ(f.Kf, 1.0);
    EXPECT_EQ(f.DSigmaF, 150.0);

    // Total stresses with no linearised range at all: Kt = 1, everything finite.
    for (const double rl : {0.0, 0.01}) {
        f = CorrectionCoefficients::EffectiveNotchFactor(false, 1.0, 100.0, Cycle(150, 0, 0, rl, 0));
        EXPECT_EQ(f.Kt, 1.0) << rl;
        EXPECT_EQ(f.Kf, 1.0) << rl;
        EXPECT_EQ(f.DSigmaF, 150.0) << rl;
    }
}

TEST(TemperatureCoefficient, BothLaws)
{
    EXPECT_EQ(CorrectionCoefficients::TemperatureCoefficient(20, 100.0), 1.0);
    EXPECT_EQ(CorrectionCoefficients::TemperatureCoefficient(30, 100.0), 1.0);
    // 1.03 - 0.03 - 0.06
    EXPECT_NEAR(CorrectionCoefficients::TemperatureCoefficient(20, 200.0), 0.94, 1e-14);
    // 1.043 - 0.086
    EXPECT_NEAR(CorrectionCoefficients::TemperatureCoefficient(30, 200.0), 0.957, 1e-14);
    // 1.03 - 0.0225 - 0.03375
    EXPECT_NEAR(CorrectionCoefficients::TemperatureCoefficient(20, 150.0), 0.97375, 1e-14);
}

TEST(ThicknessCoefficient, WeldedClosedForm)
{
    EXPECT_EQ(CorrectionCoefficients::ThicknessCoefficient(20.0), 1.0);
    EXPECT_EQ(CorrectionCoefficients::ThicknessCoefficient(25.0), 1.0);
    // (25/40)^0.25 and (1/6)^0.25
    EXPECT_NEAR(CorrectionCoefficients::ThicknessCoefficient(40.0), 0.8891397050194614, 1e-14);
    EXPECT_NEAR(CorrectionCoefficients::ThicknessCoefficient(150.0), 0.6389431042462724, 1e-14);
    EXPECT_NEAR(CorrectionCoefficients::ThicknessCoefficient(400.0), 0.6389431042462724, 1e-14);
}

TEST(SolvedCoefficients, SurfaceAndThickness)
{
    // Rz below 6: 1 without asking the curve.
    FixedCurve curve{1000000000, {}};
    EXPECT_EQ(CorrectionCoefficients::SurfaceCoefficient(kCaller, 5.9, 500, 100000, 300, 400, curve), 1.0);
    EXPECT_TRUE(curve.queries.empty());

    // Rz = 10, Rm = 500: Fs = 1 - 0.056·(ln 10)^0.64·ln 500 + 0.289·(ln 10)^0.53 = 0.85614871580...
    // Above 2 000 000 cycles Cs = Fs: two rounds (1 -> Fs -> Fs), each asks the curve with the
    // range, the largest range and the current value.
    const double fs = 0.8561487158023673;
    curve.queries.clear();
    EXPECT_NEAR(CorrectionCoefficients::SurfaceCoefficient(kCaller, 10, 500, 1000000000, 300, 400, curve), fs, 1e-12);
    ASSERT_EQ(curve.queries.size(), 2u);
    EXPECT_EQ(curve.queries[0][0], 300.0);
    EXPECT_EQ(curve.queries[0][1], 400.0);
    EXPECT_NEAR(curve.queries[0][2], fs, 1e-12);

    // At N = 100 000 for ever: Cs = Fs^(0.1·ln 100000 - 0.465) = Fs^0.68629254649... = 0.89889512535...
    FixedCurve finite{100000, {}};
    EXPECT_NEAR(CorrectionCoefficients::SurfaceCoefficient(kCaller, 10, 500, 100000, 300, 400, finite), 0.8988951253518782, 1e-12);

    // Unwelded thickness: below 25 and at 25, Fe = 1 and the loop ends after one query.
    for (const double e : {24.9, 25.0}) {
        FixedCurve once{100000, {}};
        EXPECT_EQ(CorrectionCoefficients::ThicknessCoefficient(kCaller, e, 100000, 300, 400, once), 1.0) << e;
        EXPECT_EQ(once.queries.size(), 1u) << e;
    }
    // e = 100: Fe = 0.25^0.182 = 0.77700726878...; e = 200: (1/6)^0.182 = 0.72173284928...
    EXPECT_NEAR(CorrectionCoefficients::ThicknessCoefficient(kCaller, 100, 1000000000, 300, 400, curve), 0.7770072687840495, 1e-12);
    EXPECT_NEAR(CorrectionCoefficients::ThicknessCoefficient(kCaller, 200, 1000000000, 300, 400, curve), 0.7217328492870982, 1e-12);
}

TEST(SolvedCoefficients, MeanStress)
{
    FixedCurve endless{1000000000, {}};
    FixedCurve finite{100000, {}};
    // Rm = 900, N >= 2 000 000, reduced mean stress 0 (Sigmo 0, SigmaEqM within Rpt):
    // Cm = C800 + (C1000 - C800)/2 = (sqrt(1.0104) + sqrt(0.9931))/2 = 1.00086528898977.
    EXPECT_NEAR(CorrectionCoefficients::MeanStressCoefficient(kCaller, 900, 150, Cycle(200, 0, 0, 200, 0, 100), 200, 1000000000, 400, endless),
                1.0008652889897696, 1e-12);

    // DSigmaRl > 2·Rpt: 1 without asking the curve.
    FixedCurve unused{100000, {}};
    EXPECT_EQ(CorrectionCoefficients::MeanStressCoefficient(kCaller, 900, 150, Cycle(400, 0, 0, 301, 50, 100), 200, 100000, 400, unused), 1.0);
    EXPECT_TRUE(unused.queries.empty());

    // Below 2 000 000 cycles, Rm = 500: M = 0.075, threshold DSigmaF/(2·1.075) = 93.02.
    // Sigmo 20 (under the threshold): Cm = sqrt(1 - (0.075·2.075/1.075)·(40/200)) = 0.98541692274...
    EXPECT_NEAR(CorrectionCoefficients::MeanStressCoefficient(kCaller, 500, 150, Cycle(200, 0, 0, 200, 20, 100), 200, 100000, 400, finite),
                0.9854169227428089, 1e-12);
    // Sigmo 100 (over the threshold, within Rpt): Cm = 1.025/1.075 - 0.025·1 = 0.92848837209...
    EXPECT_NEAR(CorrectionCoefficients::MeanStressCoefficient(kCaller, 500, 150, Cycle(200, 0, 0, 200, 100, 100), 200, 100000, 400, finite),
                0.9284883720930232, 1e-12);
    // |SigmaEqM| > Rpt and Sigmo > 0: reduced mean stress Rpt - DSigmaF/2 = 150 - 100 = 50,
    // under the threshold: sqrt(1 - (0.075·2.075/1.075)·(100/200)).
    const double k = 0.075 * 2.075 / 1.075;
    EXPECT_NEAR(CorrectionCoefficients::MeanStressCoefficient(kCaller, 500, 150, Cycle(200, 0, 0, 200, 5, -160), 200, 100000, 400, finite),
                std::sqrt(1.0 - k * 0.5), 1e-9);
    // ... and Sigmo <= 0: DSigmaF/2 - Rpt = -50: sqrt(1 + k·0.5).
    EXPECT_NEAR(CorrectionCoefficients::MeanStressCoefficient(kCaller, 500, 150, Cycle(200, 0, 0, 200, 0, 160), 200, 100000, 400, finite),
                std::sqrt(1.0 + k * 0.5), 1e-9);

    // Reduced mean stress above Rpt below 2 000 000 cycles: 210 under the caller's name.
    const auto outside = RaisedError([&] {
        CorrectionCoefficients::MeanStressCoefficient(kCaller, 500, 150, Cycle(200, 0, 0, 200, 200, 100), 200, 100000, 400, finite);
    });
    EXPECT_EQ(outside.first, 210);
    EXPECT_EQ(outside.second,
              "<CPelnoFatigueClause::DamageUWZoneCriticalPlane> : Erreur interne au logiciel, contactez le TOLVE");
}

TEST(SolveCoefficient, LoopArithmetic)
{
    // Law n/1e7 with a curve at 1000 cycles: n starts capped at 2 000 000, then
    // (3·2000000 + 1000)/4 = 1500250, then (3·1500250 + 1000)/4 = 1125437 (truncated).
    std::vector<std::int32_t> seen;
    const auto law = [&](std::int32_t n) {
        seen.push_back(n);
        return n / 1e7;
    };
    FixedCurve curve{1000, {}};
    const double result = CorrectionCoefficients::SolveCoefficient(kCaller, law, 5000000, 300, 400, curve);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0], 2000000);
    EXPECT_EQ(seen[1], 1500250);
    EXPECT_EQ(seen[2], 1125437);
    // It stops at the first step under 0.0001, and returns the last value of the law.
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(result, seen.back() / 1e7);
    EXPECT_LE(std::fabs(seen[seen.size() - 1] / 1e7 - seen[seen.size() - 2] / 1e7), 0.0001);
    EXPECT_GT(std::fabs(seen[seen.size() - 2] / 1e7 - seen[seen.size() - 3] / 1e7), 0.0001);
}

TEST(SolveCoefficient, NonConvergenceAndForeignFailures)
{
    // A law that keeps jumping: the 2001st round raises 470.
    int rounds = 0;
    const auto jumping = [&](std::int32_t) { return (++rounds % 2 == 0) ? 1.0 : 0.5; };
    FixedCurve curve{1000, {}};
    const auto stuck = RaisedError([&] { CorrectionCoefficients::SolveCoefficient(kCaller, jumping, 1000, 300, 400, curve); });
    EXPECT_EQ(stuck.first, 470);
    EXPECT_EQ(stuck.second, "<CPelnoFatigueClause::DamageUWZoneCriticalPlane> : Erreur interne au logiciel, non "
                            "convergence pour un facteur correctif, contactez le TOLVE");
    EXPECT_EQ(rounds, 2001);

    // A failure of the curve that is not a program error becomes code 10 under the caller's name.
    const auto failing = [](double, double, double) -> std::int32_t { throw std::runtime_error("curve"); };
    const auto unknown = RaisedError([&] { CorrectionCoefficients::ThicknessCoefficient(kCaller, 30, 1000, 300, 400, failing); });
    EXPECT_EQ(unknown.first, 10);
    EXPECT_EQ(unknown.second, "<CPelnoFatigueClause::DamageUWZoneCriticalPlane> : Erreur inconnue");
}
