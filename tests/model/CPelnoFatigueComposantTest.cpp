#include "model/CPelnoFatigueComposant.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <sstream>

#include "support/ReaderTestSupport.h"

namespace {

const std::string kHeader = "*COMPOSANT          Virole 1\n";
const std::string kType = "*TYPE TOLE_CYLINDRE\n";
const std::string kParameters = "*PARAMETRE 20. 6.3 0.1\n";
const std::string kMaterial = "*COMPOSANT_MATERIAU P265GH\n";

CPelnoFatigueComposant::MaterialTable Materials()
{
    CPelnoFatigueMateriau material;
    material.SetDefinition("P265GH", 20, " ", 265.0, {}, 410.0, 204000.0, 0.3);
    return {{"P265GH", material}};
}

int Read(const std::string& block, CPelnoFatigueComposant& component)
{
    const auto materials = Materials();
    return ReadBlock(block, [&](std::istream& in, const std::string& h) {
        component.Read(in, h, materials);
    });
}

}  // namespace

TEST(CPelnoFatigueComposant, DefaultsAreUndefined)
{
    const CPelnoFatigueComposant component;
    EXPECT_FALSE(component.IsDefined());
    EXPECT_EQ(component.GetName(), " ");
    EXPECT_EQ(component.GetType(), 10);
    EXPECT_EQ(component.GetComment(), " ");
    EXPECT_EQ(component.GetThickness(), std::numeric_limits<double>::lowest());
    EXPECT_EQ(component.GetRoughness(), 200.0);
    EXPECT_EQ(component.GetExternalPressure(), std::numeric_limits<double>::lowest());
    EXPECT_EQ(component.GetMaterialName(), " ");
}

TEST(CPelnoFatigueComposant, ReadsTheBlock)
{
    CPelnoFatigueComposant component;
    ASSERT_EQ(Read(kHeader + "*COMMENTAIRE        virole du corps\n/ c\n\n" + kMaterial +
                       "*PARAMETRE 20. 6.3 -0.1\n" + kType + "*FIN_COMPOSANT\n",
                   component),
              0);
    EXPECT_TRUE(component.IsDefined());
    EXPECT_EQ(component.GetName(), "Virole 1");
    EXPECT_EQ(component.GetType(), 30);
    EXPECT_EQ(component.GetComment(), "virole du corps");
    EXPECT_EQ(component.GetThickness(), 20.0);
    EXPECT_EQ(component.GetRoughness(), 6.3);
    EXPECT_EQ(component.GetExternalPressure(), -0.1);   // stored without any check
    EXPECT_EQ(component.GetMaterialName(), "P265GH");

    CPelnoFatigueComposant assigned;
    assigned = CPelnoFatigueComposant(component);
    EXPECT_TRUE(assigned.IsDefined());
    EXPECT_EQ(assigned.GetType(), 30);
    EXPECT_EQ(assigned.GetExternalPressure(), -0.1);
    EXPECT_EQ(assigned.GetMaterialName(), "P265GH");
}

TEST(CPelnoFatigueComposant, BlockCodes)
{
    struct Case {
        std::string body;
        int code;
        std::int32_t type = 30;
    };
    const Case cases[] = {
        {kType + kParameters + kMaterial + "*FIN_COMPOSANT\n", 0},
        {"*TYPE GENERAL\n" + kParameters + kMaterial + "*FIN_COMPOSANT\n", 0, 20},
        {"*TYPE   TOLE_SPHERE  (fond)\n" + kParameters + kMaterial + "*FIN_COMPOSANT\n", 0, 40},
        {"*TYPE general\n" + kParameters + kMaterial + "*FIN_COMPOSANT\n", 140},
        {"*TYPE GENERALE\n" + kParameters + kMaterial + "*FIN_COMPOSANT\n", 140},
        {"*TYPE TOLE\n" + kParameters + kMaterial + "*FIN_COMPOSANT\n", 140},
        {"*TYPE\n" + kParameters + kMaterial + "*FIN_COMPOSANT\n", 140},
        // required cards
        {kParameters + kMaterial + "*FIN_COMPOSANT\n", 140},
        {kType + kMaterial + "*FIN_COMPOSANT\n", 140},
        {kType + kParameters + "*FIN_COMPOSANT\n", 140},
        // once only
        {"*COMMENTAIRE        a\n*COMMENTAIRE        b\n" + kType + kParameters + kMaterial + "*FIN_COMPOSANT\n", 30},
        {kType + kType + kParameters + kMaterial + "*FIN_COMPOSANT\n", 30},
        {kType + kParameters + kParameters + kMaterial + "*FIN_COMPOSANT\n", 30},
        {kType + kParameters + kMaterial + kMaterial + "*FIN_COMPOSANT\n", 30},
        // material reference: exact bytes from column 21
        {kType + kParameters + "*COMPOSANT_MATERIAU P265GH \n*FIN_COMPOSANT\n", 140},
        {kType + kParameters + "*COMPOSANT_MATERIAU P355\n*FIN_COMPOSANT\n", 140},
        {kType + kParameters + "*COMPOSANT_MATERIAU\n*FIN_COMPOSANT\n", 10},
        {"*COMMENTAIRE\n" + kType + kParameters + kMaterial + "*FIN_COMPOSANT\n", 10},
        // numbers the strict reader refuses
        {kType + "*PARAMETRE 20,5 6.3 0.1\n" + kMaterial + "*FIN_COMPOSANT\n", 140},
        {kType + "*PARAMETRE 20. 6.3\n" + kMaterial + "*FIN_COMPOSANT\n", 140},
        {kType + "*PARAMETRE 20. 6.3 0.1MPa\n" + kMaterial + "*FIN_COMPOSANT\n", 140},
        {kType + "*PARAMETRE 20. nan 0.1\n" + kMaterial + "*FIN_COMPOSANT\n", 140},
        // shared codes
        {kType + kParameters + kMaterial + "*MATERIAU           P265GH\n*FIN_COMPOSANT\n", 40},
        {kType + kParameters + kMaterial, 50},
        {kType + kParameters + kMaterial + "*FIN_COMPOSANT", 50},
    };
    for (const Case& c : cases) {
        CPelnoFatigueComposant component;
        const int code = Read(kHeader + c.body, component);
        EXPECT_EQ(code, c.code) << c.body;
        EXPECT_EQ(component.IsDefined(), code == 0) << c.body;
        if (code == 0) {
            EXPECT_EQ(component.GetType(), c.type) << c.body;
        }
    }
    CPelnoFatigueComposant blank;
    EXPECT_EQ(Read("*COMPOSANT           \n" + kType + kParameters + kMaterial + "*FIN_COMPOSANT\n", blank), 140);
    CPelnoFatigueComposant empty;
    EXPECT_EQ(Read("*COMPOSANT\n" + kType + kParameters + kMaterial + "*FIN_COMPOSANT\n", empty), 0);
    EXPECT_EQ(empty.GetName(), "");
}

