// Files exported from other tools, edited by hand, converted or cut off: each ends with the
// right code through the real executable, never a crash, a hang or a normal end that read
// nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RunProgram.h"

namespace {

const std::string kMaterial =
    "*MATERIAU           M\n*TYPE F\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n";

std::string Material(const std::string& parameters)
{
    return "*MATERIAU           M\n*TYPE F\n*PARAMETRE " + parameters + "\n*FIN_MATERIAU\n";
}

class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override { dir_ = MakeTempDirectory(); }

    // Runs the program with the context and data texts; its status is the code's low 8 bits.
    ProgramResult Run(const std::string& context, const std::string& data)
    {
        WriteFile(dir_ + "/context.txt", context);
        WriteFile(dir_ + "/data.txt", data);
        ProgramResult result = RunProgram({"-d", dir_ + "/data.txt", "-c", dir_ + "/context.txt", "-o", dir_ + "/"});
        EXPECT_FALSE(result.signaled);
        EXPECT_EQ(result.standardOutput, "");
        return result;
    }

    std::string dir_;
};

}  // namespace

TEST_F(HostileFiles, HugeLinesNamesAndComments)
{
    struct Case {
        const char* what;
        std::string context;
        int code;
    };
    const std::string name(10000, 'n');
    std::string comments;
    for (int i = 0; i < 100000; ++i) comments += "/ commentaire\n";
    const std::vector<Case> cases = {
        {"a comment line of a million bytes", "/" + std::string(1000000, 'x') + "\n" + kMaterial, 0},
        {"a name of 10 000 bytes (kept to 180)", "*MATERIAU           " + name + "\n*TYPE F\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n", 0},
        {"a card line of a million bytes", "*MATERIAU           M\n*TYPE F\n*PARAMETRE 265. 410. 204000. 0.3 " + std::string(1000000, '9') + "\n*FIN_MATERIAU\n", 0},
        {"100 000 comment lines", comments + kMaterial, 0},
        {"a value of a million digits", Material(std::string(1000000, '9') + " 410. 204000. 0.3"), 390},
    };
    for (const Case& c : cases) {
        const ProgramResult result = Run(c.context, "");
        EXPECT_EQ(result.status, c.code & 0xFF) << c.what;
    }
}

TEST_F(HostileFiles, ControlBytesInNamesAndValues)
{
    // A NUL or another control byte inside a name is part of the name, byte for byte: a
    // component naming that material finds it; the same byte inside a number refuses it.
    const std::string nulName("M\0X", 3);
    const std::string context = "*MATERIAU           " + nulName + "\x01\n*TYPE F\n*PARAMETRE 265. 410. 204000. 0.3\n*FIN_MATERIAU\n";
    const std::string component = "*COMPOSANT          C\n*TYPE GENERAL\n*PARAMETRE 10. 1. 0.\n*COMPOSANT_MATERIAU " +
                                  nulName + "\x01\n*FIN_COMPOSANT\n";
    EXPECT_EQ(Run(context, component).status, 0);
    const std::string other = "*COMPOSANT          C\n*TYPE GENERAL\n*PARAMETRE 10. 1. 0.\n*COMPOSANT_MATERIAU M\n*FIN_COMPOSANT\n";
    EXPECT_EQ(Run(context, other).status, 140);
    EXPECT_EQ(Run(Material(std::string("265.\0 410. 204000. 0.3", 22)), "").status, 390 & 0xFF);
    EXPECT_EQ(Run(Material("265.\x7f 410. 204000. 0.3"), "").status, 390 & 0xFF);
}

TEST_F(HostileFiles, ForeignEncodingsAndLineEnds)
{
    // UTF-16 (little endian, with its mark): the first line is not a card.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("*MATERIAU           M\n")) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    EXPECT_EQ(Run(utf16, "").status, 40);
    // Old Mac line ends: a file of carriage returns only is one line that is no card.
    EXPECT_EQ(Run("\r\r\r\r", "").status, 40);
    // Windows line ends everywhere: read as with line feeds.
    std::string crlf;
    for (char c : kMaterial) {
        if (c == '\n') crlf += "\r\n";
        else crlf.push_back(c);
    }
    EXPECT_EQ(Run(crlf, "").status, 0);
}

TEST_F(HostileFiles, NumbersAtTheEdgesOfDoubles)
{
    struct Case {
        const char* values;
        int code;
    };
    const Case cases[] = {
        {"265. 410. 204000. 0.3", 0},
        {"1e308 410. 204000. 0.3", 390},    // finite, out of range
        {"1e309 410. 204000. 0.3", 390},    // not finite
        {"265. 410. 1e-320 0.3", 390},      // subnormal, out of range
        {"-0 410. 204000. 0.3", 390},
        {"nan 410. 204000. 0.3", 390},
        {"265. inf 204000. 0.3", 390},
        {"265. 410. 204000. -infinity", 390},
        {"265. 410. 204000. NAN", 390},
    };
    for (const Case& c : cases) EXPECT_EQ(Run(Material(c.values), "").status, c.code & 0xFF) << c.values;
}

