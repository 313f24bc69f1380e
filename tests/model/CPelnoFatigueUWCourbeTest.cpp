#include "model/CPelnoFatigueUWCourbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "support/ReaderTestSupport.h"

namespace {

const std::string kHeader = "*UWCOURBE           C400\n";

CPelnoFatigueUWCourbe Curve(double rm)
{
    CPelnoFatigueUWCourbe curve;
    curve.SetDefinition("C", rm);
    return curve;
}

// Rm = 400: DSigmaD = 0.63 x 400 + 46000 / sqrt(2000000) - 11.5 = 252 + 32.5269119... - 11.5
// = 273.0269119...; DSigmaC = DSigmaD x 0.02^0.1 = 273.0269119 x 0.6762433378 = 184.6326302...
constexpr double kDSigmaD400 = 273.02691193458116;
constexpr double kDSigmaC400 = 184.63263023757187;

}  // namespace

TEST(CPelnoFatigueUWCourbe, DefaultsAreUndefinedAndQueriesFail)
{
    const CPelnoFatigueUWCourbe curve;
    EXPECT_FALSE(curve.IsDefined());
    EXPECT_EQ(curve.GetName(), " ");
    EXPECT_EQ(curve.GetRm(), std::numeric_limits<double>::lowest());
    std::string name;
    std::int32_t nd = 0;
    std::int32_t nc = 0;
    double dSigmaD = 0.0;
    double dSigmaC = 0.0;
    double rm = 0.0;
    EXPECT_EQ(CodeOf([&] { curve.GetDSigmaD(); }), 70);
    EXPECT_EQ(CodeOf([&] { curve.GetDSigmaC(); }), 70);
    EXPECT_EQ(CodeOf([&] { curve.GetDefinition(name, nd, dSigmaD, nc, dSigmaC, rm); }), 70);
    EXPECT_EQ(CodeOf([&] { curve.PermissibleCycles(300.0, 300.0, 1.0); }), 70);
}

TEST(CPelnoFatigueUWCourbe, BlockCodes)
{
    struct Case {
        std::string block;
        int code;
        std::string name = "C400";
        double rm = 400.0;
    };
    const Case cases[] = {
        {kHeader + "*PARAMETRE 400.\n*FIN_UWCOURBE\n", 0},
        {kHeader + "/ Rm\n\n*PARAMETRE\t4e2  suite ignorée\n*FIN_UWCOURBE\r\n", 0},
        {kHeader + "*FIN_UWCOURBE\n", 70},
        {kHeader + "*PARAMETRE 400.\n*PARAMETRE 400.\n*FIN_UWCOURBE\n", 30},
        {kHeader + "*PARAMETRE 50\n*FIN_UWCOURBE\n", 70},
        {kHeader + "*PARAMETRE 50.001\n*FIN_UWCOURBE\n", 0, "C400", 50.001},
        {kHeader + "*PARAMETRE 1e6\n*FIN_UWCOURBE\n", 0, "C400", 1e6},  // no upper bound
        {kHeader + "*PARAMETRE 400,5\n*FIN_UWCOURBE\n", 70},
        {kHeader + "*PARAMETRE\n*FIN_UWCOURBE\n", 70},
        {kHeader + "*PARAMETRE Rm\n*FIN_UWCOURBE\n", 70},
        {kHeader + "*RM 400\n*FIN_UWCOURBE\n", 40},
        {kHeader + "*PARAMETRE 400.\n", 50},
        {kHeader + "*PARAMETRE 400.\n*FIN_UWCOURBE", 50},
        {"*UWCOURBE            \n*PARAMETRE 400.\n*FIN_UWCOURBE\n", 70},      // a single blank
        {"*UWCOURBE           \n*PARAMETRE 400.\n*FIN_UWCOURBE\n", 0, ""},    // an empty name
    };
    for (const Case& c : cases) {
        CPelnoFatigueUWCourbe curve;
        const int code = ReadBlock(c.block, [&](std::istream& in, const std::string& h) {
            curve.Read(in, h);
        });
        EXPECT_EQ(code, c.code) << c.block;
        EXPECT_EQ(curve.IsDefined(), code == 0) << c.block;
        if (code == 0) {
            EXPECT_EQ(curve.GetName(), c.name) << c.block;
            EXPECT_EQ(curve.GetRm(), c.rm) << c.block;
        }
    }
}

