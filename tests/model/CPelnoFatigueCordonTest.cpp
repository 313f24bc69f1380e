#include "model/CPelnoFatigueCordon.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/ReaderTestSupport.h"

namespace {

// A study with one component of each kind (two cylinder plates of 10 and 20 mm) and one weld
// classification. Only the names of the classification table are looked at by the seam.
class CPelnoFatigueCordonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CPelnoFatigueMateriau material;
        material.SetDefinition("P265GH", 20, " ", 265.0, {}, 410.0, 212000.0, 0.3);
        materials_.emplace("P265GH", material);
        AddComponent("CYL", 30, 10.0);
        AddComponent("CYL20", 30, 20.0);
        AddComponent("SPH", 40, 12.0);
        AddComponent("GEN", 20, 25.0);
        classifications_.emplace("BAB", CPelnoFatigueClassification());
    }

    void AddComponent(const std::string& name, std::int32_t kind, double thickness)
    {
        CPelnoFatigueComposant component;
        component.SetDefinition(materials_, name, kind, " ", thickness, 6.3, 0.1, "P265GH");
        components_.emplace(name, component);
    }

    int Read(const std::string& block, CPelnoFatigueCordon& weld)
    {
        return ReadBlock(block, [&](std::istream& in, const std::string& header) {
            weld.Read(in, header, components_, classifications_);
        });
    }

    CPelnoFatigueComposant::MaterialTable materials_;
    CPelnoFatigueCordon::ComponentTable components_;
    CPelnoFatigueCordon::ClassificationTable classifications_;
};

const std::string kHeader = "*CORDON             C1\n";
const std::string kType = "*CORDON_TYPE        BAB\n";
const std::string kEnd = "*FIN_CORDON\n";
// A valid imperfection on every geometry but the unknown one (D = 1000, e = 1, ...).
const std::string kImperfection =
    "*IMPERFECTION       DEFAUT\n"
    "*DIAMETRE 1000. 1004. 996.\n"
    "*PARAMETRE 1. 0. 0. 0.5\n"
    "*FIN_IMPERFECTION\n";

std::string Components(const std::string& first, const std::string& second)
{
    return "*COMPOSANT_1        " + first + "\n*COMPOSANT_2        " + second + "\n";
}

// The cards after both components: L longitudinal, C circumferential, I imperfection block.
std::string Sequence(const std::string& letters)
{
    std::string text;
    for (const char letter : letters) {
        if (letter == 'L') text += "*LONGITUDINAL\n";
        if (letter == 'C') text += "*CIRCONFERENTIEL\n";
        if (letter == 'I') text += kImperfection;
    }
    return text;
}

}  // namespace

TEST_F(CPelnoFatigueCordonTest, DefaultsAreUndefined)
{
    const CPelnoFatigueCordon weld;
    EXPECT_FALSE(weld.IsDefined());
    EXPECT_EQ(weld.GetName(), " ");
    EXPECT_EQ(weld.GetComponent1Name(), " ");
    EXPECT_EQ(weld.GetComponent2Name(), " ");
    EXPECT_EQ(weld.GetClassificationName(), " ");
    EXPECT_FALSE(weld.GetImperfection().IsDefined());
}

