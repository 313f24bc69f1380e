#include "model/CPelnoFatigueMateriau.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>

#include "support/ReaderTestSupport.h"

namespace {

using Table = CPelnoFatigueMateriau::RptTable;

const std::string kHeader = "*MATERIAU           M1\n";

// A valid definition whose checks can be broken one at a time.
struct Definition {
    std::string name = "M1";
    std::int32_t type = 20;
    double re20 = 265.0;
    Table table = {{100.0, 241.0}, {200.0, 223.0}};
    double rm = 410.0;
    double e = 204000.0;
    double nu = 0.3;
};

int Define(const Definition& d)
{
    CPelnoFatigueMateriau material;
    const int code = CodeOf([&] {
        material.SetDefinition(d.name, d.type, "c", d.re20, d.table, d.rm, d.e, d.nu);
    });
    EXPECT_EQ(material.IsDefined(), code == 0);
    return code;
}

CPelnoFatigueMateriau Defined(double re20, const Table& table)
{
    CPelnoFatigueMateriau material;
    material.SetDefinition("M", 20, " ", re20, table, 410.0, 204000.0, 0.3);
    return material;
}

int RetCode(const CPelnoFatigueMateriau& material, double t)
{
    return CodeOf([&] { material.GetRet(t); });
}

}  // namespace

TEST(CPelnoFatigueMateriau, DefaultsAreUndefined)
{
    const CPelnoFatigueMateriau material;
    EXPECT_FALSE(material.IsDefined());
    EXPECT_EQ(material.GetName(), " ");
    EXPECT_EQ(material.GetType(), 10);
    EXPECT_EQ(material.GetComment(), " ");
    EXPECT_EQ(material.GetRe20(), std::numeric_limits<double>::lowest());
    EXPECT_TRUE(material.GetRptTable().empty());
    EXPECT_EQ(material.GetRm(), std::numeric_limits<double>::lowest());
    EXPECT_EQ(material.GetE(), std::numeric_limits<double>::lowest());
    EXPECT_EQ(material.GetNu(), std::numeric_limits<double>::lowest());
    EXPECT_EQ(CodeOf([&] { material.GetRet(20.0); }), 390);
}

TEST(CPelnoFatigueMateriau, ReadsTheBlockAndSortsTheTable)
{
    CPelnoFatigueMateriau material;
    const int code = ReadBlock(kHeader +
                                   "*COMMENTAIRE        texte libre \n"
                                   "/ commentaire\n"
                                   "\n"
                                   "*RPT 200. 223.\n"
                                   "*TYPE F\n"
                                   "*PARAMETRE 265. 410. 204000. 0.3 mots en trop\n"
                                   "*RPT\t100.\t241.\n"
                                   "*RPT 100. 230.\n"
                                   "*FIN_MATERIAU\n",
                               [&](std::istream& in, const std::string& h) { material.Read(in, h); });
    ASSERT_EQ(code, 0);
    EXPECT_TRUE(material.IsDefined());
    EXPECT_EQ(material.GetName(), "M1");
    EXPECT_EQ(material.GetType(), 20);
    EXPECT_EQ(material.GetComment(), "texte libre ");
    EXPECT_EQ(material.GetRe20(), 265.0);
    EXPECT_EQ(material.GetRm(), 410.0);
    EXPECT_EQ(material.GetE(), 204000.0);
    EXPECT_EQ(material.GetNu(), 0.3);
    // Sorted by T, then by Rpt.
    EXPECT_EQ(material.GetRptTable(), (Table{{100.0, 230.0}, {100.0, 241.0}, {200.0, 223.0}}));

    // Copy and assignment carry every field.
    const CPelnoFatigueMateriau copy(material);
    CPelnoFatigueMateriau assigned;
    assigned = copy;
    for (const CPelnoFatigueMateriau* m : {&copy, static_cast<const CPelnoFatigueMateriau*>(&assigned)}) {
        EXPECT_TRUE(m->IsDefined());
        EXPECT_EQ(m->GetName(), "M1");
        EXPECT_EQ(m->GetComment(), "texte libre ");
        EXPECT_EQ(m->GetRptTable(), material.GetRptTable());
        EXPECT_EQ(m->GetNu(), 0.3);
    }
}