TEST(CPelnoFatigueUWCourbe, DerivedLimits)
{
    const CPelnoFatigueUWCourbe curve = Curve(400.0);
    EXPECT_NEAR(curve.GetDSigmaD(), 273.0269, 0.00005);
    EXPECT_DOUBLE_EQ(curve.GetDSigmaD(), kDSigmaD400);
    EXPECT_NEAR(curve.GetDSigmaC(), 184.63, 0.005);
    EXPECT_DOUBLE_EQ(curve.GetDSigmaC(), kDSigmaC400);

    std::string name;
    std::int32_t nd = 0;
    std::int32_t nc = 0;
    double dSigmaD = 0.0;
    double dSigmaC = 0.0;
    double rm = 0.0;
    curve.GetDefinition(name, nd, dSigmaD, nc, dSigmaC, rm);
    EXPECT_EQ(name, "C");
    EXPECT_EQ(nd, 2000000);
    EXPECT_EQ(nc, 100000000);
    EXPECT_EQ(dSigmaD, curve.GetDSigmaD());
    EXPECT_EQ(dSigmaC, curve.GetDSigmaC());
    EXPECT_EQ(rm, 400.0);

    const CPelnoFatigueUWCourbe copy(curve);
    CPelnoFatigueUWCourbe assigned;
    assigned = copy;
    EXPECT_TRUE(assigned.IsDefined());
    EXPECT_EQ(assigned.GetName(), "C");
    EXPECT_EQ(assigned.GetDSigmaD(), curve.GetDSigmaD());
}

TEST(CPelnoFatigueUWCourbe, SetDefinitionChecks)
{
    struct Case {
        std::string name;
        double rm;
        int code;
    };
    const Case cases[] = {
        {"C", 50.0, 70},
        {"C", 50.001, 0},
        {"C", -400.0, 70},
        {"C", std::numeric_limits<double>::quiet_NaN(), 70},
        {"C", std::numeric_limits<double>::infinity(), 70},
        {" ", 400.0, 70},
        {"", 400.0, 0},
        {"C ", 400.0, 0},
    };
    for (const Case& c : cases) {
        CPelnoFatigueUWCourbe curve;
        EXPECT_EQ(CodeOf([&] { curve.SetDefinition(c.name, c.rm); }), c.code) << c.name << " " << c.rm;
        EXPECT_EQ(curve.IsDefined(), c.code == 0);
    }
}

TEST(CPelnoFatigueUWCourbe, CurveOfAZoneIsNamedAfterTheIntegerPartOfRm)
{
    struct Case {
        double rm;
        int code;
        std::string name;
    };
    const Case cases[] = {
        {410.7, 0, "410"},
        {410.2, 0, "410"},
        {410.0, 0, "410"},
        {50.001, 0, "50"},
        {50.0, 70, ""},
        {49.0, 70, ""},
        {1234567.9, 0, "1234567"},   // plain digits, no grouping
        {3e12, 0, "3000000000000"},  // beyond any 32-bit integer
    };
    // The name never follows the user's locale.
    ScopedUserLocale grouping(LocaleAvailable(kGroupingLocale) ? kGroupingLocale : "C");
    for (const Case& c : cases) {
        CPelnoFatigueUWCourbe curve;
        EXPECT_EQ(CodeOf([&] { curve.SetDefinition(c.rm); }), c.code) << c.rm;
        if (c.code == 0) {
            EXPECT_EQ(curve.GetName(), c.name);
            EXPECT_EQ(curve.GetRm(), c.rm);
        } else {
            EXPECT_FALSE(curve.IsDefined());
        }
    }
}

