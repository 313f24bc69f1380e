#include "model/CPelnoFatigueClasse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "model/PermissibleCyclesCount.h"
#include "support/ReaderTestSupport.h"

namespace {

const std::string kHeader = "*CLASSE             FAT100\n";
const std::string kLimits = "*PARAMETRE 2000000 100. 100000000 50.\n";
const std::string kSlopes = "*PARAMETRES 3. 2e12 5. 2e16\n";

// A consistent class for hand calculations: ND = 2e6 cycles at DSigmaD = 100 MPa, cut-off
// 50 MPa at NC = 1e8; C1 = 2e6 x 100^3 = 2e12, C2 = 2e6 x 100^5 = 2e16.
CPelnoFatigueClasse Fat100()
{
    CPelnoFatigueClasse fatigueClass;
    fatigueClass.SetDefinition("FAT100", 2000000, 100000000, 50.0, 3.0, 2e12, 5.0, 2e16, 100.0);
    return fatigueClass;
}

struct Definition {
    std::string name = "FAT100";
    std::int32_t nd = 2000000;
    std::int32_t nc = 100000000;
    double dSigmaC = 50.0;
    double m1 = 3.0;
    double c1 = 2e12;
    double m2 = 5.0;
    double c2 = 2e16;
    double dSigmaD = 100.0;
};

int Define(const Definition& d)
{
    CPelnoFatigueClasse fatigueClass;
    const int code = CodeOf([&] {
        fatigueClass.SetDefinition(d.name, d.nd, d.nc, d.dSigmaC, d.m1, d.c1, d.m2, d.c2, d.dSigmaD);
    });
    EXPECT_EQ(fatigueClass.IsDefined(), code == 0);
    return code;
}

}  // namespace

TEST(CPelnoFatigueClasse, DefaultsAreUndefined)
{
    const CPelnoFatigueClasse fatigueClass;
    EXPECT_FALSE(fatigueClass.IsDefined());
    EXPECT_EQ(fatigueClass.GetName(), " ");
    EXPECT_EQ(fatigueClass.GetND(), -1);
    EXPECT_EQ(fatigueClass.GetNC(), -1);
    EXPECT_EQ(fatigueClass.GetDSigmaD(), std::numeric_limits<double>::lowest());
    EXPECT_EQ(fatigueClass.GetC2(), std::numeric_limits<double>::lowest());
    EXPECT_EQ(CodeOf([&] { fatigueClass.PermissibleCycles(100.0, 100.0, 1.0); }), 20);
}

TEST(CPelnoFatigueClasse, ReadsTheBlock)
{
    CPelnoFatigueClasse fatigueClass;
    const int code = ReadBlock(kHeader + kSlopes + "/ commentaire\n\n" +
                                   "*PARAMETRE 2000000.9 100. 100000000.7 50.\n*FIN_CLASSE\n",
                               [&](std::istream& in, const std::string& h) { fatigueClass.Read(in, h); });
    ASSERT_EQ(code, 0);
    EXPECT_TRUE(fatigueClass.IsDefined());
    EXPECT_EQ(fatigueClass.GetName(), "FAT100");
    EXPECT_EQ(fatigueClass.GetND(), 2000000);   // truncated toward zero
    EXPECT_EQ(fatigueClass.GetNC(), 100000000);
    EXPECT_EQ(fatigueClass.GetDSigmaD(), 100.0);
    EXPECT_EQ(fatigueClass.GetDSigmaC(), 50.0);
    EXPECT_EQ(fatigueClass.GetM1(), 3.0);
    EXPECT_EQ(fatigueClass.GetC1(), 2e12);
    EXPECT_EQ(fatigueClass.GetM2(), 5.0);
    EXPECT_EQ(fatigueClass.GetC2(), 2e16);

    CPelnoFatigueClasse assigned;
    assigned = CPelnoFatigueClasse(fatigueClass);
    EXPECT_TRUE(assigned.IsDefined());
    EXPECT_EQ(assigned.GetND(), 2000000);
    EXPECT_EQ(assigned.GetC2(), 2e16);
    EXPECT_EQ(assigned.PermissibleCycles(200.0, 200.0, 1.0), 250000);
}

