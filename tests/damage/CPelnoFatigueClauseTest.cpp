// The damage request: its "*DOMMAGE" block, its definition on a copy of the study, the report
// file it opens, and the requests of a data deck run by the real program.
#include "damage/CPelnoFatigueClause.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <iomanip>
#include <string>
#include <vector>

#include "damage/DamageDeck.h"
#include "support/ReaderTestSupport.h"
#include "support/RunProgram.h"

namespace {

const std::string kMaterial = deck::Material("F", "F", "265. 410. 204000. 0.3");

const std::string kContext = kMaterial +
                             "*CLASSE             FAT80\n*PARAMETRE 5000000 58.94 100000000 32.38\n"
                             "*PARAMETRES 3. 1.024e12 5. 3.5578e15\n*FIN_CLASSE\n"
                             "*CLASSIFICATION     BAB\n*CORDON_CLASSE      FAT80\n*FIN_CLASSIFICATION\n";

const std::string kPulse = "-200. 150. 0. -200. 0. -200.";

std::vector<deck::Record> PulseRecords(const std::string& temperature = "20.")
{
    return {{"20.", deck::kZero, deck::kZero, deck::kZero},
            {temperature, kPulse, kPulse, deck::kZero},
            {"20.", deck::kZero, deck::kZero, deck::kZero}};
}

// Component, zone and the three-record history H on it.
const std::string kObjects =
    deck::Component("C", "20. 1. 0.", "F") + deck::Zone("Z", "C") + deck::History("H", "Z", PulseRecords());

bool Exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string CodeLine(int code) { return " Code d'erreur : " + std::to_string(code) + " \n"; }

class CPelnoFatigueClauseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = MakeTempDirectory() + "/";
        read_ = deck::ReadStudy(kContext, kObjects, dir_);
        ASSERT_EQ(read_.code, 0);
    }

    // Reads a block (its "*DOMMAGE" line included) into the request; the code raised, or 0.
    int ReadRequest(const std::string& block)
    {
        return ReadBlock(block, [&](std::istream& input, const std::string&) {
            request_.Read(input, dir_, *read_.study);
        });
    }

    std::string dir_;
    deck::Study read_;
    CPelnoFatigueClause request_;
};

}  // namespace

TEST_F(CPelnoFatigueClauseTest, ReadsItsBlock)
{
    ASSERT_EQ(ReadRequest("*DOMMAGE\n/ commentaire\n\n" + deck::Card("*FICHIER_SORTIE", "resultat H.txt") +
                          "*RESERVOIR\n" + deck::Card("*POINT_HISTORIQUE", "H") + "*FIN_DOMMAGE\nreste\n"),
              0);
    ASSERT_NE(request_.GetStudy(), nullptr);
    ASSERT_NE(request_.GetHistory(), nullptr);
    EXPECT_NE(request_.GetStudy(), read_.study.get());  // its own copy
    EXPECT_EQ(request_.GetHistory()->GetName(), "H");
    EXPECT_EQ(request_.GetHistory()->GetRecordCount(), 3u);
    EXPECT_EQ(request_.GetOutputFileName(), "resultat H.txt");
    EXPECT_EQ(request_.GetOutputDirectory(), dir_);
    EXPECT_EQ(request_.GetOutputMode(), CPelnoFatigueClause::kNoReport);

    // Without "*FICHIER_SORTIE" the file name is a single blank; names are taken whole.
    EXPECT_EQ(ReadRequest("*DOMMAGE\n" + deck::Card("*POINT_HISTORIQUE", "H") + "*RAINFLOW\n*FIN_DOMMAGE\n"), 0);
    EXPECT_EQ(request_.GetOutputFileName(), " ");
    // A "*FICHIER_SORTIE" line of exactly 20 characters gives an empty name (refused when the
    // file is opened).
    EXPECT_EQ(ReadRequest("*DOMMAGE\n" + deck::Card("*POINT_HISTORIQUE", "H") + deck::Card("*FICHIER_SORTIE", "") +
                          "*RAINFLOW\n*FIN_DOMMAGE\n"),
              0);
    EXPECT_EQ(request_.GetOutputFileName(), "");

    request_.Clear();
    EXPECT_EQ(request_.GetStudy(), nullptr);
    EXPECT_EQ(request_.GetHistory(), nullptr);
    EXPECT_EQ(request_.GetOutputFileName(), "");
    EXPECT_EQ(request_.GetOutputDirectory(), "");
}

