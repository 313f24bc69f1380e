#include "model/CPelnoFatigueUWZone.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "support/ReaderTestSupport.h"

namespace {

// A library with materials of Rm 410.2, 410.9 and 50 MPa, and a study with one component on
// each.
class CPelnoFatigueUWZoneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AddMaterial("M410.2", 410.2);
        AddMaterial("M410.9", 410.9);
        AddMaterial("M50", 50.0);
        AddMaterial("M520", 520.0);
        AddComponent("C1", "M410.2");
        AddComponent("C2", "M410.9");
        AddComponent("C50", "M50");
        AddComponent("C520", "M520");
    }

    void AddMaterial(const std::string& name, double rm)
    {
        CPelnoFatigueMateriau material;
        material.SetDefinition(name, 20, " ", 265.0, {}, rm, 204000.0, 0.3);
        context_.AddMaterial(material);
    }

    void AddComponent(const std::string& name, const std::string& material)
    {
        CPelnoFatigueComposant component;
        component.SetDefinition(context_.GetMaterials(), name, 20, " ", 20.0, 6.3, 0.0, material);
        components_.emplace(name, component);
    }

    int Read(const std::string& block, CPelnoFatigueUWZone& zone)
    {
        return ReadBlock(block, [&](std::istream& in, const std::string& h) {
            zone.Read(in, h, components_, context_);
        });
    }

    CPelnoFatigueContexte context_;
    CPelnoFatigueUWZone::ComponentTable components_;
};

const std::string kHeader = "*UWZONE             Tubulure N1\n";
const std::string kComponent = "*UWZONE_COMPOSANT   C1\n";

}  // namespace

TEST_F(CPelnoFatigueUWZoneTest, DefaultsAreUndefined)
{
    const CPelnoFatigueUWZone zone;
    EXPECT_FALSE(zone.IsDefined());
    EXPECT_EQ(zone.GetName(), " ");
    EXPECT_EQ(zone.GetComment(), " ");
    EXPECT_EQ(zone.GetComponentName(), " ");
    EXPECT_EQ(zone.GetCurveName(), " ");
    EXPECT_EQ(zone.GetKt(), std::numeric_limits<double>::lowest());
}

TEST_F(CPelnoFatigueUWZoneTest, ReadsTheBlockAndRegistersItsCurve)
{
    CPelnoFatigueUWZone zone;
    ASSERT_EQ(Read(kHeader + "*COMMENTAIRE        raccord de tubulure\n/ c\n\n*PARAMETRE 2.5\n" +
                       kComponent + "*FIN_UWZONE\n",
                   zone),
              0);
    EXPECT_TRUE(zone.IsDefined());
    EXPECT_EQ(zone.GetName(), "Tubulure N1");
    EXPECT_EQ(zone.GetComment(), "raccord de tubulure");
    EXPECT_EQ(zone.GetComponentName(), "C1");
    EXPECT_EQ(zone.GetKt(), 2.5);
    EXPECT_EQ(zone.GetCurveName(), "410");
    ASSERT_TRUE(context_.UWCurveExist("410"));
    EXPECT_EQ(context_.GetUWCurve("410").GetRm(), 410.2);

    CPelnoFatigueUWZone assigned;
    assigned = CPelnoFatigueUWZone(zone);
    EXPECT_TRUE(assigned.IsDefined());
    EXPECT_EQ(assigned.GetCurveName(), "410");
    EXPECT_EQ(assigned.GetComment(), "raccord de tubulure");
    EXPECT_EQ(assigned.GetKt(), 2.5);
}

