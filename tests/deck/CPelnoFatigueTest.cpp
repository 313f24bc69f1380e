#include "deck/CPelnoFatigue.h"

#include <gtest/gtest.h>

#include "support/ReaderTestSupport.h"
#include "support/RunProgram.h"

namespace {

const std::string kContext =
    "*MATERIAU           P265GH\n"
    "*TYPE F\n"
    "*PARAMETRE 265. 410.5 204000. 0.3\n"
    "*FIN_MATERIAU\n"
    "*CLASSE             FAT80\n"
    "*PARAMETRE 2000000 80. 100000000 43.9\n"
    "*PARAMETRES 3. 1.024e12 5. 6.554e15\n"
    "*FIN_CLASSE\n";

std::string Material(const std::string& name, const std::string& rm = "520.")
{
    return "*MATERIAU           " + name + "\n*TYPE A\n*PARAMETRE 220. " + rm +
           " 195000. 0.3\n*FIN_MATERIAU\n";
}

std::string Component(const std::string& name, const std::string& material = "P265GH")
{
    return "*COMPOSANT          " + name + "\n*TYPE GENERAL\n*PARAMETRE 20. 6.3 0.\n" +
           "*COMPOSANT_MATERIAU " + material + "\n*FIN_COMPOSANT\n";
}

std::string Zone(const std::string& name, const std::string& component)
{
    return "*UWZONE             " + name + "\n*UWZONE_COMPOSANT   " + component + "\n*FIN_UWZONE\n";
}

std::string Class(const std::string& name)
{
    return "*CLASSE             " + name + "\n*PARAMETRE 2000000 71. 100000000 39.\n"
           "*PARAMETRES 3. 7.158e11 5. 3.608e15\n*FIN_CLASSE\n";
}

std::string Curve(const std::string& name)
{
    return "*UWCOURBE           " + name + "\n*PARAMETRE 500.\n*FIN_UWCOURBE\n";
}

std::string Classification(const std::string& name, const std::string& fatigueClass)
{
    return "*CLASSIFICATION     " + name + "\n*CORDON_CLASSE      " + fatigueClass +
           "\n*FIN_CLASSIFICATION\n";
}

class CPelnoFatigueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = MakeTempDirectory();
        WriteFile(dir_ + "/contexte.txt", kContext);
        CapturedErrors errors;
        ASSERT_EQ(library_.Read(dir_ + "/contexte.txt"), 0);
    }

    // Reads the text as the data file of a study given the library.
    int ReadData(CPelnoFatigue& study, const std::string& text)
    {
        WriteFile(dir_ + "/donnees.dat", text);
        EXPECT_EQ(study.SetContext(library_), 0);
        EXPECT_EQ(study.SetInputFile(dir_ + "/donnees.dat"), 0);
        CapturedErrors errors;
        const int code = study.Read();
        echo_ = errors.Text();
        return code;
    }

    std::string dir_;
    std::string echo_;
    CPelnoFatigueContexte library_;
};

}  // namespace

TEST_F(CPelnoFatigueTest, StoresTheSixKinds)
{
    CPelnoFatigue study;
    const std::string text = "/ étude\n" + Class("FAT71") + Material("X6CrNi18-10") +
                             Component("Virole", "X6CrNi18-10") + Curve("C500") +
                             Zone("Tubulure", "Virole") + Classification("Bout a bout", "FAT71");
    ASSERT_EQ(ReadData(study, text), 0);
    EXPECT_EQ(echo_, text + "\n");

    EXPECT_EQ(study.GetComponents().size(), 1u);
    EXPECT_EQ(study.GetComponents().at("Virole").GetMaterialName(), "X6CrNi18-10");
    EXPECT_EQ(study.GetUWZones().size(), 1u);
    EXPECT_EQ(study.GetUWZones().at("Tubulure").GetCurveName(), "520");

    // The study's own context grows; the library handed to it does not.
    const CPelnoFatigueContexte& context = study.GetContext();
    EXPECT_TRUE(context.ClassExist("FAT71"));
    EXPECT_TRUE(context.ClassExist("FAT80"));
    EXPECT_TRUE(context.MaterialExist("X6CrNi18-10"));
    EXPECT_TRUE(context.UWCurveExist("C500"));
    EXPECT_TRUE(context.UWCurveExist("520"));
    EXPECT_TRUE(context.WeldDetailExist("Bout a bout"));
    EXPECT_FALSE(library_.MaterialExist("X6CrNi18-10"));
    EXPECT_FALSE(library_.UWCurveExist("520"));

    // A copy of the study carries its objects.
    const CPelnoFatigue copy(study);
    EXPECT_EQ(copy.GetComponents().size(), 1u);
    EXPECT_EQ(copy.GetUWZones().at("Tubulure").GetComponentName(), "Virole");
    EXPECT_TRUE(copy.GetContext().UWCurveExist("520"));
}

