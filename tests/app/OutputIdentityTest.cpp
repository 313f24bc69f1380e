// The real executable on the decks of examples/ and tests/data/identity/decks/: every report
// byte, every console byte and the exit status must equal those recorded under
// tests/data/identity/expected/ (cases.txt lists the cases). Each case runs twice: on all the
// CPUs the test may use (the search then shares its planes out to several threads) and on a
// single CPU (the plain sequential search).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <locale>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include "support/RunProgram.h"

namespace {

namespace fs = std::filesystem;

struct IdentityCase {
    std::string name;
    std::string deck;    // relative to the source tree
    std::string locale;  // LC_ALL of the run
};

void PrintTo(const IdentityCase& identity, std::ostream* out)
{
    *out << identity.name << " (" << identity.deck << ", " << identity.locale << ")";
}

std::vector<IdentityCase> ReadCases()
{
    std::vector<IdentityCase> cases;
    std::ifstream in(std::string(PELNO_TEST_DATA) + "/identity/cases.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        IdentityCase identity;
        if (words >> identity.name >> identity.deck >> identity.locale) cases.push_back(identity);
    }
    return cases;
}

bool LocaleAvailable(const std::string& name)
{
    if (name == "C" || name == "POSIX") return true;
    try {
        std::locale probe(name.c_str());
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

std::vector<std::string> FileNames(const std::string& directory)
{
    std::vector<std::string> names;
    if (!fs::exists(directory)) return names;
    for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Where two byte strings first differ, with the line there, for a readable failure.
std::string FirstDifference(const std::string& expected, const std::string& actual)
{
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    const std::size_t lineStart = expected.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    auto lineOf = [from](const std::string& text) {
        if (from >= text.size()) return std::string("<end>");
        return text.substr(from, text.find('\n', from) - from);
    };
    return "byte " + std::to_string(at) + " of " + std::to_string(expected.size()) + "/" +
           std::to_string(actual.size()) + "\n  expected: " + lineOf(expected) + "\n  actual:   " + lineOf(actual);
}

class OutputIdentity : public ::testing::TestWithParam<IdentityCase> {
protected:
    void Check(bool oneCpu)
    {
        const IdentityCase& identity = GetParam();
        if (!LocaleAvailable(identity.locale)) GTEST_SKIP() << "locale " << identity.locale << " is not installed";
        const std::string source = PELNO_SOURCE_DIR;
        const std::string expected = std::string(PELNO_TEST_DATA) + "/identity/expected/" + identity.name;
        const std::string dir = MakeTempDirectory();
        WriteFile(dir + "/deck.dat", ReadFile(source + "/" + identity.deck));
        WriteFile(dir + "/contexte.txt", ReadFile(source + "/examples/contexte.txt"));
        fs::create_directory(dir + "/out");

        const ProgramResult result = RunProgram({"-d", "deck.dat", "-c", "contexte.txt", "-o", "out/"}, dir,
                                                {"LC_ALL=" + identity.locale}, oneCpu);
        ASSERT_FALSE(result.signaled);
        EXPECT_EQ(std::to_string(result.status) + "\n", ReadFile(expected + "/status"));
        const std::string console = ReadFile(expected + "/console");
        EXPECT_TRUE(result.errorOutput == console) << "console: " << FirstDifference(console, result.errorOutput);

        const std::vector<std::string> reports = FileNames(expected + "/reports");
        ASSERT_EQ(reports, FileNames(dir + "/out"));
        for (const std::string& report : reports) {
            const std::string want = ReadFile(expected + "/reports/" + report);
            const std::string got = ReadFile(dir + "/out/" + report);
            EXPECT_TRUE(got == want) << report << ": " << FirstDifference(want, got);
        }
        fs::remove_all(dir);
    }
};

TEST_P(OutputIdentity, AllCpus)
{
    Check(false);
}

TEST_P(OutputIdentity, OneCpu)
{
    Check(true);
}

INSTANTIATE_TEST_SUITE_P(Recorded, OutputIdentity, ::testing::ValuesIn(ReadCases()),
                         [](const ::testing::TestParamInfo<IdentityCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

TEST(OutputIdentityCases, Listed)
{
    // A lost or unreadable list must not pass as an empty suite.
    EXPECT_GE(ReadCases().size(), 40u);
}

}  // namespace