TEST_F(CPelnoFatigueClauseTest, BlockCodes)
{
    const std::string history = deck::Card("*POINT_HISTORIQUE", "H");
    const std::string file = deck::Card("*FICHIER_SORTIE", "r.txt");
    struct Case {
        std::string block;
        int code;
    };
    const Case cases[] = {
        {"*DOMMAGE\n" + history + history + "*RAINFLOW\n*FIN_DOMMAGE\n", 30},
        {"*DOMMAGE\n" + history + file + file + "*RAINFLOW\n*FIN_DOMMAGE\n", 30},
        {"*DOMMAGE\n" + history + "*RESERVOIR\n*RAINFLOW\n*FIN_DOMMAGE\n", 30},
        {"*DOMMAGE\n" + history + "*RAINFLOW\n*RAINFLOW\n*FIN_DOMMAGE\n", 30},
        {"*DOMMAGE\n" + history + "*RESERVOIR\n*RESERVOIR\n*FIN_DOMMAGE\n", 30},
        {"*DOMMAGE\n" + history + "*RAINFLOW\n*DOMMAGE\n*FIN_DOMMAGE\n", 40},
        {"*DOMMAGE\n" + history + "RAINFLOW\n*FIN_DOMMAGE\n", 40},
        {"*DOMMAGE\n" + history + "*RAINFLOW\n", 50},
        {"*DOMMAGE\n", 50},
        // card lines shorter than 20 characters
        {"*DOMMAGE\n*POINT_HISTORIQUE H\n*RAINFLOW\n*FIN_DOMMAGE\n", 10},
        {"*DOMMAGE\n" + history + "*FICHIER_SORTIE r\n*RAINFLOW\n*FIN_DOMMAGE\n", 10},
        // no history card: 310, before anything else is checked
        {"*DOMMAGE\n" + file + "*RAINFLOW\n*FIN_DOMMAGE\n", 310},
        {"*DOMMAGE\n*FIN_DOMMAGE\n", 310},
        // the history is looked up before the counting method
        {"*DOMMAGE\n" + deck::Card("*POINT_HISTORIQUE", "X") + "*RAINFLOW\n*FIN_DOMMAGE\n", 300},
        {"*DOMMAGE\n" + deck::Card("*POINT_HISTORIQUE", "H ") + "*RAINFLOW\n*FIN_DOMMAGE\n", 300},
        {"*DOMMAGE\n" + deck::Card("*POINT_HISTORIQUE", "X") + "*FIN_DOMMAGE\n", 300},
        {"*DOMMAGE\n" + history + file + "*FIN_DOMMAGE\n", 330},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadRequest(c.block), c.code) << c.block;
    }
}

