#include "stress/CPelnoFatigueReleveQuad.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/CExceptionPelnoFatigue.h"

namespace {

struct Failure {
    std::int32_t code = 0;
    std::string message;
};

Failure FailureOf(const std::function<void()>& action)
{
    Failure failure;
    try {
        action();
    } catch (const CExceptionPelnoFatigue& error) {
        failure.code = error.GetCode();
        failure.message = error.GetMessage() != nullptr ? error.GetMessage() : "";
    }
    return failure;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) lines.push_back(line);
    return lines;
}

const char* const kOpening = "*RELEVEQUAD         pied de cordon";
const char* const kKeywords[12] = {"*SIJA", "*SIJMA", "*SIJLMA", "*SIJLTA",
                                   "*SIJB", "*SIJMB", "*SIJLMB", "*SIJLTB",
                                   "*SIJC", "*SIJMC", "*SIJLMC", "*SIJLTC"};
// Point bases: A 100, B 80, C 70.
const int kBases[3] = {100, 80, 70};

// Component i of the tensor of kind k (0 total ... 3 thermal) at a point is base + 10 k + i.
// At the toe: 2.52 (100 + x) - 2.24 (80 + x) + 0.72 (70 + x) = 252 - 179.2 + 50.4
// + (2.52 - 2.24 + 0.72) x = 123.2 + x, with x = 10 k + i.
std::string TensorCard(const char* keyword, int base, int kind)
{
    std::string card = keyword;
    for (int i = 0; i < 6; ++i) card += " " + std::to_string(base + 10 * kind + i);
    return card;
}

std::vector<std::string> Cards()
{
    std::vector<std::string> cards = {"*PARAMETRE -0.1 -20"};
    for (int point = 0; point < 12; ++point) {
        cards.push_back(TensorCard(kKeywords[point], kBases[point / 4], point % 4));
    }
    return cards;
}

std::string BlockOf(const std::vector<std::string>& cards, const char* end = "*FIN_RELEVEQUAD\n")
{
    std::string text;
    for (const std::string& card : cards) text += card + "\n";
    return text + end;
}

StressTensor Expected(int base, int kind)
{
    StressTensor tensor;
    for (int i = 0; i < 6; ++i) tensor[i] = base + 10 * kind + i;
    return tensor;
}

// "| " then six fields of width 10 separated by " | ", then " |"; numbers as %g writes them.
std::string Row(double base, int kind)
{
    std::string row = "|";
    char field[40];
    for (int i = 0; i < 6; ++i) {
        std::snprintf(field, sizeof field, " %10g |", base + 10 * kind + i);
        row += field;
    }
    return row;
}

}  // namespace

TEST(CPelnoFatigueReleveQuad, ExtrapolatesEachToeTensorFromItsOwnPoints)
{
    std::istringstream input(BlockOf(Cards()));
    CPelnoFatigueReleveQuad record;
    CPelnoFatigueReleve& asRecord = record;  // the history reads through the base class
    asRecord.Read(input, kOpening, 2);

    ASSERT_TRUE(record.IsDefined());
    EXPECT_EQ(record.GetName(), "pied de cordon");
    EXPECT_EQ(record.GetNumber(), 2);
    EXPECT_EQ(record.GetPressure(), -0.1);
    EXPECT_EQ(record.GetTemperature(), -20.0);
    EXPECT_NEAR(record.GetSij()[0], 123.2, 1e-12);  // A = 100, B = 80, C = 70
    const StressTensor* toe[4] = {&record.GetSij(), &record.GetSijM(), &record.GetSijLM(),
                                  &record.GetSijLT()};
    for (int kind = 0; kind < 4; ++kind) {
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR((*toe[kind])[i], 123.2 + 10 * kind + i, 1e-12) << kind << " " << i;
        }
    }
    const StressTensor* points[12] = {
        &record.GetSijA(), &record.GetSijMA(), &record.GetSijLMA(), &record.GetSijLTA(),
        &record.GetSijB(), &record.GetSijMB(), &record.GetSijLMB(), &record.GetSijLTB(),
        &record.GetSijC(), &record.GetSijMC(), &record.GetSijLMC(), &record.GetSijLTC()};
    for (int point = 0; point < 12; ++point) {
        EXPECT_EQ(*points[point], Expected(kBases[point / 4], point % 4)) << kKeywords[point];
    }

    CPelnoFatigueReleveQuad assigned;
    assigned = record;
    EXPECT_TRUE(assigned.IsDefined());
    EXPECT_EQ(assigned.GetSijM(), record.GetSijM());
    EXPECT_EQ(assigned.GetSijLTC(), record.GetSijLTC());
}

