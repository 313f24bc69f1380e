// The context file and the data file read end to end by the real executable: the cards of
// both files, the duplicate codes and a normal end; and the decks of examples/.
#include <gtest/gtest.h>

#include <dirent.h>

#include <string>
#include <vector>

#include "support/RunProgram.h"

namespace {

const std::string kNormalEnd = " \n Fin normale du travail \n \n";

std::string AbnormalEnd(int code, const std::string& utf8Text)
{
    return " \n Fin anormale du travail \n Code d'erreur : " + std::to_string(code) + " \n" +
           std::string(14, ' ') + Latin9(utf8Text + " ") + "\n \n";
}

const std::string kContext =
    "/ bibliothèque\n"
    "*CLASSE             FAT80\n"
    "*PARAMETRE 5000000 58.94 100000000 32.38\n"
    "*PARAMETRES 3. 1.024e12 5. 3.5578e15\n"
    "*FIN_CLASSE\n"
    "*MATERIAU           P265GH\n"
    "*COMMENTAIRE        tôle\n"
    "*TYPE F\n"
    "*PARAMETRE 265. 410. 212000. 0.3\n"
    "*RPT 100. 241.\n"
    "*FIN_MATERIAU\n"
    "*UWCOURBE           510\n"
    "*PARAMETRE 510.\n"
    "*FIN_UWCOURBE\n"
    "*CLASSIFICATION     BAB\n"
    "*CORDON_CLASSE      FAT80\n"
    "*FIN_CLASSIFICATION\n";

const std::string kData =
    "/ étude\n"
    "*CLASSE             FAT71\n"
    "*PARAMETRE 5000000 52.31 100000000 28.73\n"
    "*PARAMETRES 3. 7.1582e11 5. 1.959e15\n"
    "*FIN_CLASSE\n"
    "*MATERIAU           P355GH\n"
    "*TYPE F\n"
    "*PARAMETRE 355. 510. 212000. 0.3\n"
    "*FIN_MATERIAU\n"
    "*UWCOURBE           UW600\n"
    "*PARAMETRE 600.\n"
    "*FIN_UWCOURBE\n"
    "*CLASSIFICATION     ANGLE\n"
    "*CORDON_CLASSE      FAT71\n"
    "*FIN_CLASSIFICATION\n"
    "*COMPOSANT          VIROLE\n"
    "*TYPE TOLE_CYLINDRE\n"
    "*PARAMETRE 16. 6.3 0.1\n"
    "*COMPOSANT_MATERIAU P355GH\n"
    "*FIN_COMPOSANT\n"
    "*UWZONE             PEAU\n"
    "*UWZONE_COMPOSANT   VIROLE\n"
    "*PARAMETRE 1.5\n"
    "*FIN_UWZONE\n";

class DataDeckRun : public ::testing::Test {
protected:
    void SetUp() override { dir_ = MakeTempDirectory(); }

    ProgramResult Run(const std::string& context, const std::string& data)
    {
        WriteFile(dir_ + "/contexte.txt", context);
        WriteFile(dir_ + "/donnees.dat", data);
        return RunProgram({"-d", dir_ + "/donnees.dat", "-c", dir_ + "/contexte.txt", "-o", dir_ + "/"});
    }