TEST_F(CPelnoFatigueUWZoneTest, BlockCodes)
{
    struct Case {
        std::string block;
        int code;
        double kt = 1.0;
    };
    const Case cases[] = {
        {kHeader + kComponent + "*FIN_UWZONE\n", 0, 1.0},   // Kt = 1 when not given
        {kHeader + kComponent + "*PARAMETRE 0.9999\n*FIN_UWZONE\n", 0, 0.9999},
        {kHeader + kComponent + "*PARAMETRE 0.99989\n*FIN_UWZONE\n", 150},
        {kHeader + kComponent + "*PARAMETRE 1e3\n*FIN_UWZONE\n", 0, 1000.0},
        {kHeader + "*FIN_UWZONE\n", 150},
        {kHeader + "*UWZONE_COMPOSANT   C3\n*FIN_UWZONE\n", 150},
        {kHeader + "*UWZONE_COMPOSANT   C1 \n*FIN_UWZONE\n", 150},
        {"*UWZONE              \n" + kComponent + "*FIN_UWZONE\n", 150},   // a single blank
        {"*UWZONE\n" + kComponent + "*FIN_UWZONE\n", 0},                   // an empty name
        {kHeader + "*UWZONE_COMPOSANT   C50\n*FIN_UWZONE\n", 70},           // Rm = 50: no curve
        {kHeader + kComponent + "*PARAMETRE 1,5\n*FIN_UWZONE\n", 150},
        {kHeader + kComponent + "*PARAMETRE\n*FIN_UWZONE\n", 150},
        {kHeader + kComponent + "*PARAMETRE Kt\n*FIN_UWZONE\n", 150},
        {kHeader + kComponent + kComponent + "*FIN_UWZONE\n", 30},
        {kHeader + kComponent + "*PARAMETRE 1\n*PARAMETRE 1\n*FIN_UWZONE\n", 30},
        {kHeader + "*COMMENTAIRE        a\n*COMMENTAIRE        b\n" + kComponent + "*FIN_UWZONE\n", 30},
        {kHeader + "*COMMENTAIRE\n" + kComponent + "*FIN_UWZONE\n", 10},
        {kHeader + "*UWZONE_COMPOSANT\n*FIN_UWZONE\n", 10},
        {kHeader + kComponent + "*KT 1.5\n*FIN_UWZONE\n", 40},
        {kHeader + kComponent, 50},
        {kHeader + kComponent + "*FIN_UWZONE", 50},
    };
    for (const Case& c : cases) {
        CPelnoFatigueUWZone zone;
        const int code = Read(c.block, zone);
        EXPECT_EQ(code, c.code) << c.block;
        EXPECT_EQ(zone.IsDefined(), code == 0) << c.block;
        if (code == 0) {
            EXPECT_EQ(zone.GetKt(), c.kt) << c.block;
        }
    }
}

TEST_F(CPelnoFatigueUWZoneTest, ZonesShareTheCurveOfTheIntegerPartOfRm)
{
    // Rm 410.2 and 410.9 both give the curve named 410, built from the first zone's Rm.
    CPelnoFatigueUWZone first;
    CPelnoFatigueUWZone second;
    ASSERT_EQ(Read(kHeader + "*UWZONE_COMPOSANT   C1\n*FIN_UWZONE\n", first), 0);
    ASSERT_EQ(Read("*UWZONE             Z2\n*UWZONE_COMPOSANT   C2\n*FIN_UWZONE\n", second), 0);
    EXPECT_EQ(first.GetCurveName(), "410");
    EXPECT_EQ(second.GetCurveName(), "410");
    EXPECT_EQ(context_.GetUWCurves().size(), 1u);
    EXPECT_EQ(context_.GetUWCurve("410").GetRm(), 410.2);
}

TEST_F(CPelnoFatigueUWZoneTest, ACurveOfTheLibraryIsUsedAsItIs)
{
    CPelnoFatigueUWCourbe given;
    given.SetDefinition("520", 999.0);
    context_.AddUWCurve(given);
    CPelnoFatigueUWZone zone;
    ASSERT_EQ(Read(kHeader + "*UWZONE_COMPOSANT   C520\n*FIN_UWZONE\n", zone), 0);
    EXPECT_EQ(zone.GetCurveName(), "520");
    EXPECT_EQ(context_.GetUWCurves().size(), 1u);
    EXPECT_EQ(context_.GetUWCurve("520").GetRm(), 999.0);
}

