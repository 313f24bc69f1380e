// The command line and the run, through the real executable: exact console bytes and exit
// statuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RunProgram.h"

namespace {

const std::string kUsage = Latin9(
    "\n"
    "Utilisation : PelnoFatigue.exe -d DATA -c CONTEXT -o OUTPUTDIR\n"
    "\n"
    "Options :\n"
    "  -h,--help\n"
    "      Fait apparaître ce message d'erreur\n"
    "  -d,--data DATA\n"
    "      Permet de définir le chemin complet du fichier de données\n"
    "  -c,--context CONTEXT\n"
    "      Permet de définir le chemin complet du fichier de contexte\n"
    "      contexte : définitions des courbes de fatigue\n"
    "                 définitions des classification de zone soudée selon C11.A5\n"
    "                 définitions des matériaux souvent utilisés\n"
    "  -o,--outputdir OUTPUTDIR\n"
    "      Permet de définir le chemin complet du répertoire qui contiendra les résultats\n"
    "\n");

const std::string kNormalEnd = " \n Fin normale du travail \n \n";

std::string AbnormalEnd(int code, const std::string& utf8Text)
{
    return " \n Fin anormale du travail \n Code d'erreur : " + std::to_string(code) + " \n" +
           std::string(14, ' ') + Latin9(utf8Text + " ") + "\n \n";
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = MakeTempDirectory();
        data_ = dir_ + "/data.txt";
        context_ = dir_ + "/context.txt";
        WriteFile(data_, "/ data\n");
        WriteFile(context_, "/ context\n");
    }
    std::string dir_, data_, context_;
};

}  // namespace

TEST_F(CommandLine, UsageCases)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string echo = "";  // a context file read before the usage problem is met
    };
    const std::vector<Case> cases = {
        {{}, 1},
        {{"-h"}, 1},                                    // fewer than three arguments
        {{"-d", data_, "-c", context_, "-h"}, 0},       // help anywhere, no file touched
        {{"--help", "a", "b"}, 0},
        {{"-D", data_, "-c", context_, "-o", dir_ + "/"}, 1},   // upper case not recognised
        {{"-d=" + data_, "-c", context_, "-o", dir_}, 1},       // glued value not recognised
        {{"-d", data_, "-c", context_}, 1, "/ context\n\n"},   // -o never given
        {{"-d", data_, "-d", data_, "-o", dir_}, 1},            // -c never given
        {{"--dat", data_, "-c", context_, "-o", dir_}, 1},      // no abbreviation
    };
    for (const Case& c : cases) {
        const ProgramResult result = RunProgram(c.args);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.errorOutput, c.echo + kUsage);
        EXPECT_EQ(result.standardOutput, "");
    }
}

TEST_F(CommandLine, HelpAmongThreeArgumentsTouchesNoFile)
{
    const ProgramResult result = RunProgram({"-d", dir_ + "/missing", "-h"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errorOutput, kUsage);
}

// --version, alone or among any other arguments: name and version on the standard output (the
// project's version, 0.1.0, as the package carries it), status 0, nothing on the error stream
// and no file read.
TEST_F(CommandLine, VersionWhateverElseIsGiven)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--version"},
             {"-d", dir_ + "/absent.txt", "--version"},
             {"--version", "-c", context_, "-d", data_, "-o", dir_ + "/"},
             {"-h", "--version", "-x"}}) {
        const ProgramResult result = RunProgram(args);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.standardOutput, "PelnoFatigue 0.1.0\n");
        EXPECT_EQ(result.errorOutput, "");
    }
}

TEST_F(CommandLine, OptionWithoutValue)
{
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"-c", context_, "-o", dir_ + "/", "-d"},
         "L'option -d impose de fournir le chemin complet du fichier de données en argument\n"},
        {{"-d", data_, "-o", dir_ + "/", "--context"},
         "L'option -c impose de fournir le chemin complet du fichier de contexte en argument\n"},
        {{"-d", data_, "-c", context_, "-o"},
         "L'option -o impose de fournir le chemin complet du répertoire de sortie en argument\n"},
    };
    for (const Case& c : cases) {
        const ProgramResult result = RunProgram(c.args);
        EXPECT_EQ(result.status, 1);
        // The context file is read (and echoed) before the option without value is met.
        const std::string echo = c.args[0] == "-c" || c.args[2] == "-c" ? "/ context\n\n" : "";
        EXPECT_EQ(result.errorOutput, echo + Latin9(c.message));
    }
}

TEST_F(CommandLine, NormalEndInAnyOrder)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"-d", data_, "-c", context_, "-o", dir_ + "/"},
             {"-o", dir_ + "/", "-c", context_, "-d", data_},
             {"--outputdir", dir_ + "/", "--context", context_, "--data", data_}}) {
        const ProgramResult result = RunProgram(args);
        EXPECT_EQ(result.status, 0);
        // The context is echoed first, then the data, each with the empty line of its end.
        EXPECT_EQ(result.errorOutput, "/ context\n\n/ data\n\n" + kNormalEnd);
        EXPECT_EQ(result.standardOutput, "");
    }
}

TEST_F(CommandLine, MissingFiles)
{
    // A missing context file stops the run with 350 even when -d came first.
    ProgramResult result = RunProgram({"-d", data_, "-c", dir_ + "/none", "-o", dir_});
    EXPECT_EQ(result.status, 350 & 0xFF);
    EXPECT_EQ(result.errorOutput, AbnormalEnd(350, "Le fichier de contexte n'est pas disponible"));

    result = RunProgram({"-c", context_, "-d", dir_ + "/none", "-o", dir_});
    EXPECT_EQ(result.status, 240);
    EXPECT_EQ(result.errorOutput,
              "/ context\n\n" + AbnormalEnd(240, "Le fichier de données n'est pas disponible"));

    // A directory is not a readable file: it fails like a missing one.
    result = RunProgram({"-d", dir_, "-c", context_, "-o", dir_});
    EXPECT_EQ(result.status, 240);
    result = RunProgram({"-d", data_, "-c", dir_, "-o", dir_});
    EXPECT_EQ(result.status, 350 & 0xFF);
    EXPECT_EQ(result.errorOutput, AbnormalEnd(350, "Le fichier de contexte n'est pas disponible"));
}

TEST_F(CommandLine, ValueBeginningWithDashIsAPath)
{
    WriteFile(dir_ + "/-x", "/ tiret\n");
    const ProgramResult result = RunProgram({"-d", "-x", "-c", context_, "-o", "-o"}, dir_);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errorOutput, "/ context\n\n/ tiret\n\n" + kNormalEnd);
}

TEST_F(CommandLine, RepeatedOptionsActEachTime)
{
    // A second -d replaces the data file; a second -c reads into the same library.
    WriteFile(dir_ + "/second.txt", "/ second\n");
    const ProgramResult result =
        RunProgram({"-d", data_, "-c", context_, "-o", dir_, "-d", dir_ + "/second.txt", "-c", context_});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errorOutput, "/ context\n\n/ context\n\n/ second\n\n" + kNormalEnd);
}

TEST_F(CommandLine, ExitStatusKeepsEveryCodeDistinct)
{
    // The status is the code's low 8 bits: 260..480 give 4..224, never 0, 1 or a multiple of 10.
    for (int code = 260; code <= 480; code += 10) {
        const int status = code & 0xFF;
        EXPECT_NE(status, 0);
        EXPECT_NE(status, 1);
        EXPECT_NE(status % 10, 0);
        EXPECT_EQ(status, code - 256);
    }
}