    std::string dir_;
};

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

TEST_F(DataDeckRun, AllSixKindsRunToANormalEnd)
{
    const ProgramResult result = Run(kContext, kData);
    EXPECT_EQ(result.status, 0);
    // Context first, then data, each line echoed unchanged.
    EXPECT_EQ(result.errorOutput, kContext + "\n" + kData + "\n" + kNormalEnd);
    EXPECT_EQ(result.standardOutput, "");
}

TEST_F(DataDeckRun, Duplicates)
{
    const std::string component =
        "*COMPOSANT          VIROLE\n*TYPE GENERAL\n*PARAMETRE 16. 6.3 0.\n"
        "*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n";
    const std::string zone = "*UWZONE             PEAU\n*UWZONE_COMPOSANT   VIROLE\n*FIN_UWZONE\n";
    const std::string weld = "*CORDON             PIQUAGE\n*CORDON_TYPE        BAB\n"
                             "*COMPOSANT_1        VIROLE\n*COMPOSANT_2        VIROLE\n*FIN_CORDON\n";
    std::string history = "*HISTORIQUE         ARRET\n*HISTORIQUE_UWZONE  PEAU\n";
    for (const char* name : {"t0", "t1", "t2"}) {
        history += std::string("*RELEVE             ") + name +
                   "\n*PARAMETRE 0. 20.\n*SIJ 0 0 0 0 0 0\n*SIJM 0 0 0 0 0 0\n"
                   "*SIJLM 0 0 0 0 0 0\n*SIJLT 0 0 0 0 0 0\n*FIN_RELEVE\n";
    }
    history += "*FIN_HISTORIQUE\n";
    struct Case {
        std::string context;
        std::string data;
        int code;
        const char* text;
    };
    const Case cases[] = {
        // the data file repeats a name of the context file
        {kContext, "*CLASSE             FAT80\n*PARAMETRE 5000000 58.94 100000000 32.38\n"
                   "*PARAMETRES 3. 1.024e12 5. 3.5578e15\n*FIN_CLASSE\n",
         60, "La courbe de fatigue pour zone soudée dont on donne la définition existe déjà"},
        {kContext, "*MATERIAU           P265GH\n*TYPE F\n*PARAMETRE 265. 410. 212000. 0.3\n*FIN_MATERIAU\n",
         400, "Le matériau dont la définition est donnée existe déjà"},
        {kContext, "*UWCOURBE           510\n*PARAMETRE 510.\n*FIN_UWCOURBE\n",
         80, "La courbe de fatigue pour zone non soudée dont on donne la définition existe déjà"},
        {kContext, "*CLASSIFICATION     BAB\n*CORDON_CLASSE      FAT80\n*FIN_CLASSIFICATION\n",
         130, "La classification de zone soudée selon C11.A5 dont on donne la définition existe déjà"},
        {kContext, component + component,
         250, "Le composant dont la définition est donnée existe déjà"},
        {kContext, component + zone + zone,
         260, "La zone sans soudure dont la définition est donnée existe déjà"},
        {kContext, component + weld + weld,
         270, "Le cordon de soudure dont la définition est donnée existe déjà"},
        {kContext, component + zone + history + history,
         280, "L'historique de contraintes dont la définition est donnée existe déjà"},
        // a curve named after the Rm of a material, built by a zone, then defined again
        {kContext, component + zone + "*UWCOURBE           410\n*PARAMETRE 410.\n*FIN_UWCOURBE\n",
         80, "La courbe de fatigue pour zone non soudée dont on donne la définition existe déjà"},
        // duplicates within the context file
        {kContext + kContext, "/ rien\n",
         60, "La courbe de fatigue pour zone soudée dont on donne la définition existe déjà"},
        {kContext + "*MATERIAU           P265GH\n*TYPE A\n*PARAMETRE 220. 520. 200000. 0.3\n*FIN_MATERIAU\n",
         "/ rien\n", 400, "Le matériau dont la définition est donnée existe déjà"},
        {kContext + "*UWCOURBE           510\n*PARAMETRE 511.\n*FIN_UWCOURBE\n", "/ rien\n",
         80, "La courbe de fatigue pour zone non soudée dont on donne la définition existe déjà"},
        {kContext + "*CLASSIFICATION     BAB\n*CORDON_CLASSE      FAT80\n*FIN_CLASSIFICATION\n",
         "/ rien\n", 130,
         "La classification de zone soudée selon C11.A5 dont on donne la définition existe déjà"},
    };
    for (const Case& c : cases) {
        const ProgramResult result = Run(c.context, c.data);
        EXPECT_EQ(result.status, c.code & 0xFF) << c.data;
        EXPECT_TRUE(EndsWith(result.errorOutput, AbnormalEnd(c.code, c.text))) << result.errorOutput;
    }
}

TEST_F(DataDeckRun, OnlyTheFourLibraryCardsInTheContextFile)
{
    const std::string component =
        "*COMPOSANT          VIROLE\n*TYPE GENERAL\n*PARAMETRE 16. 6.3 0.\n"
        "*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n";
    const ProgramResult result = Run(kContext + component, "/ rien\n");
    EXPECT_EQ(result.status, 40);
    // The run stops at the card line itself (echoed as read, bytes unchanged).
    EXPECT_EQ(result.errorOutput.find(kContext + "*COMPOSANT          VIROLE\n \n Fin anormale"), 0u);
    EXPECT_NE(result.errorOutput.find(" Code d'erreur : 40 \n"), std::string::npos);

    // The same block is accepted in the data file.
    const ProgramResult data = Run(kContext, component);
    EXPECT_EQ(data.status, 0);
}

TEST_F(DataDeckRun, ExamplesRunToANormalEnd)
{
    const std::string examples = std::string(PELNO_SOURCE_DIR) + "/examples";
    std::vector<std::string> decks;
    if (DIR* directory = ::opendir(examples.c_str())) {
        while (const dirent* entry = ::readdir(directory)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dat") == 0) decks.push_back(name);
        }
        ::closedir(directory);
    }
    ASSERT_GE(decks.size(), 2u);
    for (const std::string& deck : decks) {
        const ProgramResult result = RunProgram(
            {"-d", examples + "/" + deck, "-c", examples + "/contexte.txt", "-o", dir_ + "/"});
        EXPECT_EQ(result.status, 0) << deck << "\n" << result.errorOutput;
        EXPECT_TRUE(EndsWith(result.errorOutput, kNormalEnd)) << deck;
    }
}

namespace {

std::string Plate(const std::string& name, const std::string& kind, const std::string& thickness)
{
    return "*COMPOSANT          " + name + "\n*TYPE " + kind + "\n*PARAMETRE " + thickness +
           " 6.3 0.1\n*COMPOSANT_MATERIAU P265GH\n*FIN_COMPOSANT\n";
}

std::string Seam(const std::string& name, const std::string& first, const std::string& second,
                 const std::string& inside)
{
    return "*CORDON             " + name + "\n*CORDON_TYPE        BAB\n*COMPOSANT_1        " +
           first + "\n*COMPOSANT_2        " + second + "\n" + inside + "*FIN_CORDON\n";
}

std::string Imperfection(const std::string& diameters, const std::string& parameters)
{
    return "*IMPERFECTION       DEFAUT\n*DIAMETRE " + diameters + "\n*PARAMETRE " + parameters +
           "\n*FIN_IMPERFECTION\n";
}

std::string Tensors(const std::string& suffix, const std::string& values)
{
    std::string text;
    for (const char* kind : {"", "M", "LM", "LT"}) {
        text += std::string("*SIJ") + kind + suffix + " " + values + "\n";
    }
    return text;
}

std::string PlainRecord(const std::string& name, const std::string& parameters,
                        const std::string& values)
{
    return "*RELEVE             " + name + "\n*PARAMETRE " + parameters + "\n" + Tensors("", values) +
           "*FIN_RELEVE\n";
}

std::string LinearRecord(const std::string& name, const std::string& parameters,
                         const std::string& a, const std::string& b)
{
    return "*RELEVELIN          " + name + "\n*PARAMETRE " + parameters + "\n" + Tensors("A", a) +
           Tensors("B", b) + "*FIN_RELEVELIN\n";
}

std::string QuadraticRecord(const std::string& name, const std::string& parameters,
                            const std::string& a, const std::string& b, const std::string& c)
{
    return "*RELEVEQUAD         " + name + "\n*PARAMETRE " + parameters + "\n" + Tensors("A", a) +
           Tensors("B", b) + Tensors("C", c) + "*FIN_RELEVEQUAD\n";
}

}  // namespace

TEST_F(DataDeckRun, WeldSeamsOfEveryGeometryAndHistoriesOfTheThreeRecordKinds)
{
    const std::string records =
        PlainRecord("repos", "0. 20.", "0. 0. 0. 0. 0. 0.") +
        LinearRecord("pression", "2. 20.", "80. 5. 0. 160. 0. -1.", "70. 4. 0. 150. 0. -1.") +
        QuadraticRecord("choc", "2. 150.", "120. 6. 0. 190. 0. -2.", "100. 5. 0. 170. 0. -2.",
                        "90. 5. 0. 165. 0. -1.") +
        PlainRecord("retour", "0. 20.", "0. 0. 0. 0. 0. 0.");
    const std::string data =
        "/ soudures et historiques\n" + Plate("V1", "TOLE_CYLINDRE", "12.") +
        Plate("V2", "TOLE_CYLINDRE", "14.") + Plate("FOND", "TOLE_SPHERE", "10.") +
        Plate("CALOTTE", "TOLE_SPHERE", "10.") + Plate("TUBULURE", "GENERAL", "8.") +
        "*UWZONE             PEAU\n*UWZONE_COMPOSANT   V1\n*FIN_UWZONE\n" +
        // longitudinal and circumferential seams on two cylinder plates, with and without
        // an imperfection
        Seam("LONGI", "V1", "V2",
             "*LONGITUDINAL\n" + Imperfection("1000. 1006. 994.", "1. 0. 0. 2.")) +
        Seam("LONGI_SANS", "V1", "V1", "*LONGITUDINAL\n") +
        Seam("CIRC", "V2", "V1", "*CIRCONFERENTIEL\n" + Imperfection("1000. 1000. 1000.", "1.5 0. 0. 0.")) +
        Seam("CIRC_SANS", "V1", "V2", "/ pas d'orientation ni d'imperfection\n") +
        // cylinder-sphere junction and sphere-sphere seam
        Seam("JONCTION", "V1", "FOND", Imperfection("1000. 1000. 1000.", "0.5 0. 0. 0.")) +
        Seam("CALOTTE", "FOND", "CALOTTE", Imperfection("2000. 2000. 2000.", "0. 0. -3. 0.")) +
        Seam("SPHERE_SANS", "CALOTTE", "FOND", "") +
        // a nozzle: a general component, no orientation and no imperfection
        Seam("PIQUAGE", "TUBULURE", "V1", "") +
        "*HISTORIQUE         H_CORDON\n*HISTORIQUE_CORDON  LONGI\n" + records + "*FIN_HISTORIQUE\n" +
        "*HISTORIQUE         H_ZONE\n" + records + "*HISTORIQUE_UWZONE  PEAU\n*FIN_HISTORIQUE\n" +
        "*HISTORIQUE         H_GORGE\n*HISTORIQUE_GORGE   PIQUAGE\n" + records +
        "*FIN_HISTORIQUE\n";
    const ProgramResult result = Run(kContext, data);
    EXPECT_EQ(result.status, 0);
    // Every line was read, in order, and echoed unchanged.
    EXPECT_EQ(result.errorOutput, kContext + "\n" + Latin9(data) + "\n" + kNormalEnd);

    // The same deck with a seam or a history broken fails with its own code.
    struct Case {
        std::string data;
        int code;
    };
    const Case cases[] = {
        {data + Seam("LONGI", "V1", "V2", ""), 270},
        {data + "*HISTORIQUE         H_ZONE\n*HISTORIQUE_UWZONE  PEAU\n" + records +
             "*FIN_HISTORIQUE\n",
         280},
        {data + Seam("X", "V1", "V2", Imperfection("1000. 1000. 1000.", "1. 0. 0. 0.")), 160},
        {data + Seam("X", "TUBULURE", "V1", "*CIRCONFERENTIEL\n"), 30},
        {data + Seam("X", "V1", "V3", ""), 170},
        {data + "*HISTORIQUE         X\n*HISTORIQUE_GORGE   PEAU\n" + records + "*FIN_HISTORIQUE\n",
         200},
    };
    for (const Case& c : cases) {
        const ProgramResult broken = Run(kContext, c.data);
        EXPECT_EQ(broken.status, c.code & 0xFF) << c.code;
        EXPECT_NE(broken.errorOutput.find(" Code d'erreur : " + std::to_string(c.code) + " \n"),
                  std::string::npos);
    }
}