TEST_F(HostileFiles, BlocksOpenedInsideBlocksOrCutOff)
{
    // A block opened inside another: the inner card is unknown to the outer block.
    EXPECT_EQ(Run("*MATERIAU           M\n*TYPE F\n" + kMaterial, "").status, 40);

    // A file that ends inside each kind of block, with and without a final line feed.
    const std::vector<std::string> contextBlocks = {
        "*MATERIAU           M\n*TYPE F\n",
        "*CLASSE             C\n*PARAMETRE 5000000 41.26 100000000 22.66\n",
        "*UWCOURBE           U\n*PARAMETRE 410.\n",
        "*CLASSIFICATION     K\n",
    };
    for (const std::string& block : contextBlocks) {
        EXPECT_EQ(Run(block, "").status, 50) << block;
        EXPECT_EQ(Run(block.substr(0, block.size() - 1), "").status, 50) << block;
    }
    const std::vector<std::string> dataBlocks = {
        "*COMPOSANT          C\n*TYPE GENERAL\n",
        "*UWZONE             Z\n",
        "*CORDON             S\n",
        "*HISTORIQUE         H\n*HISTORIQUE_UWZONE  Z\n",
        "*HISTORIQUE         H\n*RELEVE             R\n*PARAMETRE 0. 20.\n",
        "*HISTORIQUE         H\n*RELEVELIN          R\n",
        "*HISTORIQUE         H\n*RELEVEQUAD         R\n",
        "*DOMMAGE\n*POINT_HISTORIQUE   H\n",
    };
    for (const std::string& block : dataBlocks) {
        EXPECT_EQ(Run(kMaterial, block).status, 50) << block;
        EXPECT_EQ(Run(kMaterial, block.substr(0, block.size() - 1)).status, 50) << block;
    }
}

TEST_F(HostileFiles, ReportThatCannotBeWrittenIsNotANormalEnd)
{
    // The report goes to /dev/full: every write fails for lack of space, so the request must
    // end with 290 instead of a normal end.
    const std::string context =
        kMaterial;
    std::string data =
        "*COMPOSANT          C\n*TYPE GENERAL\n*PARAMETRE 20. 1. 0.\n*COMPOSANT_MATERIAU M\n*FIN_COMPOSANT\n"
        "*UWZONE             Z\n*UWZONE_COMPOSANT   C\n*FIN_UWZONE\n"
        "*HISTORIQUE         H\n*HISTORIQUE_UWZONE  Z\n";
    for (int k = 0; k < 3; ++k) {
        data += "*RELEVE             R\n*PARAMETRE 0. 20.\n*SIJ    " + std::to_string(100 * (k % 2)) +
                ". 0. 0. 0. 0. 0.\n*SIJM   0. 0. 0. 0. 0. 0.\n*SIJLM  0. 0. 0. 0. 0. 0.\n"
                "*SIJLT  0. 0. 0. 0. 0. 0.\n*FIN_RELEVE\n";
    }
    data += "*FIN_HISTORIQUE\n*DOMMAGE\n*POINT_HISTORIQUE   H\n*FICHIER_SORTIE     full\n*RAINFLOW\n*FIN_DOMMAGE\n";
    WriteFile(dir_ + "/context.txt", context);
    WriteFile(dir_ + "/data.txt", data);
    const ProgramResult result = RunProgram({"-d", dir_ + "/data.txt", "-c", dir_ + "/context.txt", "-o", "/dev/"});
    EXPECT_FALSE(result.signaled);
    EXPECT_EQ(result.status, 290 & 0xFF);
}

TEST_F(HostileFiles, LongHistoryIsReadAndStored)
{
    // 5 000 records are read, numbered and stored (no request: the search is not run).
    std::string data =
        "*COMPOSANT          C\n*TYPE GENERAL\n*PARAMETRE 20. 1. 0.\n*COMPOSANT_MATERIAU M\n*FIN_COMPOSANT\n"
        "*UWZONE             Z\n*UWZONE_COMPOSANT   C\n*FIN_UWZONE\n"
        "*HISTORIQUE         H\n*HISTORIQUE_UWZONE  Z\n";
    for (int k = 0; k < 5000; ++k) {
        data += "*RELEVE             R\n*PARAMETRE 0. 20.\n*SIJ    " + std::to_string(k % 7) +
                ". 0. 0. 0. 0. 0.\n*SIJM   0. 0. 0. 0. 0. 0.\n*SIJLM  0. 0. 0. 0. 0. 0.\n"
                "*SIJLT  0. 0. 0. 0. 0. 0.\n*FIN_RELEVE\n";
    }
    data += "*FIN_HISTORIQUE\n";
    EXPECT_EQ(Run(kMaterial, data).status, 0);
}