TEST_F(CPelnoFatigueClauseTest, SetDefinition)
{
    const CPelnoFatigue& study = *read_.study;
    struct Case {
        std::string history;
        std::int32_t criterion;
        std::int32_t method;
        int code;
    };
    const Case cases[] = {
        {"H", CPelnoFatigueClause::kTresca, CPelnoFatigueClause::kRainFlow, 0},
        {"H", CPelnoFatigueClause::kMises, CPelnoFatigueClause::kReservoir, 0},
        {"H", 10, CPelnoFatigueClause::kRainFlow, 320},
        {"H", 40, CPelnoFatigueClause::kRainFlow, 320},
        {"H", CPelnoFatigueClause::kTresca, 10, 330},
        {"H", CPelnoFatigueClause::kTresca, 40, 330},
        {"X", CPelnoFatigueClause::kTresca, CPelnoFatigueClause::kRainFlow, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        // A defined request first: a failure releases what it held.
        request_.SetDefinition(study, dir_, "r.txt", "H", CPelnoFatigueClause::kTresca, CPelnoFatigueClause::kRainFlow);
        ASSERT_NE(request_.GetHistory(), nullptr);
        const int code = CodeOf([&] { request_.SetDefinition(study, dir_, "f.txt", c.history, c.criterion, c.method); });
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(request_.GetHistory() != nullptr, c.code == 0);
        // A method or criterion refused: the study copy is released too.
        if (c.code == 320 || c.code == 330) {
            EXPECT_EQ(request_.GetStudy(), nullptr);
        }
    }
}

TEST_F(CPelnoFatigueClauseTest, DamageWithoutDefinitionIsABadHistory)
{
    EXPECT_EQ(CodeOf([&] { request_.Damage(); }), 200);
}

TEST_F(CPelnoFatigueClauseTest, GetFile)
{
    auto open = [&](const std::string& directory, const std::string& name) {
        request_.SetDefinition(*read_.study, directory, name, "H", CPelnoFatigueClause::kTresca,
                               CPelnoFatigueClause::kRainFlow);
        return request_.GetFile();
    };
    // Codes: no name, no directory, a file that cannot be created.
    EXPECT_EQ(CodeOf([&] { open(dir_, ""); }), 290);
    EXPECT_EQ(CodeOf([&] { open(dir_ + "absent/", "r.txt"); }), 450);
    EXPECT_EQ(CodeOf([&] { open(dir_, "absent/r.txt"); }), 290);

    // A new file is created and receives nothing from GetFile.
    open(dir_, "nouveau.txt").reset();
    EXPECT_TRUE(Exists(dir_ + "nouveau.txt"));
    EXPECT_EQ(ReadFile(dir_ + "nouveau.txt"), "");

    // An existing file is appended to, line ends written as they are.
    WriteFile(dir_ + "ancien.txt", "avant\n");
    {
        auto stream = open(dir_, "ancien.txt");
        *stream << "apr\xC3\xA8s\n\f";
    }
    EXPECT_EQ(ReadFile(dir_ + "ancien.txt"), "avant\napr\xC3\xA8s\n\f");

    // A text naming an existing directory without its final separator: the report goes inside
    // that directory, never beside it under a concatenated name.
    ASSERT_EQ(::mkdir((dir_ + "sortie").c_str(), 0700), 0);
    open(dir_ + "sortie", "r.txt").reset();
    EXPECT_TRUE(Exists(dir_ + "sortie/r.txt"));
    EXPECT_FALSE(Exists(dir_ + "sortier.txt"));
    // Any other text is a prefix: plain concatenation (any existing entry passes the directory
    // test).
    WriteFile(dir_ + "fichier", "");
    open(dir_ + "fichier", "_r.txt").reset();
    EXPECT_TRUE(Exists(dir_ + "fichier_r.txt"));

    // The stream carries the user's locale.
    {
        ScopedUserLocale classic("C");
        auto stream = open(dir_, "c.txt");
        *stream << std::fixed << std::setprecision(3) << 1234.5;
    }
    EXPECT_EQ(ReadFile(dir_ + "c.txt"), "1234.500");
    if (LocaleAvailable(kGroupingLocale)) {
        ScopedUserLocale french(kGroupingLocale);
        {
            auto stream = open(dir_, "fr.txt");
            *stream << std::fixed << std::setprecision(3) << 1234.5;
        }
        const std::string text = ReadFile(dir_ + "fr.txt");
        EXPECT_NE(text.find(",500"), std::string::npos) << text;
        EXPECT_NE(text, "1234.500");
    }
}

// Output mode 10: the procedure runs without opening any file, and still raises its errors.
TEST_F(CPelnoFatigueClauseTest, OutputModeTenWritesNothing)
{
    const std::string missing = dir_ + "absent/";
    request_.SetDefinition(*read_.study, missing, "r.txt", "H", CPelnoFatigueClause::kTresca,
                           CPelnoFatigueClause::kRainFlow);
    EXPECT_EQ(CodeOf([&] { request_.Damage(); }), 0);
    EXPECT_FALSE(Exists(missing));
    request_.SetOutputMode(CPelnoFatigueClause::kReport);
    EXPECT_EQ(CodeOf([&] { request_.Damage(); }), 450);

    // A cycle at 117.5 °C on a material without a yield-strength table: 480 without a report.
    std::vector<deck::Record> warm = PulseRecords("150.");
    const deck::Study study = deck::ReadStudy(kContext, kObjects + deck::History("CHAUD", "Z", warm), dir_);
    ASSERT_EQ(study.code, 0);
    CPelnoFatigueClause request;
    request.SetDefinition(*study.study, dir_, "chaud.txt", "CHAUD", CPelnoFatigueClause::kTresca,
                          CPelnoFatigueClause::kRainFlow);
    EXPECT_EQ(CodeOf([&] { request.Damage(); }), 480);
    EXPECT_FALSE(Exists(dir_ + "chaud.txt"));
}

namespace {

// Data decks run by the real program, the report files read back.
class RequestRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = MakeTempDirectory() + "/";
        WriteFile(dir_ + "contexte.txt", kContext);
    }

    ProgramResult Run(const std::string& data, const std::string& outputDirectory)
    {
        WriteFile(dir_ + "donnees.dat", data);
        return RunProgram({"-d", dir_ + "donnees.dat", "-c", dir_ + "contexte.txt", "-o", outputDirectory}, dir_,
                          {"LC_ALL=C"});
    }
    ProgramResult Run(const std::string& data) { return Run(data, dir_); }

    // The report of one request on H, written alone.
    std::string SingleReport()
    {
        const std::string other = MakeTempDirectory() + "/";
        WriteFile(other + "contexte.txt", kContext);
        WriteFile(other + "donnees.dat", kObjects + deck::Request("H", "r.txt"));
        const ProgramResult result = RunProgram(
            {"-d", other + "donnees.dat", "-c", other + "contexte.txt", "-o", other}, "", {"LC_ALL=C"});
        EXPECT_EQ(result.status, 0) << result.errorOutput;
        return ReadFile(other + "r.txt");
    }

    std::string dir_;
};

}  // namespace

