#include "model/CPelnoFatigueClassification.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/ReaderTestSupport.h"

namespace {

const std::string kHeader = "*CLASSIFICATION     Bout a bout\n";

CPelnoFatigueClassification::ClassTable Classes()
{
    CPelnoFatigueClasse fat80;
    fat80.SetDefinition("FAT80", 2000000, 100000000, 43.9, 3.0, 1.024e12, 5.0, 6.554e15, 80.0);
    return {{"FAT80", fat80}};
}

int Read(const std::string& block, CPelnoFatigueClassification& classification)
{
    const auto classes = Classes();
    return ReadBlock(block, [&](std::istream& in, const std::string& h) {
        classification.Read(in, h, classes);
    });
}

}  // namespace

TEST(CPelnoFatigueClassification, ReadsTheBlockAsTexts)
{
    CPelnoFatigueClassification classification;
    ASSERT_EQ(Read(kHeader +
                       "*COMMENTAIRE        soudure pleine pénétration \n"
                       "*SOUSTYPE           a\n"
                       "/ commentaire\n"
                       "\n"
                       "*NUMERO             1.1\n"
                       "*TYPE               Soudure bout à bout\n"
                       "*CORDON_CLASSE      FAT80\n"
                       "*FIN_CLASSIFICATION\n",
                   classification),
              0);
    EXPECT_TRUE(classification.IsDefined());
    EXPECT_EQ(classification.GetName(), "Bout a bout");
    EXPECT_EQ(classification.GetClassName(), "FAT80");
    EXPECT_EQ(classification.GetType(), "Soudure bout à bout");
    EXPECT_EQ(classification.GetNumber(), "1.1");
    EXPECT_EQ(classification.GetSubtype(), "a");
    EXPECT_EQ(classification.GetComment(), "soudure pleine pénétration ");

    CPelnoFatigueClassification assigned;
    assigned = CPelnoFatigueClassification(classification);
    EXPECT_TRUE(assigned.IsDefined());
    EXPECT_EQ(assigned.GetSubtype(), "a");
    EXPECT_EQ(assigned.GetComment(), classification.GetComment());
}

TEST(CPelnoFatigueClassification, BlockCodes)
{
    const std::string classCard = "*CORDON_CLASSE      FAT80\n";
    struct Case {
        std::string block;
        int code;
    };
    const Case cases[] = {
        {kHeader + classCard + "*FIN_CLASSIFICATION\n", 0},
        {kHeader + "*TYPE               1\n*FIN_CLASSIFICATION\n", 110},         // no class
        {kHeader + "*CORDON_CLASSE      FAT71\n*FIN_CLASSIFICATION\n", 110},     // unknown class
        {kHeader + "*CORDON_CLASSE      FAT80 \n*FIN_CLASSIFICATION\n", 110},    // trailing blank
        {kHeader + "*CORDON_CLASSE      fat80\n*FIN_CLASSIFICATION\n", 110},     // case matters
        {kHeader + "*CORDON_CLASSE FAT80\n*FIN_CLASSIFICATION\n", 110},          // not from column 21
        {"*CLASSIFICATION      \n" + classCard + "*FIN_CLASSIFICATION\n", 110},  // blank name
        {"*CLASSIFICATION\n" + classCard + "*FIN_CLASSIFICATION\n", 0},          // empty name
        {kHeader + classCard + classCard + "*FIN_CLASSIFICATION\n", 30},
        {kHeader + classCard + "*TYPE               1\n*TYPE               2\n*FIN_CLASSIFICATION\n", 30},
        {kHeader + classCard + "*NUMERO             1\n*NUMERO             2\n*FIN_CLASSIFICATION\n", 30},
        {kHeader + classCard + "*SOUSTYPE           a\n*SOUSTYPE           b\n*FIN_CLASSIFICATION\n", 30},
        {kHeader + classCard + "*COMMENTAIRE        a\n*COMMENTAIRE        b\n*FIN_CLASSIFICATION\n", 30},
        {kHeader + classCard + "*TYPE 1\n*FIN_CLASSIFICATION\n", 10},       // shorter than 20
        {kHeader + "*CORDON_CLASSE\n*FIN_CLASSIFICATION\n", 10},
        {kHeader + classCard + "*SOUS_TYPE          a\n*FIN_CLASSIFICATION\n", 40},
        {kHeader + classCard, 50},
        {kHeader + classCard + "*FIN_CLASSIFICATION", 50},
    };
    for (const Case& c : cases) {
        CPelnoFatigueClassification classification;
        const int code = Read(c.block, classification);
        EXPECT_EQ(code, c.code) << c.block;
        EXPECT_EQ(classification.IsDefined(), code == 0) << c.block;
    }
}

TEST(CPelnoFatigueClassification, SetDefinitionChecks)
{
    const auto classes = Classes();
    struct Case {
        std::string name;
        std::string className;
        int code;
    };
    const Case cases[] = {
        {"B", "FAT80", 0}, {" ", "FAT80", 110}, {"", "FAT80", 0}, {"B", "FAT8", 110}, {"B", " ", 110},
    };
    for (const Case& c : cases) {
        CPelnoFatigueClassification classification;
        EXPECT_EQ(CodeOf([&] {
                      classification.SetDefinition(classes, c.name, c.className, "t", "n", "s", "c");
                  }),
                  c.code)
            << "[" << c.name << "] [" << c.className << "]";
    }
    CPelnoFatigueClassification classification;
    EXPECT_EQ(CodeOf([&] { classification.SetDefinition({}, "B", "FAT80", "", "", "", ""); }), 110);
}

TEST(CPelnoFatigueClassification, Printer)
{
    CPelnoFatigueClassification full;
    ASSERT_EQ(Read(kHeader +
                       "*CORDON_CLASSE      FAT80\n"
                       "*TYPE               Soudure bout à bout\n"
                       "*NUMERO             1.1\n"
                       "*SOUSTYPE           a\n"
                       "*COMMENTAIRE        meulée\n"
                       "*FIN_CLASSIFICATION\n",
                   full),
              0);
    std::ostringstream out;
    out << full;
    EXPECT_EQ(Lines(out.str()), (std::vector<std::string>{
                                    "",
                                    "Nom donné à la classification selon C11.A5 : Bout a bout",
                                    "Classe de fatigue utilisée : FAT80",
                                    "Type de zone soudée        : Soudure bout à bout",
                                    "Numéro de zone soudée      : 1.1",
                                    "Sous type de zone soudée   : a",
                                    "Commentaire                : meulée",
                                    "",
                                }));

    // Only the class given: a single blank for the four optional texts.
    CPelnoFatigueClassification minimal;
    ASSERT_EQ(Read(kHeader + "*CORDON_CLASSE      FAT80\n*FIN_CLASSIFICATION\n", minimal), 0);
    std::ostringstream outMinimal;
    outMinimal << minimal;
    EXPECT_EQ(outMinimal.str(),
              "\n"
              "Nom donné à la classification selon C11.A5 : Bout a bout\n"
              "Classe de fatigue utilisée : FAT80\n"
              "Type de zone soudée        :  \n"
              "Numéro de zone soudée      :  \n"
              "Sous type de zone soudée   :  \n"
              "Commentaire                :  \n"
              "\n");
}