// What the kinds of the two components allow, and the geometry the imperfection gets.
TEST_F(CPelnoFatigueCordonTest, PermissionsFollowTheKindsOfTheComponents)
{
    struct Case {
        const char* first;
        const char* second;
        const char* cards;
        int code;
        int geometry;  // of the imperfection read, 0 when the seam has none
    };
    const Case cases[] = {
        // two cylinder plates: one orientation card, then an imperfection
        {"CYL", "CYL20", "", 0, 0},
        {"CYL", "CYL20", "L", 0, 0},
        {"CYL", "CYL20", "C", 0, 0},
        {"CYL", "CYL20", "LI", 0, 20},
        {"CYL", "CYL20", "CI", 0, 30},
        {"CYL20", "CYL", "LI", 0, 20},
        {"CYL", "CYL", "CI", 0, 30},   // the same component on both sides
        {"CYL", "CYL20", "I", 160, 0},  // no orientation: the imperfection refuses geometry 10
        {"CYL", "CYL20", "LC", 30, 0},
        {"CYL", "CYL20", "CL", 30, 0},
        {"CYL", "CYL20", "LL", 30, 0},
        {"CYL", "CYL20", "LIL", 30, 0},  // no orientation card after the imperfection
        {"CYL", "CYL20", "CIC", 30, 0},
        {"CYL", "CYL20", "LII", 30, 0},  // one imperfection
        // cylinder-sphere junction: circumferential geometry, no orientation card
        {"CYL", "SPH", "I", 0, 30},
        {"SPH", "CYL", "I", 0, 30},
        {"CYL", "SPH", "", 0, 0},
        {"CYL", "SPH", "L", 30, 0},
        {"SPH", "CYL", "C", 30, 0},
        {"CYL", "SPH", "II", 30, 0},
        // two sphere plates
        {"SPH", "SPH", "I", 0, 40},
        {"SPH", "SPH", "", 0, 0},
        {"SPH", "SPH", "L", 30, 0},
        {"SPH", "SPH", "C", 30, 0},
        // a general component on either side: neither
        {"GEN", "CYL", "", 0, 0},
        {"GEN", "CYL", "I", 30, 0},
        {"CYL", "GEN", "I", 30, 0},
        {"GEN", "SPH", "I", 30, 0},
        {"SPH", "GEN", "I", 30, 0},
        {"GEN", "GEN", "I", 30, 0},
        {"GEN", "CYL", "L", 30, 0},
        {"CYL", "GEN", "C", 30, 0},
        {"GEN", "GEN", "C", 30, 0},
    };
    for (const Case& c : cases) {
        const std::string block =
            kHeader + kType + Components(c.first, c.second) + Sequence(c.cards) + kEnd;
        CPelnoFatigueCordon weld;
        EXPECT_EQ(Read(block, weld), c.code) << c.first << " " << c.second << " " << c.cards;
        if (c.code != 0) continue;
        EXPECT_TRUE(weld.IsDefined());
        EXPECT_EQ(weld.GetComponent1Name(), c.first);
        EXPECT_EQ(weld.GetComponent2Name(), c.second);
        EXPECT_EQ(weld.GetImperfection().IsDefined(), c.geometry != 0) << c.cards;
        if (c.geometry != 0) {
            EXPECT_EQ(weld.GetImperfection().GetType(), c.geometry) << c.first << c.second << c.cards;
            EXPECT_EQ(weld.GetImperfection().GetName(), "DEFAUT");
        }
    }
}

// Orientation and imperfection cards are allowed only once both components are known,
// whatever the order of the two component cards.
TEST_F(CPelnoFatigueCordonTest, PermissionsWaitForBothComponents)
{
    const std::string first = "*COMPOSANT_1        CYL\n";
    const std::string second = "*COMPOSANT_2        CYL20\n";
    struct Case {
        std::string body;
        int code;
    };
    const Case cases[] = {
        {"*LONGITUDINAL\n" + first + second + kImperfection, 30},
        {first + "*LONGITUDINAL\n" + second + kImperfection, 30},
        {first + kImperfection + second, 30},
        {"*CIRCONFERENTIEL\n" + first + second, 30},
        {second + first + "*LONGITUDINAL\n" + kImperfection, 0},
        {second + "*CIRCONFERENTIEL\n" + first, 30},
        {first + second + "*LONGITUDINAL\n" + kImperfection, 0},
    };
    for (const Case& c : cases) {
        CPelnoFatigueCordon weld;
        EXPECT_EQ(Read(kHeader + kType + c.body + kEnd, weld), c.code) << c.body;
    }
}