TEST(CPelnoFatigueComposant, ThicknessAndRoughnessBounds)
{
    const auto materials = Materials();
    struct Case {
        double thickness;
        double roughness;
        int code;
        double storedRoughness;
    };
    const Case cases[] = {
        {0.5, 6.3, 0, 6.3},
        {0.49, 6.3, 140, 0},
        {1000.0, 6.3, 0, 6.3},
        {1000.01, 6.3, 140, 0},
        {std::numeric_limits<double>::quiet_NaN(), 6.3, 140, 0},
        {20.0, 2000.0, 0, 2000.0},
        {20.0, 2000.5, 140, 0},
        {20.0, std::numeric_limits<double>::quiet_NaN(), 140, 0},
        {20.0, 0.0, 0, 200.0},     // no roughness: the default
        {20.0, 0.1, 0, 200.0},
        {20.0, 0.11, 0, 0.11},
        {20.0, -3.0, 0, 200.0},
    };
    for (const Case& c : cases) {
        CPelnoFatigueComposant component;
        const int code = CodeOf([&] {
            component.SetDefinition(materials, "C", 20, " ", c.thickness, c.roughness, 0.0, "P265GH");
        });
        EXPECT_EQ(code, c.code) << c.thickness << " " << c.roughness;
        if (code == 0) {
            EXPECT_EQ(component.GetRoughness(), c.storedRoughness);
            EXPECT_EQ(component.GetThickness(), c.thickness);
        }
    }

    struct Other {
        std::string name;
        std::int32_t type;
        std::string material;
        int code;
    };
    const Other others[] = {
        {" ", 20, "P265GH", 140}, {"", 20, "P265GH", 0}, {"C", 10, "P265GH", 140},
        {"C", 40, "P265GH", 0},   {"C", 50, "P265GH", 140}, {"C", 20, "p265gh", 140},
    };
    for (const Other& c : others) {
        CPelnoFatigueComposant component;
        EXPECT_EQ(CodeOf([&] {
                      component.SetDefinition(materials, c.name, c.type, " ", 20.0, 6.3, 0.0, c.material);
                  }),
                  c.code)
            << "[" << c.name << "] " << c.type << " " << c.material;
    }
}

TEST(CPelnoFatigueComposant, Printer)
{
    CPelnoFatigueComposant component;
    ASSERT_EQ(Read(kHeader + "*COMMENTAIRE        virole du corps\n" + kType +
                       "*PARAMETRE 20.5 0 0.1\n" + kMaterial + "*FIN_COMPOSANT\n",
                   component),
              0);
    const std::vector<std::string> expected = {
        "",
        "Nom du composant                : Virole 1",
        "Type du composant               : 30",
        "                                  10-->Inconnu",
        "                                  20-->Général",
        "                                  30-->Tôle de cylindre",
        "                                  40-->Tôle de sphère",
        "Commentaire                     : virole du corps",
        "Épaisseur du composant (mm)     : 20.5",
        "Rugosité du composant (micro m) : 200",   // roughness 0 printed as the default
        "Pression extérieure admissible  : 0.1",
        "                                  Utile pour les cylindres et les cônes avec défauts",
        "Nom du matériau utilisé         : P265GH",
        "",
    };
    std::ostringstream out;
    out << component;
    EXPECT_EQ(Lines(out.str()), expected);

    if (!LocaleAvailable(kGroupingLocale)) GTEST_SKIP() << kGroupingLocale << " is not installed";
    // A report stream in the user's locale: decimal commas.
    std::ostringstream report;
    report.imbue(std::locale(kGroupingLocale));
    report << std::fixed << std::setprecision(1) << component;
    std::vector<std::string> french = expected;
    french[8] = "Épaisseur du composant (mm)     : 20,5";
    french[9] = "Rugosité du composant (micro m) : 200,0";
    french[10] = "Pression extérieure admissible  : 0,1";
    EXPECT_EQ(Lines(report.str()), french);
}
