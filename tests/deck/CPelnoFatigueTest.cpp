#include "deck/CPelnoFatigue.h"

#include <gtest/gtest.h>

#include <functional>

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

namespace {

std::string Plate(const std::string& name, const std::string& kind)
{
    return "*COMPOSANT          " + name + "\n*TYPE " + kind + "\n*PARAMETRE 12. 6.3 0.1\n" +
           "*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n";
}

std::string Weld(const std::string& name, const std::string& first, const std::string& second,
                 const std::string& inside = "")
{
    return "*CORDON             " + name + "\n*CORDON_TYPE        BAB\n*COMPOSANT_1        " +
           first + "\n*COMPOSANT_2        " + second + "\n" + inside + "*FIN_CORDON\n";
}

std::string Record(const std::string& name)
{
    return "*RELEVE             " + name + "\n*PARAMETRE 1. 20.\n*SIJ 1 0 0 2 0 0\n"
           "*SIJM 1 0 0 2 0 0\n*SIJLM 0 0 0 0 0 0\n*SIJLT 0 0 0 0 0 0\n*FIN_RELEVE\n";
}

std::string History(const std::string& name, const std::string& zoneCard)
{
    return "*HISTORIQUE         " + name + "\n" + zoneCard + "\n" + Record("t0") + Record("t1") +
           Record("t2") + "*FIN_HISTORIQUE\n";
}

// Two cylinder plates, a longitudinal seam with an imperfection, a zone, and a history on
// each of them.
const std::string kWeldDeck =
    Classification("BAB", "FAT80") + Plate("V1", "TOLE_CYLINDRE") + Plate("V2", "TOLE_CYLINDRE") +
    Weld("L1", "V1", "V2",
         "*LONGITUDINAL\n*IMPERFECTION       OVAL\n*DIAMETRE 1000. 1005. 995.\n"
         "*PARAMETRE 0.5 0. 0. 1.\n*FIN_IMPERFECTION\n") +
    Zone("Z1", "V1") + History("H1", "*HISTORIQUE_CORDON  L1") +
    History("H2", "*HISTORIQUE_UWZONE  Z1") + History("H3", "*HISTORIQUE_GORGE   L1");

}  // namespace

TEST_F(CPelnoFatigueTest, StoresWeldsAndHistories)
{
    CPelnoFatigue study;
    ASSERT_EQ(ReadData(study, kWeldDeck), 0);
    ASSERT_EQ(study.GetWelds().size(), 1u);
    EXPECT_EQ(study.GetWelds().at("L1").GetImperfection().GetType(), 20);
    ASSERT_EQ(study.GetHistories().size(), 3u);
    EXPECT_EQ(study.GetHistories().at("H1").GetType(), 20);
    EXPECT_EQ(study.GetHistories().at("H2").GetType(), 30);
    EXPECT_EQ(study.GetHistories().at("H3").GetType(), 40);

    // The lookups hand out copies.
    const CPelnoFatigueCordon weld = study.GetWeld("L1");
    EXPECT_EQ(weld.GetComponent2Name(), "V2");
    EXPECT_EQ(weld.GetImperfection().GetDmax(), 1005.0);
    EXPECT_EQ(study.GetComponent("V2").GetType(), 30);
    EXPECT_EQ(study.GetUWZone("Z1").GetComponentName(), "V1");
    CPelnoFatigueHistorique history = study.GetHistory("H2");
    ASSERT_EQ(history.GetRecordCount(), 3u);
    const StressTensor zero = {0, 0, 0, 0, 0, 0};
    history.GetRecord(2).SetStresses(zero, zero, zero, zero);
    EXPECT_EQ(study.GetHistory("H2").GetRecord(2).GetSij()[3], 2.0);

    // A copy of the study carries them too.
    const CPelnoFatigue copy(study);
    EXPECT_EQ(copy.GetWeld("L1").GetName(), "L1");
    EXPECT_EQ(copy.GetHistory("H3").GetZoneName(), "L1");
}

TEST_F(CPelnoFatigueTest, LookupsOfMissingNames)
{
    CPelnoFatigue study;
    ASSERT_EQ(ReadData(study, kWeldDeck), 0);
    struct Case {
        std::function<void()> lookup;
        int code;
        const char* log;
    };
    const Case cases[] = {
        {[&] { study.GetComponent("V3"); }, 380, "<CPelnoFatigue::GetComponent>"},
        {[&] { study.GetComponent("L1"); }, 380, "<CPelnoFatigue::GetComponent>"},
        {[&] { study.GetHistory("H4"); }, 300, "<CPelnoFatigue::GetHistory>"},
        {[&] { study.GetHistory("H1 "); }, 300, "<CPelnoFatigue::GetHistory>"},
        {[&] { study.GetUWZone("Z2"); }, 370, "<CPelnoFatigue::GetUWZone>"},
        {[&] { study.GetUWZone("V1"); }, 370, "<CPelnoFatigue::GetUWZone>"},
        {[&] { study.GetWeld("L2"); }, 360, "<CPelnoFatigue::GetWeld>"},
        {[&] { study.GetWeld("Z1"); }, 360, "<CPelnoFatigue::GetWeld>"},
    };
    for (const Case& c : cases) {
        try {
            c.lookup();
            ADD_FAILURE() << c.log;
        } catch (const CExceptionPelnoFatigue& error) {
            EXPECT_EQ(error.GetCode(), c.code);
            EXPECT_EQ(std::string(error.GetMessage()).rfind(std::string(c.log) + " : ", 0), 0u)
                << error.GetMessage();
        }
    }
}