TEST_F(CPelnoFatigueTest, FileCodes)
{
    struct Case {
        std::string text;
        int code;
    };
    const Case cases[] = {
        // duplicates, each raised after its whole block was read
        {Component("C1") + Component("C1"), 250},
        {Component("C1") + Zone("Z1", "C1") + Zone("Z1", "C1"), 260},
        {Class("FAT80"), 60},           // the context file's class
        {Material("P265GH"), 400},      // the context file's material
        {Curve("C") + Curve("C"), 80},
        {Classification("B", "FAT80") + Classification("B", "FAT80"), 130},
        // a curve named like the one a zone built earlier
        {Component("C1") + Zone("Z1", "C1") + Curve("410"), 80},
        // objects of different kinds may share a name
        {Component("X") + Zone("X", "X") + Class("X") + Material("X") + Curve("X") +
             Classification("X", "X"),
         0},
        // names are exact bytes
        {Component("C1") + Component("C1 "), 0},
        // a definition serves only what follows it
        {Component("C1", "M2") + Material("M2"), 140},
        {Material("M2") + Component("C1", "M2"), 0},
        {Zone("Z1", "C1") + Component("C1"), 150},
        {Classification("B", "FAT71") + Class("FAT71"), 110},
        // the prefix rule at file level
        {"*CLASSEMENT         FAT71\n*PARAMETRE 2000000 71. 100000000 39.\n"
         "*PARAMETRES 3. 7.158e11 5. 3.608e15\n*FIN_CLASSE\n",
         0},
        // unknown lines
        {"*composant          C1\n", 40},
        {"  *COMPOSANT        C1\n", 40},
        {"*FIN_COMPOSANT\n", 40},
        {"\\ commentaire\n", 40},
        // failures inside the blocks keep their codes
        {"*COMPOSANT          C1\n*TYPE GENERAL\n*FIN_COMPOSANT\n", 140},
        {"*UWZONE             Z\n*FIN_UWZONE\n", 150},
        {Material("M50", "50.") + Component("C50", "M50") + Zone("Z", "C50"), 70},
        {Component("C1").substr(0, 40), 50},
    };
    for (const Case& c : cases) {
        CPelnoFatigue study;
        EXPECT_EQ(ReadData(study, c.text), c.code) << c.text;
    }
}

TEST_F(CPelnoFatigueTest, ADuplicateKeepsTheEarlierObject)
{
    CPelnoFatigue study;
    const std::string second = "*COMPOSANT          C1\n*TYPE TOLE_SPHERE\n*PARAMETRE 40. 6.3 0.\n"
                               "*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n";
    EXPECT_EQ(ReadData(study, Component("C1") + second + "/ jamais lu\n"), 250);
    EXPECT_EQ(study.GetComponents().at("C1").GetType(), 20);
    // The whole second block was echoed before the code; nothing after it was read.
    EXPECT_EQ(echo_, Component("C1") + second);
}

TEST_F(CPelnoFatigueTest, ReadWithoutADataFile)
{
    CPelnoFatigue study;
    EXPECT_EQ(study.Read(), 240);
    EXPECT_EQ(study.SetInputFile(dir_ + "/absent.dat"), 240);
    EXPECT_EQ(study.Read(), 240);
}