TEST(CPelnoFatigueUWCourbe, PermissibleCycles)
{
    const CPelnoFatigueUWCourbe curve = Curve(400.0);
    struct Case {
        double dSigma;
        double dSigmaMax;
        double factor;
        std::int32_t cycles;
    };
    const Case cases[] = {
        // x = DSigmaD: (46000 / 32.5269...)^2 = 2000000 (up to rounding above it)
        {kDSigmaD400, kDSigmaD400, 1.0, 2000000},
        // x = 300: (46000 / (300 - 252 + 11.5))^2 = (773.1092...)^2 = 597697.90...
        {300.0, 300.0, 1.0, 597697},
        {600.0, 600.0, 2.0, 597697},
        // 184.63 < x = 200 < 273.03 and DSigmaMax reaches DSigmaD:
        // 2000000 x ((252 + 21.0269) / 200)^10 = 2000000 x 1.3651345^10 = 44955664.3...
        {200.0, 300.0, 1.0, 44955664},
        {200.0, kDSigmaD400, 1.0, 44955664},
        // the same x with DSigmaMax / Factor below DSigmaD: unlimited (DSigmaMax is divided by
        // the factor here, unlike the welded-zone classes)
        {400.0, 500.0, 2.0, 1000000000},
        {400.0, 546.1, 2.0, 44955664},
        {200.0, 273.0, 1.0, 1000000000},
        // x at or below the cut-off limit: unlimited
        {kDSigmaC400, 1000.0, 1.0, 1000000000},
        {100.0, 1000.0, 1.0, 1000000000},
        // saturation: far above the curve fewer than one cycle counts as one; an infinite x
        // gives a zero quotient
        {1e7, 1e7, 1.0, 1},
        {300.0, 300.0, 0.0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(curve.PermissibleCycles(c.dSigma, c.dSigmaMax, c.factor), c.cycles)
            << c.dSigma << " " << c.dSigmaMax << " " << c.factor;
    }
}

namespace {

std::vector<std::string> ExpectedCurveLines(const std::string& rm, const std::string& dSigmaD,
                                            const std::string& dSigmaC)
{
    return {
        "",
        "Nom de la courbe de fatigue pour zone sans soudure : 400",
        "Résistance à la traction (MPa)                     : " + rm,
        "Nombre de cycles à la limite d'endurance           : 2e+06",
        "Limite d'endurance (MPa)                           : " + dSigmaD,
        "Nombre de cycles à la limite de troncature         : 1e+08",
        "Limite de troncature (MPa)                         : " + dSigmaC,
        "",
    };
}

CPelnoFatigueUWCourbe PrintedCurve()
{
    CPelnoFatigueUWCourbe curve;
    curve.SetDefinition(400.0);
    return curve;
}

}  // namespace

TEST(CPelnoFatigueUWCourbe, PrinterUnderTheClassicLocale)
{
    ScopedUserLocale classic("C");
    std::ostringstream out;
    out << PrintedCurve();
    EXPECT_EQ(Lines(out.str()), ExpectedCurveLines("400", "273.027", "184.633"));

    // The stream's format reaches Rm and the limits, not the two cycle numbers.
    std::ostringstream fixed;
    fixed << std::fixed << std::setprecision(4) << PrintedCurve();
    EXPECT_EQ(Lines(fixed.str()), ExpectedCurveLines("400.0000", "273.0269", "184.6326"));
}

TEST(CPelnoFatigueUWCourbe, PrinterUnderAGroupingLocale)
{
    if (!LocaleAvailable(kGroupingLocale)) GTEST_SKIP() << kGroupingLocale << " is not installed";
    ScopedUserLocale french(kGroupingLocale);
    // 2e+06 and 1e+08 have no decimal mark and no digit groups: unchanged. The report stream
    // carries the user's locale, so its own numbers take the decimal comma.
    std::ostringstream report;
    report.imbue(std::locale(kGroupingLocale));
    report << std::fixed << std::setprecision(4) << PrintedCurve();
    EXPECT_EQ(Lines(report.str()), ExpectedCurveLines("400,0000", "273,0269", "184,6326"));
}

TEST(CPelnoFatigueUWCourbe, PrinterOfAnUndefinedCurveFails)
{
    std::ostringstream out;
    EXPECT_EQ(CodeOf([&] { out << CPelnoFatigueUWCourbe(); }), 70);
}

namespace {

// The curve's answer written from its formulas, with pow and the truncation toward zero.
std::int32_t ByTheFormulas(double rm, double range, double largest, double factor)
{
    const double dSigmaD = 0.63 * rm + 46000.0 / std::pow(2000000.0, 0.5) - 11.5;
    const double dSigmaC = dSigmaD * std::pow(0.02, 0.1);
    const double x = range / factor;
    double quotient = 0.0;
    if (x >= dSigmaD) {
        const double root = 46000.0 / (x - 0.63 * rm + 11.5);
        quotient = root * root;
    } else if (dSigmaC < x && largest / factor >= dSigmaD) {
        quotient = 2000000.0 * std::pow((0.63 * rm + 21.0269) / x, 10.0);
    } else {
        return 1000000000;
    }
    if (!(quotient <= 2147483647.0)) return 2147483647;
    if (quotient < 1.0) return 1;
    return static_cast<std::int32_t>(quotient);
}

}  // namespace

// The query taken once (as the searches take it) answers as the formulas, to the count: on
// both slopes and below the cut-off limit, one range at a time or many (the damages 1/N).
TEST(CPelnoFatigueUWCourbe, QueryAnswersAsTheFormulas)
{
    std::mt19937 random(410);
    for (int trial = 0; trial < 40; ++trial) {
        const double rm = std::uniform_real_distribution<double>(100.0, 900.0)(random);
        CPelnoFatigueUWCourbe curve;
        curve.SetDefinition("C", rm);
        const CPelnoFatigueUWCourbe::Query query = curve.GetQuery();
        const double dSigmaD = curve.GetDSigmaD();
        const double factor = trial % 3 == 0 ? 1.0 : 0.2;
        // Ranges from well below the cut-off limit to twice the endurance limit, corrected by
        // the factor, with the limits themselves among them.
        std::vector<double> ranges;
        std::uniform_real_distribution<double> share(0.3, 2.0);
        for (int k = 0; k < 2001; ++k) ranges.push_back(share(random) * dSigmaD * factor);
        ranges.push_back(dSigmaD * factor);
        ranges.push_back(curve.GetDSigmaC() * factor);
        for (const double largest : {0.5 * dSigmaD * factor, 3.0 * dSigmaD * factor}) {
            std::vector<double> damages(ranges.size());
            query.CycleDamages(ranges.data(), ranges.size(), largest, factor, damages.data());
            for (std::size_t k = 0; k < ranges.size(); ++k) {
                const std::int32_t expected = ByTheFormulas(rm, ranges[k], largest, factor);
                ASSERT_EQ(query.PermissibleCycles(ranges[k], largest, factor), expected) << rm << " " << ranges[k];
                ASSERT_EQ(curve.PermissibleCycles(ranges[k], largest, factor), expected);
                ASSERT_EQ(damages[k], 1.0 / static_cast<double>(expected)) << rm << " " << ranges[k];
            }
        }
    }
    // An undefined curve's query raises 70 when asked.
    const CPelnoFatigueUWCourbe::Query undefined = CPelnoFatigueUWCourbe().GetQuery();
    EXPECT_EQ(CodeOf([&] { undefined.PermissibleCycles(100.0, 100.0, 1.0); }), 70);
    double damage = 0.0;
    const double range = 100.0;
    EXPECT_EQ(CodeOf([&] { undefined.CycleDamages(&range, 1, 100.0, 1.0, &damage); }), 70);
}
