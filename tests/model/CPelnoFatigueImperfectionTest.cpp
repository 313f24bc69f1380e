#include "model/CPelnoFatigueImperfection.h"

#include <gtest/gtest.h>

#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "app/CExceptionPelnoFatigue.h"

namespace {

struct Failure {
    std::int32_t code = 0;
    std::string message;
};

Failure FailureOf(const std::function<void()>& action)
{
    Failure failure;
    try {
        action();
    } catch (const CExceptionPelnoFatigue& error) {
        failure.code = error.GetCode();
        failure.message = error.GetMessage() != nullptr ? error.GetMessage() : "";
    }
    return failure;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) lines.push_back(line);
    return lines;
}

const char* const kHeader = "*IMPERFECTION       ovalisation ";
const std::string kBadImperfection =
    " : Mauvaise définition d'une imperfection de forme selon C11.A6";

// Values handed to the welded-zone computation.
constexpr double kE = 201660.0;
constexpr double kNu = 0.3;

struct Shape {
    std::int32_t type = CPelnoFatigueImperfection::kLongitudinal;
    double D = 1000, Dmax = 1000, Dmin = 1000, e = 0, delta = 0, theta = 0, beta = 0;
};

CPelnoFatigueImperfection Make(const Shape& s, const std::string& name = "i")
{
    CPelnoFatigueImperfection imperfection;
    imperfection.SetDefinition(name, s.type, s.D, s.Dmax, s.Dmin, s.e, s.delta, s.theta, s.beta);
    return imperfection;
}

}  // namespace

TEST(CPelnoFatigueImperfection, DefaultsMeanNoValueGiven)
{
    const CPelnoFatigueImperfection imperfection;
    EXPECT_FALSE(imperfection.IsDefined());
    EXPECT_EQ(imperfection.GetName(), " ");
    EXPECT_EQ(imperfection.GetType(), 10);
    EXPECT_EQ(imperfection.GetD(), -1.7976931348623157e308);
    EXPECT_EQ(imperfection.GetBeta(), -1.7976931348623157e308);
}

TEST(CPelnoFatigueImperfection, ReadsTheDeviationLastOnTheParameterCard)
{
    std::istringstream input(
        "/ diametres\n"
        "\n"
        "*PARAMETRE 1.5 45 -10 2 commentaire\n"
        "*DIAMETRE\t1000 1010 990\n"
        "*FIN_IMPERFECTION\n"
        "*FIN_CORDON\n");
    CPelnoFatigueImperfection imperfection;
    imperfection.Read(input, kHeader, CPelnoFatigueImperfection::kCircumferential);

    EXPECT_TRUE(imperfection.IsDefined());
    EXPECT_EQ(imperfection.GetName(), "ovalisation ");
    EXPECT_EQ(imperfection.GetType(), 30);
    EXPECT_EQ(imperfection.GetD(), 1000.0);
    EXPECT_EQ(imperfection.GetDmax(), 1010.0);
    EXPECT_EQ(imperfection.GetDmin(), 990.0);
    EXPECT_EQ(imperfection.GetE(), 1.5);
    EXPECT_EQ(imperfection.GetTheta(), 45.0);
    EXPECT_EQ(imperfection.GetBeta(), -10.0);
    EXPECT_EQ(imperfection.GetDelta(), 2.0);
    std::string next;
    std::getline(input, next);
    EXPECT_EQ(next, "*FIN_CORDON");

    const CPelnoFatigueImperfection copy(imperfection);
    CPelnoFatigueImperfection assigned;
    assigned = imperfection;
    const CPelnoFatigueImperfection* const others[] = {&copy, &assigned};
    for (const CPelnoFatigueImperfection* other : others) {
        EXPECT_TRUE(other->IsDefined());
        EXPECT_EQ(other->GetName(), "ovalisation ");
        EXPECT_EQ(other->GetType(), 30);
        EXPECT_EQ(other->GetD(), 1000.0);
        EXPECT_EQ(other->GetDmax(), 1010.0);
        EXPECT_EQ(other->GetDmin(), 990.0);
        EXPECT_EQ(other->GetE(), 1.5);
        EXPECT_EQ(other->GetDelta(), 2.0);
        EXPECT_EQ(other->GetTheta(), 45.0);
        EXPECT_EQ(other->GetBeta(), -10.0);
    }
}

