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