TEST(CPelnoFatigueClasse, BlockCodes)
{
    struct Case {
        std::string block;
        int code;
    };
    const Case cases[] = {
        {kHeader + kLimits + kSlopes + "*FIN_CLASSE\n", 0},
        {kHeader + kLimits + "*FIN_CLASSE\n", 20},
        {kHeader + kSlopes + "*FIN_CLASSE\n", 20},
        {kHeader + "*FIN_CLASSE\n", 20},
        {kHeader + kLimits + kLimits + kSlopes + "*FIN_CLASSE\n", 30},
        {kHeader + kLimits + kSlopes + kSlopes + "*FIN_CLASSE\n", 30},
        // "*PARAMETRES" is told apart from "*PARAMETRE"; further letters follow the prefix rule
        {kHeader + kLimits + "*PARAMETRESX 3. 2e12 5. 2e16\n*FIN_CLASSE\n", 0},
        {kHeader + "*PARAMETREX 2000000 100. 100000000 50.\n" + kSlopes + "*FIN_CLASSE\n", 0},
        // numbers the strict reader refuses
        {kHeader + "*PARAMETRE 2000000 100,5 100000000 50.\n" + kSlopes + "*FIN_CLASSE\n", 20},
        {kHeader + "*PARAMETRE 2e6x 100. 100000000 50.\n" + kSlopes + "*FIN_CLASSE\n", 20},
        {kHeader + "*PARAMETRE 2000000 100. 100000000\n" + kSlopes + "*FIN_CLASSE\n", 20},
        {kHeader + kLimits + "*PARAMETRES 3. 2e12 5. inf\n*FIN_CLASSE\n", 20},
        {kHeader + kLimits + "*PARAMETRES 3. 2e12 5.\n*FIN_CLASSE\n", 20},
        // cycle numbers beyond the 32-bit range cannot be held
        {kHeader + "*PARAMETRE 2000000 100. 3e9 50.\n" + kSlopes + "*FIN_CLASSE\n", 20},
        {kHeader + "*PARAMETRE 2000000 100. 2147483647.9 50.\n" + kSlopes + "*FIN_CLASSE\n", 0},
        // a value rejected by SetDefinition
        {kHeader + "*PARAMETRE 10000 100. 100000000 50.\n" + kSlopes + "*FIN_CLASSE\n", 20},
        // shared codes
        {kHeader + kLimits + kSlopes + "*FIN\n*FIN_CLASSE\n", 40},
        {kHeader + kLimits + kSlopes + " *FIN_CLASSE\n", 40},
        {kHeader + kLimits + kSlopes, 50},
        {kHeader + kLimits + kSlopes + "*FIN_CLASSE", 50},
        // names from column 21
        {"*CLASSE              \n" + kLimits + kSlopes + "*FIN_CLASSE\n", 20},  // a single blank
        {"*CLASSE\n" + kLimits + kSlopes + "*FIN_CLASSE\n", 0},                 // empty name
    };
    for (const Case& c : cases) {
        CPelnoFatigueClasse fatigueClass;
        const int code = ReadBlock(c.block, [&](std::istream& in, const std::string& h) {
            fatigueClass.Read(in, h);
        });
        EXPECT_EQ(code, c.code) << c.block;
        EXPECT_EQ(fatigueClass.IsDefined(), code == 0) << c.block;
    }
}