TEST_F(CPelnoFatigueTest, WeldAndHistoryCodes)
{
    const std::string base = Classification("BAB", "FAT80") + Plate("V1", "TOLE_CYLINDRE") +
                             Plate("S1", "TOLE_SPHERE") + Component("G1") + Zone("Z1", "V1");
    struct Case {
        std::string text;
        int code;
    };
    const Case cases[] = {
        {base + Weld("W", "V1", "S1") + Weld("W", "V1", "G1"), 270},
        {base + Weld("W", "V1", "S1") + History("H", "*HISTORIQUE_CORDON  W") +
             History("H", "*HISTORIQUE_UWZONE  Z1"),
         280},
        // a seam and a history may share a name, and a zone's name
        {base + Weld("Z1", "V1", "S1") + History("Z1", "*HISTORIQUE_CORDON  Z1") +
             History("H", "*HISTORIQUE_UWZONE  Z1"),
         0},
        // what a seam or a history names must be defined above it
        {base + Weld("W", "V1", "V2") + Plate("V2", "TOLE_CYLINDRE"), 170},
        {base + History("H", "*HISTORIQUE_CORDON  W") + Weld("W", "V1", "S1"), 200},
        {Plate("V1", "TOLE_CYLINDRE") + Weld("W", "V1", "V1") + Classification("BAB", "FAT80"),
         170},
        // the prefix rule at file level: "*CORDON_TYPE" opens a seam block
        {base + "*CORDON_TYPE        W\n*CORDON_TYPE        BAB\n*COMPOSANT_1        V1\n"
                "*COMPOSANT_2        S1\n*FIN_CORDON\n",
         0},
        // failures inside the blocks keep their codes
        {base + Weld("W", "G1", "V1", "*IMPERFECTION       I\n"), 30},
        {base + Weld("W", "V1", "S1") + "*HISTORIQUE         H\n*HISTORIQUE_CORDON  W\n" +
             Record("a") + Record("b") + "*FIN_HISTORIQUE\n",
         200},
        {base + "*HISTORIQUE         H\n*RELEVE             r\n*PARAMETRE 1. 20.\n*FIN_RELEVE\n",
         20},
    };
    for (const Case& c : cases) {
        CPelnoFatigue study;
        EXPECT_EQ(ReadData(study, c.text), c.code) << c.text;
    }

    // The earlier seam and history stay.
    CPelnoFatigue study;
    EXPECT_EQ(ReadData(study, base + Weld("W", "V1", "S1") + Weld("W", "V1", "G1")), 270);
    EXPECT_EQ(study.GetWeld("W").GetComponent2Name(), "S1");
}

// The example deck holds a seam of each kind of geometry and histories of the three record
// kinds, numbered in file order.
TEST(CPelnoFatigueExample, ReservoirSeamsAndHistories)
{
    const std::string examples = std::string(PELNO_SOURCE_DIR) + "/examples";
    CapturedErrors errors;
    CPelnoFatigueContexte library;
    ASSERT_EQ(library.Read(examples + "/contexte.txt"), 0);
    CPelnoFatigue study;
    ASSERT_EQ(study.SetContext(library), 0);
    ASSERT_EQ(study.SetInputFile(examples + "/reservoir.dat"), 0);
    ASSERT_EQ(study.Read(), 0);

    struct Seam {
        const char* name;
        int geometry;  // 0: no imperfection
    };
    for (const Seam& seam : {Seam{"SL_VIROLE_1", 20}, Seam{"SC_VIROLE_1_2", 30},
                             Seam{"SC_FOND_INF", 30}, Seam{"PIQUAGE_N1", 0},
                             Seam{"GORGE_TROU_HOMME", 0}}) {
        const CPelnoFatigueCordon weld = study.GetWeld(seam.name);
        const CPelnoFatigueImperfection& imperfection = weld.GetImperfection();
        EXPECT_EQ(imperfection.IsDefined(), seam.geometry != 0) << seam.name;
        if (seam.geometry != 0) {
            EXPECT_EQ(imperfection.GetType(), seam.geometry) << seam.name;
        }
    }

    struct History {
        const char* name;
        int type;
        std::vector<int> kinds;
    };
    const History histories[] = {
        {"CYCLE_SL_VIROLE_1", 20, {10, 10, 10, 10, 10}},
        {"CYCLE_SC_VIROLE_1_2", 20, {10, 20, 20, 20, 10}},
        {"CYCLE_SC_FOND_INF", 20, {30, 30, 30, 10}},
        {"CYCLE_PEAU_VIROLE_1", 30, {10, 10, 10, 10}},
        {"CYCLE_GORGE_TROU_HOMME", 40, {10, 10, 10, 10}},
    };
    for (const History& expected : histories) {
        const CPelnoFatigueHistorique history = study.GetHistory(expected.name);
        EXPECT_EQ(history.GetType(), expected.type) << expected.name;
        std::vector<int> kinds;
        std::int32_t next = 0;
        for (const auto& [number, entry] : history.GetRecords()) {
            EXPECT_EQ(number, next++);
            kinds.push_back(entry.GetKind());
        }
        EXPECT_EQ(kinds, expected.kinds) << expected.name;
    }
}