TEST(CPelnoFatigueMateriau, BlockCodes)
{
    const std::string typeAndParameters = "*TYPE F\n*PARAMETRE 265. 410. 204000. 0.3\n";
    struct Case {
        std::string body;  // after the header line
        int code;
        std::int32_t type = 20;
    };
    const Case cases[] = {
        {typeAndParameters + "*FIN_MATERIAU\n", 0},
        {"*TYPE A\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 0, 30},
        {"*TYPE   Austenitique\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 0, 30},
        {"*TYPE\tFerritique\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 0, 20},
        // family letter
        {"*TYPE f\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 390},
        {"*TYPE a\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 390},
        {"*TYPE X\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 390},
        {"*TYPE\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 390},
        // required cards
        {"*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 390},
        {"*TYPE F\n*RPT 100. 241.\n*FIN_MATERIAU\n", 390},
        {"*FIN_MATERIAU\n", 390},
        // once-only cards; *RPT may repeat
        {"*COMMENTAIRE        a\n*COMMENTAIRE        b\n" + typeAndParameters + "*FIN_MATERIAU\n", 30},
        {"*TYPE F\n" + typeAndParameters + "*FIN_MATERIAU\n", 30},
        {typeAndParameters + "*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 30},
        {typeAndParameters + "*RPT 100 241\n*RPT 200 223\n*RPT 300 210\n*FIN_MATERIAU\n", 0},
        // numbers the strict reader refuses: the material's own code
        {"*TYPE F\n*PARAMETRE 265,5 410. 204000. 0.3\n*FIN_MATERIAU\n", 390},
        {"*TYPE F\n*PARAMETRE 265. 410abc 204000. 0.3\n*FIN_MATERIAU\n", 390},
        {"*TYPE F\n*PARAMETRE 265. 410. 204000.\n*FIN_MATERIAU\n", 390},
        {"*TYPE F\n*PARAMETRE 265. 410. 204000. nan\n*FIN_MATERIAU\n", 390},
        {typeAndParameters + "*RPT 100.\n*FIN_MATERIAU\n", 390},
        {typeAndParameters + "*RPT 1e999 241.\n*FIN_MATERIAU\n", 390},
        {"*TYPE F\n*PARAMETRE 2.65e2 4.1E2 2.04e5 3e-1\n*FIN_MATERIAU\n", 0},
        // unknown cards, end of file, short card text
        {typeAndParameters + "*LIMITE 265\n*FIN_MATERIAU\n", 40},
        {typeAndParameters + " *FIN_MATERIAU\n", 40},
        {typeAndParameters + "*fin_materiau\n", 40},
        {typeAndParameters + "\\ commentaire\n*FIN_MATERIAU\n", 40},
        {typeAndParameters, 50},
        {typeAndParameters + "*FIN_MATERIAU", 50},  // end card without its line feed
        {"*COMMENTAIRE\n" + typeAndParameters + "*FIN_MATERIAU\n", 10},
        {"*COMMENTAIRE       \n" + typeAndParameters + "*FIN_MATERIAU\n", 10},  // 19 characters
        {"*COMMENTAIRE        \n" + typeAndParameters + "*FIN_MATERIAU\n", 0},   // 20: empty text
        // a value out of range reaches SetDefinition
        {"*TYPE F\n*PARAMETRE 265. 410. 119999. 0.3\n*FIN_MATERIAU\n", 390},
        {typeAndParameters + "*RPT 601. 241.\n*FIN_MATERIAU\n", 390},
        {typeAndParameters + "*FIN_MATERIAU\r\n", 0},
    };
    for (const Case& c : cases) {
        CPelnoFatigueMateriau material;
        const int code = ReadBlock(kHeader + c.body, [&](std::istream& in, const std::string& h) {
            material.Read(in, h);
        });
        EXPECT_EQ(code, c.code) << c.body;
        EXPECT_EQ(material.IsDefined(), code == 0) << c.body;
        if (code == 0) {
            EXPECT_EQ(material.GetType(), c.type) << c.body;
        }
    }
}

TEST(CPelnoFatigueMateriau, HeaderNames)
{
    struct Case {
        std::string header;
        int code;
        std::string name;
    };
    const Case cases[] = {
        {"*MATERIAU           M1  \n", 0, "M1  "},
        {"*MATERIAU           \n", 0, ""},      // nothing after column 20: an empty name
        {"*MATERIAU\n", 0, ""},
        {"*MATERIAU            \n", 390, ""},   // a single blank: no name
        {"*MATERIAU M1\n", 0, ""},              // the name must stand from column 21
        {"*MATERIAU           " + std::string(200, 'x') + "\n", 0, std::string(180, 'x')},
    };
    for (const Case& c : cases) {
        CPelnoFatigueMateriau material;
        const int code = ReadBlock(c.header + "*TYPE F\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n",
                                   [&](std::istream& in, const std::string& h) { material.Read(in, h); });
        EXPECT_EQ(code, c.code) << c.header;
        if (code == 0) {
            EXPECT_EQ(material.GetName(), c.name) << c.header;
        }
    }
}

TEST(CPelnoFatigueMateriau, SetDefinitionBoundsAreInclusive)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        void (*change)(Definition&, double);
        double value;
        int code;
    };
    const Case cases[] = {
        {"Re20", [](Definition& d, double v) { d.re20 = v; }, 49.999, 390},
        {"Re20", [](Definition& d, double v) { d.re20 = v; }, 50.0, 0},
        {"Re20", [](Definition& d, double v) { d.re20 = v; }, 2000.0, 0},
        {"Re20", [](Definition& d, double v) { d.re20 = v; }, 2000.001, 390},
        {"Re20", [](Definition& d, double v) { d.re20 = v; }, nan, 390},
        {"Rm", [](Definition& d, double v) { d.rm = v; }, 49.999, 390},
        {"Rm", [](Definition& d, double v) { d.rm = v; }, 50.0, 0},
        {"Rm", [](Definition& d, double v) { d.rm = v; }, 2000.0, 0},
        {"Rm", [](Definition& d, double v) { d.rm = v; }, 2000.001, 390},
        {"E", [](Definition& d, double v) { d.e = v; }, 119999.0, 390},
        {"E", [](Definition& d, double v) { d.e = v; }, 120000.0, 0},
        {"E", [](Definition& d, double v) { d.e = v; }, 250000.0, 0},
        {"E", [](Definition& d, double v) { d.e = v; }, 250000.1, 390},
        {"nu", [](Definition& d, double v) { d.nu = v; }, 0.19999, 390},
        {"nu", [](Definition& d, double v) { d.nu = v; }, 0.2, 0},
        {"nu", [](Definition& d, double v) { d.nu = v; }, 0.4, 0},
        {"nu", [](Definition& d, double v) { d.nu = v; }, 0.41, 390},
        {"T", [](Definition& d, double v) { d.table.push_back({v, 241.0}); }, -250.0, 0},
        {"T", [](Definition& d, double v) { d.table.push_back({v, 241.0}); }, -250.01, 390},
        {"T", [](Definition& d, double v) { d.table.push_back({v, 241.0}); }, 600.0, 0},
        {"T", [](Definition& d, double v) { d.table.push_back({v, 241.0}); }, 600.01, 390},
        {"Rpt", [](Definition& d, double v) { d.table.push_back({300.0, v}); }, 50.0, 0},
        {"Rpt", [](Definition& d, double v) { d.table.push_back({300.0, v}); }, 49.99, 390},
        {"Rpt", [](Definition& d, double v) { d.table.push_back({300.0, v}); }, 2000.0, 0},
        {"Rpt", [](Definition& d, double v) { d.table.push_back({300.0, v}); }, 2000.01, 390},
        {"Rpt", [](Definition& d, double v) { d.table.push_back({300.0, v}); }, nan, 390},
        {"empty table", [](Definition& d, double) { d.table.clear(); }, 0.0, 0},
    };
    for (const Case& c : cases) {
        Definition d;
        c.change(d, c.value);
        EXPECT_EQ(Define(d), c.code) << c.what << " = " << c.value;
    }

    struct NameCase {
        std::string name;
        std::int32_t type;
        int code;
    };
    const NameCase names[] = {
        {" ", 20, 390}, {"", 20, 0}, {"  ", 20, 0}, {"M1", 10, 390}, {"M1", 30, 0}, {"M1", 40, 390},
    };
    for (const NameCase& c : names) {
        Definition d;
        d.name = c.name;
        d.type = c.type;
        EXPECT_EQ(Define(d), c.code) << "[" << c.name << "] " << c.type;
    }
}

TEST(CPelnoFatigueMateriau, FailedDefinitionLeavesTheObjectAsItWas)
{
    CPelnoFatigueMateriau material = Defined(265.0, {{100.0, 241.0}});
    EXPECT_EQ(CodeOf([&] { material.SetDefinition("X", 20, "c", 10.0, {}, 410.0, 204000.0, 0.3); }),
              390);
    EXPECT_EQ(material.GetName(), "M");
    EXPECT_EQ(material.GetRe20(), 265.0);
    EXPECT_EQ(material.GetRptTable().size(), 1u);
}

TEST(CPelnoFatigueMateriau, GetRetWithinTheTenthOfADegree)
{
    const CPelnoFatigueMateriau empty = Defined(265.0, {});
    const CPelnoFatigueMateriau one = Defined(265.0, {{100.0, 241.0}});
    // Given out of order: sorted before use.
    const CPelnoFatigueMateriau two = Defined(265.0, {{200.0, 223.0}, {100.0, 241.0}});
    // Three pairs: 50 -> 250, 100 -> 241, 200 -> 223.
    const CPelnoFatigueMateriau three = Defined(265.0, {{100.0, 241.0}, {50.0, 250.0}, {200.0, 223.0}});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const CPelnoFatigueMateriau* material;
        double t;
        int code;
        double ret;
    };
    const Case cases[] = {
        {&empty, 20.0, 0, 265.0},
        {&empty, 20.05, 0, 265.0},      // the table is not consulted near 20 °C
        {&empty, 19.95, 0, 265.0},
        {&empty, 20.2, 480, 0},
        {&empty, 100.0, 480, 0},
        {&one, 100.0, 0, 241.0},
        {&one, 100.05, 0, 241.0},
        {&one, 99.95, 0, 241.0},
        {&one, 100.2, 480, 0},
        {&one, 99.8, 480, 0},
        {&one, 20.0, 0, 265.0},
        {&two, 150.0, 0, 232.0},        // 241 + (223 - 241) * 50 / 100
        {&two, 100.0, 0, 241.0},
        {&two, 200.0, 0, 223.0},
        {&two, 99.95, 0, 241.0},        // below the first pair, within the tolerance: no extrapolation
        {&two, 200.05, 0, 223.0},       // above the last pair, within the tolerance
        {&two, 200.2, 480, 0},
        {&two, 99.8, 480, 0},
        {&two, 20.0, 0, 265.0},         // 20 °C is answered by Re20 even outside the table
        {&two, 125.0, 0, 236.5},        // 241 - 18 * 25 / 100
        {&three, 75.0, 0, 245.5},       // 250 + (241 - 250) * 25 / 50
        {&three, 100.0, 0, 241.0},      // an exact table temperature gives its own Rpt
        {&three, 175.0, 0, 227.5},      // 241 + (223 - 241) * 75 / 100
        {&three, 49.95, 0, 250.0},
        {&two, nan, 480, 0},
        {&two, inf, 480, 0},
        {&two, -inf, 480, 0},
        {&one, nan, 480, 0},
    };
    for (const Case& c : cases) {
        double ret = 0.0;
        const int code = CodeOf([&] { ret = c.material->GetRet(c.t); });
        EXPECT_EQ(code, c.code) << c.t;
        if (code == 0) {
            EXPECT_DOUBLE_EQ(ret, c.ret) << c.t;
        }
    }
    EXPECT_EQ(RetCode(CPelnoFatigueMateriau(), 20.0), 390);
}

TEST(CPelnoFatigueMateriau, AnExactTableTemperatureGivesItsOwnRptBitForBit)
{
    // Interpolating at T = 108.8 would give 106.6 + 375.7 x 174.7 / 174.7 = 482.30000000000007
    // in doubles; the table's own value is returned.
    const CPelnoFatigueMateriau material = Defined(265.0, {{-65.9, 106.6}, {108.8, 482.3}, {300.0, 400.0}});
    EXPECT_EQ(material.GetRet(108.8), 482.3);
}

TEST(CPelnoFatigueMateriau, EqualTemperaturesKeepTheSmallerRptFirst)
{
    // (100, 230) and (100, 241): the first pair at 100 °C answers 100 °C.
    const CPelnoFatigueMateriau material =
        Defined(265.0, {{50.0, 250.0}, {100.0, 241.0}, {100.0, 230.0}, {200.0, 223.0}});
    EXPECT_DOUBLE_EQ(material.GetRet(100.0), 230.0);
    // Between the pairs at 100 and 200 °C the interpolation starts from the last pair at 100.
    EXPECT_DOUBLE_EQ(material.GetRet(150.0), 232.0);
}

namespace {

CPelnoFatigueMateriau PrintedMaterial()
{
    CPelnoFatigueMateriau material;
    material.SetDefinition("M1  ", 20, "texte libre", 265.5, {{200.0, 223.5}, {100.0, 241.0}},
                           410.0, 204000.0, 0.3);
    return material;
}

std::vector<std::string> ExpectedMaterialLines(const std::string& re20, const std::string& t2,
                                               const std::string& rpt2, const std::string& e,
                                               const std::string& nu)
{
    return {
        "",
        "Nom du matériau                  : M1  ",
        "Type du matériau                 : 20",
        "                                   10 --> inconnu",
        "                                   20 --> acier non allié ou allié et non austénitique",
        "                                   30 --> acier austénitique, nickel ou alliage de nickel",
        "Commentaire                      : texte libre",
        "Limite d'élasticité à 20°C (MPa) : " + re20,
        "Nombre des paires (T,Rpt)        : 2",
        "   Paire (T,Rpt) (°C,MPa)        : 100   241",
        "   Paire (T,Rpt) (°C,MPa)        : " + t2 + "   " + rpt2,
        "Résistance à la traction (MPa)   : 410",
        "Module d'élasticité (MPa)        : " + e,
        "Coefficient de Poisson           : " + nu,
        "",
    };
}

}  // namespace

TEST(CPelnoFatigueMateriau, PrinterUnderTheClassicLocale)
{
    ScopedUserLocale classic("C");
    std::ostringstream out;
    out << PrintedMaterial();
    EXPECT_EQ(Lines(out.str()), ExpectedMaterialLines("265.5", "200", "223.5", "204000", "0.3"));

    // The stream's format applies to every number but E, which keeps the default format.
    std::ostringstream fixed;
    fixed << std::fixed << std::setprecision(2) << PrintedMaterial();
    std::vector<std::string> expected =
        ExpectedMaterialLines("265.50", "200.00", "223.50", "204000", "0.30");
    expected[9] = "   Paire (T,Rpt) (°C,MPa)        : 100.00   241.00";
    expected[11] = "Résistance à la traction (MPa)   : 410.00";
    EXPECT_EQ(Lines(fixed.str()), expected);
}

TEST(CPelnoFatigueMateriau, PrinterUnderAGroupingLocale)
{
    if (!LocaleAvailable(kGroupingLocale)) GTEST_SKIP() << kGroupingLocale << " is not installed";
    // fr_FR with libstdc++: decimal mark ",", groups of three digits separated by a blank.
    ScopedUserLocale french(kGroupingLocale);

    // E alone follows the user's locale when the stream keeps the classic one.
    std::ostringstream classicStream;
    classicStream << PrintedMaterial();
    EXPECT_EQ(Lines(classicStream.str()),
              ExpectedMaterialLines("265.5", "200", "223.5", "204 000", "0.3"));

    // A report stream that carries the user's locale: every number follows it.
    std::ostringstream report;
    report.imbue(std::locale(kGroupingLocale));
    report << PrintedMaterial();
    EXPECT_EQ(Lines(report.str()), ExpectedMaterialLines("265,5", "200", "223,5", "204 000", "0,3"));
}