TEST_F(RequestRun, CodesOfTheRequests)
{
    const std::string history = deck::Card("*POINT_HISTORIQUE", "H");
    struct Case {
        const char* name;
        std::string data;
        std::string outputDirectory;  // empty: the temporary directory
        int code;
    };
    const Case cases[] = {
        // A request sees only what is above it: the history is defined below.
        {"history below", deck::Component("C", "20. 1. 0.", "F") + deck::Zone("Z", "C") +
                              deck::Request("H", "r.txt") + deck::History("H", "Z", PulseRecords()),
         "", 300},
        {"no counting card", kObjects + deck::Request("H", "r.txt", ""), "", 330},
        {"no history card", kObjects + "*DOMMAGE\n*RAINFLOW\n*FIN_DOMMAGE\n", "", 310},
        {"two counting cards", kObjects + deck::Request("H", "r.txt", "*RAINFLOW\n*RESERVOIR"), "", 30},
        {"unknown card", kObjects + "*DOMMAGE\n" + history + "*CYCLES\n*FIN_DOMMAGE\n", "", 40},
        {"end of file", kObjects + "*DOMMAGE\n" + history, "", 50},
        {"short history line", kObjects + "*DOMMAGE\n*POINT_HISTORIQUE\n*RAINFLOW\n*FIN_DOMMAGE\n", "", 10},
        {"empty file name", kObjects + deck::Request("H", ""), "", 290},
        {"missing output directory", kObjects + deck::Request("H", "r.txt"), "absent/", 450},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramResult result = Run(c.data, c.outputDirectory.empty() ? dir_ : dir_ + c.outputDirectory);
        EXPECT_EQ(result.status, c.code & 0xFF);
        EXPECT_NE(result.errorOutput.find(" Fin anormale du travail \n" + CodeLine(c.code)), std::string::npos)
            << result.errorOutput;
    }
}