TEST(CPelnoFatigueReleveQuad, BlockErrors)
{
    struct Case {
        const char* what;
        std::string block;
        std::int32_t code;
        std::string message;
    };
    const std::string readLog = "<CPelnoFatigueReleveQuad::Read>";
    const std::string badRecord = " : Mauvaise définition d'un relevé de contraintes";
    const std::vector<std::string> cards = Cards();
    auto with = [&](std::size_t index, const std::string& card) {
        std::vector<std::string> changed = cards;
        changed[index] = card;
        return BlockOf(changed);
    };
    std::vector<std::string> twice = cards;
    twice.push_back(cards[9]);
    std::vector<std::string> toeOutOfRange = cards;
    toeOutOfRange[1] = "*SIJA 10000 0 0 0 0 0";
    toeOutOfRange[5] = "*SIJB -10000 0 0 0 0 0";
    toeOutOfRange[9] = "*SIJC 0 0 0 0 0 0";
    std::vector<Case> cases = {
        {"second *SIJC", BlockOf(twice), 30, readLog + " : Carte de données mal placée"},
        {"end card of a linear record", BlockOf(cards, "*FIN_RELEVELIN\n*FIN_RELEVEQUAD\n"), 40,
         readLog + " : Carte de donnée inconnue"},
        {"end of file", BlockOf(cards, "*FIN_RELEVEQUAD"), 50, ""},
        {"missing value", with(12, "*SIJLTC 1 2 3 4 5"), 190, readLog + badRecord},
        {"read-out value out of range", with(11, "*SIJLMC 0 0 0 0 0 20001"), 190,
         "<CPelnoFatigueReleveQuad::SetDefinition>" + badRecord},
        // 2.52 x 10000 - 2.24 x (-10000) + 0.72 x 0 = 47600 at the toe.
        {"toe value out of range", BlockOf(toeOutOfRange), 190,
         "<CPelnoFatigueReleve::SetDefinition>" + badRecord},
        {"temperature out of range", with(0, "*PARAMETRE 0 601"), 190, ""},
    };
    for (std::size_t dropped = 0; dropped < cards.size(); ++dropped) {
        std::vector<std::string> fewer;
        for (std::size_t i = 0; i < cards.size(); ++i) {
            if (i != dropped) fewer.push_back(cards[i]);
        }
        cases.push_back({"a card missing", BlockOf(fewer), 190, readLog + badRecord});
    }
    for (const Case& c : cases) {
        const Failure failure = FailureOf([&] {
            std::istringstream input(c.block);
            CPelnoFatigueReleveQuad record;
            record.Read(input, kOpening, 1);
        });
        EXPECT_EQ(failure.code, c.code) << c.what << "\n" << c.block;
        if (!c.message.empty()) {
            EXPECT_EQ(failure.message, c.message) << c.what;
        }
    }
}

TEST(CPelnoFatigueReleveQuad, Printout)
{
    std::istringstream input(BlockOf(Cards()));
    CPelnoFatigueReleveQuad record;
    record.Read(input, kOpening, 2);
    std::ostringstream out;
    out << record;

    const char* const headers[4] = {
        "|    Sxx     |    Sxy     |    Sxz     |    Syy     |    Syz     |    Szz     |",
        "|    Sxxm    |    Sxym    |    Sxzm    |    Syym    |    Syzm    |    Szzm    |",
        "|    Sxxlm   |    Sxylm   |    Sxzlm   |    Syylm   |    Syzlm   |    Szzlm   |",
        "|    Sxxlt   |    Sxylt   |    Sxzlt   |    Syylt   |    Syzlt   |    Szzlt   |",
    };
    std::vector<std::string> expected = {
        "",
        "Relevé quadratique numéro   : 2",
        "+++++++++++++++++++++++++++++ ",
        "Nom                         : pied de cordon",
        "Pression (MPa)              : -0.1",
        "Température (deg)           : -20",
    };
    const char* const toeLabels[4] = {"Sij (MPa)           : ", "Sij membrane (MPa)  : ",
                                      "Sij lin. meca (MPa) : ", "Sij lin. ther (MPa) : "};
    for (int kind = 0; kind < 4; ++kind) {
        expected.insert(expected.end(), {toeLabels[kind], headers[kind], Row(123.2, kind)});
    }
    const char* const pointLabels[12] = {
        "SijA at 0.4*thickness    : ", "SijmA at 0.4*thickness   : ",
        "SijlmA at 0.4*thickness  : ", "SijltA at 0.4*thickness  : ",
        "SijB at 0.9*thickness    : ", "SijmB at 0.9*thickness   : ",
        "SijlmB at 0.9*thickness  : ", "SijltB at 0.9*thickness  : ",
        "SijC at 1.4*thickness    : ", "SijmC at 1.4*thickness   : ",
        "SijlmC at 1.4*thickness  : ", "SijltC at 1.4*thickness  : "};
    for (int point = 0; point < 12; ++point) {
        const int kind = point % 4;
        expected.insert(expected.end(),
                        {pointLabels[point], headers[kind], Row(kBases[point / 4], kind)});
    }
    EXPECT_EQ(Lines(out.str()), expected);
}