TEST(CPelnoFatigueImperfection, BlockErrors)
{
    struct Case {
        const char* what;
        std::string block;
        std::int32_t type;
        std::int32_t code;
        std::string message;
    };
    const std::string readLog = "<CPelnoFatigueImperfection::Read>";
    const std::string diameter = "*DIAMETRE 1000 1010 990\n";
    const std::string parameter = "*PARAMETRE 1 0 0 2\n";
    const std::string end = "*FIN_IMPERFECTION\n";
    const std::int32_t longi = CPelnoFatigueImperfection::kLongitudinal;
    const std::vector<Case> cases = {
        {"no *DIAMETRE", parameter + end, longi, 160, readLog + kBadImperfection},
        {"no *PARAMETRE", diameter + end, longi, 160, readLog + kBadImperfection},
        {"second *DIAMETRE", diameter + parameter + diameter + end, longi, 30,
         readLog + " : Carte de données mal placée"},
        {"second *PARAMETRE", parameter + diameter + parameter + end, longi, 30, ""},
        {"unknown card", diameter + "*DIAMETER 1 2 3\n" + parameter + end, longi, 40,
         readLog + " : Carte de donnée inconnue"},
        {"end card of the seam", diameter + parameter + "*FIN_CORDON\n", longi, 40, ""},
        {"end of file", diameter + parameter, longi, 50, ""},
        {"end card without a final line feed", diameter + parameter + "*FIN_IMPERFECTION",
         longi, 50, ""},
        {"decimal comma", "*DIAMETRE 1000,5 1010 990\n" + parameter + end, longi, 160,
         readLog + kBadImperfection},
        {"two diameters", "*DIAMETRE 1000 1010\n" + parameter + end, longi, 160, ""},
        {"three parameters", diameter + "*PARAMETRE 1 0 0\n" + end, longi, 160,
         readLog + kBadImperfection},
        {"a word for a number", diameter + "*PARAMETRE 1 0 zero 2\n" + end, longi, 160, ""},
        {"geometry unknown", diameter + parameter + end, CPelnoFatigueImperfection::kUnknown,
         160, "<CPelnoFatigueImperfection::SetDefinition>" + kBadImperfection},
        {"misalignment above 50", diameter + "*PARAMETRE 51 0 0 2\n" + end, longi, 160, ""},
        {"out-of-roundness above 0.2", "*DIAMETRE 1000 1201 1000\n" + parameter + end, longi,
         160, ""},
    };
    for (const Case& c : cases) {
        const Failure failure = FailureOf([&] {
            std::istringstream input(c.block);
            CPelnoFatigueImperfection imperfection;
            imperfection.Read(input, kHeader, c.type);
        });
        EXPECT_EQ(failure.code, c.code) << c.what;
        if (!c.message.empty()) {
            EXPECT_EQ(failure.message, c.message) << c.what;
        }
    }
}