TEST(CPelnoFatigueClasse, SetDefinitionComparisonsAreStrict)
{
    struct Case {
        const char* what;
        void (*change)(Definition&);
        int code;
    };
    const Case cases[] = {
        {"valid", [](Definition&) {}, 0},
        {"blank name", [](Definition& d) { d.name = " "; }, 20},
        {"empty name", [](Definition& d) { d.name = ""; }, 0},
        {"ND 10000", [](Definition& d) { d.nd = 10000; }, 20},
        {"ND 10001", [](Definition& d) { d.nd = 10001; }, 0},
        {"DSigmaD 5", [](Definition& d) { d.dSigmaD = 5.0; d.dSigmaC = 1.0; }, 20},
        {"DSigmaD 5.0001", [](Definition& d) { d.dSigmaD = 5.0001; d.dSigmaC = 1.0; }, 0},
        {"NC = ND", [](Definition& d) { d.nc = d.nd; }, 20},
        {"NC = ND + 1", [](Definition& d) { d.nc = d.nd + 1; }, 0},
        {"DSigmaC = DSigmaD", [](Definition& d) { d.dSigmaC = d.dSigmaD; }, 20},
        {"DSigmaC just below", [](Definition& d) { d.dSigmaC = 99.999; }, 0},
        {"DSigmaC negative", [](Definition& d) { d.dSigmaC = -1.0; }, 0},  // not checked
        {"m1 1", [](Definition& d) { d.m1 = 1.0; }, 20},
        {"m1 1.0001", [](Definition& d) { d.m1 = 1.0001; }, 0},
        {"C1 1e9", [](Definition& d) { d.c1 = 1e9; }, 20},
        {"C1 1.000001e9", [](Definition& d) { d.c1 = 1.000001e9; }, 0},
        {"m2 1", [](Definition& d) { d.m2 = 1.0; }, 20},
        {"m2 1.0001", [](Definition& d) { d.m2 = 1.0001; }, 0},
        {"C2 1e9", [](Definition& d) { d.c2 = 1e9; }, 20},
        {"C2 1.000001e9", [](Definition& d) { d.c2 = 1.000001e9; }, 0},
        {"C1 NaN", [](Definition& d) { d.c1 = std::numeric_limits<double>::quiet_NaN(); }, 20},
        {"DSigmaC NaN", [](Definition& d) { d.dSigmaC = std::numeric_limits<double>::quiet_NaN(); }, 20},
        // C1 and C2 are not checked against ND and DSigmaD
        {"inconsistent C1", [](Definition& d) { d.c1 = 7e15; }, 0},
    };
    for (const Case& c : cases) {
        Definition d;
        c.change(d);
        EXPECT_EQ(Define(d), c.code) << c.what;
    }
}

TEST(CPelnoFatigueClasse, PermissibleCyclesOnBothSlopes)
{
    const CPelnoFatigueClasse fat100 = Fat100();
    struct Case {
        double dSigma;
        double dSigmaMax;
        double factor;
        std::int32_t cycles;
    };
    const Case cases[] = {
        {200.0, 200.0, 1.0, 250000},       // 2e12 / 200^3
        {100.0, 100.0, 1.0, 2000000},      // x = DSigmaD: first slope, 2e12 / 1e6
        {150.0, 150.0, 1.5, 2000000},      // x = 150 / 1.5
        {80.0, 100.0, 1.0, 6103515},       // 2e16 / 80^5 = 6103515.625, truncated
        {80.0, 99.999, 1.0, 1000000000},   // the spectrum stays below DSigmaD: unlimited
        {50.0, 200.0, 1.0, 1000000000},    // x = DSigmaC: unlimited
        {40.0, 200.0, 1.0, 1000000000},
        // DSigmaMax is compared as given, not divided by the factor: 150 >= 100 here although
        // 150 / 2 is below the endurance limit.
        {160.0, 150.0, 2.0, 6103515},
        {160.0, 99.0, 2.0, 1000000000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fat100.PermissibleCycles(c.dSigma, c.dSigmaMax, c.factor), c.cycles)
            << c.dSigma << " " << c.dSigmaMax << " " << c.factor;
    }
}

TEST(CPelnoFatigueClasse, PermissibleCyclesSaturate)
{
    // An inconsistent C1 gives quotients beyond the 32-bit range: 1e30 / 100^3 = 1e24.
    CPelnoFatigueClasse huge;
    huge.SetDefinition("H", 2000000, 100000000, 50.0, 3.0, 1e30, 5.0, 2e16, 100.0);
    EXPECT_EQ(huge.PermissibleCycles(100.0, 100.0, 1.0), 2147483647);

    const CPelnoFatigueClasse fat100 = Fat100();
    EXPECT_EQ(fat100.PermissibleCycles(1e6, 1e6, 1.0), 1);    // 2e12 / 1e18 < 1
    EXPECT_EQ(fat100.PermissibleCycles(100.0, 100.0, 0.0), 1);  // x infinite: 2e12 / inf = 0

    // A cut-off limit below zero lets a zero range reach the second slope: 2e16 / 0 is infinite.
    CPelnoFatigueClasse noCutOff;
    noCutOff.SetDefinition("Z", 2000000, 100000000, -1.0, 3.0, 2e12, 5.0, 2e16, 100.0);
    EXPECT_EQ(noCutOff.PermissibleCycles(0.0, 200.0, 1.0), 2147483647);
    // A negative range with an odd exponent gives a negative quotient: one cycle.
    EXPECT_EQ(noCutOff.PermissibleCycles(-0.5, 200.0, 1.0), 1);
}