TEST_F(CPelnoFatigueCordonTest, BlockErrors)
{
    const std::string both = Components("CYL", "SPH");
    struct Case {
        std::string block;
        int code;
    };
    const Case cases[] = {
        // comments and empty lines anywhere
        {kHeader + "/ cordon\n\n" + kType + "/ c\n" + both + "\n" + kEnd, 0},
        // missing cards at the end of the block
        {kHeader + both + kEnd, 170},
        {kHeader + kType + "*COMPOSANT_1        CYL\n" + kEnd, 170},
        {kHeader + kType + "*COMPOSANT_2        CYL\n" + kEnd, 170},
        // an unknown component fails as soon as both are given, before the end of the block
        {kHeader + kType + Components("CYL", "VIROLE"), 170},
        {kHeader + kType + Components("VIROLE", "CYL"), 170},
        {kHeader + Components("CYL ", "CYL"), 170},  // names are exact bytes
        // the classification must be in the library
        {kHeader + "*CORDON_TYPE        FAT71\n" + both + kEnd, 170},
        {kHeader + "*CORDON_TYPE        BAB \n" + both + kEnd, 170},
        // a blank name is no name
        {"*CORDON" + std::string(13, ' ') + " \n" + kType + both + kEnd, 170},
        // cards given twice
        {kHeader + kType + kType + both + kEnd, 30},
        {kHeader + kType + both + "*COMPOSANT_1        CYL\n" + kEnd, 30},
        {kHeader + kType + both + "*COMPOSANT_2        CYL\n" + kEnd, 30},
        // unknown lines, end of file, value line too short for a name
        {kHeader + kType + "*COMPOSANT          CYL\n" + kEnd, 40},
        {kHeader + kType + " *FIN_CORDON\n", 40},
        {kHeader + kType + both, 50},
        {kHeader + kType + both + "*IMPERFECTION       D\n*DIAMETRE 1000. 1004. 996.\n", 50},
        {kHeader + "*CORDON_TYPE\n" + both + kEnd, 10},
        {kHeader + kType + "*COMPOSANT_1  CYL\n", 10},
        // the imperfection's own errors pass through
        {kHeader + kType + both +
             "*IMPERFECTION       D\n*DIAMETRE 1000. 1004.\n*PARAMETRE 1. 0. 0. 0.5\n"
             "*FIN_IMPERFECTION\n" + kEnd,
         160},
        {kHeader + kType + both +
             "*IMPERFECTION       D\n*DIAMETRE 1000. 1004. 996.\n*FIN_IMPERFECTION\n" + kEnd,
         160},
        {kHeader + kType + both + "*IMPERFECTION       D\n*LONGITUDINAL\n", 40},
    };
    for (const Case& c : cases) {
        CPelnoFatigueCordon weld;
        EXPECT_EQ(Read(c.block, weld), c.code) << c.block;
        EXPECT_EQ(weld.IsDefined(), c.code == 0) << c.block;
    }
}

TEST_F(CPelnoFatigueCordonTest, NamesAreTakenFromColumn21)
{
    CPelnoFatigueCordon weld;
    ASSERT_EQ(Read("*CORDON             Soudure longi V1 \n" + kType +
                       "*COMPOSANT_1        CYL\n*COMPOSANT_2        CYL\n" + kEnd,
                   weld),
              0);
    EXPECT_EQ(weld.GetName(), "Soudure longi V1 ");
    EXPECT_EQ(weld.GetClassificationName(), "BAB");

    // Nothing after column 20 is an empty name, which is accepted.
    CPelnoFatigueCordon unnamed;
    ASSERT_EQ(Read("*CORDON\n" + kType + Components("GEN", "GEN") + kEnd, unnamed), 0);
    EXPECT_EQ(unnamed.GetName(), "");
}