TEST(CPelnoFatigueImperfection, DefinitionBoundsAreInclusive)
{
    struct Case {
        const char* what;
        Shape shape;
        bool accepted;
    };
    auto shape = [](auto change) {
        Shape s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"longitudinal", shape([](Shape&) {}), true},
        {"circumferential", shape([](Shape& s) { s.type = 30; }), true},
        {"sphere", shape([](Shape& s) { s.type = 40; }), true},
        {"unknown geometry", shape([](Shape& s) { s.type = 10; }), false},
        {"D = 1", shape([](Shape& s) { s.D = s.Dmax = s.Dmin = 1.0; }), true},
        {"D below 1", shape([](Shape& s) { s.D = s.Dmax = s.Dmin = 0.999; }), false},
        {"e = 0", shape([](Shape& s) { s.e = 0; }), true},
        {"e = 50", shape([](Shape& s) { s.e = 50; }), true},
        {"e below 0", shape([](Shape& s) { s.e = -1e-9; }), false},
        {"e above 50", shape([](Shape& s) { s.e = 50.000001; }), false},
        {"delta = 100", shape([](Shape& s) { s.delta = 100; }), true},
        {"delta below 0", shape([](Shape& s) { s.delta = -1e-9; }), false},
        {"delta above 100", shape([](Shape& s) { s.delta = 100.000001; }), false},
        {"theta = 360", shape([](Shape& s) { s.theta = 360; }), true},
        {"theta below 0", shape([](Shape& s) { s.theta = -1e-9; }), false},
        {"theta above 360", shape([](Shape& s) { s.theta = 360.000001; }), false},
        {"beta = -40", shape([](Shape& s) { s.beta = -40; }), true},
        {"beta = 40", shape([](Shape& s) { s.beta = 40; }), true},
        {"beta below -40", shape([](Shape& s) { s.beta = -40.000001; }), false},
        {"beta above 40", shape([](Shape& s) { s.beta = 40.000001; }), false},
        // (1200 - 1000) / 1000 = 0.2
        {"out-of-roundness 0.2", shape([](Shape& s) { s.Dmax = 1200; }), true},
        {"out-of-roundness above 0.2", shape([](Shape& s) { s.Dmax = 1200.001; }), false},
        // (0 - 1) / 100000 = -0.00001: Dmax may lie slightly below Dmin
        {"out-of-roundness -0.00001",
         shape([](Shape& s) { s.D = 100000, s.Dmax = 0, s.Dmin = 1; }), true},
        {"out-of-roundness below -0.00001",
         shape([](Shape& s) { s.D = 100000, s.Dmax = 0, s.Dmin = 1.001; }), false},
    };
    for (const Case& c : cases) {
        const Failure failure = FailureOf([&] { Make(c.shape); });
        EXPECT_EQ(failure.code, c.accepted ? 0 : 160) << c.what;
        if (!c.accepted) {
            EXPECT_EQ(failure.message,
                      "<CPelnoFatigueImperfection::SetDefinition>" + kBadImperfection);
        }
    }

    // The name is not checked.
    EXPECT_EQ(Make(Shape(), "").GetName(), "");
    EXPECT_EQ(Make(Shape(), " ").GetName(), " ");

    // A rejected definition leaves the imperfection undefined.
    CPelnoFatigueImperfection imperfection = Make(Shape());
    EXPECT_EQ(FailureOf([&] {
                  imperfection.SetDefinition("i", 20, 1000, 1000, 1000, 51, 0, 0, 0);
              }).code,
              160);
    EXPECT_FALSE(imperfection.IsDefined());
}

TEST(CPelnoFatigueImperfection, CircumferentialSeamAndSphere)
{
    // Circumferential: e = 1, t1 = 10, t2 = 20, the larger thickness is used:
    // A across = 1 + 3 x 1 / 20 = 1.15, A along = 1 + 1 / (2 x 20) = 1.025.
    Shape circumferential;
    circumferential.type = 30;
    circumferential.e = 1;
    for (auto t : {std::pair<double, double>{10, 20}, {20, 10}}) {
        const auto a = Make(circumferential).GetA(t.first, t.second, 5, 0.1, kE, kNu);
        EXPECT_DOUBLE_EQ(a.first, 1.15);
        EXPECT_DOUBLE_EQ(a.second, 1.025);
    }

    // Sphere: e = 0, beta = -10, D = 2000, t1 = t2 = 10:
    // A across = 1 - 10 x sqrt(2000 / 20) / 50 = 1 - 10 x 10 / 50 = -1 (not clamped).
    Shape sphere;
    sphere.type = 40;
    sphere.D = sphere.Dmax = sphere.Dmin = 2000;
    sphere.beta = -10;
    const auto a = Make(sphere).GetA(10, 10, -1, 0, kE, kNu);
    EXPECT_DOUBLE_EQ(a.first, -1.0);
    EXPECT_EQ(a.second, 1.0);

    // Sphere with misalignment on unequal plates: 1 + 3 x 2 / 20 + 10 x sqrt(2000 / 20) / 50
    // = 1 + 0.3 + 2 = 3.3 (tmax for e, tmin under the root).
    sphere.e = 2;
    sphere.beta = 10;
    EXPECT_DOUBLE_EQ(Make(sphere).GetA(20, 10, 0, 0, kE, kNu).first, 3.3);
}