// The run stops at the failing request; the reports of the requests above it and the first
// lines of the failing one stay in their files.
TEST_F(RequestRun, AFailingRequestKeepsWhatWasWritten)
{
    const std::string data = kObjects + deck::Request("H", "premier.txt") +
                             deck::History("CHAUD", "Z", PulseRecords("150.")) + deck::Request("CHAUD", "chaud.txt") +
                             deck::Request("H", "jamais.txt");
    const ProgramResult result = Run(data);
    EXPECT_EQ(result.status, 480 & 0xFF);
    EXPECT_TRUE(EndsWith(result.errorOutput, CodeLine(480) + std::string(14, ' ') +
                                                 Latin9("Matériau - la température d'entrée sort de "
                                                        "l'intervalle des températures fournies ") +
                                                 "\n \n"));
    EXPECT_EQ(ReadFile(dir_ + "premier.txt"), SingleReport());
    const std::string partial = ReadFile(dir_ + "chaud.txt");
    EXPECT_EQ(partial.find("\n***"), 0u);
    EXPECT_NE(partial.find("Nombres des cycles extraits de l'historique : 1\n"), std::string::npos);
    EXPECT_NE(partial.find("|      1 |      0 |      1 |  300.000 |  300.000 |    0.000 |  300.000 | -100.000 |  "
                           "300.000 | 117.500 |\n"),
              std::string::npos);
    EXPECT_EQ(partial.find("Taux d'endommagement total"), std::string::npos);
    EXPECT_FALSE(Exists(dir_ + "jamais.txt"));
}

TEST_F(RequestRun, ReportFiles)
{
    const std::string single = SingleReport();
    ASSERT_FALSE(single.empty());

    // Two requests naming the same file: the second report follows the first.
    ProgramResult result = Run(kObjects + deck::Request("H", "r.txt") + deck::Request("H", "r.txt"));
    ASSERT_EQ(result.status, 0) << result.errorOutput;
    EXPECT_EQ(ReadFile(dir_ + "r.txt"), single + single);
    // A file left by an earlier run is appended to.
    result = Run(kObjects + deck::Request("H", "r.txt"));
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(ReadFile(dir_ + "r.txt"), single + single + single);

    // The "*DOMMAGE" line may carry any text; without "*FICHIER_SORTIE" the file is named " ".
    result = Run(kObjects + "*DOMMAGE            pour le calcul de H, voir note 12\n" +
                 deck::Card("*POINT_HISTORIQUE", "H") + "*RAINFLOW\n*FIN_DOMMAGE\n");
    ASSERT_EQ(result.status, 0) << result.errorOutput;
    EXPECT_EQ(ReadFile(dir_ + " "), single);

    // An output directory text naming an existing directory without its final separator puts
    // the report inside that directory, never next to it; an empty text puts it in the working
    // directory.
    ASSERT_EQ(::mkdir((dir_ + "sortie").c_str(), 0700), 0);
    result = Run(kObjects + deck::Request("H", "_H.txt"), dir_ + "sortie");
    ASSERT_EQ(result.status, 0) << result.errorOutput;
    EXPECT_EQ(ReadFile(dir_ + "sortie/_H.txt"), single);
    EXPECT_FALSE(Exists(dir_ + "sortie_H.txt"));
    result = Run(kObjects + deck::Request("H", "ici.txt"), "");
    ASSERT_EQ(result.status, 0) << result.errorOutput;
    EXPECT_EQ(ReadFile(dir_ + "ici.txt"), single);

    // A data deck without request writes nothing and never tests the output directory.
    result = Run(kObjects, dir_ + "absent/");
    EXPECT_EQ(result.status, 0);
}