TEST_F(CPelnoFatigueCordonTest, SetDefinitionRules)
{
    CPelnoFatigueImperfection imperfection;
    imperfection.SetDefinition("D", 30, 1000.0, 1004.0, 996.0, 1.0, 0.5, 0.0, 0.0);
    struct Case {
        const char* name;
        const char* first;
        const char* second;
        const char* classification;
        int code;
    };
    const Case cases[] = {
        {"C1", "CYL", "SPH", "BAB", 0},
        {"C1", "GEN", "GEN", "BAB", 0},
        {"", "GEN", "GEN", "BAB", 0},
        {" ", "CYL", "SPH", "BAB", 170},
        {"C1", "X", "SPH", "BAB", 170},
        {"C1", "CYL", "X", "BAB", 170},
        {"C1", "CYL", "SPH", "X", 170},
    };
    for (const Case& c : cases) {
        CPelnoFatigueCordon weld;
        EXPECT_EQ(CodeOf([&] {
                      weld.SetDefinition(components_, classifications_, c.name, c.first, c.second,
                                         c.classification, imperfection);
                  }),
                  c.code)
            << c.name << c.first << c.second << c.classification;
        EXPECT_EQ(weld.IsDefined(), c.code == 0);
    }

    // The imperfection is taken as it is, and travels with copies.
    CPelnoFatigueCordon weld;
    weld.SetDefinition(components_, classifications_, "C1", "CYL", "SPH", "BAB", imperfection);
    const CPelnoFatigueCordon copy(weld);
    CPelnoFatigueCordon assigned;
    assigned = weld;
    for (const CPelnoFatigueCordon* seam : {&std::as_const(weld), &copy, &std::as_const(assigned)}) {
        EXPECT_TRUE(seam->IsDefined());
        EXPECT_EQ(seam->GetName(), "C1");
        EXPECT_EQ(seam->GetComponent2Name(), "SPH");
        EXPECT_TRUE(seam->GetImperfection().IsDefined());
        EXPECT_EQ(seam->GetImperfection().GetType(), 30);
        EXPECT_EQ(seam->GetImperfection().GetE(), 1.0);
    }
}

TEST_F(CPelnoFatigueCordonTest, PrintoutWithoutImperfection)
{
    CPelnoFatigueCordon weld;
    ASSERT_EQ(Read(kHeader + kType + Components("GEN", "CYL") + kEnd, weld), 0);
    std::ostringstream out;
    out << weld;
    EXPECT_EQ(out.str(),
              "\n"
              "Nom du cordon de soudure                   : C1\n"
              "Nom du premier composé soudé               : GEN\n"
              "Nom du second composé soudé                : CYL\n"
              "Classification de zone soudée selon C11.A5 : BAB\n"
              "Cordon de soudure sans imperfection de forme !\n"
              "\n");
}

TEST_F(CPelnoFatigueCordonTest, PrintoutWithImperfection)
{
    CPelnoFatigueCordon weld;
    ASSERT_EQ(Read(kHeader + kType + Components("SPH", "SPH") + Sequence("I") + kEnd, weld), 0);
    std::ostringstream out;
    out << std::fixed << std::setprecision(1) << weld;
    const std::vector<std::string> expected = {
        "",
        "Nom du cordon de soudure                   : C1",
        "Nom du premier composé soudé               : SPH",
        "Nom du second composé soudé                : SPH",
        "Classification de zone soudée selon C11.A5 : BAB",
        // the imperfection's own printout
        "",
        "Nom de l'imperfection de forme                         : DEFAUT",
        "Type de l'imperfection                                 : 40",
        "                                                         10-->inconnu",
        "                                                         20-->longi cylindre",
        "                                                         30-->circonf cylindre",
        "                                                         40-->sur sphère",
        "Diamètre moyen de l'enveloppe                          : 1000.0",
        "Diamètre maximal de l'enveloppe                        : 1004.0",
        "Diamètre minimal de l'enveloppe                        : 996.0",
        "Décalage de fibre moyen selon C11.A6                   : 1.0",
        "Ecart local de circularité selon C11.A6.9              : 0.5",
        "Angle définissant la position du cordon selon C11.A6.7 : 0.0",
        "Désalignement angulaire sur une sphère selon C11.A6.8  : 0.0",
        "",
        // then two line feeds
        "",
        "",
    };
    EXPECT_EQ(Lines(out.str()), expected);
    EXPECT_EQ(out.str().substr(out.str().size() - 3), "\n\n\n");
}