TEST(CPelnoFatigueImperfection, LongitudinalSeam)
{
    struct Case {
        const char* what;
        Shape shape;
        double t1, t2, p, Pe;
        double expected;
    };
    auto shape = [](auto change) {
        Shape s;
        change(s);
        return s;
    };
    const Case cases[] = {
        // No imperfection: O = 0, L = 0, no misalignment: A = 1 whatever the pressure.
        {"no imperfection, p = 0", Shape(), 10, 10, 0, 0, 1.0},
        {"no imperfection, p = 50", Shape(), 10, 12, 50, 0, 1.0},
        {"no imperfection, external", Shape(), 10, 12, -1, 2, 1.0},
        // Ovality alone, p = 0 so k = 1: O = cos 0 x 1.5 x 10 / 10 = 1.5, A = 2.5.
        {"ovality at theta 0", shape([](Shape& s) { s.Dmax = 1010; }), 10, 20, 0, 0, 2.5},
        // theta = 90: cos 180 deg = -1, |O| is the same.
        {"ovality at theta 90", shape([](Shape& s) { s.Dmax = 1010, s.theta = 90; }), 10, 20,
         0, 0, 2.5},
        // p = 1: k = 1 / (1 + 0.91 x 1 x 100^3 / (2 x 201660)) = 1 / (1 + 2.2562729) = 0.3070996,
        // A = 1 + 1.5 x 0.3070996 = 1.4606493.
        {"ovality under internal pressure", shape([](Shape& s) { s.Dmax = 1010; }), 10, 20, 1,
         0, 1.460649346693875},
        // p = -1, Pe = 2: k = 1 / (1 + 1 / 6) = 6 / 7, A = 1 + 1.5 x 6 / 7 = 2.2857143.
        {"ovality under external pressure", shape([](Shape& s) { s.Dmax = 1010; }), 10, 20, -1,
         2, 1.0 + 9.0 / 7.0},
        // Misalignment e = 1 on 10 and 20: 1 + (3 / 20) x 2^0.67 = 1 + 0.15 x 1.5910730
        // = 1.2386609.
        {"misalignment", shape([](Shape& s) { s.e = 1; }), 20, 10, 3, 0, 1.2386609451264756},
        // Local deviation, r = 1.5 / 1000 = 0.0015, halfway between the 0.001 and 0.002 rows:
        // d1 = (-0.211747 - 0.209793) / 2 = -0.21077, d2 = (-0.221519 - 0.223527) / 2
        // = -0.222523. p / Pe = -1: Q = 1.21077 / 1.222523 = 0.99038627.
        // L = (1 - 0.628 x sqrt 0.0015) x 6 x 1.5 / 10 x Q = 0.97567766 x 0.9 x Q = 0.86966799,
        // A = 1.86966799.
        {"r halfway, external pressure", shape([](Shape& s) { s.delta = 1.5; }), 10, 10, -1, 1,
         1.8696679909952723},
        // Same r, p = 1: rho = 0.91 x 3 x 1 x 100^3 / (2 x 201660) = 6.7688188;
        // c1 = 0.952787, c2 = -0.0032575, c3 = 0.948607, c4 = 0.021526 (row averages):
        // Q = (1 + 6.4492 - 0.14925) / (1 + 6.42094 + 0.98627) = 0.86830227,
        // A = 1 + 0.97567766 x 0.9 x Q = 1.76246481.
        {"r halfway, internal pressure", shape([](Shape& s) { s.delta = 1.5; }), 10, 10, 1, 0,
         1.7624648137737853},
        // r = 0.001 exactly takes its own row: Q = 1.211747 / 1.221519 = 0.99200012,
        // L = (1 - 0.628 x sqrt 0.001) x 6 x 1 / 10 x Q = 0.58337993, A = 1.58337993.
        {"r on a row", shape([](Shape& s) { s.delta = 1; }), 10, 10, -1, 1,
         1.5833799346527095},
        // r = 0.00005 takes the first row (rho as above):
        // Q = (1 + 1.170675 rho - 0.001431 rho^2) / (1 + 1.168925 rho + 0.006444 rho^2)
        // = 0.96210011, L = (1 - 0.628 x sqrt 0.00005) x 0.03 x Q = 0.02873483.
        {"r below the table", shape([](Shape& s) { s.delta = 0.05; }), 10, 10, 1, 0,
         1.0287348332891122},
        // r = 0.05 takes the last row: Q = (1 + 0.585757 rho - 0.002285 rho^2)
        // / (1 + 0.582368 rho + 0.059728 rho^2) = 0.63296139,
        // L = (1 - 0.628 x sqrt 0.05) x 30 x Q = 16.32233236.
        {"r above the table", shape([](Shape& s) { s.delta = 50; }), 10, 10, 1, 0,
         17.32233235528795},
    };
    for (const Case& c : cases) {
        const auto a = Make(c.shape).GetA(c.t1, c.t2, c.p, c.Pe, kE, kNu);
        EXPECT_NEAR(a.first, c.expected, 1e-12 * c.expected) << c.what;
        EXPECT_EQ(a.second, 1.0) << c.what;
    }

    // theta = 45: cos 90 deg vanishes, up to the 3.141592654 value of pi.
    Shape oval;
    oval.Dmax = 1010;
    oval.theta = 45;
    EXPECT_NEAR(Make(oval).GetA(10, 10, 0, 0, kE, kNu).first, 1.0, 1e-9);
}