TEST(PermissibleCyclesCount, SaturatesInsteadOfOverflowing)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double quotient;
        std::int32_t count;
    };
    const Case cases[] = {
        {std::numeric_limits<double>::quiet_NaN(), 2147483647},
        {inf, 2147483647},
        {-inf, 2147483647},
        {3e9, 2147483647},
        {1e300, 2147483647},
        {2147483648.0, 2147483647},
        {2147483647.0, 2147483647},
        {2147483646.7, 2147483646},
        {250000.9, 250000},
        {1.0, 1},
        {1.9, 1},
        {0.999, 1},
        {0.0, 1},
        {-5.0, 1},
        {-1e300, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PermissibleCyclesCount(c.quotient), c.count) << c.quotient;
    }
}

namespace {

std::vector<std::string> ExpectedClassLines(const std::string& nd, const std::string& nc)
{
    return {
        "",
        "Nom de la classe de fatigue                            : FAT100",
        "Nombre de cycles à la limite d'endurance               : " + nd,
        "Limite d'endurance (MPa)                               : 100",
        "Nombre de cycles à la limite de troncature             : " + nc,
        "Limite de troncature (MPa)                             : 50",
        "Paramètre m1 de N*(DSigma**m1)=C1 (selon C11.3.12.1.3) : 3",
        "Paramètre C1 de N*(DSigma**m1)=C1 (selon C11.3.12.1.3) : 2e+12",
        "Paramètre m2 de N*(DSigma**m2)=C2 (selon C11.3.12.1.3) : 5",
        "Paramètre C2 de N*(DSigma**m2)=C2 (selon C11.3.12.1.3) : 2e+16",
        "",
    };
}

}  // namespace

TEST(CPelnoFatigueClasse, PrinterUnderTheClassicLocale)
{
    ScopedUserLocale classic("C");
    std::ostringstream out;
    out << Fat100();
    EXPECT_EQ(Lines(out.str()), ExpectedClassLines("2000000", "100000000"));
}

TEST(CPelnoFatigueClasse, PrinterUnderAGroupingLocale)
{
    if (!LocaleAvailable(kGroupingLocale)) GTEST_SKIP() << kGroupingLocale << " is not installed";
    ScopedUserLocale french(kGroupingLocale);
    // ND and NC are grouped by three digits with a blank; the doubles follow the stream, which
    // here keeps the classic locale and the default format.
    std::ostringstream out;
    out << Fat100();
    EXPECT_EQ(Lines(out.str()), ExpectedClassLines("2 000 000", "100 000 000"));

    // With a fixed format on the report stream, only the doubles change.
    std::ostringstream fixed;
    fixed << std::fixed << std::setprecision(1) << Fat100();
    const std::vector<std::string> lines = Lines(fixed.str());
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[2], "Nombre de cycles à la limite d'endurance               : 2 000 000");
    EXPECT_EQ(lines[3], "Limite d'endurance (MPa)                               : 100.0");
    EXPECT_EQ(lines[7], "Paramètre C1 de N*(DSigma**m1)=C1 (selon C11.3.12.1.3) : 2000000000000.0");
}

// The query taken once answers as PermissibleCycles, one range at a time or many.
TEST(CPelnoFatigueClasse, QueryAnswersAsPermissibleCycles)
{
    CPelnoFatigueClasse fatigueClass;
    fatigueClass.SetDefinition("FAT71", 5000000, 100000000, 28.73, 3.0, 7.1582e11, 5.0, 1.959e15, 52.31);
    const CPelnoFatigueClasse::Query query = fatigueClass.GetQuery();
    std::mt19937 random(71);
    std::vector<double> ranges;
    for (int k = 0; k < 501; ++k) ranges.push_back(std::uniform_real_distribution<double>(1.0, 40.0)(random));
    for (const double largest : {20.0, 60.0}) {
        std::vector<double> damages(ranges.size());
        query.CycleDamages(ranges.data(), ranges.size(), largest, 0.2, damages.data());
        for (std::size_t k = 0; k < ranges.size(); ++k) {
            const std::int32_t expected = fatigueClass.PermissibleCycles(ranges[k], largest, 0.2);
            EXPECT_EQ(query.PermissibleCycles(ranges[k], largest, 0.2), expected);
            EXPECT_EQ(damages[k], 1.0 / static_cast<double>(expected));
        }
    }
    EXPECT_EQ(CodeOf([] { CPelnoFatigueClasse().GetQuery().PermissibleCycles(10.0, 10.0, 1.0); }), 20);
}