// The counting card chooses the method: on the pulse 0, 300, 0 (closing 0) rainflow puts the
// lower extreme of the cycle at the first record (Peak 0), the reservoir method, which drains
// the history rotated to start at its maximum, at the valley that follows it (Peak 2); the
// range, hence the damage, is the same.
TEST_F(RequestRun, TheCountingCardChoosesTheMethod)
{
    const std::string data = kObjects + deck::Request("H", "rainflow.txt", "*RAINFLOW") +
                             deck::Request("H", "reservoir.txt", "*RESERVOIR");
    const ProgramResult result = Run(data);
    ASSERT_EQ(result.status, 0) << result.errorOutput;
    // Every line of the request blocks is echoed as read; nothing else is written.
    EXPECT_EQ(result.errorOutput, kContext + "\n" + data + "\n \n Fin normale du travail \n \n");
    EXPECT_EQ(result.standardOutput, "");
    const std::string row = " |  300.000 |  300.000 |    0.000 |  300.000 | -100.000 |  300.000 |  20.000 |\n";
    const std::string rainflow = ReadFile(dir_ + "rainflow.txt");
    const std::string reservoir = ReadFile(dir_ + "reservoir.txt");
    EXPECT_NE(rainflow.find("|      1 |      0 |      1" + row), std::string::npos);
    EXPECT_NE(reservoir.find("|      1 |      2 |      1" + row), std::string::npos);
    const std::string total = "Taux d'endommagement total pour l'historique de contraintes : 9.0907e-07\n";
    EXPECT_NE(rainflow.find(total), std::string::npos);
    EXPECT_NE(reservoir.find(total), std::string::npos);
}

// A report that cannot be written completely (a full device) is not a normal end.
TEST_F(RequestRun, AReportThatCannotBeWritten)
{
    if (!Exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const ProgramResult result = Run(kObjects + deck::Request("H", "full"), "/dev/");
    EXPECT_EQ(result.status, 290 & 0xFF);
    EXPECT_NE(result.errorOutput.find(CodeLine(290)), std::string::npos);
}

// Each request works on the study as it stands at its line: a history defined between two
// requests is seen by the second only.
TEST_F(RequestRun, RequestsSeeTheObjectsAboveThem)
{
    const std::string data = kObjects + deck::Request("H", "a.txt") + deck::History("H2", "Z", PulseRecords()) +
                             deck::Request("H2", "b.txt") + deck::Request("H3", "c.txt") +
                             deck::History("H3", "Z", PulseRecords());
    const ProgramResult result = Run(data);
    EXPECT_EQ(result.status, 300 & 0xFF);
    EXPECT_TRUE(Exists(dir_ + "a.txt"));
    EXPECT_TRUE(Exists(dir_ + "b.txt"));
    EXPECT_FALSE(Exists(dir_ + "c.txt"));
    EXPECT_NE(ReadFile(dir_ + "b.txt").find("Nom de l'historique de contraintes           : H2\n"), std::string::npos);
}

// A history of a weld seam is not computed as an unwelded zone (whatever the welded procedure
// does, it does not end silently and does not write the unwelded-zone report).
TEST_F(RequestRun, AWeldHistoryIsNotAnUnweldedZone)
{
    const std::string seam = "*CORDON             S\n*CORDON_TYPE        BAB\n*COMPOSANT_1        C\n"
                             "*COMPOSANT_2        C\n*FIN_CORDON\n";
    std::string history = deck::History("HS", "Z", PulseRecords());
    history.replace(history.find("*HISTORIQUE_UWZONE  Z"), 21, "*HISTORIQUE_CORDON  S");
    const ProgramResult result = Run(kObjects + seam + history + deck::Request("HS", "s.txt"));
    EXPECT_FALSE(result.signaled);
    EXPECT_TRUE(EndsWith(result.errorOutput, " \n Fin normale du travail \n \n"));
    // The welded-zone procedure wrote the report, not the unwelded one.
    const std::string report = ReadFile(dir_ + "s.txt");
    EXPECT_NE(report.find("* Calcul du taux d'endommagement pour une zone soudée selon C11.3.9.3"), std::string::npos);
    EXPECT_EQ(report.find("pour une zone non soudée selon C11.3.9.2.3"), std::string::npos);
}