TEST_F(CPelnoFatigueUWZoneTest, SetDefinitionChecks)
{
    struct Case {
        std::string name;
        std::string component;
        double kt;
        int code;
    };
    const Case cases[] = {
        {"Z", "C1", 1.0, 0},
        {" ", "C1", 1.0, 150},
        {"", "C1", 1.0, 0},
        {"Z", "c1", 1.0, 150},
        {"Z", "C1", 0.9999, 0},
        {"Z", "C1", 0.99989, 150},
        {"Z", "C1", std::numeric_limits<double>::quiet_NaN(), 150},
        {"Z", "C50", 1.0, 70},
    };
    for (const Case& c : cases) {
        CPelnoFatigueUWZone zone;
        EXPECT_EQ(CodeOf([&] { zone.SetDefinition(components_, context_, c.name, c.component, " ", c.kt); }),
                  c.code)
            << "[" << c.name << "] " << c.component << " " << c.kt;
        EXPECT_EQ(zone.IsDefined(), c.code == 0);
    }
    // A component whose material the library does not hold.
    CPelnoFatigueContexte other;
    CPelnoFatigueUWZone zone;
    EXPECT_EQ(CodeOf([&] { zone.SetDefinition(components_, other, "Z", "C1", " ", 1.0); }), 410);
}

TEST_F(CPelnoFatigueUWZoneTest, PrinterStatesWhichStressesTheZoneIsComputedWith)
{
    const std::vector<std::string> total = {
        "Cette zone doit être calculée avec des contraintes totales",
        "      ****                             *******************",
    };
    const std::vector<std::string> geometric = {
        "Cette zone doit être calculée avec des contraintes géométriques",
        "      ****                             ************************",
    };
    struct Case {
        double kt;
        std::string printedKt;
        const std::vector<std::string>* lines;
    };
    const Case cases[] = {
        {1.0, "1", &total},
        {1.0001, "1.0001", &total},
        {1.0002, "1.0002", &geometric},
        {2.5, "2.5", &geometric},
    };
    for (const Case& c : cases) {
        CPelnoFatigueUWZone zone;
        zone.SetDefinition(components_, context_, "Tubulure N1", "C1", "raccord", c.kt);
        std::ostringstream out;
        out << zone;
        std::vector<std::string> expected = {
            "",
            "Nom de la zone non soudée                  : Tubulure N1",
            "Commentaire associé                        : raccord",
            "Nom du composant auquel la zone appartient : C1",
            "Nom de la courbe de fatigue de la zone     : 410",
            "Valeur du coefficient Kt de la zone        : " + c.printedKt,
        };
        expected.insert(expected.end(), c.lines->begin(), c.lines->end());
        expected.push_back("");
        EXPECT_EQ(Lines(out.str()), expected) << c.kt;
    }

    // The asterisks stand under the word zone and under the last two words (counted in
    // characters: "être" and "calculée" hold one two-byte letter each).
    const auto column = [](const std::string& text, std::size_t bytes) {
        std::size_t characters = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++characters;
        }
        return characters;
    };
    for (const auto* lines : {&total, &geometric}) {
        const std::string& text = (*lines)[0];
        const std::string& marks = (*lines)[1];
        EXPECT_EQ(marks.find("****"), column(text, text.find("zone")));
        EXPECT_EQ(marks.find("****", 10), column(text, text.find("contraintes")));
        EXPECT_EQ(marks.size(), column(text, text.size()));
        EXPECT_EQ(marks.find_first_not_of('*', marks.find("****", 10)), std::string::npos);
    }

    // An undefined zone is printed with the total-stress lines.
    std::ostringstream out;
    out << CPelnoFatigueUWZone();
    const std::vector<std::string> lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[6], total[0]);
}