TEST(CPelnoFatigueImperfection, FactorsThatCannotBeComputed)
{
    const std::string getALog = "<CPelnoFatigueImperfection::GetA>";
    // Not defined.
    Failure failure = FailureOf([] { CPelnoFatigueImperfection().GetA(10, 10, 0, 1, kE, kNu); });
    EXPECT_EQ(failure.code, 160);
    EXPECT_EQ(failure.message, getALog + kBadImperfection);

    // Longitudinal seam under external pressure needs a positive admissible external pressure.
    const CPelnoFatigueImperfection longitudinal = Make(Shape());
    for (double Pe : {0.0, -1.0, -1.7976931348623157e308}) {
        failure = FailureOf([&] { longitudinal.GetA(10, 10, -0.5, Pe, kE, kNu); });
        EXPECT_EQ(failure.code, 440) << Pe;
        EXPECT_EQ(failure.message,
                  getALog + " : Les valeurs de contraintes fournies ne sont pas cohérentes");
    }
    // Pe is not used under internal pressure nor on the other geometries.
    EXPECT_EQ(longitudinal.GetA(10, 10, 0, 0, kE, kNu).first, 1.0);
    Shape circumferential;
    circumferential.type = 30;
    EXPECT_EQ(Make(circumferential).GetA(10, 10, -0.5, 0, kE, kNu).first, 1.0);
}

TEST(CPelnoFatigueImperfection, Printout)
{
    std::istringstream input(
        "*DIAMETRE 1000 1010 990\n*PARAMETRE 1.5 45 -10 2\n*FIN_IMPERFECTION\n");
    CPelnoFatigueImperfection imperfection;
    imperfection.Read(input, kHeader, CPelnoFatigueImperfection::kSphere);
    std::ostringstream out;
    out << std::fixed << std::setprecision(2) << imperfection;
    const std::vector<std::string> expected = {
        "",
        "Nom de l'imperfection de forme                         : ovalisation ",
        "Type de l'imperfection                                 : 40",
        "                                                         10-->inconnu",
        "                                                         20-->longi cylindre",
        "                                                         30-->circonf cylindre",
        "                                                         40-->sur sphère",
        "Diamètre moyen de l'enveloppe                          : 1000.00",
        "Diamètre maximal de l'enveloppe                        : 1010.00",
        "Diamètre minimal de l'enveloppe                        : 990.00",
        "Décalage de fibre moyen selon C11.A6                   : 1.50",
        "Ecart local de circularité selon C11.A6.9              : 2.00",
        "Angle définissant la position du cordon selon C11.A6.7 : 45.00",
        "Désalignement angulaire sur une sphère selon C11.A6.8  : -10.00",
        "",
    };
    EXPECT_EQ(Lines(out.str()), expected);
    EXPECT_EQ(out.str().back(), '\n');
}
